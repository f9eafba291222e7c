// The watch-list dialog on a real database file, the monitor and the overlay as views of the
// watch session, and the tray entry that shows the monitor.

#include "app/main_window.h"
#include "app/shell.h"
#include "monitor/monitor_window.h"
#include "monitor/overlay_window.h"
#include "monitor/watch_list_dialog.h"
#include "monitor/watch_session.h"
#include "platform/fake/fake_platform.h"
#include "storage/watch_list_store.h"
#include "support/button_names.h"
#include "support/fake_quote_server.h"
#include "support/fake_settings.h"
#include "support/message_recorder.h"
#include "support/offscreen_warnings.h"
#include "support/resident_memory.h"
#include "support/side_sql.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QHeaderView>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

using Prices = QList<std::optional<QString>>;

QStringList Rows(const QTableView *list, std::initializer_list<int> columns) {
    QStringList rows;
    for (int r = 0; r < list->model()->rowCount(); ++r) {
        QStringList cells;
        for (int c : columns) {
            cells.append(list->model()->index(r, c).data().toString());
        }
        rows.append(cells.join(u' '));
    }
    return rows;
}

QStringList Stored() {
    QStringList rows;
    for (const storage::WatchEntry &e : storage::LoadWatchList(storage::Database())) {
        rows.append(QStringList{e.code, e.upper.text, e.lower.text}.join(u' '));
    }
    return rows;
}

void Add(TSeeDlg &dialog, const QString &code, const QString &upper, const QString &lower,
         QPushButton *start = nullptr) {
    (start != nullptr ? start : dialog.SpeedButton1)->click();
    dialog.SpinEdit1->setText(code);
    dialog.Edit1->setText(upper);
    dialog.Edit2->setText(lower);
    dialog.SpeedButton4->click();
}

int Selected(const QTableView *list) {
    const QModelIndexList rows = list->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void Wheel(QTableView *list, int distance, QWidget *over = nullptr) {
    over = over != nullptr ? over : list->viewport();
    QWheelEvent wheel({5, 5}, over->mapToGlobal(QPointF(5, 5)), {}, {0, distance}, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(over, &wheel);
}

// A Thursday morning in Beijing: the exchanges are open.
QDateTime InSession() {
    return QDateTime(QDate(2026, 3, 5), QTime(10, 0), quotes::BeijingTime());
}

// Prices of the session's rows, in their order, as a reading brings them by code.
quotes::FeedReading ReadingOf(const monitor::WatchSession &session, const Prices &prices,
                              const QString &error = {}) {
    quotes::FeedReading reading;
    for (qsizetype i = 0; i < prices.size(); ++i) {
        reading.quotes.insert(
            session.rows()[i].code,
            prices[i] ? std::optional(quotes::QuoteDetail{*prices[i], {}, {}}) : std::nullopt);
    }
    reading.state.error = error;
    return reading;
}

QString Cell(const TForm10 *monitor, int row, int column, int role = Qt::DisplayRole) {
    return monitor->Rows->index(row, column).data(role).toString();
}

QColor Colour(const TForm10 *monitor, int row) {
    return monitor->Rows->index(row, 0).data(Qt::ForegroundRole).value<QBrush>().color();
}

}  // namespace

class TestMonitorWindows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void saveChecks_data();
    void saveChecks();
    void addModifyCancelDelete();
    void wheelMovesTheSelectionOneRow();
    void dialogStartsAndStopsTheMonitor();
    void alarmMarksShowsAndDoubleClickSilences();
    void rowMenuAsksForTheChart();
    void longListFitsBesideItsScrollBar();
    void pricesWholeNamesGiveWay_data();
    void pricesWholeNamesGiveWay();
    void alarmBelowTheFoldComesIntoView();
    void stalePricesShowGrey_data();
    void stalePricesShowGrey();
    void readingsFillPricesAndFailuresKeepThem();
    void overlayShapeIsTheText();
    void overlayKeepsToTheScreen_data();
    void overlayKeepsToTheScreen();
    void watchListChangedElsewhere_data();
    void watchListChangedElsewhere();
    void watchListColumnsFitTheList();

private:
    // A monitor over a session that reads nothing by itself: readings come by hand.
    TForm10 *MonitorWith(const QStringList &rows);
    // Prices as a reading brings them, then one alarm test.
    void Tick(const QStringList &prices);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<quotes::QuoteFeed> m_feed;
    std::unique_ptr<monitor::WatchSession> m_session;
    std::unique_ptr<MessageRecorder> m_messages;
    std::unique_ptr<FakeSettings> m_settings;
    std::unique_ptr<FakeQuoteServer> m_server;
    std::unique_ptr<FakeQuoteServer> m_fallback;
    platform::FakePlatform *m_platform = nullptr;
};

