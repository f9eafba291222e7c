#pragma once
// Bringing the Windows program's Jet 股票.mdb into the database of the user's data folder:
// fee rates and system parameters, every lot and every watched stock, identities kept, in one
// transaction. The Jet file is only read.

#include "storage/database.h"
#include "storage/jet_file.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace storage {

// What start-up finds in the current folder.
struct JetStart {
    enum class Kind { None, Imported, Offer };
    Kind kind = Kind::None;
    QString jetPath;  // the Jet file
    QString dataFolder;
    QString target;      // the data folder's database
    QByteArray hash;     // SHA-256 of the Jet file, remembered in the target once imported
    qsizetype lots = 0;  // what the target holds already
    qsizetype watched = 0;
};

// None when the current folder holds no Jet 股票.mdb (or there is no data folder); Imported
// when the data folder's database has taken this very file in before; Offer otherwise.
JetStart ExamineStart(const QString &current, const QString &dataFolder);

struct JetImport {
    bool done = false;
    QString error;  // what failed, when not done
    qsizetype lots = 0;
    qsizetype watched = 0;
    QStringList leftOut;  // the rows that cannot be stored, each named with its reason
    QString backup;       // the copy of the replaced database, empty when nothing was replaced
};

// Reads the file and stores its content in the target, made when missing. A target that holds
// lots or watched stocks is copied beside itself first. On failure nothing is changed.
JetImport ImportJetFile(const JetStart &start);

// The content into an existing database as one transaction: the first settings row (when the
// file has one) replaces the target's, lots and watched stocks replace the target's, and the
// file's hash is remembered. Counts and names the rows left out into `result`.
bool StoreJetContent(const Database &target, const JetContent &content, const QByteArray &hash,
                     JetImport *result);

}  // namespace storage
