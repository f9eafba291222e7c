// The watch-list dialog on a real database file, the monitor window's readings and alarms,
// the overlay's shape, and the tray entry that shows the monitor.

#include "app/main_window.h"
#include "monitor/monitor_window.h"
#include "monitor/overlay_window.h"
#include "monitor/watch_list_dialog.h"
#include "platform/fake/fake_platform.h"
#include "storage/watch_list_store.h"
#include "support/fake_quote_server.h"
#include "support/fake_settings.h"
#include "support/message_recorder.h"
#include "support/offscreen_warnings.h"

#include <QDir>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

namespace {

QStringList Rows(const QTableWidget *list, int columns) {
    QStringList rows;
    for (int r = 0; r < list->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < columns; ++c) {
            cells.append(list->item(r, c)->text());
        }
        rows.append(cells.join(u' '));
    }
    return rows;
}

QStringList Stored() {
    QStringList rows;
    for (const storage::WatchEntry &e : storage::LoadWatchList(storage::Database())) {
        rows.append(QStringList{e.code, e.name, e.upper, e.lower}.join(u' '));
    }
    return rows;
}

void Type(TSeeDlg &dialog, const QString &code, const QString &upper, const QString &lower) {
    dialog.SpinEdit1->setText(code);
    dialog.Edit3->setText(QStringLiteral("名") + code);
    dialog.Edit1->setText(upper);
    dialog.Edit2->setText(lower);
}

void Add(TSeeDlg &dialog, const QString &code, const QString &upper, const QString &lower) {
    dialog.SpeedButton1->click();
    Type(dialog, code, upper, lower);
    dialog.SpeedButton4->click();
}

int SelectedRow(const QTableWidget *list) {
    const auto ranges = list->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.first().topRow();
}

void Wheel(QTableWidget *list, int distance) {
    QWheelEvent wheel(QPointF(5, 5), list->viewport()->mapToGlobal(QPointF(5, 5)), QPoint(),
                      QPoint(0, distance), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list->viewport(), &wheel);
}

void DoubleClick(QTableWidget *list, int row) {
    const QPoint at = list->visualItemRect(list->item(row, 1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, list->viewport()->mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &twice);
}

}  // namespace

class TestMonitorWindows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void saveChecksStayInEditing_data();
    void saveChecksStayInEditing();
    void addAndModifyKeepCodeOrder();
    void deleteAsksFirst();
    void wheelMovesTheSelectionOneRow();
    void showingAndClosingStartAndStopTheMonitor();
    void trayEntryShowsTheMonitor();

    void monitorPlacedBottomRight();
    void alarmTest_data();
    void alarmTest();
    void marksLatchAndDoubleClickSilences();
    void readingsFillPricesAndFailuresKeepThem();
    void overlayShapeFollowsTheText();

private:
    TForm10 *monitorWith(const QStringList &rows);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MessageRecorder> m_messages;
    std::unique_ptr<FakeSettings> m_settings;
    std::unique_ptr<FakeQuoteServer> m_server;
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
    m_platform->eventSounds = 0;
}

void TestMonitorWindows::cleanup() {
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (qobject_cast<TForm10 *>(window) || qobject_cast<TForm12 *>(window)) {
            delete window;
        }
    }
    m_messages.reset();
    m_settings.reset();
    QDir::setCurrent(QDir::tempPath());
}

void TestMonitorWindows::saveChecksStayInEditing_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("message");  // empty: saved
    QTest::addColumn<QString>("stored");
    QTest::newRow("five characters") << "60000"
                                     << "10"
                                     << "9"
                                     << "股票代码不完事!请正确填写."
                                     << "";
    QTest::newRow("six letters") << "abcdef"
                                 << "10"
                                 << "10"
                                 << ""
                                 << "abcdef 名abcdef 10 10";
    QTest::newRow("normalised") << "600000"
                                << ".5"
                                << "."
                                << ""
                                << "600000 名600000 0.5 0";
    QTest::newRow("empty upper") << "600000"
                                 << ""
                                 << "1"
                                 << "股票价格错误!请正确填写."
                                 << "";
    QTest::newRow("lower above") << "600000"
                                 << "9.9"
                                 << "10"
                                 << "股票下限价格不能大于上限价格."
                                 << "";
}

