// The manual: the shipped text's sections, scrolling, hover colours, studio link and dragging.

#include "app/manual_dialog.h"
#include "platform/fake/fake_platform.h"
#include "support/offscreen_warnings.h"
#include "widgets/pictures.h"

#include <QScrollBar>
#include <QTemporaryFile>
#include <QTextBlock>
#include <QtTest>

namespace {
// The line shown at the top, or at the bottom, of the pane.
int LineAt(const THELPDLG &dialog, bool bottom) {
    const int y = bottom ? dialog.RichEdit1->viewport()->height() - 2 : 4;
    return dialog.RichEdit1->cursorForPosition(QPoint(4, y)).blockNumber();
}
}  // namespace

class TestManualDialog : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void buttonShowsItsHeadingAtTheTop_data();
    void buttonShowsItsHeadingAtTheTop();
    void shortTextShowsItsEnd();
    void hoverStripDragAndStudioLink();

private:
    platform::FakePlatform *m_fake = nullptr;
};

void TestManualDialog::initTestCase() {
    FilterOffscreenWarnings();
    auto fake = std::make_unique<platform::FakePlatform>();
    m_fake = fake.get();
    platform::Install(std::move(fake));
}

void TestManualDialog::buttonShowsItsHeadingAtTheTop_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("heading");
    QTest::newRow("作者感言") << 0 << 0 << "作者感言";
    QTest::newRow("股票交易费率设置") << 1 << 17 << "(一)股票交易费率设置。";
    QTest::newRow("系统设置") << 2 << 31 << "(二)系统设置。";
    QTest::newRow("差价计算器") << 3 << 37 << "(三)股票差价计算器。";
    QTest::newRow("均价计算器") << 4 << 52 << "(四)均价计算器。";
    QTest::newRow("股票管理器") << 5 << 60 << "(五)股票管理器。";
    QTest::newRow("股票价格监控器") << 6 << 77 << "(六)股票价格监控器.";
}

void TestManualDialog::buttonShowsItsHeadingAtTheTop() {
    QFETCH(int, button);
    QFETCH(int, line);
    QFETCH(QString, heading);
    THELPDLG dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.RichEdit1->blockCount(), 100);
    QCOMPARE(dialog.RichEdit1->document()->findBlockByNumber(9).text(),
             QStringLiteral("使用说明:"));
    // Every line is one screen line: nothing to scroll sideways.
    QCOMPARE(dialog.RichEdit1->horizontalScrollBar()->maximum(), 0);
    dialog.scrollToLine(line == 0 ? 99 : 0);  // so that the press has to move the text
    QPushButton *pressed = dialog.sectionButtons()[button];
    QCOMPARE(pressed->text(), QString::fromUtf8(QTest::currentDataTag()));
    QTest::mouseClick(pressed, Qt::LeftButton);
    QCOMPARE(LineAt(dialog, false), line);
    QCOMPARE(dialog.RichEdit1->document()->findBlockByNumber(line).text(), heading);
}

void TestManualDialog::shortTextShowsItsEnd() {
    QTemporaryFile text;
    QVERIFY(text.open());
    for (int i = 0; i < 30; ++i) {
        text.write(QByteArray::number(i) + '\n');
    }
    text.close();
    THELPDLG dialog(nullptr, text.fileName());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (QPushButton *button : {dialog.SpeedButton7, dialog.SpeedButton5}) {  // 77, 17
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(LineAt(dialog, true), 29);
        QVERIFY(LineAt(dialog, false) > 0 && LineAt(dialog, false) < 17);
    }
    QTest::mouseClick(dialog.SpeedButton1, Qt::LeftButton);
    QCOMPARE(LineAt(dialog, false), 0);
    THELPDLG missing(nullptr, QStringLiteral("/nonexistent/manual.txt"));
    missing.scrollToLine(77);
    QCOMPARE(missing.firstVisibleLine(), 0);
}

void TestManualDialog::hoverStripDragAndStudioLink() {
    THELPDLG dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseMove(dialog.SpeedButton6, QPoint(20, 20));
    QTest::mouseMove(dialog.SpeedButton2, QPoint(20, 20));
    QTest::mouseMove(&dialog, QPoint(900, 700));  // out of the dialog
    for (QPushButton *button : dialog.sectionButtons()) {
        QCOMPARE(button->palette().color(QPalette::ButtonText),
                 button == dialog.SpeedButton2 ? QColor(Qt::red) : QColor(Qt::black));
    }

    const QPoint before = dialog.pos();
    QTest::mousePress(dialog.Label1, Qt::LeftButton, {}, QPoint(200, 10));
    QTest::mouseMove(dialog.Label1, QPoint(240, 30));
    QTest::mouseRelease(dialog.Label1, Qt::LeftButton, {}, QPoint(240, 30));
    QCOMPARE(dialog.pos(), before + QPoint(40, 20));

    m_fake->openedUrls.clear();
    QTest::mouseClick(dialog.Image2, Qt::LeftButton);
    QTest::mouseClick(dialog.Label2, Qt::LeftButton);
    QCOMPARE(m_fake->openedUrls, (QList<QUrl>{HomePage(), HomePage()}));
    QVERIFY(dialog.isVisible());
}

QTEST_MAIN(TestManualDialog)
#include "test_manual_dialog.moc"
