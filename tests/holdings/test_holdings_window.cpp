// The two list editors, the holdings manager and the watch-list dialog, driven offscreen over
// a real database file.

#include "app/open_holdings.h"
#include "calc/profit_table_window.h"
#include "holdings/book.h"
#include "holdings/holdings_window.h"
#include "monitor/watch_list_dialog.h"
#include "numbers/entry_messages.h"
#include "numbers/money.h"
#include "platform/fake/fake_platform.h"
#include "storage/database.h"
#include "storage/watch_list_store.h"
#include "support/fake_settings.h"
#include "support/message_recorder.h"
#include "support/offscreen_warnings.h"
#include "support/read_only_folder.h"
#include "support/side_sql.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QHeaderView>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// "MID MONEY NUMS" of every stored lot in identity order.
QStringList Stored() {
    QStringList lots;
    const std::optional<QList<QSqlRecord>> rows = storage::Database().readAll(storage::kGmm);
    for (const QSqlRecord &row : rows.value_or(QList<QSqlRecord>())) {
        lots.append(QStringList{row.value("MID").toString(), row.value("MONEY").toString(),
                                row.value("NUMS").toString()}
                        .join(u' '));
    }
    return lots;
}

// "code price quantity reference" of every list row.
QStringList Listed(const TForm4 *window) {
    QStringList rows;
    for (int r = 0; r < window->Lots->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < LotListModel::kColumnCount; ++c) {
            cells.append(window->Lots->text(r, c));
        }
        rows.append(cells.join(u' '));
    }
    return rows;
}

QByteArray Bytes() {
    QFile file(storage::DatabaseFileName());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestHoldingsWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void browsingPanelIsReadable_data();
    void browsingPanelIsReadable();
    void loadInCodeOrderWithColoursAndReferenceCosts();
    void wheelMovesTheSelectionOneRowPerNotch();
    void doubleClickChecksTheLotsOfOneStock();
    void saveMessagesInOrder_data();
    void saveMessagesInOrder();
    void addModifyDelete();
    void editingKeepsTheLotBeingEdited();
    void combineMergeAndProfitTable();
    void failingDatabaseChangesNothing_data();
    void failingDatabaseChangesNothing();
    void changedElsewhereIsReloaded_data();
    void changedElsewhereIsReloaded();
    void panelShowsTheMergedLot();
    void unreadableRowsAreSaidOnce_data();
    void unreadableRowsAreSaidOnce();

private:
    TForm4 *open(const QString &values);
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MessageRecorder> m_messages;
    std::unique_ptr<FakeSettings> m_settings;
    std::unique_ptr<holdings::Book> m_book;
};

void TestHoldingsWindow::initTestCase() {
    FilterOffscreenWarnings();
    platform::Install(std::make_unique<platform::FakePlatform>());
}

void TestHoldingsWindow::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY(storage::Database::Create(storage::DatabaseFileName()));
    m_messages = std::make_unique<MessageRecorder>();
    m_settings = std::make_unique<FakeSettings>();
    m_book = std::make_unique<holdings::Book>();
}

void TestHoldingsWindow::cleanup() {
    delete TForm4::instance.data();
    delete TForm9::instance.data();
    m_book.reset();
    m_settings.reset();
    m_messages.reset();
    QDir::setCurrent(QDir::tempPath());
}

TForm4 *TestHoldingsWindow::open(const QString &values) {
    if (!values.isEmpty()) {
        Sql("INSERT INTO GMM (MID, MONEY, NUMS) VALUES " + values);
    }
    return OpenHoldings(m_book.get(), nullptr, m_settings->inForce);
}

void TestHoldingsWindow::loadInCodeOrderWithColoursAndReferenceCosts() {
    TForm4 *window = open(
        "('600000', 10, 1000), ('000001', 12, 500), ('300001', 8.5, 300), "
        "('600001', 0, 100)");
    QCOMPARE(Listed(window), (QStringList{"000001 12 500 12.084", "300001 8.5 300 8.56",
                                          "600000 10 1000 10.07", "600001 0 100 0"}));
    const auto colour = [window](int row, int column) {
        return window->Lots->index(row, column).data(Qt::ForegroundRole).value<QColor>();
    };
    QCOMPARE(colour(0, 0), QColor(255, 0, 0));
    QCOMPARE(colour(1, 3), QColor(255, 255, 0));
    QCOMPARE(window->selectedRow(), 0);
    QCOMPARE(window->SpinEdit1->text() + window->Edit1->text() + window->SpinEdit2->text(),
             QStringLiteral("00000112500"));
    QCOMPARE(window->size(), QSize(616, 420));
    QCOMPARE(window->ListView1->rowHeight(0), 22);
    // A changed fee rate shows only after the next load; an empty table selects nothing.
    m_settings->setFee(1, "2");
    QCOMPARE(window->Lots->text(2, LotListModel::kReference), QStringLiteral("10.07"));
    Sql("DELETE FROM GMM");
    window->LoadHoldings();
    QCOMPARE(window->Lots->rowCount(), 0);
    QCOMPARE(window->SpinEdit2->text(), QStringLiteral("100"));
}

