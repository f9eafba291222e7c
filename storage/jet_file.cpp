#include "storage/jet_file.h"

#include <QFile>
#include <QStringDecoder>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

// mdbtools.h includes glib.h and iconv.h inside its extern "C" block.
#include <glib.h>
#include <iconv.h>
#include <mdbtools.h>

namespace storage {

namespace {

constexpr qsizetype kHeaderBytes = 0x80 + 0x18;
constexpr int kRowOffsetMask = 0x1fff;
constexpr int kMostColumns = 255;

// The part of the first page after 0x18 is kept RC4-encrypted with a fixed key; the
// password (0x42) and, in Jet 4, the creation date that masks it (0x72) lie inside.
QByteArray DecodedHeader(QByteArray page, bool jet3) {
    std::array<quint8, 256> state{};
    for (int i = 0; i < 256; ++i) {
        state[i] = static_cast<quint8>(i);
    }
    const quint8 key[] = {0xc7, 0xda, 0x39, 0x6b};
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + state[i] + key[i % 4]) & 0xff;
        std::swap(state[i], state[j]);
    }
    const int length = jet3 ? 126 : 128;
    for (int n = 0, i = 0, j = 0; n < length; ++n) {
        i = (i + 1) & 0xff;
        j = (j + state[i]) & 0xff;
        std::swap(state[i], state[j]);
        page[0x18 + n] = static_cast<char>(page[0x18 + n] ^ state[(state[i] + state[j]) & 0xff]);
    }
    return page;
}

bool HasPassword(const QByteArray &firstBytes, bool jet3) {
    const QByteArray header = DecodedHeader(firstBytes, jet3);
    std::array<quint8, 4> mask{};
    if (!jet3) {
        double created = 0;
        std::memcpy(&created, header.constData() + 0x72, sizeof created);
        created = qFromLittleEndian(created);
        const qint32 days = created > -2e9 && created < 2e9 ? static_cast<qint32>(created) : 0;
        qToLittleEndian(days, mask.data());
    }
    const int length = jet3 ? 20 : 40;
    for (int i = 0; i < length; ++i) {
        if ((static_cast<quint8>(header[0x42 + i]) ^ mask[i % 4]) != 0) {
            return true;
        }
    }
    return false;
}

struct HandleCloser {
    void operator()(MdbHandle *handle) const { mdb_close(handle); }
};
struct TableFreer {
    void operator()(MdbTableDef *table) const { mdb_free_tabledef(table); }
};
using Handle = std::unique_ptr<MdbHandle, HandleCloser>;
using TablePtr = std::unique_ptr<MdbTableDef, TableFreer>;

class Reader {
public:
    explicit Reader(MdbHandle *mdb) : m_mdb(mdb) {}

