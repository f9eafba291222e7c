// Figures for bringing a Windows program's Jet 股票.mdb over: reading a file of 10,000 lots
// through libmdb in the separate reading program and storing it in a fresh data folder's
// database, in one transaction.
//
// No Jet writer is at hand, so the file is the committed realistic one with the lots table's
// rows replaced: its one data page is dropped from the table's page map and new data pages
// of copies of its first row (each with its own identity, code, price and quantity) are
// appended and entered in the map; the table definition gets the new row count and counter.

#include "storage/jet_import.h"
#include "storage/jet_reader_process.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <benchmark/benchmark.h>

namespace {

constexpr int kPage = 4096;
// Where the realistic file keeps the lots table: its definition, its one data page and the
// bitmap page of its page map.
constexpr int kDefinitionPage = 26;
constexpr int kDataPage = 34;
constexpr int kMapPage = 35;

void SetMapBit(QByteArray &file, qsizetype page, bool on) {
    char &byte = file[kMapPage * kPage + 4 + page / 8];
    byte = static_cast<char>(on ? byte | (1 << (page % 8)) : byte & ~(1 << (page % 8)));
}

QByteArray FileWithLots(int lots) {
    QFile source(QStringLiteral(JET_DATA "/jet4-realistic.mdb"));
    if (!source.open(QIODevice::ReadOnly)) {
        return {};
    }
    QByteArray file = source.readAll();
    const uchar *data = reinterpret_cast<const uchar *>(file.constData()) + kDataPage * kPage;
    const int start = qFromLittleEndian<quint16>(data + 14) & 0x1fff;
    const QByteArray row = file.mid(kDataPage * kPage + start, kPage - start);
    const int perPage = (kPage - 14) / (row.size() + 2);
    SetMapBit(file, kDataPage, false);
    for (int done = 0; done < lots;) {
        QByteArray page(kPage, '\0');
        page.replace(0, 14, file.mid(kDataPage * kPage, 14));
        const int count = std::min(perPage, lots - done);
        for (int i = 0; i < count; ++i, ++done) {
            const int offset = kPage - (i + 1) * static_cast<int>(row.size());
            QByteArray copy = row;
            uchar *bytes = reinterpret_cast<uchar *>(copy.data());
            qToLittleEndian<qint32>(done + 1, bytes + 2);                   // IDS
            qToLittleEndian<double>(5.0 + (done % 997) * 0.01, bytes + 6);  // MONEY
            qToLittleEndian<qint32>(100 * (1 + done % 50), bytes + 14);     // NUMS
            copy.replace(20, 6, QByteArray::number(600000 + done % 1000));  // MID text
            page.replace(offset, copy.size(), copy);
            qToLittleEndian<quint16>(offset, page.data() + 14 + 2 * i);
        }
        qToLittleEndian<quint16>(count, page.data() + 12);
        qToLittleEndian<quint16>(kPage - 14 - count * (row.size() + 2), page.data() + 2);
        SetMapBit(file, file.size() / kPage, true);
        file.append(page);
    }
    char *definition = file.data() + kDefinitionPage * kPage;
    qToLittleEndian<qint32>(lots, definition + 16);  // row count
    qToLittleEndian<qint32>(lots, definition + 20);  // last identity given
    return file;
}

void BM_ImportJetFile(benchmark::State &state) {
    const int lots = static_cast<int>(state.range(0));
    QTemporaryDir current;
    QFile jet(current.filePath(QStringLiteral("股票.mdb")));
    if (!jet.open(QIODevice::WriteOnly) || jet.write(FileWithLots(lots)) <= 0) {
        state.SkipWithError("cannot write the Jet file");
        return;
    }
    jet.close();
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir data;
        const storage::JetStart start = storage::ExamineStart(current.path(), data.path());
        state.ResumeTiming();
        const storage::JetImport result = storage::ImportJetFile(
            start,
            [](const QString &path, QString *error) {
                return storage::ReadJetFileApart(QStringLiteral(JET_READER), path,
                                                 storage::JetReaderLimits{}, error);
            },
            &QDateTime::currentDateTimeUtc);
        if (!result.done || result.lots != lots) {
            state.SkipWithError(qPrintable(
                QStringLiteral("import failed: %1, %2 lots").arg(result.error).arg(result.lots)));
            return;
        }
    }
}
BENCHMARK(BM_ImportJetFile)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