void TestHoldingsWindow::wheelMovesTheSelectionOneRowPerNotch() {
    TForm4 *window = open("('1', 1, 1), ('2', 1, 1), ('3', 1, 1), ('4', 1, 1), ('5', 1, 1)");
    QWidget *viewport = window->ListView1->viewport();
    const auto wheel = [viewport](int delta) {
        QWheelEvent event(QPointF(50, 50), viewport->mapToGlobal(QPointF(50, 50)), {},
                          QPoint(0, delta), Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(viewport, &event);
    };
    window->ListView1->selectRow(2);
    wheel(-120);
    QCOMPARE(window->selectedRow(), 3);
    wheel(240);
    QCOMPARE(window->selectedRow(), 1);
    window->ListView1->clearSelection();
    wheel(-120);
    QCOMPARE(window->selectedRow(), -1);
}

void TestHoldingsWindow::doubleClickChecksTheLotsOfOneStock() {
    TForm4 *window = open(
        "('600000', 1, 1), ('000001', 1, 1), ('600000', 2, 1), "
        "('300001', 1, 1), ('600000', 3, 1)");
    window->setChecked(0, true);  // 000001, unchecked by the double click
    const QRect cell = window->ListView1->visualRect(window->Lots->index(2, 1));
    QTest::mouseClick(window->ListView1->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(window->ListView1->viewport(), Qt::LeftButton, {}, cell.center());
    QList<bool> checks;
    for (int r = 0; r < 5; ++r) {
        checks.append(window->isChecked(r));
    }
    QCOMPARE(checks, (QList<bool>{false, false, true, true, true}));
    window->SpeedButton8Click();
    QVERIFY(!window->isChecked(2));
}

void TestHoldingsWindow::saveMessagesInOrder_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("message");
    QTest::newRow("five digits, all wrong") << "60000"
                                            << "x"
                                            << "y"
                                            << "股票代码不完事!请正确填写.";
    QTest::newRow("code no number") << "6000a0"
                                    << "x"
                                    << "y"
                                    << "股票代码错误!请正确填写.";
    QTest::newRow("price") << "600000"
                           << "1.2.3"
                           << "y"
                           << "股票价格错误!请正确填写.";
    QTest::newRow("quantity") << "600000"
                              << "1"
                              << "1e3"
                              << "购入股票数量错误!请正确填写.";
    QTest::newRow("amount past the limit") << "600000"
                                           << "999999999999999"
                                           << "100" << numbers::AmountOutOfRangeMessage();
}

void TestHoldingsWindow::saveMessagesInOrder() {
    QFETCH(QString, code);
    QFETCH(QString, price);
    QFETCH(QString, quantity);
    QFETCH(QString, message);
    TForm4 *window = open(QString());
    window->SpeedButton1Click();
    window->SpinEdit1->setText(code);
    window->Edit1->setText(price);
    window->SpinEdit2->setText(quantity);
    window->SpeedButton4Click();
    QCOMPARE(m_messages->texts(), QStringList{message});
    QCOMPARE(m_messages->shown.front().caption, QStringLiteral("错误"));
    QVERIFY(window->isEditing());
    QVERIFY(Stored().isEmpty());
}

void TestHoldingsWindow::addModifyDelete() {
    TForm4 *window = open("('600001', 10, 1000)");
    QCOMPARE(window->Label5->text(), QString());
    window->SpeedButton1Click();
    QCOMPARE(window->Label5->text(), QStringLiteral("(新增股票)"));
    QVERIFY(!window->Panel2->isEnabled() && !window->SpeedButton9->isEnabled());
    QTest::keyClicks(window->SpinEdit1, "6000001");  // six characters at most
    QTest::keyClicks(window->Edit1, ".5");
    QTest::keyClicks(window->SpinEdit2, "100");
    window->SpeedButton4Click();
    QVERIFY(m_messages->shown.isEmpty());
    QVERIFY(!window->isEditing());
    QCOMPARE(window->Edit1->text(), QStringLiteral("0.5"));
    QCOMPARE(Stored(), (QStringList{"600001 10 1000", "600000 0.5 100"}));
    QCOMPARE(window->Lots->text(window->selectedRow(), LotListModel::kReference),
             QStringLiteral("0.504"));
    QCOMPARE(window->selectedRow(), 0);  // sorted into place

    window->ListView1->selectRow(1);
    window->SpeedButton3Click();
    QCOMPARE(window->Label5->text(), QStringLiteral("(修改股票)"));
    window->Edit1->setText("10.50");
    window->SpeedButton4Click();
    QCOMPARE(Listed(window)[1], QStringLiteral("600001 10.50 1000 10.574"));
    QCOMPARE(Stored()[0], QStringLiteral("600001 10.5 1000"));

    m_messages->answers = {messages::Answer::No, messages::Answer::Yes, messages::Answer::Yes};
    window->SpeedButton6Click();
    QCOMPARE(Stored().size(), 2);
    window->SpeedButton6Click();
    QCOMPARE(Stored(), QStringList{"600000 0.5 100"});
    QCOMPARE(window->selectedRow(), 0);
    window->SpeedButton6Click();
    QCOMPARE(window->Lots->rowCount(), 0);
    QCOMPARE(window->selectedRow(), -1);
    QVERIFY(Stored().isEmpty());
}

void TestHoldingsWindow::editingKeepsTheLotBeingEdited() {
    TForm4 *window = open("('600000', 10, 1000), ('600001', 11, 100), ('600002', 12, 100)");
    window->ListView1->selectRow(1);
    window->SpeedButton3Click();
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), {}, QPoint(0, -120), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(window->ListView1->viewport(), &wheel);
    QCOMPARE(window->selectedRow(), 1);
    window->SpinEdit2->clear();
    QTest::keyClick(window->SpinEdit2, Qt::Key_Up);  // the design value, not minimum + step
    QCOMPARE(window->SpinEdit2->text(), QStringLiteral("100"));
    window->SpinEdit2->clear();
    QTest::keyClicks(window->SpinEdit2, "+3a- .00");
    window->Edit1->setText("13");
    window->LoadHoldings();  // the menu item while editing
    QCOMPARE(
        window->SpinEdit1->text() + ' ' + window->Edit1->text() + ' ' + window->SpinEdit2->text(),
        QStringLiteral("600001 13 300"));
    window->SpeedButton4Click();
    QCOMPARE(Stored(), (QStringList{"600000 10 1000", "600001 13 300", "600002 12 100"}));
}

