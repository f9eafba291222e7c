#pragma once
// Comma-separated files as spreadsheet programs read them: UTF-8 with a byte-order mark, a
// field quoted when it holds a comma, a quote or a line break, lines ended by CR LF.

#include <QList>
#include <QString>
#include <QStringList>

namespace storage {

// The file's bytes.
QByteArray CsvText(const QList<QStringList> &lines);

// Writes the whole file or nothing: the lines go to a temporary file beside `path` that
// replaces it only when complete. False with the reason in `error` when it could not be written.
bool WriteCsv(const QString &path, const QList<QStringList> &lines, QString *error = nullptr);

}  // namespace storage