void TestMonitorWindows::saveChecksStayInEditing() {
    QFETCH(QString, code);
    QFETCH(QString, upper);
    QFETCH(QString, lower);
    QFETCH(QString, message);
    QFETCH(QString, stored);
    TSeeDlg dialog;
    dialog.open();
    Add(dialog, code, upper, lower);
    QCOMPARE(m_messages->texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty()) {
        QCOMPARE(m_messages->shown.first().caption, QStringLiteral("错误"));
    }
    QCOMPARE(dialog.SpeedButton4->isEnabled(), !message.isEmpty());  // still editing
    QCOMPARE(dialog.ListView1->isEnabled(), message.isEmpty());
    QCOMPARE(Stored(), stored.isEmpty() ? QStringList() : QStringList{stored});
}

void TestMonitorWindows::addAndModifyKeepCodeOrder() {
    TSeeDlg dialog;
    dialog.open();
    Add(dialog, "600000", "10.50", "9");
    Add(dialog, "000001", "12", "11");
    Add(dialog, "300750", "200", "150");
    // Sorted by code, the new row selected and shown in the amount form.
    QCOMPARE(Rows(dialog.ListView1, 4),
             (QStringList{"000001 名000001 12 11", "300750 名300750 200 150",
                          "600000 名600000 10.5 9"}));
    QCOMPARE(SelectedRow(dialog.ListView1), 1);
    QCOMPARE(dialog.SpinEdit1->text(), QStringLiteral("300750"));
    QCOMPARE(dialog.Edit1->text(), QStringLiteral("200"));

    // Modified: the code moves the row; the prices show as typed until the next load.
    dialog.SpeedButton3->click();
    Type(dialog, "900901", "210.50", ".5");
    dialog.SpeedButton4->click();
    QCOMPARE(Rows(dialog.ListView1, 4).last(), QStringLiteral("900901 名900901 210.50 0.5"));
    QCOMPARE(SelectedRow(dialog.ListView1), 2);
    QVERIFY(!dialog.SpeedButton4->isEnabled());
    QVERIFY(Stored().contains("900901 名900901 210.5 0.5"));
    QCOMPARE(Stored().size(), 3);

    // Cancel touches nothing and refills the fields from the row.
    dialog.SpeedButton1->click();
    Type(dialog, "111111", "1", "1");
    dialog.SpeedButton5->click();
    QCOMPARE(dialog.SpinEdit1->text(), QStringLiteral("900901"));
    QCOMPARE(Stored().size(), 3);

    dialog.close();
    dialog.open();  // reloaded from the table
    QCOMPARE(Rows(dialog.ListView1, 1), (QStringList{"000001", "600000", "900901"}));
    QCOMPARE(dialog.ListView1->item(2, 2)->text(), QStringLiteral("210.5"));
    QCOMPARE(SelectedRow(dialog.ListView1), 0);
}

void TestMonitorWindows::deleteAsksFirst() {
    TSeeDlg dialog;
    dialog.open();
    Add(dialog, "600000", "10", "9");
    Add(dialog, "000001", "12", "11");
    m_messages->clear();
    dialog.ListView1->selectRow(0);
    m_messages->answers = {messages::Answer::No};
    dialog.SpeedButton6->click();
    QCOMPARE(m_messages->texts(), QStringList{"你确定要删除这条记录吗?"});
    QCOMPARE(m_messages->shown.first().buttons, messages::Buttons::YesNo);
    QCOMPARE(Stored().size(), 2);
    QCOMPARE(dialog.ListView1->rowCount(), 2);

    m_messages->answers = {messages::Answer::Yes, messages::Answer::Yes};
    dialog.SpeedButton6->click();
    QCOMPARE(Stored(), QStringList{"600000 名600000 10 9"});
    QCOMPARE(SelectedRow(dialog.ListView1), 0);  // the row that took its place
    QCOMPARE(dialog.SpinEdit1->text(), QStringLiteral("600000"));
    dialog.SpeedButton6->click();
    QCOMPARE(dialog.ListView1->rowCount(), 0);
    QCOMPARE(SelectedRow(dialog.ListView1), -1);
    QVERIFY(Stored().isEmpty());
}

