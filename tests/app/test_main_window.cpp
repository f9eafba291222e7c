// The main window: about screen, tray menu, and the launcher used when there is no tray.

#include "app/main_window.h"
#include "app/qt_texts.h"
#include "app/tray.h"
#include "platform/fake/fake_platform.h"
#include "support/message_recorder.h"
#include "widgets/pictures.h"

#include <QMessageBox>
#include "support/offscreen_warnings.h"

#include <QtTest>

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void designValues();
    void menuEntriesInOrder();
    void firstTickEndsTheAboutScreen();
    void launcherWhileThereIsNoTray();
    void trayMenuGoesWhenDismissed_data();
    void trayMenuGoesWhenDismissed();
    void sessionNoteOnlyWithoutWindowControl();
    void aboutEntryShowsTheScreenAgain();
    void webPageSpotOpensThePage();
    void messageSeamCapturesOwnerAndCaption();
    void realMessageBoxGivesTheButtonPressed_data();
    void realMessageBoxGivesTheButtonPressed();

private:
    platform::FakePlatform *m_fake = nullptr;
};

void TestMainWindow::initTestCase() {
    FilterOffscreenWarnings();
    QVERIFY(InstallQtChineseTexts());
    auto fake = std::make_unique<platform::FakePlatform>();
    m_fake = fake.get();
    platform::Install(std::move(fake));
}

void TestMainWindow::designValues() {
    TForm1 form;
    QCOMPARE(form.windowTitle(), QStringLiteral("岚石股票收益计算器"));
    QCOMPARE(form.size(), QSize(442 + 2, 251 + 2));  // a thin frame around the client area
    QCOMPARE(form.contentsRect(), QRect(1, 1, 442, 251));
    QCOMPARE(form.grab().toImage().pixelColor(0, 100), QColor(100, 100, 100));
    QCOMPARE(form.palette().color(QPalette::Window), QColor(255, 128, 0));
    QVERIFY(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(form.Label1->text(), QStringLiteral(" Ver  1.0  (Build 1.075 , 2013.8.21最后修改)"));
    QCOMPARE(form.SpeedButton1->geometry(), QRect(120, 120, 201, 41));
    QVERIFY(!form.SpeedButton1->isVisibleTo(&form));
    QVERIFY(!form.Image1->isEnabled());
    QCOMPARE(form.Timer1->interval(), 1000);
    QCOMPARE(form.tray()->icon()->toolTip(), QStringLiteral("岚石软件-股票收益计算器"));
    // Centred on the 1024 x 768 screen.
    QCOMPARE(form.pos(), QPoint((1024 - 444) / 2, (768 - 253) / 2));
}

void TestMainWindow::menuEntriesInOrder() {
    TForm1 form;
    QStringList captions;
    int pictures = 0;
    for (QAction *action : form.tray()->menu()->actions()) {
        captions.append(action->isSeparator() ? QStringLiteral("-") : action->text());
        pictures += action->icon().isNull() ? 0 : 1;
    }
    QCOMPARE(captions,
             (QStringList{"股票交易费率设置", "系统参数设置", "-", "股票差价计算器",
                          "股票均价计算器", "股票管理器", "-", "股票价格监控设置",
                          "查看监控股票价格", "-", "关于本软件", "简易手册", "-", "退出"}));
    QCOMPARE(pictures, 10);
    QCOMPARE(form.N7->text(), QStringLiteral("退出"));
}

void TestMainWindow::firstTickEndsTheAboutScreen() {
    TForm1 form([] { return true; });
    QTest::qWait(1100);  // a start-up message held open: the second counts from the showing
    form.show();
    // A click during the first second does nothing.
    QTest::mouseClick(form.Image1, Qt::LeftButton, {}, QPoint(10, 200));
    QVERIFY(form.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!form.Timer1->isActive(), 3000);
    QVERIFY(!form.isVisible());
    QVERIFY(form.SpeedButton1->isVisibleTo(&form));
    QVERIFY(form.Image1->isEnabled());
}

void TestMainWindow::launcherWhileThereIsNoTray() {
    bool tray = false;
    TForm1 form([&tray] { return tray; });
    form.show();
    form.Timer1Timer();
    QVERIFY(form.isVisible());
    QVERIFY(form.tray()->isLauncher());
    tray = true;  // a tray host starts
    QTRY_VERIFY(!form.isVisible());
    QVERIFY(form.tray()->icon()->isVisible());
    tray = false;  // and goes away again
    QTRY_VERIFY(form.isVisible());
    QVERIFY(form.tray()->isLauncher());
    // A press anywhere opens the menu, on the hint line too.
    QTest::mousePress(form.childAt(20, form.height() - 3), Qt::LeftButton, {}, QPoint(5, 3));
    QTRY_VERIFY(form.tray()->menu()->isVisible());
    form.tray()->menu()->hide();
    QVERIFY(form.isVisible());
}

// The menu outlives a loss of the program's focus (seen on a real desktop only); these ways of
// dismissing it still close it.
void TestMainWindow::trayMenuGoesWhenDismissed_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("Escape") << true;
    QTest::newRow("a press outside") << false;
}

