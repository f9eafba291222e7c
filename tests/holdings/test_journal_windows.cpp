// The sell dialog and the journal window "交易记录", offscreen over a real database file.

#include "holdings/journal_list.h"
#include "holdings/journal_window.h"
#include "holdings/sell_dialog.h"
#include "numbers/entry_messages.h"
#include "storage/csv_file.h"
#include "support/message_recorder.h"
#include "widgets/save_file.h"

#include <QAbstractItemModelTester>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using storage::HoldingLot;

class TestJournalWindows : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void sellDialog_data();
    void sellDialog();
    void journalWindow();

private:
    storage::Database database() const { return storage::Database(m_dir->filePath("股票.mdb")); }
    QList<HoldingLot> lots() const { return *storage::ReadLots(database()); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<holdings::TradeJournal> m_journal;
    std::unique_ptr<MessageRecorder> m_messages;
};

void TestJournalWindows::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(storage::Database::Create(m_dir->filePath("股票.mdb")));
    m_journal = std::make_unique<holdings::TradeJournal>(
        database(), [] { return numbers::FeeSchedule{}; },
        [] { return QDateTime(QDate(2026, 5, 6), QTime(3, 0), Qt::UTC); });
    m_messages = std::make_unique<MessageRecorder>();
}

void TestJournalWindows::cleanup() {
    m_messages.reset();
}

void TestJournalWindows::sellDialog_data() {
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<bool>("elsewhere");  // the lot changed by another program first
    QTest::addColumn<QString>("profit");  // shown before 确定
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("left");
    QTest::newRow("part") << "300" << false << "277.5"
                          << "" << 700;
    QTest::newRow("whole, the default") << "" << false << "925"
                                        << "" << 0;
    QTest::newRow("too many") << "1200" << false << ""
                              << "［卖出数量］" << 1000;
    QTest::newRow("changed elsewhere") << "300" << true << "277.5"
                                       << "其他程序" << 900;
}

void TestJournalWindows::sellDialog() {
    QFETCH(QString, quantity);
    QFETCH(bool, elsewhere);
    QFETCH(QString, profit);
    QFETCH(QString, message);
    QFETCH(int, left);
    const HoldingLot lot = *storage::InsertLot(database(), {0, "600000", 10, 1000});
    SellDialog dialog(m_journal.get(), lot);
    dialog.show();
    QCOMPARE(QStringList({dialog.CodeEdit->text(), dialog.HeldEdit->text(),
                          dialog.QuantityEdit->text(), dialog.DayEdit->text()}),
             QStringList({"600000", "1000", "1000", "2026-05-06"}));
    QTest::keyClicks(dialog.PriceEdit, "11");
    if (!quantity.isEmpty()) {
        dialog.QuantityEdit->setText(quantity);
    }
    QCOMPARE(dialog.ProfitLabel->text(), profit);
    if (elsewhere) {
        QVERIFY(storage::SaveLot(database(), lot, {lot.identity, "600000", 10, 900}));
    }
    dialog.Buttons->button(QDialogButtonBox::Ok)->click();
    QCOMPARE(dialog.result(), message.isEmpty() ? QDialog::Accepted : QDialog::Rejected);
    // A field that will not do keeps the dialog for correcting; a changed lot closes it.
    QCOMPARE(dialog.isVisible(), message.startsWith("［"));
    QCOMPARE(m_messages->shown.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        QVERIFY2(m_messages->texts().front().contains(message), qPrintable(m_messages->texts()[0]));
    }
    const QList<storage::TradeRow> rows = *storage::ReadTrades(database());
    QCOMPARE(rows.size(), message.isEmpty() ? 1 : 0);
    QCOMPARE(lots().isEmpty() ? 0 : lots()[0].quantity, left);
}

void TestJournalWindows::journalWindow() {
    const HoldingLot a = *storage::InsertLot(database(), {0, "600000", 10, 1000});
    const HoldingLot b = *storage::InsertLot(database(), {0, "000001", 20, 500});
    QVERIFY(m_journal->sell(a, "11", "300", "2025-12-30").done());          // 277.5
    QVERIFY(m_journal->sell(b, "18.5", "200", "2026-01-05").done());        // -326.8
    QVERIFY(m_journal->sell(lots()[0], "12", "100", "2026-02-01").done());  // 188.6
    const QList<HoldingLot> beforeLast = lots();
    QVERIFY(m_journal->sell(lots()[0], "11", "600", "2026-01-20").done());  // empties a
    const auto window = std::make_unique<TradeJournalWindow>(m_journal.get());
    QAbstractItemModelTester tester(window->Rows);
    QStringList years;
    for (int i = 0; i < window->YearBox->count(); ++i) {
        years.append(window->YearBox->itemText(i));
    }
    QCOMPARE(years, QStringList({"2026", "2025", "全部"}));
    // Newest first by day, whatever the order they were booked in.
    const auto column = [&window](int row, holdings::JournalColumn c) {
        return window->Rows->index(row, static_cast<int>(c)).data().toString();
    };
    QCOMPARE(window->Rows->rowCount(), 3);
    QCOMPARE(QStringList({column(0, holdings::JournalColumn::Day),
                          column(1, holdings::JournalColumn::Day),
                          column(2, holdings::JournalColumn::Code)}),
             QStringList({"2026-02-01", "2026-01-20", "000001"}));
    QCOMPARE(column(2, holdings::JournalColumn::Profit), "-326.8");
    const QModelIndex loss =
        window->Rows->index(2, static_cast<int>(holdings::JournalColumn::Profit));
    QCOMPARE(loss.data(Qt::ForegroundRole).value<QColor>(), QColor(0, 128, 0));
    QVERIFY(window->TotalsLabel->text().contains("卖出笔数 3 (盈利 2 笔)"));
    window->YearBox->setCurrentIndex(1);
    QCOMPARE(window->Rows->rowCount(), 1);
    QVERIFY(window->TotalsLabel->text().startsWith("实现盈亏合计 277.5 "));

    // Export what is shown.
    const QString path = m_dir->filePath("out.csv");
    QString suggested;
    files::SetSaveAnswer([&](const QString &offered) {
        suggested = offered;
        return path;
    });
    window->ExportButton->click();
    files::SetSaveAnswer({});
    QVERIFY(suggested.endsWith("/交易记录-2025.csv"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), storage::CsvText(holdings::JournalCsvLines(window->Rows->rows())));

    // Undo the latest sale of the selected row's code: the emptied lot comes back.
    window->YearBox->setCurrentIndex(2);
    window->List->selectRow(0);
    m_messages->answers = {messages::Answer::Yes};
    window->UndoButton->click();
    QCOMPARE(lots(), beforeLast);
    QCOMPARE(window->Rows->rowCount(), 3);
    QCOMPARE(window->YearBox->currentText(), "全部");
}

QTEST_MAIN(TestJournalWindows)
#include "test_journal_windows.moc"
