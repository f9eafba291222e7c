// The manual: its layout, the shipped text, scrolling to sections, hover colours, studio link.

#include "app/main_window.h"
#include "app/manual_dialog.h"
#include "platform/fake/fake_platform.h"
#include "support/offscreen_warnings.h"
#include "widgets/pictures.h"

#include <QScrollBar>
#include <QTemporaryFile>
#include <QTextBlock>
#include <QtTest>

namespace {

// The line at the top and at the bottom of the pane, as the user sees them.
int TopLine(const THELPDLG &dialog) {
    return dialog.RichEdit1->cursorForPosition(QPoint(4, 4)).blockNumber();
}

int BottomLine(const THELPDLG &dialog) {
    const QWidget *view = dialog.RichEdit1->viewport();
    return dialog.RichEdit1->cursorForPosition(QPoint(4, view->height() - 2)).blockNumber();
}

QColor TextColour(const QPushButton *button) {
    return button->palette().color(QPalette::ButtonText);
}

}  // namespace

class TestManualDialog : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void layout();
    void headingsAtTheirLines_data();
    void headingsAtTheirLines();
    void buttonScrollsToItsSection_data();
    void buttonScrollsToItsSection();
    void shortTextShowsItsEnd();
    void hoverLeavesTheLastButtonRed();
    void studioLinkOpensThePage();
    void stripDragsTheDialog();

private:
    platform::FakePlatform *m_fake = nullptr;
};

void TestManualDialog::initTestCase() {
    FilterOffscreenWarnings();
    auto fake = std::make_unique<platform::FakePlatform>();
    m_fake = fake.get();
    platform::Install(std::move(fake));
}

void TestManualDialog::layout() {
    THELPDLG dialog;
    QCOMPARE(dialog.size(), QSize(812, 526));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("简易手册"));
    QCOMPARE(dialog.Label1->text(), QStringLiteral("岚石股票收益计算器  （v1.073） 简易手册  "));
    QCOMPARE(dialog.Label1->palette().color(QPalette::WindowText), QColor(104, 180, 255));
    QCOMPARE(dialog.Panel1->geometry().height(), 32);
    QStringList captions;
    for (QPushButton *button : dialog.SectionButtons()) {
        captions.append(button->text());
        QCOMPARE(button->size(), QSize(161, 43));
        QVERIFY(button->isFlat());
    }
    QCOMPARE(captions, (QStringList{"作者感言", "股票交易费率设置", "系统设置", "差价计算器",
                                    "均价计算器", "股票管理器", "股票价格监控器"}));
    QVERIFY(dialog.RichEdit1->isReadOnly());
    QCOMPARE(dialog.RichEdit1->font().pixelSize(), 16);
    QCOMPARE(dialog.RichEdit1->palette().color(QPalette::Base), QColor(255, 255, 196));

    // The tray entry shows it.
    TForm1 form;
    form.SetManual(&dialog);
    form.N10->trigger();
    QVERIFY(dialog.isVisible());
    // Every line is one screen line: nothing to scroll sideways.
    QCOMPARE(dialog.RichEdit1->horizontalScrollBar()->maximum(), 0);
}

void TestManualDialog::headingsAtTheirLines_data() {
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("heading");
    QTest::newRow("0") << 0 << "作者感言";
    QTest::newRow("9") << 9 << "使用说明:";
    QTest::newRow("17") << 17 << "(一)股票交易费率设置。";
    QTest::newRow("31") << 31 << "(二)系统设置。";
    QTest::newRow("37") << 37 << "(三)股票差价计算器。";
    QTest::newRow("52") << 52 << "(四)均价计算器。";
    QTest::newRow("60") << 60 << "(五)股票管理器。";
    QTest::newRow("77") << 77 << "(六)股票价格监控器.";
}

void TestManualDialog::headingsAtTheirLines() {
    QFETCH(int, line);
    QFETCH(QString, heading);
    THELPDLG dialog;
    QCOMPARE(dialog.RichEdit1->blockCount(), 100);
    QCOMPARE(dialog.RichEdit1->document()->findBlockByNumber(line).text(), heading);
}

void TestManualDialog::buttonScrollsToItsSection_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("line");
    const int lines[] = {0, 17, 31, 37, 52, 60, 77};
    for (int i = 0; i < 7; ++i) {
        QTest::addRow("button %d", i + 1) << i << lines[i];
    }
}

void TestManualDialog::buttonScrollsToItsSection() {
    QFETCH(int, button);
    QFETCH(int, line);
    THELPDLG dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    // From the far end, so that every press really has to move the text.
    dialog.ScrollToLine(line == 0 ? 99 : 0);
    QTest::mouseClick(dialog.SectionButtons()[button], Qt::LeftButton);
    QCOMPARE(TopLine(dialog), line);
    QCOMPARE(dialog.FirstVisibleLine(), line);
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
    QTest::mouseClick(dialog.SpeedButton7, Qt::LeftButton);  // line 77: beyond the text
    QCOMPARE(BottomLine(dialog), 29);
    QVERIFY(TopLine(dialog) > 0);
    QTest::mouseClick(dialog.SpeedButton5, Qt::LeftButton);  // line 17: too few lines follow
    QCOMPARE(BottomLine(dialog), 29);
    QVERIFY(TopLine(dialog) < 17);
    QTest::mouseClick(dialog.SpeedButton1, Qt::LeftButton);
    QCOMPARE(TopLine(dialog), 0);

    THELPDLG missing(nullptr, QStringLiteral("/nonexistent/manual.txt"));
    missing.ScrollToLine(77);
    QCOMPARE(missing.FirstVisibleLine(), 0);
}

void TestManualDialog::hoverLeavesTheLastButtonRed() {
    THELPDLG dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseMove(dialog.SpeedButton6, QPoint(20, 20));
    QTRY_COMPARE(TextColour(dialog.SpeedButton6), QColor(Qt::red));
    QTest::mouseMove(dialog.SpeedButton2, QPoint(20, 20));
    QTRY_COMPARE(TextColour(dialog.SpeedButton2), QColor(Qt::red));
    QTest::mouseMove(dialog.RichEdit1->viewport(), QPoint(200, 200));
    QTest::mouseMove(&dialog, QPoint(900, 700));  // out of the dialog
    for (QPushButton *button : dialog.SectionButtons()) {
        QCOMPARE(TextColour(button),
                 button == dialog.SpeedButton2 ? QColor(Qt::red) : QColor(Qt::black));
    }
}

void TestManualDialog::studioLinkOpensThePage() {
    THELPDLG dialog;
    dialog.show();
    m_fake->openedUrls.clear();
    QTest::mouseClick(dialog.Image2, Qt::LeftButton);
    QTest::mouseClick(dialog.Label2, Qt::LeftButton);
    QCOMPARE(m_fake->openedUrls, (QList<QUrl>{HomePage(), HomePage()}));
    QVERIFY(dialog.isVisible());
}

void TestManualDialog::stripDragsTheDialog() {
    THELPDLG dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QPoint before = dialog.pos();
    QTest::mousePress(dialog.Label1, Qt::LeftButton, {}, QPoint(200, 10));
    QTest::mouseMove(dialog.Label1, QPoint(240, 30));
    QTest::mouseRelease(dialog.Label1, Qt::LeftButton, {}, QPoint(240, 30));
    QCOMPARE(dialog.pos(), before + QPoint(40, 20));
}

QTEST_MAIN(TestManualDialog)
#include "test_manual_dialog.moc"