void TestMonitorWindows::initTestCase() {
    FilterOffscreenWarnings();
    auto fake = std::make_unique<platform::FakePlatform>();
    m_platform = fake.get();
    platform::Install(std::move(fake));
}

void TestMonitorWindows::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY(storage::Database::Create(storage::DatabaseFileName()));
    m_messages = std::make_unique<MessageRecorder>();
    m_settings = std::make_unique<FakeSettings>();
    m_server = std::make_unique<FakeQuoteServer>();
    qputenv("STOCKCALC_QUOTE_URL", m_server->url().toUtf8());
    m_fallback = std::make_unique<FakeQuoteServer>();
    m_fallback->status = 503;
    qputenv("STOCKCALC_QUOTE_FALLBACK_URL", m_fallback->url().toUtf8());
    m_platform->eventSounds = 0;
    // Readings every 300 ms on a Thursday morning in Beijing.
    m_feed = std::make_unique<quotes::QuoteFeed>(quotes::TradingCalendar({}, InSession), 250,
                                                 nullptr, 300);
    m_session = std::make_unique<monitor::WatchSession>(
        m_feed.get(),
        monitor::WatchSession::Outlets{{}, [] { platform::Current().playEventSound(); }});
}

void TestMonitorWindows::cleanup() {
    delete TForm10::instance;
    delete TForm12::instance;
    m_session.reset();
    m_feed.reset();
    m_messages.reset();
    m_settings.reset();
    QDir::setCurrent(QDir::tempPath());
}

TForm10 *TestMonitorWindows::MonitorWith(const QStringList &rows) {
    m_session = std::make_unique<monitor::WatchSession>(
        nullptr, monitor::WatchSession::Outlets{{}, [] { platform::Current().playEventSound(); }});
    QList<storage::WatchEntry> entries;
    for (const QString &row : rows) {
        const QStringList cells = row.split(u' ');
        entries.append({0, cells[0], QStringLiteral("名"), {0, cells[1]}, {0, cells[2]}});
    }
    m_session->start(entries);
    return TForm10::Open(m_session.get());
}

void TestMonitorWindows::Tick(const QStringList &prices) {
    m_session->apply(ReadingOf(*m_session, Prices(prices.cbegin(), prices.cend())));
    m_session->testAlarms();
}

void TestMonitorWindows::saveChecks_data() {
    QTest::addColumn<QStringList>("typed");  // code, upper, lower
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");  // upper and lower fields after the attempt
    const QString price = "股票价格错误!请正确填写.";
    QTest::newRow("5 chars") << QStringList{"60000", ".5", "."} << "股票代码不完事!请正确填写."
                             << ".5 .";
    QTest::newRow("letters, equal") << QStringList{"abcdef", "10", "10"} << ""
                                    << "10 10";
    QTest::newRow("normalised") << QStringList{"600000", ".5", "."} << ""
                                << "0.5 0";
    QTest::newRow("empty upper") << QStringList{"600000", "", "."} << price << " .";
    QTest::newRow("bad lower") << QStringList{"600000", "5.", "1.2.3"} << price << "5.0 1.2.3";
    QTest::newRow("lower above") << QStringList{"600000", "9.9", "10"}
                                 << "股票下限价格不能大于上限价格."
                                 << "9.9 10";
}