void TestHoldingsWindow::combineMergeAndProfitTable() {
    TForm4 *window = open("('600000', 10, 1000), ('000001', 9, 100), ('600000', 12, 500)");
    QAbstractItemModelTester tester(window->Lots);
    window->setChecked(0, true);
    window->setChecked(1, true);
    window->SpeedButton9Click();
    QCOMPARE(m_messages->texts(), QStringList{"选中的股票中存在不同的代码，无法合并."});
    QCOMPARE(m_messages->shown.front().caption, QStringLiteral("选中的代码只能有一个"));
    m_messages->clear();
    window->setChecked(0, false);
    window->setChecked(2, true);
    window->SpeedButton10Click();
    QCOMPARE(QStringList({window->Edit4->text(), window->Edit5->text(), window->Edit2->text(),
                          window->Edit3->text()}),
             (QStringList{"600000", "1500", "10.667", "10.741"}));
    TForm9 *table = TForm9::instance;
    QVERIFY(table);
    QCOMPARE(table->x(), std::min(window->x() + 616 - 100, 1024 - 416));
    QCOMPARE(table->Edit1->text() + table->Edit2->text() + table->Edit3->text(),
             QStringLiteral("10.66710.7411500"));

    window->ListView1->selectRow(2);
    window->SpeedButton9Click();
    QCOMPARE(Listed(window), (QStringList{"000001 9 100 9.063", "600000 10.667 1500 10.742"}));
    QVERIFY(window->isChecked(1));
    QCOMPARE(window->selectedRow(), 1);  // the row that took the removed one's place
    QCOMPARE(Stored(), (QStringList{"600000 10.666666666666666 1500", "000001 9 100"}));
    QVERIFY(m_messages->shown.isEmpty());
}

void TestHoldingsWindow::failingDatabaseChangesNothing_data() {
    QTest::addColumn<QString>("fault");
    QTest::newRow("missing file") << "missing";
    QTest::newRow("foreign file") << "foreign";
    QTest::newRow("locked by another process") << "locked";
    QTest::newRow("read-only") << "readonly";
}

