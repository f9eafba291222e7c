#pragma once
// The folder the program works in, where its database 股票.mdb lives.

#include <QString>

namespace storage {

struct DataFolder {
    QString path;          // the folder to work in
    bool created = false;  // a fresh database was made there
};

// The current folder when it holds a 股票.mdb of the program's own (a program started from a
// terminal beside its file), otherwise the user's data folder `dataFolder`, made when missing, with
// a fresh database when none is there. A file that is there is never touched, whatever it holds.
// When the data folder cannot be made, the current folder stays and the start-up reports
// the missing database as usual.
DataFolder ChooseDataFolder(const QString &current, const QString &dataFolder);

}  // namespace storage