void TestMonitorWindows::saveChecks() {
    QFETCH(QStringList, typed);
    QFETCH(QString, message);
    QFETCH(QString, shown);
    TSeeDlg dialog;
    dialog.open();
    Add(dialog, typed[0], typed[1], typed[2]);
    QCOMPARE(m_messages->texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(dialog.Edit1->text() + u' ' + dialog.Edit2->text(), shown);
    QCOMPARE(dialog.SpeedButton4->isEnabled(), !message.isEmpty());  // still editing
    QCOMPARE(Stored(), message.isEmpty() ? QStringList{typed[0] + u' ' + shown} : QStringList());
}

void TestMonitorWindows::addModifyCancelDelete() {
    TSeeDlg dialog;
    QAbstractItemModelTester tester(dialog.Entries);
    dialog.open();
    QVERIFY((dialog.frameGeometry().center() - dialog.screen()->availableGeometry().center())
                .manhattanLength() <= 4);
    Add(dialog, "600000", "10.50", "9");
    dialog.Edit3->setText(u"\u202e\u0000\u0085工行\t1"_s);  // name kept clean of steering
    Add(dialog, "600000", "10.5", "9", dialog.SpeedButton3);
    QCOMPARE(dialog.Edit3->text(), u"工行1"_s);
    QCOMPARE(storage::LoadWatchList(storage::Database()).front().name, u"工行1"_s);
    Add(dialog, "000001", "12", "11");
    Add(dialog, "300750", "200", "150");
    // Sorted by code, the new row selected, its prices in the amount form.
    QCOMPARE(Rows(dialog.ListView1, {0, 2, 3}),
             (QStringList{"000001 12 11", "300750 200 150", "600000 10.5 9"}));
    QCOMPARE(Selected(dialog.ListView1), 1);
    QCOMPARE(dialog.SpinEdit1->text() + dialog.Edit1->text(), QStringLiteral("300750200"));
    // Modified: the row moves with its code and shows the prices as typed until reloaded.
    Add(dialog, "900901", "210.50", "1", dialog.SpeedButton3);
    QCOMPARE(Rows(dialog.ListView1, {0, 2, 3}).last(), QStringLiteral("900901 210.50 1"));
    QCOMPARE(Selected(dialog.ListView1), 2);
    QCOMPARE(Stored(), (QStringList{"600000 10.5 9", "000001 12 11", "900901 210.5 1"}));
    dialog.SpeedButton1->click();
    dialog.SpinEdit1->setText("111111");
    dialog.SpeedButton5->click();  // cancel: nothing stored, the fields show the row again
    QCOMPARE(dialog.SpinEdit1->text(), QStringLiteral("900901"));
    dialog.close();
    dialog.open();
    QCOMPARE(Rows(dialog.ListView1, {0, 2, 3}).last(), QStringLiteral("900901 210.5 1"));

    m_messages->answers = {messages::Answer::No, messages::Answer::Yes, messages::Answer::Yes,
                           messages::Answer::Yes};
    dialog.SpeedButton6->click();
    QCOMPARE(m_messages->texts(), QStringList{"你确定要删除这条记录吗?"});
    QCOMPARE(Stored().size(), 3);
    dialog.SpeedButton6->click();
    QCOMPARE(Rows(dialog.ListView1, {0}), (QStringList{"600000", "900901"}));
    QCOMPARE(Selected(dialog.ListView1), 0);  // the row that took its place
    dialog.SpeedButton6->click();
    dialog.SpeedButton6->click();
    QCOMPARE(Selected(dialog.ListView1), -1);
    QVERIFY(Stored().isEmpty());
}

void TestMonitorWindows::wheelMovesTheSelectionOneRow() {
    TSeeDlg dialog;
    dialog.open();
    for (int i = 0; i < 20; ++i) {
        Add(dialog, QString::number(600000 + i), "10", "9");
    }
    QCOMPARE(dialog.ListView1->rowHeight(0), 22);
    dialog.ListView1->selectRow(0);
    Wheel(dialog.ListView1, -120);  // towards the user
    for (int i = 0; i < 4; ++i) {
        Wheel(dialog.ListView1, -30, dialog.ListView1->verticalScrollBar());  // a fine wheel
    }
    Wheel(dialog.ListView1, 120);
    QCOMPARE(Selected(dialog.ListView1), 1);
    dialog.ListView1->clearSelection();
    Wheel(dialog.ListView1, -120);
    QCOMPARE(Selected(dialog.ListView1), -1);
    QCOMPARE(dialog.ListView1->verticalScrollBar()->value(), 0);  // the wheel never scrolls
}

void TestMonitorWindows::dialogStartsAndStopsTheMonitor() {
    // The shell's own feed, reading as the fixture's does.
    Shell shell(std::make_unique<quotes::QuoteFeed>(quotes::TradingCalendar({}, InSession), 250,
                                                    nullptr, 300));
    TForm1 &mainWindow = shell.about();
    TSeeDlg &dialog = shell.watchList();
    mainWindow.N12->trigger();
    dialog.CheckBox1->setChecked(true);
    mainWindow.N14->trigger();  // refused while the dialog is open
    dialog.close();             // an empty list starts nothing
    mainWindow.N14->trigger();  // switched on, nothing watched
    dialog.CheckBox1->setChecked(false);
    mainWindow.N14->trigger();
    QVERIFY(!TForm10::instance);
    QCOMPARE(m_messages->texts(), (QStringList{"[股票价格监控设置]窗口运行中!请先退出.",
                                               "监控列表中没有股票!请先在[股票价格监控设置]中添加.",
                                               "股价监控功能没有启用!"}));

    mainWindow.N12->trigger();
    Add(dialog, "600000", "16", "15");
    Add(dialog, "000001", "12", "11");
    dialog.CheckBox1->setChecked(true);
    dialog.reject();  // Escape closes as the close box does
    QVERIFY(TForm10::instance && TForm10::instance->isVisible());
    QCOMPARE(TForm10::instance->geometry(), QRect(676, 464, 348, 272));
    QAbstractItemModelTester tester(TForm10::instance->Rows);
    QCOMPARE(Rows(TForm10::instance->ListView1, {0, 2, 3, 4}),
             (QStringList{"000001 — 12 11", "600000 — 16 15"}));
    QVERIFY(shell.session().active() && !shell.session().alarmTestRunning());
    QTRY_COMPARE(m_server->requests.size(), 1);  // the first prices are asked for at once

    TForm10::instance->SpeedButton2->click();
    mainWindow.N14->trigger();  // shows the hidden monitor
    QVERIFY(TForm10::instance->isVisible());
    TForm10::instance->close();  // closing the monitor ends monitoring
    QVERIFY(!shell.session().active() && shell.feed().codes().isEmpty());
    mainWindow.N14->trigger();  // none left: a new one from the list
    QCOMPARE(TForm10::instance->Rows->rowCount(), 2);
    TForm10::instance->SpeedButton3->click();  // the overlay instead
    QVERIFY(TForm12::instance && TForm10::instance->isHidden());
    mainWindow.N12->trigger();  // showing the dialog ends monitoring with both its windows
    QVERIFY(!TForm10::instance && !shell.session().active());
    QTRY_VERIFY(!TForm12::instance);
    QCOMPARE(m_messages->shown.size(), 3);
}

void TestMonitorWindows::alarmMarksShowsAndDoubleClickSilences() {
    TForm10 *monitor = MonitorWith({"600000 15 14", "000001 16 15"});
    QAbstractItemModelTester tester(monitor->Rows);
    monitor->SpeedButton2Click();
    Tick({"15.32", "15.5"});
    QVERIFY(monitor->isVisible());  // an alarm shows the hidden window
    QCOMPARE(Colour(monitor, 0), QColor(255, 0, 0));
    QCOMPARE(Colour(monitor, 1), QColor(0, 0, 0));
    QCOMPARE(m_platform->eventSounds, 1);

    // The selected alarming row keeps its red text on a light selection.
    QTableView *list = monitor->ListView1;
    const QRect row = list->visualRect(monitor->Rows->index(0, 1))
                          .united(list->visualRect(monitor->Rows->index(0, 4)));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    const QImage shot = list->viewport()->grab(row).toImage();
    int red = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            red += shot.pixel(x, y) == qRgb(255, 0, 0) ? 1 : 0;
        }
    }
    QVERIFY2(red > 40, qPrintable(QString::number(red)));
    QVERIFY(qGray(shot.pixel(2, shot.height() / 2)) > 200);

    QMouseEvent twice(QEvent::MouseButtonDblClick, row.center(),
                      list->viewport()->mapToGlobal(row.center()), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    const auto picture = [monitor](int r) {
        return monitor->Rows->index(r, 0)
            .data(Qt::DecorationRole)
            .value<QIcon>()
            .pixmap(16)
            .toImage();
    };
    QApplication::sendEvent(list->viewport(), &twice);
    QVERIFY(!m_session->rows()[0].alarmOn && m_session->rows()[1].alarmOn);
    QVERIFY(!picture(1).isNull() && picture(0) != picture(1));  // the picture follows the switch
    Tick({"20", "15.5"});                                       // switched off: still red, silent
    QCOMPARE(Colour(monitor, 0), QColor(255, 0, 0));
    QCOMPARE(m_platform->eventSounds, 1);
}

