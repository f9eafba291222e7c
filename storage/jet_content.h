#pragma once
// What the import takes from a Windows program's Jet 股票.mdb: the first settings row, the lots
// and the watched stocks as typed values, and the form in which the separate reading program
// hands them back. NULL is an invalid QVariant; numbers are double or qint64, Yes/No a bool,
// text a QString.

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

// The outcome of a reading as bytes: the content, or the reason it failed.
QByteArray PackJetReading(const std::optional<JetContent> &content, const QString &error);

// The reading back from its bytes. Bytes that do not unpack whole, rows with another number
// of values than their table's columns, or values of a type no column has are a failure
// (false). Otherwise `content` receives the content, or `error` the reason the reading gave.
bool UnpackJetReading(const QByteArray &bytes, std::optional<JetContent> *content, QString *error);

}  // namespace storage