void TestMainWindow::trayMenuGoesWhenDismissed() {
    QFETCH(bool, escape);
    TForm1 form([] { return true; });
    form.show();
    QMenu *menu = form.tray()->menu();
    form.tray()->popUpMenu(QPoint(300, 200));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    if (escape) {
        QTest::keyClick(menu, Qt::Key_Escape);
    } else {
        QTest::mouseClick(menu, Qt::LeftButton, {}, QPoint(-20, -20));
    }
    QVERIFY(!menu->isVisible());
}

void TestMainWindow::sessionNoteOnlyWithoutWindowControl() {
    for (const bool controls : {true, false}) {
        m_fake->controlling = controls;
        TForm1 form;
        QCOMPARE(form.sessionNote()->isVisibleTo(&form), !controls);
        if (!controls) {  // shown whole, and clear of the version line
            QVERIFY(form.rect().contains(form.sessionNote()->geometry()));
            QVERIFY(!form.sessionNote()->geometry().intersects(form.Label1->geometry()));
        }
    }
    m_fake->controlling = true;
}

void TestMainWindow::aboutEntryShowsTheScreenAgain() {
    TForm1 form;
    form.show();
    form.Timer1Timer();
    form.hide();
    form.N4->trigger();
    QVERIFY(form.isVisible());
    QVERIFY(form.Image1->isEnabled());
    QVERIFY(form.SpeedButton1->isVisible());
}

void TestMainWindow::webPageSpotOpensThePage() {
    TForm1 form;
    form.show();
    form.Timer1Timer();
    m_fake->openedUrls.clear();
    QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
    QCOMPARE(m_fake->openedUrls, QList<QUrl>{HomePage()});
}

void TestMainWindow::messageSeamCapturesOwnerAndCaption() {
    MessageRecorder recorder;
    TForm1 form;
    messages::ShowInputError(&form, QStringLiteral("x"));
    QCOMPARE(recorder.shown.size(), 1);
    QCOMPARE(recorder.shown[0].caption, QStringLiteral("错误"));
    QCOMPARE(recorder.shown[0].icon, messages::Icon::Error);
    QCOMPARE(recorder.shown[0].owner.data(), &form);
}

void TestMainWindow::realMessageBoxGivesTheButtonPressed_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("press");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("ownerShown");
    QTest::addColumn<QString>("label");  // Qt's own text, in Chinese whatever the desktop's
    QTest::newRow("yes") << int(messages::Buttons::YesNo) << int(QMessageBox::Yes)
                         << int(messages::Answer::Yes) << true << "是";
    QTest::newRow("no") << int(messages::Buttons::YesNo) << int(QMessageBox::No)
                        << int(messages::Answer::No) << true << "否";
    QTest::newRow("ok, hidden owner") << int(messages::Buttons::Ok) << int(QMessageBox::Ok)
                                      << int(messages::Answer::Ok) << false << "确定";
}

void TestMainWindow::realMessageBoxGivesTheButtonPressed() {
    QFETCH(int, buttons);
    QFETCH(int, press);
    QFETCH(int, answer);
    QFETCH(bool, ownerShown);
    QFETCH(QString, label);
    m_fake->margins = QMargins(1, 20, 1, 1);
    QWidget owner;
    owner.setVisible(ownerShown);
    QString seen;
    QString shownLabel;
    QRect placed;
    QTimer::singleShot(50, [&] {
        auto *box = owner.findChild<QMessageBox *>();
        QVERIFY(box != nullptr);
        seen = box->windowTitle() + box->text();
        placed = box->geometry();
        QVERIFY(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QAbstractButton *button = box->button(QMessageBox::StandardButton(press));
        shownLabel = button->text();
        button->click();
    });
    const messages::Answer given =
        messages::Show(&owner, QStringLiteral("删除吗?"), QStringLiteral("提示"),
                       messages::Icon::Question, messages::Buttons(buttons));
    QCOMPARE(int(given), answer);
    QCOMPARE(seen, QStringLiteral("提示删除吗?"));
    // Without the mnemonic, as in "是(&Y)".
    QCOMPARE(shownLabel.remove(QRegularExpression(QStringLiteral("\\(&.\\)|&"))), label);
    m_fake->margins = {};
    // With a hidden owner, centred on the screen, frame included.
    QVERIFY(ownerShown || placed.topLeft() == QPoint((1024 - placed.width() - 2) / 2 + 1,
                                                     (768 - placed.height() - 21) / 2 + 20));
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