void TestMonitorWindows::rowMenuAsksForTheChart() {
    TForm10 *monitor = MonitorWith({"600000 15 14", "000001 16 15"});
    QSignalSpy wanted(monitor, &TForm10::chartWanted);
    const QRect second = monitor->ListView1->visualRect(monitor->Rows->index(1, 1));
    emit monitor->ListView1->customContextMenuRequested(second.center());
    QTRY_VERIFY(monitor->RowMenu->isVisible());
    QCOMPARE(monitor->ChartItem->text(), u"分时图"_s);
    monitor->ChartItem->trigger();
    QCOMPARE(wanted.size(), 1);
    QCOMPARE(wanted[0][0].toString(), u"000001"_s);
    QVERIFY(m_session->rows()[1].alarmOn);  // the menu leaves the alarm switch alone
}

void TestMonitorWindows::longListFitsBesideItsScrollBar() {
    QStringList rows;
    for (int i = 0; i < 12; ++i) {
        rows.append(QStringLiteral("%1 16 15").arg(600000 + i));
    }
    TForm10 *monitor = MonitorWith(rows);
    QTableView *list = monitor->ListView1;
    QVERIFY(QTest::qWaitForWindowExposed(monitor));
    QTRY_VERIFY(list->verticalScrollBar()->isVisible());
    QVERIFY(list->horizontalHeader()->length() <= list->viewport()->width());
    QVERIFY(!list->horizontalScrollBar()->isVisible());
    list->scrollToBottom();
    QVERIFY(list->viewport()->rect().contains(list->visualRect(monitor->Rows->index(11, 4))));
}

