#include "storage/data_folder.h"

#include "storage/database.h"
#include "storage/jet_content.h"

#include <QDir>
#include <QFileInfo>

namespace storage {

DataFolder ChooseDataFolder(const QString &current, const QString &dataFolder) {
    const QString beside = QDir(current).filePath(DatabaseFileName());
    // A Windows program's Jet file is only ever imported from, never worked on.
    if ((QFileInfo::exists(beside) && !IsJetFile(beside)) || dataFolder.isEmpty()) {
        return {current, false};
    }
    if (!QDir().mkpath(dataFolder)) {
        return {current, false};
    }
    const QString file = QDir(dataFolder).filePath(DatabaseFileName());
    if (QFileInfo::exists(file)) {
        return {dataFolder, false};
    }
    // Create refuses to replace a file, so a file that appears meanwhile is kept too.
    const bool created = Database::Create(file);
    if (!created && !QFileInfo::exists(file)) {
        return {current, false};
    }
    return {dataFolder, created};
}

}  // namespace storage