    // Every row of `name` (or only the first), the values of `columns` in their order.
    bool read(const char *name, const auto &columns, QList<QVariantList> *rows, qint64 *lastId,
              bool firstOnly = false) {
        const QString tableName = QString::fromLatin1(name);
        MdbCatalogEntry *entry = nullptr;
        for (guint i = 0; i < m_mdb->num_catalog; ++i) {
            auto *candidate = static_cast<MdbCatalogEntry *>(g_ptr_array_index(m_mdb->catalog, i));
            if (candidate->object_type == MDB_TABLE &&
                tableName.compare(QString::fromUtf8(candidate->object_name), Qt::CaseInsensitive) ==
                    0) {
                entry = candidate;
                break;
            }
        }
        if (entry == nullptr) {
            return fail(QStringLiteral("缺少表 %1").arg(tableName));
        }
        TablePtr table(mdb_read_table(entry));
        // Without its page map (a damaged pointer in the definition) libmdb cannot scan it,
        // and a definition claiming more columns than Jet allows is damaged as well.
        if (!table || table->usage_map == nullptr || table->map_sz == 0 ||
            table->num_cols > kMostColumns || !mdb_read_columns(table.get())) {
            return fail(QStringLiteral("表 %1 无法读取").arg(tableName));
        }
        QList<int> wanted;
        for (const char *column : columns) {
            const int index = ColumnIndex(table.get(), column);
            if (index < 0) {
                return fail(
                    QStringLiteral("表 %1 缺少列 %2").arg(tableName, QString::fromLatin1(column)));
            }
            if (!Supported(Column(table.get(), index)->col_type)) {
                return fail(QStringLiteral("表 %1 的列 %2 类型不受支持")
                                .arg(tableName, QString::fromLatin1(column)));
            }
            wanted.append(index);
        }
        const unsigned int expected = table->num_rows;
        if (lastId != nullptr) {
            *lastId = lastIdentity(table.get());
        }
        mdb_rewind_table(table.get());
        std::array<MdbField, kMostColumns + 1> fields{};
        while (mdb_fetch_row(table.get())) {
            int start = 0;
            size_t size = 0;
            if (mdb_find_row(m_mdb, static_cast<int>(table->cur_row) - 1, &start, &size) != 0) {
                return fail(QStringLiteral("表 %1 的数据损坏").arg(tableName));
            }
            start &= kRowOffsetMask;
            // The count comes from the row's own header. A row written before columns were
            // dropped may hold more than the table has now, but never more than a Jet table
            // can; only the table's columns are filled in.
            const int cracked = mdb_crack_row(table.get(), start, size, fields.data());
            if (cracked > kMostColumns) {
                return fail(QStringLiteral("表 %1 的数据损坏").arg(tableName));
            }
            const int count = std::min(cracked, static_cast<int>(table->num_cols));
            QVariantList row;
            for (const int index : wanted) {
                const MdbField *field = nullptr;
                for (int f = 0; f < count; ++f) {
                    if (fields[f].colnum == index) {
                        field = &fields[f];
                    }
                }
                std::optional<QVariant> value =
                    field ? fieldValue(Column(table.get(), index), *field) : std::nullopt;
                if (!value) {
                    return fail(QStringLiteral("表 %1 的数据损坏").arg(tableName));
                }
                row.append(*value);
            }
            rows->append(row);
            if (firstOnly) {
                return true;
            }
        }
        // The table's own row count: pages that are missing or unreadable end a scan early.
        if (static_cast<unsigned int>(rows->size()) != expected) {
            return fail(QStringLiteral("表 %1 的数据不完整(应有 %2 行, 读出 %3 行)")
                            .arg(tableName)
                            .arg(expected)
                            .arg(rows->size()));
        }
        return true;
    }

    QString error;

private:
    bool fail(const QString &why) {
        error = why;
        return false;
    }

    static MdbColumn *Column(MdbTableDef *table, int index) {
        return static_cast<MdbColumn *>(g_ptr_array_index(table->columns, index));
    }