void TestMonitorWindows::pricesWholeNamesGiveWay_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("band");  // upper and lower
    QTest::addColumn<QString>("price");
    QTest::addColumn<bool>("nameCut");
    QTest::newRow("four-digit price") << "贵州茅台"
                                      << "1600 1450.5"
                                      << "1512.000" << false;
    QTest::newRow("long name") << "沪深300ETF华泰柏瑞"
                               << "4.5 3.9"
                               << "4.123" << true;
    QTest::newRow("short prices") << "中国平安"
                                  << "99.99 0.01"
                                  << "45.670" << false;
}

void TestMonitorWindows::pricesWholeNamesGiveWay() {
    QFETCH(QString, name);
    QFETCH(QString, band);
    QFETCH(QString, price);
    QFETCH(bool, nameCut);
    TForm10 *monitor = MonitorWith({"600519 " + band});
    QCOMPARE(UnnamedButtons(monitor), QString());
    m_session->start(
        {{0, "600519", name, {0, band.section(u' ', 0, 0)}, {0, band.section(u' ', 1, 1)}}});
    Tick({price});
    QTableView *list = monitor->ListView1;
    QVERIFY(QTest::qWaitForWindowExposed(monitor));
    const int margins = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1) + 1;
    for (int column : {2, 3, 4}) {  // every price whole, within the window's width
        const QString text = Cell(monitor, 0, column);
        QVERIFY2(list->fontMetrics().horizontalAdvance(text) + margins <= list->columnWidth(column),
                 qPrintable(text));
    }
    QVERIFY(list->horizontalHeader()->length() <= list->viewport()->width());
    const bool cut = list->fontMetrics().horizontalAdvance(name) + margins > list->columnWidth(1);
    QCOMPARE(cut, nameCut);
    // A cut name's whole text is its tooltip.
    const QPoint at = list->visualRect(monitor->Rows->index(0, 1)).center();
    QHelpEvent help(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list->viewport(), &help);
    QTRY_COMPARE(QToolTip::text() == name, nameCut);
}

