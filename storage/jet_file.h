#pragma once
// Reads the three tables of a 股票.mdb written by the Windows program with the Jet engine,
// through libmdb. The file is opened read-only. Values come from their stored bytes, never
// through text: a Double, Single or Currency becomes a double, Long, Integer and Byte a
// qint64, Yes/No a bool, Text a QString; NULL is an invalid QVariant.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

namespace storage {

// The column names read from each table, in the order of the values of a row.
inline constexpr const char *kJetSetupColumns[] = {"A1", "A2", "B1", "B2", "C1", "C2", "LM",
                                                   "S1", "S2", "CN", "TM", "FZ", "FC"};
inline constexpr const char *kJetLotColumns[] = {"IDS", "MID", "MONEY", "NUMS"};
inline constexpr const char *kJetWatchColumns[] = {"MID", "KNUM", "KNAME", "KUP", "KDOWN"};

struct JetContent {
    std::optional<QVariantList> setup;  // the first row, none when the table is empty
    QList<QVariantList> lots;
    QList<QVariantList> watched;
    // The last identity each table's counter gave out (0 when unknown); deleted rows count.
    qint64 lastLotIdentity = 0;
    qint64 lastWatchIdentity = 0;
};

// The first bytes of a Jet or Access 2007 file: the program's own database is never one.
bool IsJetFile(const QString &path);

// The content, or nothing with `error` saying in Chinese what failed.
std::optional<JetContent> ReadJetFile(const QString &path, QString *error);

// Jet 4 text: UTF-16LE, or, after the marker FF FE, runs of one-byte characters switched to
// and from UTF-16LE by a zero byte. Characters outside the Basic Multilingual Plane are kept.
QString DecodeJet4Text(const QByteArray &bytes);

}  // namespace storage
