#pragma once
// Bringing the Windows program's Jet 股票.mdb into the database of the user's data folder:
// fee rates and system parameters, every lot and every watched stock, identities kept, in one
// transaction. The Jet file is only read.

#include "storage/database.h"
#include "storage/jet_content.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

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
    // The target is there but cannot be read, even once SQLite has rolled back a write left
    // unfinished: what it holds is unknown, so it is never replaced.
    bool targetUnreadable = false;
};

// None when the current folder holds no Jet 股票.mdb (or there is no data folder); Imported
// when the data folder's database has taken this very file in before; Offer otherwise. The
// target is opened for writing, so that SQLite first rolls back a write that was cut off.
JetStart ExamineStart(const QString &current, const QString &dataFolder);

struct JetImport {
    bool done = false;
    QString error;  // what failed, when not done
    qsizetype lots = 0;
    qsizetype watched = 0;
    QStringList leftOut;  // the rows that cannot be stored, each named with its reason
    QString backup;       // the copy of the replaced database, empty when nothing was replaced
    bool transferTaken = false;  // a transfer fee of the file's settings row was stored
};

// Reads a Jet file: its content, or nothing with the reason in Chinese.
using JetReader = std::function<std::optional<JetContent>(const QString &path, QString *error)>;
using Now = std::function<QDateTime()>;

// Reads the file with `read` and stores its content in the target, made when missing. A target
// that was there already is copied beside itself first, whatever it holds; one that cannot be
// read is refused. On failure nothing is changed. `now` dates the import and the backup.
JetImport ImportJetFile(const JetStart &start, const JetReader &read, const Now &now);

// The content into an existing database as one transaction: the settings the file holds
// replace the target's, lots and watched stocks replace the target's, and the file's hash is
// remembered. What the program would refuse as typed input (a code that is not six digits, a
// price or setting that cannot be read) is left out and named. Counts into `result`.
bool StoreJetContent(const Database &target, const JetContent &content, const QByteArray &hash,
                     const QDateTime &when, JetImport *result);

// Why an import into an unreadable target is refused.
QString UnreadableTarget(const JetStart &start);

// The transfer fee as charged today: 0.01 per mille of the amount on both exchanges.
bool UseTransferFeeOnAmount(const Database &target);

}  // namespace storage