void TestMonitorWindows::alarmBelowTheFoldComesIntoView() {
    QStringList rows;
    for (int i = 0; i < 13; ++i) {
        rows.append(QStringLiteral("%1 16 15").arg(600000 + i));
    }
    TForm10 *monitor = MonitorWith(rows);
    QTableView *list = monitor->ListView1;
    QVERIFY(QTest::qWaitForWindowExposed(monitor));
    list->selectRow(1);
    monitor->SpeedButton2Click();
    QStringList prices(13, QStringLiteral("15.5"));
    prices[11] = QStringLiteral("16.2");
    Tick(prices);
    QVERIFY(monitor->isVisible());
    QVERIFY(list->viewport()->rect().contains(list->visualRect(monitor->Rows->index(11, 4))));
    QCOMPARE(Selected(list), 1);
}

void TestMonitorWindows::stalePricesShowGrey_data() {
    QTest::addColumn<QStringList>("second");  // what the next reading brings; "-": nothing
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("tips");  // of the price cells that show grey
    QTest::newRow("both renewed") << QStringList{"15.5", "16"} << QStringList{"15.5", "16"}
                                  << QStringList{"", ""};
    QTest::newRow("second left out") << QStringList{"15.5", "-"} << QStringList{"15.5", "15.320"}
                                     << QStringList{"", "价格停留在 10:00:00"};
    QTest::newRow("first unknown now")
        << QStringList{"", "16"} << QStringList{"—", "16"} << QStringList{"", ""};
}

void TestMonitorWindows::stalePricesShowGrey() {
    QFETCH(QStringList, second);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, tips);
    TForm10 *monitor = MonitorWith({"600000 20 10", "000001 20 10"});
    QCOMPARE(Cell(monitor, 0, 2), QStringLiteral("—"));  // no price yet
    quotes::FeedReading reading = ReadingOf(*m_session, Prices{"15.000", "15.320"});
    reading.state.readingTime = InSession();
    m_session->apply(reading);
    Prices next;
    for (const QString &price : second) {
        next.append(price == u"-" ? std::nullopt : std::optional(price));
    }
    reading = ReadingOf(*m_session, next);
    reading.state.readingTime = InSession().addSecs(5);
    m_session->apply(reading);
    for (int row = 0; row < 2; ++row) {
        QCOMPARE(Cell(monitor, row, 2), shown[row]);
        const QColor colour =
            monitor->Rows->index(row, 2).data(Qt::ForegroundRole).value<QBrush>().color();
        QCOMPARE(colour == QColor(Qt::gray), !tips[row].isEmpty());
        if (!tips[row].isEmpty()) {
            QCOMPARE(Cell(monitor, row, 2, Qt::ToolTipRole), tips[row]);
        }
        QCOMPARE(Colour(monitor, row), QColor(0, 0, 0));  // the other cells keep the mark's
    }
}

void TestMonitorWindows::readingsFillPricesAndFailuresKeepThem() {
    m_server->body =
        "var hq_str_sh600000=\"PFYH,15.100,15.000,15.320,15.400,15.050,0,0,0,0,0,0,0,"
        "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,2026-03-05,14:35:02,00\";\n" +
        QuoteLine("sz300750", "宁德时代", "210.000");
    m_session->start(
        {{0, "300750", "", {250, "250"}, {200, "200"}}, {0, "600000", "", {15, "15"}, {14, "14"}}});
    TForm10 *monitor = TForm10::Open(m_session.get());
    QTRY_COMPARE(Cell(monitor, 1, 2), QStringLiteral("15.320"));
    QCOMPARE(Cell(monitor, 0, 2), QStringLiteral("210.000"));
    QCOMPARE(Cell(monitor, 1, 3, Qt::ToolTipRole),
             QStringLiteral("涨跌幅 +2.13%  行情时间 14:35:02"));
    // Beijing time by the feed's clock, whatever the desktop's.
    QVERIFY2(monitor->Label1->text().startsWith("行情来源: 新浪  价格更新于 10:00:00"),
             qPrintable(monitor->Label1->text()));
    m_server->status = 403;  // the next reading fails at both services
    QTRY_VERIFY(monitor->Label1->toolTip().contains("403"));
    QVERIFY(monitor->Label1->text().contains("都失败了"));
    QCOMPARE(Cell(monitor, 1, 2), QStringLiteral("15.320"));
    QCOMPARE(Cell(monitor, 1, 2, Qt::ToolTipRole), QStringLiteral("价格停留在 14:35:02"));
}

