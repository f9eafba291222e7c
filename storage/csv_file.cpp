#include "storage/csv_file.h"

#include <QSaveFile>

namespace storage {

namespace {

QString Field(const QString &text) {
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r')) {
        return text;
    }
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

}  // namespace

QByteArray CsvText(const QList<QStringList> &lines) {
    QByteArray bytes("\xEF\xBB\xBF");
    for (const QStringList &line : lines) {
        QStringList fields;
        for (const QString &text : line) {
            fields.append(Field(text));
        }
        bytes += fields.join(u',').toUtf8() + "\r\n";
    }
    return bytes;
}

bool WriteCsv(const QString &path, const QList<QStringList> &lines, QString *error) {
    QSaveFile file(path);
    const QByteArray bytes = CsvText(lines);
    // Unbuffered, so that a write cut short (the disk full) is seen here: the buffer's own flush
    // at the commit drops a short write without a word.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        file.write(bytes) != bytes.size() || !file.commit()) {
        if (error != nullptr) {
            *error = file.errorString();
        }
        file.cancelWriting();
        return false;
    }
    return true;
}

}  // namespace storage