void TestMonitorWindows::wheelMovesTheSelectionOneRow() {
    TSeeDlg dialog;
    dialog.open();
    for (int i = 0; i < 20; ++i) {
        Add(dialog, QString::number(600000 + i), "10", "9");
    }
    dialog.ListView1->selectRow(0);
    Wheel(dialog.ListView1, -120);  // towards the user
    QCOMPARE(SelectedRow(dialog.ListView1), 1);
    Wheel(dialog.ListView1, -120);
    Wheel(dialog.ListView1, 120);
    QCOMPARE(SelectedRow(dialog.ListView1), 1);
    dialog.ListView1->clearSelection();
    Wheel(dialog.ListView1, -120);
    Wheel(dialog.ListView1, -120);
    QCOMPARE(SelectedRow(dialog.ListView1), -1);
    QCOMPARE(dialog.ListView1->verticalScrollBar()->value(), 0);
}

void TestMonitorWindows::showingAndClosingStartAndStopTheMonitor() {
    TSeeDlg dialog;
    dialog.open();
    dialog.CheckBox1->setChecked(true);
    dialog.SpeedButton2->click();  // empty list: nothing starts
    QVERIFY(!TForm10::instance);

    dialog.open();
    Add(dialog, "600000", "16", "15");
    Add(dialog, "000001", "12", "11");
    dialog.SpeedButton2->click();
    QVERIFY(TForm10::instance);
    QVERIFY(TForm10::instance->isVisible());
    QCOMPARE(Rows(TForm10::instance->ListView1, 6),
             (QStringList{"000001 名000001  12 11 0", "600000 名600000  16 15 0"}));
    QVERIFY(TForm10::instance->Timer1->isActive());
    QVERIFY(!TForm10::instance->Timer2->isActive());
    QTRY_COMPARE(m_server->requests.size(), 1);  // the first prices are asked for at once

    const QPointer<TForm10> first = TForm10::instance;
    dialog.open();  // showing the dialog closes the monitor
    QVERIFY(!TForm10::instance);
    QTRY_VERIFY(!first);
    dialog.CheckBox1->setChecked(false);
    dialog.reject();  // Escape closes as the close box does
    QVERIFY(!TForm10::instance);
    QVERIFY(m_messages->shown.isEmpty());
}

void TestMonitorWindows::trayEntryShowsTheMonitor() {
    TForm1 mainWindow;
    TSeeDlg dialog;
    mainWindow.SetWatchListDialog(&dialog);
    mainWindow.N12->trigger();
    QVERIFY(dialog.isVisible());
    dialog.CheckBox1->setChecked(true);
    mainWindow.N14->trigger();
    dialog.close();  // the list is empty: no monitor
    mainWindow.N14->trigger();
    dialog.CheckBox1->setChecked(false);
    mainWindow.N14->trigger();
    QCOMPARE(m_messages->texts(), (QStringList{"[股票价格监控设置]窗口运行中!请先退出.",
                                               "监控列表中没有股票!请先在[股票价格监控设置]中添加.",
                                               "股价监控功能没有启用!"}));
    QCOMPARE(m_messages->shown.first().owner, QPointer<QWidget>(&mainWindow));

    // Switched on with stocks: the entry shows a hidden monitor, or makes a new one when
    // there is none.
    mainWindow.N12->trigger();
    Add(dialog, "600000", "16", "15");
    dialog.CheckBox1->setChecked(true);
    dialog.close();
    TForm10::instance->SpeedButton2->click();
    QVERIFY(TForm10::instance->isHidden());
    mainWindow.N14->trigger();
    QVERIFY(TForm10::instance->isVisible());
    TForm10::instance->close();
    mainWindow.N14->trigger();
    QVERIFY(TForm10::instance && TForm10::instance->isVisible());
    QCOMPARE(TForm10::instance->ListView1->rowCount(), 1);
    QCOMPARE(m_messages->shown.size(), 3);
}