void TestMonitorWindows::overlayShapeIsTheText() {
    m_settings->setOverlayColour(0xffff0000u);
    TForm10 *monitor = MonitorWith({"600000 16 15", "000001 16 15", "300750 16 15"});
    QSignalSpy wanted(monitor, &TForm10::overlayWanted);
    monitor->SpeedButton3Click();
    QCOMPARE(wanted.size(), 1);  // the main window opens it
    TForm12 *overlay = TForm12::Open(m_settings->inForce, m_session.get());
    QVERIFY(monitor->isHidden() && overlay->isVisible());
    QCOMPARE(overlay->pos(), QPoint(238, 135));
    QVERIFY(!overlay->mask().intersects(overlay->rect()));  // see-through until painted

    // One batch failed: the status says how many rows kept their price, and the overlay
    // shows what arrived.
    m_session->apply(ReadingOf(*m_session, {"15.32", "11.2", std::nullopt}, "行情服务无响应"));
    QVERIFY(monitor->Label1->toolTip().endsWith("行情服务无响应,1只股票仍是上次的价格"));
    QCOMPARE(overlay->size(), QSize(1024, 270));
    const QImage &picture = overlay->picture();
    QList<int> lineTops;
    int left = picture.width();
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const bool stroke = picture.pixel(x, y) != qRgb(0, 0, 0);
            QVERIFY(!stroke || picture.pixel(x, y) == qRgb(255, 0, 0));  // not smoothed
            QCOMPARE(overlay->mask().contains(QPoint(x, y)), stroke);
            if (stroke && (lineTops.isEmpty() || y / 90 > lineTops.last() / 90)) {
                lineTops.append(y);
            }
            left = stroke ? std::min(left, x) : left;
        }
    }
    QVERIFY(left >= 10 && left < 20);
    QCOMPARE(lineTops.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QVERIFY(lineTops[i] >= i * 90 && lineTops[i] < i * 90 + 30);
    }
    m_settings->setOverlayColour(0xff000000u);  // black is see-through: nothing shows
    overlay->PaintOverlay();
    QVERIFY(!overlay->mask().intersects(overlay->rect()));
    monitor->close();  // closing the monitor leaves the overlay
    QTest::mouseDClick(overlay->Image1, Qt::LeftButton);
    QTRY_VERIFY(!TForm12::instance);
}

void TestMonitorWindows::overlayKeepsToTheScreen_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("fontSize");
    QTest::addColumn<int>("height");
    // The overlay's top is at 135 on a 768-pixel screen.
    QTest::newRow("900 rows: the lines that fit") << 900 << 70 << 7 * 90;
    QTest::newRow("size beyond range") << 2 << 2147483647 << 2 * 170;
    QTest::newRow("size below range") << 2 << -5 << 2 * 40;
}

void TestMonitorWindows::overlayKeepsToTheScreen() {
    QFETCH(int, rows);
    QFETCH(int, fontSize);
    QFETCH(int, height);
    QStringList texts;
    for (int i = 0; i < rows; ++i) {
        texts.append(QStringLiteral("%1 16 15").arg(600000 + i));
    }
    MonitorWith(texts);
    m_session->apply(ReadingOf(*m_session, Prices(rows, QStringLiteral("15.32"))));
    m_settings->setOverlayColour(0xffff0000u);
    m_settings->setOverlayFontSize(fontSize);
    const int before = ResidentMegabytes();
    TForm12::Open(m_settings->inForce, m_session.get())->PaintOverlay();
    QVERIFY(QTest::qWaitForWindowExposed(TForm12::instance));
    QCOMPARE(TForm12::instance->height(), height);
    QVERIFY(ResidentMegabytes() - before < 20);
}