void TestHoldingsWindow::failingDatabaseChangesNothing() {
    QFETCH(QString, fault);
    TForm4 *window = open("('600000', 10, 1000), ('600000', 12, 500)");
    const QStringList before = Listed(window);
    const QString name = storage::DatabaseFileName();
    QSqlDatabase locker;
    std::optional<ReadOnlyFolder> readOnly;
    if (fault == "missing") {
        QFile::remove(name);
    } else if (fault == "foreign") {
        QFile::remove(name);
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Standard Jet DB\0\0\0\0\0\0\0\0\0\0\0\0\0");
    } else if (fault == "locked") {
        locker = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "locker");
        locker.setDatabaseName(name);
        QVERIFY(locker.open());
        QVERIFY(QSqlQuery(locker).exec("BEGIN EXCLUSIVE"));
    } else {
        QFile::setPermissions(name, QFile::ReadOwner);
        readOnly.emplace(m_dir->path());
        if (!readOnly->error().isEmpty()) {  // root without the right to mount
            QSKIP(qPrintable(QStringLiteral("no read-only folder: ") + readOnly->error()));
        }
    }
    const QByteArray bytes = Bytes();
    window->LoadHoldings();
    window->setChecked(0, true);
    window->setChecked(1, true);
    window->SpeedButton9Click();  // merge
    m_messages->answers = {messages::Answer::Yes};
    window->SpeedButton6Click();  // delete
    window->SpeedButton3Click();
    window->Edit1->setText("11");
    window->SpeedButton4Click();  // save
    QVERIFY(window->isEditing());
    QCOMPARE(window->Edit1->text(), QStringLiteral("11"));  // the typed value stays
    QCOMPARE(Listed(window), before);
    QCOMPARE(Bytes(), bytes);
    const QString saveFailed = "保存失败!数据库无法写入。";
    QCOMPARE(m_messages->texts(), (QStringList{saveFailed, "你确定要删除这条股票记录吗?",
                                               "删除失败!数据库无法写入。", saveFailed}));
    if (locker.isValid()) {
        locker.close();
        locker = QSqlDatabase();
        QSqlDatabase::removeDatabase("locker");
    }
}

void TestHoldingsWindow::changedElsewhereIsReloaded_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("change");
    const QString quantity = "UPDATE GMM SET NUMS = 400 WHERE IDS = 1";
    QTest::newRow("modify") << "modify" << quantity;
    QTest::newRow("modify, another file")
        << "modify"
        << "DELETE FROM GMM; DELETE FROM sqlite_sequence; INSERT INTO GMM (MID, MONEY, NUMS) "
           "VALUES ('600000', 20, 300), ('000001', 1, 1)";
    QTest::newRow("merge, survivor") << "merge" << quantity;
    QTest::newRow("merge, other lot") << "merge"
                                      << "UPDATE GMM SET NUMS = 50 WHERE IDS = 2";
    QTest::newRow("merge, other lot gone") << "merge"
                                           << "DELETE FROM GMM WHERE IDS = 2";
    QTest::newRow("delete") << "delete"
                            << "UPDATE GMM SET MONEY = 9 WHERE IDS = 1";
}

void TestHoldingsWindow::changedElsewhereIsReloaded() {
    QFETCH(QString, action);
    QFETCH(QString, change);
    TForm4 *window = open("('600000', 10, 1000), ('600000', 12, 100), ('000001', 5, 100)");
    window->ListView1->selectRow(1);
    window->SpeedButton3Click();
    for (const QString &statement : change.split(u';')) {
        Sql(statement);
    }
    const QStringList stored = Stored();
    if (action == "modify") {
        window->Edit1->setText("10.5");
        window->SpeedButton4Click();
    } else if (action == "merge") {
        window->SpeedButton5Click();
        window->ListView1DblClick();
        window->SpeedButton9Click();
    } else {
        window->SpeedButton5Click();
        m_messages->answers = {messages::Answer::Yes};
        window->SpeedButton6Click();
    }
    QCOMPARE(Stored(), stored);  // nothing written, nothing stored anew
    QCOMPARE(m_messages->texts().last(), numbers::LotChangedElsewhereMessage());
    QVERIFY(!window->isEditing());
    QCOMPARE(window->Lots->rowCount(), stored.size());  // the list shows the file again
    QCOMPARE(window->Lots->identityAt(1), 1);
    QCOMPARE(window->selectedRow(), 1);
    QCOMPARE(window->SpinEdit2->text(), window->Lots->text(1, LotListModel::kQuantity));
}

