// libFuzzer target: damaged Jet files through the import's reading, and damaged readings
// through their unpacking. Each input is read by the separate reading program under its
// limits, as an import reads it, and is unpacked as if that program had written it. Whatever
// the bytes, the outcome is content or a failure that names its reason, and this process, the
// program's side, never crashes.
//   scripts/fuzz.sh [seconds]

#include "storage/jet_content.h"
#include "storage/jet_reader_process.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <iterator>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    // The reading runs the event loop while it waits.
    new QCoreApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static QTemporaryDir folder;
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString path = folder.filePath(QStringLiteral("股票.mdb"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::abort();
    }
    file.close();
    storage::JetReaderLimits limits;
    limits.seconds = 10;
    limits.memoryBytes = qint64(512) << 20;
    QString error;
    const std::optional<storage::JetContent> content =
        storage::ReadJetFileApart(QStringLiteral(JET_READER), path, limits, &error);
    if (!content && error.isEmpty()) {
        std::abort();
    }

    std::optional<storage::JetContent> unpacked;
    QString why;
    if (storage::UnpackJetReading(bytes, &unpacked, &why)) {
        if (!unpacked && why.isEmpty()) {
            std::abort();
        }
        const auto width = [](const QList<QVariantList> &rows, qsizetype columns) {
            for (const QVariantList &row : rows) {
                if (row.size() != columns) {
                    std::abort();
                }
            }
        };
        if (unpacked) {
            width(unpacked->lots, std::size(storage::kJetLotColumns));
            width(unpacked->watched, std::size(storage::kJetWatchColumns));
            if (unpacked->setup &&
                unpacked->setup->size() != std::ssize(storage::kJetSetupColumns)) {
                std::abort();
            }
        }
    }
    return 0;
}