void TestMonitorWindows::watchListChangedElsewhere_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("stored");  // "identity code name upper" after the action
    QTest::addColumn<QString>("message");     // what the trader is told
    const QString reloaded = "监控记录已被其他程序改动，列表已重新载入，请核对后再操作。";
    const QString other = "UPDATE KSEE SET KNUM = '688981', KNAME = 'ZZZ' WHERE MID = 2";
    const QStringList otherStored{"1 000002 AAA 10", "2 688981 ZZZ 12"};
    const QString gone = "DELETE FROM KSEE WHERE MID = 2";
    const QStringList both{"1 000002 AAA 10", "2 000001 BBB 12"};
    const QString locked =
        "CREATE TRIGGER refuse BEFORE %1 ON KSEE BEGIN SELECT RAISE(ABORT, "
        "'locked'); END";
    QTest::newRow("delete, another stock now") << "delete" << other << otherStored << reloaded;
    QTest::newRow("modify, another stock now") << "modify" << other << otherStored << reloaded;
    QTest::newRow("delete, gone") << "delete" << gone << QStringList{"1 000002 AAA 10"} << reloaded;
    QTest::newRow("modify, gone: not stored anew")
        << "modify" << gone << QStringList{"1 000002 AAA 10"} << reloaded;
    QTest::newRow("delete fails") << "delete" << locked.arg("DELETE") << both
                                  << "删除失败!数据库无法写入。";
    QTest::newRow("modify fails, typed values stay")
        << "modify" << locked.arg("UPDATE") << both << "保存失败!数据库无法写入。";
}

void TestMonitorWindows::watchListChangedElsewhere() {
    QFETCH(QString, action);
    QFETCH(QString, change);
    QFETCH(QStringList, stored);
    QFETCH(QString, message);
    Sql("INSERT INTO KSEE (KNUM, KNAME, KUP, KDOWN) VALUES ('000002', 'AAA', 10, 9), "
        "('000001', 'BBB', 12, 11)");
    TSeeDlg dialog;
    dialog.open();
    QCOMPARE(dialog.SpinEdit1->text(), QStringLiteral("000001"));  // the row of MID 2
    Sql(change);
    m_messages->answers = {messages::Answer::Yes};
    (action == "delete" ? dialog.SpeedButton6 : dialog.SpeedButton3)->click();
    dialog.Edit1->setText("13.5");
    dialog.SpeedButton4->click();  // a save, while editing
    QStringList now;
    for (const storage::WatchEntry &e : storage::LoadWatchList(storage::Database())) {
        now.append(QStringLiteral("%1 %2 %3 %4").arg(e.identity).arg(e.code, e.name, e.upper.text));
    }
    QCOMPARE(now, stored);
    QCOMPARE(m_messages->texts().last(), message);
    if (message.startsWith(u"保存失败")) {
        QVERIFY(dialog.SpeedButton4->isEnabled());  // still editing, the typed price kept
        QCOMPARE(dialog.Edit1->text(), QStringLiteral("13.5"));
        return;
    }
    QVERIFY(!dialog.SpeedButton4->isEnabled());  // browsing
    QCOMPARE(dialog.Entries->rowCount(), stored.size());
    QCOMPARE(dialog.SpinEdit1->text(),
             stored.size() == 2 ? stored[1].section(u' ', 1, 1) : QStringLiteral("000002"));
}

void TestMonitorWindows::watchListColumnsFitTheList() {
    for (int i = 0; i < 20; ++i) {
        Sql(QStringLiteral("INSERT INTO KSEE (KNUM, KNAME, KUP, KDOWN) VALUES ('%1', "
                           "'名称很长的股票', 1000000.25, 999999.75)")
                .arg(920700 + i));
    }
    TSeeDlg dialog;
    dialog.open();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTableView *list = dialog.ListView1;
    QTRY_VERIFY(list->verticalScrollBar()->isVisible());
    QVERIFY(!list->horizontalScrollBar()->isVisible());
    QVERIFY(list->horizontalHeader()->length() <= list->viewport()->width());
    QTest::keyClick(list, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(list->columnViewportPosition(0), 0);  // the code column reads whole
}

QTEST_MAIN(TestMonitorWindows)
#include "test_monitor_windows.moc"