void TestHoldingsWindow::panelShowsTheMergedLot() {
    TForm4 *window = open(
        "('600000', 11, 1000), ('600000', 12, 600), ('600000', 10.5, 200), "
        "('600000', 9, 1000), ('000001', 5, 100)");
    window->ListView1->selectRow(1);
    window->ListView1DblClick();
    window->SpeedButton9Click();
    QCOMPARE(window->Edit1->text() + u' ' + window->SpinEdit2->text(),
             QStringLiteral("10.464 2800"));
    window->SpeedButton3Click();
    window->SpeedButton4Click();  // saved without retyping: the exact price stays
    QVERIFY(m_messages->shown.isEmpty());
    QCOMPARE(Stored(), (QStringList{"600000 10.464285714285714 2800", "000001 5 100"}));
    window->SpeedButton3Click();
    window->Edit1->setText("10.46");
    window->SpeedButton4Click();  // a price typed is the price stored
    QCOMPARE(Stored(), (QStringList{"600000 10.46 2800", "000001 5 100"}));
}

void TestHoldingsWindow::unreadableRowsAreSaidOnce_data() {
    QTest::addColumn<bool>("watchList");
    QTest::addColumn<QString>("message");
    QTest::newRow("holdings manager") << false << "有2条股票记录无法读取，未在列表中显示。";
    QTest::newRow("watch list") << true << "有2条监控记录无法读取，未在列表中显示。";
}

void TestHoldingsWindow::unreadableRowsAreSaidOnce() {
    QFETCH(bool, watchList);
    QFETCH(QString, message);
    int rows = 0;
    if (watchList) {
        Sql("INSERT INTO KSEE (KNUM, KNAME, KUP, KDOWN) VALUES ('000007', 'a', 'abc', 1), "
            "('000008', 'b', 1E16, 1), ('000009', 'c', 10, 9)");
        TSeeDlg dialog;
        dialog.open();
        rows = dialog.Entries->rowCount();
    } else {
        rows = open("('000007', 'abc', 100), ('000008', 1E16, 1), ('000009', 10, 100)")
                   ->Lots->rowCount();
    }
    QCOMPARE(rows, 1);
    QCOMPARE(m_messages->texts(), QStringList{message});
}

namespace {

double Luminance(QRgb pixel) {
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(pixel)) + 0.7152 * channel(qGreen(pixel)) +
           0.0722 * channel(qBlue(pixel));
}

// The contrast between a caption's background (its most frequent colour) and its strongest
// text pixel, as drawn in the window.
double CaptionContrast(QWidget *window, const QLabel *caption) {
    const QImage image =
        window->grab(QRect(caption->mapTo(window, QPoint(0, 0)), caption->size())).toImage();
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ++counts[image.pixel(x, y)];
        }
    }
    const QRgb background =
        std::max_element(counts.keyValueBegin(), counts.keyValueEnd(), [](auto a, auto b) {
            return a.second < b.second;
        })->first;
    double best = 1;
    for (auto it = counts.keyBegin(); it != counts.keyEnd(); ++it) {
        const double a = Luminance(*it) + 0.05;
        const double b = Luminance(background) + 0.05;
        best = std::max(best, std::max(a, b) / std::min(a, b));
    }
    return best;
}

}  // namespace

void TestHoldingsWindow::browsingPanelIsReadable_data() {
    QTest::addColumn<bool>("watchList");
    QTest::newRow("holdings manager") << false;
    QTest::newRow("watch list") << true;
}

void TestHoldingsWindow::browsingPanelIsReadable() {
    QFETCH(bool, watchList);
    std::unique_ptr<TSeeDlg> dialog;
    QWidget *window = nullptr;
    QWidget *panel = nullptr;
    if (watchList) {
        dialog = std::make_unique<TSeeDlg>();
        window = dialog.get();
        panel = dialog->Panel3;
    } else {
        TForm4 *holdings = open("('600000', 10, 1000)");
        window = holdings;
        panel = holdings->Panel3;
    }
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QVERIFY(!panel->isEnabled());  // browsing
    const QList<QLabel *> captions = panel->findChildren<QLabel *>();
    QVERIFY(!captions.isEmpty());
    for (const QLabel *caption : captions) {
        const double contrast = CaptionContrast(window, caption);
        QVERIFY2(contrast >= 4.5,
                 qPrintable(caption->text() + QStringLiteral(": ") + QString::number(contrast)));
    }
}

QTEST_MAIN(TestHoldingsWindow)
#include "test_holdings_window.moc"
