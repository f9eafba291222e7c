#pragma once
// What any Linux desktop does for the program, whatever its window system: the single-instance
// lock, the desktop's event sound, and the browser.

#include <QString>
#include <QUrl>

struct ca_context;

namespace platform {

class LinuxDesktop final {
public:
    LinuxDesktop() = default;
    ~LinuxDesktop();
    LinuxDesktop(const LinuxDesktop &) = delete;
    LinuxDesktop &operator=(const LinuxDesktop &) = delete;

    // A file lock in the user's runtime folder that the kernel releases when the process ends.
    bool acquireSingleInstance(const QString &name);
    // The desktop's "dialog-information" sound through libcanberra, loaded at the first sound.
    void playEventSound();
    // The desktop's URL handler.
    void openUrl(const QUrl &url);

private:
    int m_lockFd = -1;
    ca_context *m_sound = nullptr;
    bool m_soundFailed = false;
};

}  // namespace platform
