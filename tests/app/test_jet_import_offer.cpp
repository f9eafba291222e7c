// The offer at start to import the Windows program's Jet file: No and a failed import leave
// everything as it was, Yes works from the data folder and is not asked again.

#include "app/jet_import_offer.h"
#include "support/message_recorder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestJetImportOffer : public QObject {
    Q_OBJECT
private slots:
    void offer_data();
    void offer();
};

void TestJetImportOffer::offer_data() {
    QTest::addColumn<qint64>("size");  // bytes of the realistic file kept
    QTest::addColumn<messages::Answer>("answer");
    QTest::addColumn<bool>("imported");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("no") << qint64(-1) << messages::Answer::No << false << QStringList{"提示"};
    QTest::newRow("bad file") << qint64(10000) << messages::Answer::Yes << false
                              << QStringList{"提示", "错误"};
    QTest::newRow("yes") << qint64(-1) << messages::Answer::Yes << true
                         << QStringList{"提示", "提示"};
}

void TestJetImportOffer::offer() {
    QFETCH(qint64, size);
    QFETCH(messages::Answer, answer);
    QFETCH(bool, imported);
    QFETCH(QStringList, captions);
    QTemporaryDir current, home;
    QFile source(QStringLiteral(JET_DATA "/jet4-realistic.mdb"));
    QFile jet(current.filePath("股票.mdb"));
    QVERIFY(source.open(QIODevice::ReadOnly) && jet.open(QIODevice::WriteOnly));
    jet.write(size < 0 ? source.readAll() : source.read(size));
    jet.close();
    const QString data = home.filePath("stockcalc");
    MessageRecorder recorder;
    recorder.answers = {answer, messages::Answer::No};
    QCOMPARE(OfferJetImport(current.path(), data), imported ? data : current.path());
    QStringList shown;
    for (const messages::Message &message : recorder.shown)
        shown << message.caption;
    QCOMPARE(shown, captions);
    QCOMPARE(QFileInfo::exists(data), imported);
    if (size > 0)
        QVERIFY(recorder.texts().last().contains("截断"));
    // A file imported once is used quietly from then on.
    recorder.clear();
    QCOMPARE(OfferJetImport(current.path(), data) == data, imported);
    QCOMPARE(recorder.shown.isEmpty(), imported);
}

QTEST_MAIN(TestJetImportOffer)
#include "test_jet_import_offer.moc"