TForm10 *TestMonitorWindows::monitorWith(const QStringList &rows) {
    TForm10 *monitor = TForm10::Open();
    for (const QString &row : rows) {
        const QStringList cells = row.split(u' ');
        monitor->AddRow(cells[0], QStringLiteral("名"), cells[1], cells[2]);
    }
    return monitor;
}

void TestMonitorWindows::monitorPlacedBottomRight() {
    TForm10 *monitor = monitorWith({"600000 16 15"});
    QCOMPARE(monitor->geometry(), QRect(676, 464, 348, 272));
}

void TestMonitorWindows::alarmTest_data() {
    QTest::addColumn<QStringList>("rows");     // code upper lower
    QTest::addColumn<QStringList>("current");  // current price text per row
    QTest::addColumn<QString>("marks");
    QTest::addColumn<QStringList>("colours");
    QTest::addColumn<int>("sounds");
    QTest::newRow("above upper") << QStringList{"600000 15 14"} << QStringList{"15.32"} << "+"
                                 << QStringList{"#ff0000"} << 1;
    QTest::newRow("at lower") << QStringList{"600000 16 15.32"} << QStringList{"15.32"} << "-"
                              << QStringList{"#008000"} << 1;
    QTest::newRow("inside") << QStringList{"600000 16 15"} << QStringList{"15.5"} << "0"
                            << QStringList{"#000000"} << 0;
    QTest::newRow("unparsed rows skip only themselves")
        << QStringList{"999999 16 15", "000001 16 15", "600000 15 14"}
        << QStringList{"", "0.000", "15.32"} << "00+"
        << QStringList{"#000000", "#000000", "#ff0000"} << 1;
}

void TestMonitorWindows::alarmTest() {
    QFETCH(QStringList, rows);
    QFETCH(QStringList, current);
    QFETCH(QString, marks);
    QFETCH(QStringList, colours);
    QFETCH(int, sounds);
    TForm10 *monitor = monitorWith(rows);
    monitor->SpeedButton2Click();
    monitor::QuoteReading reading;
    for (const QString &price : current) {
        reading.prices.append(price);
    }
    monitor->ApplyReading(reading);
    monitor->Timer2Timer();
    QString gotMarks;
    QStringList gotColours;
    for (int r = 0; r < rows.size(); ++r) {
        gotMarks += monitor->Text(r, TForm10::Mark);
        gotColours.append(
            monitor->ListView1->item(r, TForm10::Current)->foreground().color().name());
    }
    QCOMPARE(gotMarks, marks);
    if (sounds > 0) {
        QCOMPARE(gotColours, colours);
    }
    QCOMPARE(m_platform->eventSounds, sounds);
    QCOMPARE(monitor->isVisible(), sounds > 0);  // an alarm shows the hidden window
}

void TestMonitorWindows::marksLatchAndDoubleClickSilences() {
    TForm10 *monitor = monitorWith({"600000 16 15", "000001 16 15"});
    const auto price = [monitor](const QString &first, const QString &second) {
        monitor->ApplyReading({{first, second}, {}});
        monitor->Timer2Timer();
    };
    price("16.1", "15.5");
    QCOMPARE(monitor->Text(0, TForm10::Mark), QStringLiteral("+"));
    price("15.5", "15.5");  // back inside: the mark stays, no sound
    QCOMPARE(monitor->Text(0, TForm10::Mark), QStringLiteral("+"));
    QCOMPARE(m_platform->eventSounds, 1);
    price("14", "15.5");  // the other edge
    QCOMPARE(monitor->Text(0, TForm10::Mark), QStringLiteral("-"));
    QCOMPARE(m_platform->eventSounds, 2);

    monitor->ListView1->selectRow(0);
    DoubleClick(monitor->ListView1, 0);
    QVERIFY(!monitor->AlarmOn(0));
    QVERIFY(monitor->AlarmOn(1));
    price("20", "15.5");  // switched off: no mark change, no sound, the colour stays
    QCOMPARE(monitor->Text(0, TForm10::Mark), QStringLiteral("-"));
    QCOMPARE(monitor->ListView1->item(0, 0)->foreground().color(), QColor(0, 128, 0));
    QCOMPARE(m_platform->eventSounds, 2);
    price("20", "16");  // another row still alarms and sounds
    QCOMPARE(m_platform->eventSounds, 3);
}

