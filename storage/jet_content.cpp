#include "storage/jet_content.h"

#include <QDataStream>
#include <QFile>

#include <iterator>

namespace storage {

namespace {

constexpr quint32 kMagic = 0x4a455452;  // "JETR"
constexpr quint16 kFormat = 1;
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_4;

// A value as a tag and its bytes; nothing else crosses.
enum Tag : quint8 { kNull, kBool, kInteger, kDouble, kText };

void Write(QDataStream &out, const QVariant &value) {
    switch (value.typeId()) {
        case QMetaType::Bool:
            out << quint8(kBool) << value.toBool();
            break;
        case QMetaType::LongLong:
            out << quint8(kInteger) << value.toLongLong();
            break;
        case QMetaType::Double:
            out << quint8(kDouble) << value.toDouble();
            break;
        case QMetaType::QString:
            out << quint8(kText) << value.toString();
            break;
        default:
            out << quint8(kNull);
    }
}

bool Read(QDataStream &in, QVariant *value) {
    quint8 tag = kNull;
    in >> tag;
    switch (tag) {
        case kNull:
            *value = QVariant();
            return true;
        case kBool: {
            bool b = false;
            in >> b;
            *value = b;
            return true;
        }
        case kInteger: {
            qint64 i = 0;
            in >> i;
            *value = i;
            return true;
        }
        case kDouble: {
            double d = 0;
            in >> d;
            *value = d;
            return true;
        }
        case kText: {
            QString s;
            in >> s;
            *value = s;
            return true;
        }
        default:
            return false;
    }
}

void WriteRows(QDataStream &out, const QList<QVariantList> &rows) {
    out << quint32(rows.size());
    for (const QVariantList &row : rows) {
        for (const QVariant &value : row) {
            Write(out, value);
        }
    }
}

// Rows of `width` values each; the count is checked against what is left to read, so a
// damaged count cannot make the reader reserve memory for rows that are not there.
bool ReadRows(QDataStream &in, qsizetype width, QList<QVariantList> *rows) {
    quint32 count = 0;
    in >> count;
    for (quint32 r = 0; r < count && in.status() == QDataStream::Ok; ++r) {
        QVariantList row;
        for (qsizetype c = 0; c < width; ++c) {
            QVariant value;
            if (!Read(in, &value)) {
                return false;
            }
            row.append(value);
        }
        rows->append(row);
    }
    return in.status() == QDataStream::Ok;
}

}  // namespace

bool IsJetFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray start = file.read(19);
    return start.startsWith(QByteArray("\x00\x01\x00\x00", 4)) &&
           (start.mid(4) == QByteArray("Standard Jet DB") ||
            start.mid(4) == QByteArray("Standard ACE DB"));
}

QByteArray PackJetReading(const std::optional<JetContent> &content, const QString &error) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);
    out << kMagic << kFormat << bool(content);
    if (!content) {
        out << error;
        return bytes;
    }
    out << bool(content->setup);
    if (content->setup) {
        WriteRows(out, {*content->setup});
    }
    WriteRows(out, content->lots);
    WriteRows(out, content->watched);
    out << content->lastLotIdentity << content->lastWatchIdentity;
    return bytes;
}

bool UnpackJetReading(const QByteArray &bytes, std::optional<JetContent> *content, QString *error) {
    QDataStream in(bytes);
    in.setVersion(kStreamVersion);
    quint32 magic = 0;
    quint16 format = 0;
    bool read = false;
    in >> magic >> format >> read;
    if (in.status() != QDataStream::Ok || magic != kMagic || format != kFormat) {
        return false;
    }
    if (!read) {
        QString why;
        in >> why;
        if (in.status() != QDataStream::Ok || !in.atEnd() || why.isEmpty()) {
            return false;
        }
        content->reset();
        *error = why;
        return true;
    }
    JetContent result;
    bool hasSetup = false;
    in >> hasSetup;
    QList<QVariantList> setup;
    if (hasSetup && (!ReadRows(in, std::size(kJetSetupColumns), &setup) || setup.size() != 1)) {
        return false;
    }
    if (!ReadRows(in, std::size(kJetLotColumns), &result.lots) ||
        !ReadRows(in, std::size(kJetWatchColumns), &result.watched)) {
        return false;
    }
    in >> result.lastLotIdentity >> result.lastWatchIdentity;
    if (in.status() != QDataStream::Ok || !in.atEnd()) {
        return false;
    }
    if (hasSetup) {
        result.setup = setup.first();
    }
    *content = result;
    return true;
}

}  // namespace storage
