#pragma once
// Makes a folder read-only for this test process, root included: a normal user loses the write
// permission; root, who writes through permissions, gets the folder as a read-only bind mount in
// a mount namespace of the process's own. Undone when the object goes.

#include <QString>

class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(QString folder);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    // Empty when the folder is read-only now; otherwise why it could not be made so.
    QString error() const { return m_error; }

private:
    QString m_folder;
    QString m_error;
    bool m_mounted = false;
};
