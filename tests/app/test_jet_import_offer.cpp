// The offer at start to import the Windows program's Jet file: whatever the answer, the
// program works from the data folder and never from the Jet file; Yes imports, settles the
// transfer basis and is not asked again; No and a failed import ask again at the next start.

#include "app/jet_import_offer.h"
#include "storage/data_folder.h"
#include "storage/setup_store.h"
#include "support/message_recorder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using messages::Answer;

class TestJetImportOffer : public QObject {
    Q_OBJECT
private slots:
    void offer_data();
    void offer();
};

void TestJetImportOffer::offer_data() {
    QTest::addColumn<qint64>("size");  // bytes of the realistic file kept
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QString>("told");  // in the last message
    QTest::addColumn<bool>("imported");
    QTest::newRow("no") << qint64(-1) << QList<Answer>{Answer::No} << QStringList{"提示"} << ""
                        << false;
    QTest::newRow("bad file") << qint64(10000) << QList<Answer>{Answer::Yes}
                              << QStringList{"提示", "错误"} << "截断" << false;
    QTest::newRow("today's transfer rule")
        << qint64(-1) << QList<Answer>{Answer::Yes, Answer::Yes}
        << QStringList{"提示", "提示", "提示"} << "过户费按成交金额计算（深市0.01‰，沪市0.01‰）"
        << true;
    QTest::newRow("the file's transfer fees")
        << qint64(-1) << QList<Answer>{Answer::Yes, Answer::No}
        << QStringList{"提示", "提示", "提示"}
        << "过户费按股数计算（深市0.02 分/股，沪市0.02 分/股）" << true;
}

void TestJetImportOffer::offer() {
    QFETCH(qint64, size);
    QFETCH(QList<Answer>, answers);
    QFETCH(QStringList, captions);
    QFETCH(QString, told);
    QFETCH(bool, imported);
    QTemporaryDir current, home;
    QFile source(QStringLiteral(JET_DATA "/jet4-realistic.mdb"));
    QFile jet(current.filePath("股票.mdb"));
    QVERIFY(source.open(QIODevice::ReadOnly) && jet.open(QIODevice::WriteOnly));
    const QByteArray bytes = size < 0 ? source.readAll() : source.read(size);
    jet.write(bytes);
    jet.close();
    const QString data = home.filePath("stockcalc");
    MessageRecorder recorder;
    recorder.answers = answers;
    const QString folder = OfferJetImport(current.path(), data, QStringLiteral(JET_READER));
    QStringList shown;
    for (const messages::Message &message : recorder.shown)
        shown << message.caption;
    QCOMPARE(shown, captions);
    QVERIFY2(recorder.texts().last().contains(told), qPrintable(recorder.texts().last()));
    if (answers.size() > 1)
        QVERIFY(recorder.texts()[1].contains("深市0.02 分/股，沪市0.02 分/股"));
    // The program works from the data folder, its database made there when missing, and
    // never from the Jet file.
    const storage::DataFolder chosen = storage::ChooseDataFolder(folder, data);
    QCOMPARE(chosen.path, data);
    QCOMPARE(chosen.created, !imported);
    const storage::Database database(QDir(data).filePath("股票.mdb"));
    const std::optional<storage::StoredFees> fees = storage::LoadFees(database);
    QVERIFY(fees);
    QCOMPARE(fees->transferBasis, answers.size() > 1 && answers[1] == Answer::Yes
                                      ? numbers::TransferBasis::PerAmount
                                      : numbers::TransferBasis::PerShare);
    QCOMPARE(fees->texts[1], imported ? "0.5" : "1");
    QVERIFY(jet.open(QIODevice::ReadOnly));
    QCOMPARE(jet.readAll(), bytes);
    jet.close();
    // A file imported once is used quietly from then on; otherwise it is offered again.
    recorder.clear();
    recorder.answers = {Answer::No};
    QCOMPARE(OfferJetImport(current.path(), data, QStringLiteral(JET_READER)), data);
    QCOMPARE(recorder.shown.isEmpty(), imported);
}

QTEST_MAIN(TestJetImportOffer)
#include "test_jet_import_offer.moc"