    static int ColumnIndex(MdbTableDef *table, const char *name) {
        for (guint i = 0; i < table->num_cols; ++i) {
            if (QString::fromLatin1(name).compare(QString::fromUtf8(Column(table, i)->name),
                                                  Qt::CaseInsensitive) == 0) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    static bool Supported(int type) {
        switch (type) {
            case MDB_BOOL:
            case MDB_BYTE:
            case MDB_INT:
            case MDB_LONGINT:
            case MDB_MONEY:
            case MDB_FLOAT:
            case MDB_DOUBLE:
            case MDB_TEXT:
                return true;
            default:
                return false;
        }
    }

    // The table definition keeps the last number its AutoNumber counter gave, just after
    // the row count.
    qint64 lastIdentity(MdbTableDef *table) {
        const guint16 offset = m_mdb->fmt->tab_num_rows_offset + 4;
        if (mdb_read_pg(m_mdb, table->entry->table_pg) <= 0) {
            return 0;
        }
        return qFromLittleEndian<qint32>(m_mdb->pg_buf + offset);
    }

    std::optional<QVariant> fieldValue(const MdbColumn *column, const MdbField &field) const {
        if (column->col_type == MDB_BOOL) {
            // Yes/No lives in the row's null mask: a set bit is Yes.
            return QVariant(!field.is_null);
        }
        if (field.is_null) {
            return QVariant();
        }
        if (field.start < 0 || field.siz < 0 || field.start + field.siz > m_mdb->fmt->pg_size) {
            return std::nullopt;
        }
        const uchar *bytes = m_mdb->pg_buf + field.start;
        const auto sized = [&field](int size) { return field.siz == size; };
        switch (column->col_type) {
            case MDB_BYTE:
                return sized(1) ? std::optional<QVariant>(qint64(bytes[0])) : std::nullopt;
            case MDB_INT:
                return sized(2) ? std::optional<QVariant>(qint64(qFromLittleEndian<qint16>(bytes)))
                                : std::nullopt;
            case MDB_LONGINT:
                return sized(4) ? std::optional<QVariant>(qint64(qFromLittleEndian<qint32>(bytes)))
                                : std::nullopt;
            case MDB_MONEY:
                // Currency counts ten-thousandths of the unit.
                return sized(8) ? std::optional<QVariant>(qFromLittleEndian<qint64>(bytes) / 1e4)
                                : std::nullopt;
            case MDB_FLOAT:
                return sized(4) ? std::optional<QVariant>(double(qFromLittleEndian<float>(bytes)))
                                : std::nullopt;
            case MDB_DOUBLE:
                return sized(8) ? std::optional<QVariant>(qFromLittleEndian<double>(bytes))
                                : std::nullopt;
            case MDB_TEXT: {
                const QByteArray raw(reinterpret_cast<const char *>(bytes), field.siz);
                return QVariant(IS_JET3(m_mdb) ? jet3Text(raw) : DecodeJet4Text(raw));
            }
            default:
                return std::nullopt;
        }
    }

    // Jet 3 text is in the file's code page; a Chinese Windows wrote GBK (936).
    QString jet3Text(const QByteArray &raw) const {
        const guint16 page = m_mdb->f->code_page;
        QStringDecoder decoder(page == 0 || page == 936
                                   ? QByteArray("GBK")
                                   : QByteArray("windows-") + QByteArray::number(page));
        if (!decoder.isValid()) {
            decoder = QStringDecoder("GBK");
        }
        return decoder.decode(raw);
    }

    MdbHandle *m_mdb;
};

}  // namespace

QString DecodeJet4Text(const QByteArray &bytes) {
    if (!bytes.startsWith("\xff\xfe")) {
        return QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()),
                                  bytes.size() / 2);
    }
    QString text;
    bool compressed = true;
    for (qsizetype i = 2; i < bytes.size();) {
        if (bytes[i] == '\0') {
            compressed = !compressed;
            ++i;
        } else if (compressed) {
            text.append(QChar(static_cast<uchar>(bytes[i])));
            ++i;
        } else if (i + 1 < bytes.size()) {
            text.append(QChar(qFromLittleEndian<quint16>(bytes.constData() + i)));
            i += 2;
        } else {
            break;
        }
    }
    return text;
}

std::optional<JetContent> ReadJetFile(const QString &path, QString *error) {
    const auto fail = [error](const QString &why) {
        if (error != nullptr) {
            *error = why;
        }
        return std::nullopt;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return fail(QStringLiteral("文件无法打开"));
    }
    const QByteArray first = file.read(kHeaderBytes);
    const qint64 size = file.size();
    file.close();
    if (!IsJetFile(path) || first.size() < kHeaderBytes) {
        return fail(QStringLiteral("不是 Jet 数据库文件"));
    }
    const int version = static_cast<uchar>(first[0x14]);
    if (version >= MDB_VER_ACCDB_2007) {
        return fail(QStringLiteral("Access 2007 及以后版本的 .accdb 文件不受支持"));
    }
    const bool jet3 = version == MDB_VER_JET3;
    const qint64 pageSize = jet3 ? 2048 : 4096;
    if (size < 3 * pageSize || size % pageSize != 0) {
        return fail(QStringLiteral("文件不完整(已被截断)"));
    }
    if (HasPassword(first, jet3)) {
        return fail(QStringLiteral("文件设有密码"));
    }
    Handle mdb(mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS));
    if (!mdb) {
        return fail(QStringLiteral("libmdb 无法打开此文件"));
    }
    if (mdb->f->db_key != 0) {
        return fail(QStringLiteral("文件已加密"));
    }
    if (!mdb_read_catalog(mdb.get(), MDB_TABLE)) {
        return fail(QStringLiteral("表目录无法读取"));
    }
    Reader reader(mdb.get());
    JetContent content;
    QList<QVariantList> setup;
    if (!reader.read("setup", kJetSetupColumns, &setup, nullptr, true) ||
        !reader.read("GMM", kJetLotColumns, &content.lots, &content.lastLotIdentity) ||
        !reader.read("KSEE", kJetWatchColumns, &content.watched, &content.lastWatchIdentity)) {
        return fail(reader.error);
    }
    if (!setup.isEmpty()) {
        content.setup = setup.first();
    }
    return content;
}

}  // namespace storage