void TestMonitorWindows::readingsFillPricesAndFailuresKeepThem() {
    m_server->body =
        QuoteLine("sh600000", "浦发银行", "15.320") + QuoteLine("sz300750", "宁德时代", "210.000");
    TForm10 *monitor = monitorWith({"300750 250 200", "600000 15 14"});
    monitor->StartMonitoring();
    QTRY_COMPARE(monitor->Text(1, TForm10::Current), QStringLiteral("15.320"));
    QCOMPARE(monitor->Text(0, TForm10::Current), QStringLiteral("210.000"));
    QCOMPARE(m_server->path(0), QByteArray("/list=sz300750,sh600000"));

    m_server->status = 403;
    monitor->Timer1Timer();
    QTRY_VERIFY(monitor->Label1->text().contains("403"));
    QCOMPARE(monitor->Text(1, TForm10::Current), QStringLiteral("15.320"));
    QVERIFY(monitor->Timer2->isActive());  // the first tick started the alarm test

    m_server->hang = true;
    monitor->Timer1Timer();
    monitor->Timer1Timer();  // a tick while a reading is pending starts no second one
    QTest::qWait(100);
    QCOMPARE(m_server->requests.size(), 3);
}

void TestMonitorWindows::overlayShapeFollowsTheText() {
    m_settings->overlayColour = 0xffff0000u;
    TForm10 *monitor = monitorWith({"600000 16 15", "000001 16 15", "300750 16 15"});
    monitor->ApplyReading({{"15.32", "11.2", ""}, {}});
    monitor->SpeedButton3Click();
    QVERIFY(monitor->isHidden());
    TForm12 *overlay = TForm12::instance;
    QVERIFY(overlay && overlay->isVisible());
    QCOMPARE(overlay->pos(), QPoint(238, 135));
    QVERIFY(!overlay->mask().intersects(overlay->rect()));  // see-through until painted

    monitor->PaintOverlay();
    QCOMPARE(overlay->size(), QSize(1024, 270));
    const QImage &picture = overlay->picture();
    const QRegion shape = overlay->mask();
    QList<int> lineTops;
    int left = picture.width();
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const bool stroke = picture.pixel(x, y) != qRgb(0, 0, 0);
            QVERIFY(!stroke || picture.pixel(x, y) == qRgb(255, 0, 0));  // not smoothed
            QCOMPARE(shape.contains(QPoint(x, y)), stroke);              // the shape is the strokes
            if (stroke) {
                left = std::min(left, x);
                if (lineTops.isEmpty() || y / 90 > lineTops.last() / 90) {
                    lineTops.append(y);
                }
            }
        }
    }
    QVERIFY(left >= 10 && left < 20);
    QCOMPARE(lineTops.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QVERIFY2(lineTops[i] >= i * 90 && lineTops[i] < i * 90 + 30,
                 qPrintable(QString::number(lineTops[i])));
    }

    m_settings->overlayColour = 0xff000000u;  // black is see-through: nothing shows
    monitor->PaintOverlay();
    QVERIFY(!overlay->mask().intersects(overlay->rect()));

    monitor->close();  // closing the monitor leaves the overlay
    QVERIFY(TForm12::instance);
    QTest::mouseDClick(overlay->Image1, Qt::LeftButton);
    QVERIFY(!TForm12::instance || !TForm12::instance->isVisible());
}

QTEST_MAIN(TestMonitorWindows)
#include "test_monitor_windows.moc"
