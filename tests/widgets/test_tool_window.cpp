// The shared tool-window frame, key filters and spin field, on real widgets.

#include "platform/fake/fake_platform.h"
#include "widgets/fonts.h"
#include "widgets/key_filters.h"
#include "widgets/spin_edit.h"
#include "widgets/status_line.h"
#include "widgets/tool_window.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include "support/offscreen_warnings.h"

#include <QtTest>

namespace {

class SampleWindow final : public ToolWindowOf<SampleWindow> {
public:
    SampleWindow() {
        resize(200, 60);
        label = new QLabel(QStringLiteral("拖动"), this);
        label->setGeometry(20, 10, 60, 20);
        edit = new QLineEdit(this);
        edit->setGeometry(100, 10, 60, 20);
        spin = new SpinEdit(this);
        spin->setGeometry(100, 32, 60, 20);
        addDragHandle(this);
        addDragHandle(label);
        RightAlignPlainEdits(this);
    }
    QLabel *label;
    QLineEdit *edit;
    SpinEdit *spin;
};

platform::FakePlatform *Fake() {
    return static_cast<platform::FakePlatform *>(&platform::Current());
}

// Where the text cursor is drawn at `position`, after the field has painted (and scrolled).
int CursorX(QLineEdit *edit, int position) {
    edit->setCursorPosition(position);
    edit->grab();
    return edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
}

void Drag(QWidget *handle, QPoint from, QPoint to, Qt::MouseButton button) {
    QTest::mousePress(handle, button, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), handle->mapToGlobal(QPointF(to)), Qt::NoButton,
                     button, {});
    QApplication::sendEvent(handle, &move);
    QTest::mouseRelease(handle, button, {}, to);
}

}  // namespace

class TestToolWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void openFocusesTheLiveWindowAndCreatesAfterClose();
    void frameAndTaskbar();
    void dragMovesByThePointerWithTheLeftButtonOnly();
    void dragOriginIsSharedAndOutlivesTheWindow();
    void rightAlignmentOnlyForPlainEdits();
    void keyFilters_data();
    void keyFilters();
    void filtersLetPastedTextThrough();
    void spinEdit_data();
    void spinEdit();
    void spinEditStepsAndLimits();
    void corners_data();
    void corners();
    void statusLineColoursAndCuts_data();
    void statusLineColoursAndCuts();
    void fieldsShowTheirWholeText_data();
    void fieldsShowTheirWholeText();
};

void TestToolWindow::initTestCase() {
    FilterOffscreenWarnings();
    platform::Install(std::make_unique<platform::FakePlatform>());
}

void TestToolWindow::cleanup() {
    delete SampleWindow::instance.data();
}

void TestToolWindow::openFocusesTheLiveWindowAndCreatesAfterClose() {
    SampleWindow *first = SampleWindow::Open();
    QVERIFY(first->isVisible());
    QCOMPARE(SampleWindow::Open(), first);
    first->close();
    QTRY_VERIFY(SampleWindow::instance.isNull());
    SampleWindow *second = SampleWindow::Open();
    QVERIFY(second != nullptr);
    QCOMPARE(SampleWindow::instance.data(), second);
}

void TestToolWindow::frameAndTaskbar() {
    Fake()->offTaskbar.clear();
    auto *window = new SampleWindow;
    // Asked for before the first show, on the window's own native handle.
    QCOMPARE(Fake()->offTaskbar.size(), 1);
    QCOMPARE(Fake()->offTaskbar.front().data(), window->windowHandle());
    QVERIFY(!window->isVisible());
    const Qt::WindowFlags flags = window->windowFlags();
    QVERIFY(flags.testFlag(Qt::Tool));
    QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
    QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(window->contentsMargins(), QMargins(1, 1, 1, 1));
    delete window;
}

void TestToolWindow::dragMovesByThePointerWithTheLeftButtonOnly() {
    SampleWindow *window = SampleWindow::Open();
    window->move(100, 100);
    QTRY_COMPARE(window->pos(), QPoint(100, 100));
    Drag(window->label, {5, 5}, {5, 5}, Qt::RightButton);
    Drag(window->label, {5, 5}, {45, 25}, Qt::RightButton);
    QCOMPARE(window->pos(), QPoint(100, 100));
    Drag(window->label, {5, 5}, {45, 25}, Qt::LeftButton);
    QCOMPARE(window->pos(), QPoint(140, 120));
    Drag(window, {150, 40}, {100, 30}, Qt::LeftButton);
    QCOMPARE(window->pos(), QPoint(90, 110));
}

void TestToolWindow::dragOriginIsSharedAndOutlivesTheWindow() {
    SampleWindow *window = SampleWindow::Open();
    QTest::mousePress(window->label, Qt::RightButton, {}, QPoint(7, 9));
    QTest::mouseRelease(window->label, Qt::RightButton, {}, QPoint(7, 9));
    QCOMPARE(window->dragOrigin(), QPoint(7, 9));
    window->close();
    QTRY_VERIFY(SampleWindow::instance.isNull());
    QCOMPARE(SampleWindow::Open()->dragOrigin(), QPoint(7, 9));
}

void TestToolWindow::rightAlignmentOnlyForPlainEdits() {
    SampleWindow *window = SampleWindow::Open();
    QVERIFY(window->edit->alignment() & Qt::AlignRight);
    QVERIFY(!(window->spin->alignment() & Qt::AlignRight));
}

void TestToolWindow::keyFilters_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("modifiers");  // held while typing; the clipboard holds "x"
    const int decimal = int(KeyFilterKind::Decimal);
    const int digit = int(KeyFilterKind::Digit);
    const int sign = int(KeyFilterKind::SignedDigit);
    QTest::newRow("decimal digits and a point") << decimal << ""
                                                << "12.5"
                                                << "12.5" << 0;
    QTest::newRow("decimal second point refused") << decimal << "12.5"
                                                  << ".3"
                                                  << "12.53" << 0;
    QTest::newRow("decimal point into empty") << decimal << ""
                                              << "."
                                              << "." << 0;
    QTest::newRow("decimal minus refused") << decimal << ""
                                           << "-1"
                                           << "1" << 0;
    QTest::newRow("decimal letters and blanks") << decimal << ""
                                                << "a 1e+2"
                                                << "12" << 0;
    QTest::newRow("digit") << digit << ""
                           << "1.0-0"
                           << "100" << 0;
    QTest::newRow("alt letters") << decimal << "1"
                                 << "ab"
                                 << "1" << int(Qt::AltModifier);
    QTest::newRow("super minus") << digit << "1"
                                 << "-"
                                 << "1" << int(Qt::MetaModifier);
    QTest::newRow("ctrl paste") << digit << "1"
                                << "v"
                                << "1x" << int(Qt::ControlModifier);
    QTest::newRow("signed") << sign << ""
                            << "-5.0"
                            << "-50" << 0;
}

void TestToolWindow::keyFilters() {
    QFETCH(int, kind);
    QFETCH(QString, before);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QFETCH(int, modifiers);
    QApplication::clipboard()->setText(QStringLiteral("x"));
    QLineEdit field;
    new KeyFilter(static_cast<KeyFilterKind>(kind), &field);
    field.setText(before);
    QTest::keyClicks(&field, typed, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(field.text(), after);
    QTest::keyClick(&field, Qt::Key_Backspace);
    QCOMPARE(field.text(), after.chopped(1));
}

void TestToolWindow::filtersLetPastedTextThrough() {
    QLineEdit field;
    InstallDecimalKeyFilter(&field);
    field.insert(QStringLiteral("a.b.c"));  // as a paste arrives
    QCOMPARE(field.text(), QStringLiteral("a.b.c"));
    // A selected "." does not let another one in: the whole text counts.
    field.setText(QStringLiteral("1.5"));
    field.setSelection(1, 1);
    QTest::keyClicks(&field, QStringLiteral("."));
    QCOMPARE(field.text(), QStringLiteral("1.5"));
}

void TestToolWindow::spinEdit_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "300" << 0 << 0 << 300;
    QTest::newRow("bad text reads as lower limit") << "abc" << 20 << 150 << 20;
    QTest::newRow("empty without limits") << "" << 0 << 0 << 0;
    QTest::newRow("typed above the limit counts as typed") << "200" << 20 << 150 << 200;
    QTest::newRow("typed below the limit counts as typed") << "5" << 20 << 150 << 5;
    QTest::newRow("beyond 32 bits reads as lower limit") << "9999999999" << 1 << 100 << 1;
}

void TestToolWindow::spinEdit() {
    QFETCH(QString, text);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, value);
    SpinEdit spin;
    spin.setRange(minimum, maximum);
    spin.setText(text);
    QCOMPARE(spin.value(), value);
    QCOMPARE(spin.text(), text);  // reading never rewrites the working text
}

void TestToolWindow::spinEditStepsAndLimits() {
    SpinEdit spin;
    spin.setIncrement(100);
    spin.setText(QStringLiteral("100"));
    QTest::keyClick(&spin, Qt::Key_Up);
    QCOMPARE(spin.text(), QStringLiteral("200"));
    spin.stepBy(-3);
    QCOMPARE(spin.text(), QStringLiteral("-100"));
    spin.setText(QStringLiteral("2147483600"));
    spin.stepBy(1);
    QCOMPARE(spin.text(), QStringLiteral("2147483647"));  // no wrap-around

    SpinEdit bounded;
    bounded.setRange(20, 150);
    bounded.setIncrement(10);
    bounded.setText(QStringLiteral("145"));
    bounded.stepBy(1);
    QCOMPARE(bounded.text(), QStringLiteral("150"));
    bounded.setText(QStringLiteral("500"));
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(&bounded, &out);
    QCOMPARE(bounded.text(), QStringLiteral("150"));
    bounded.setText(QStringLiteral("x"));
    QApplication::sendEvent(&bounded, &out);
    QCOMPARE(bounded.text(), QStringLiteral("x"));
}

void TestToolWindow::corners_data() {
    QTest::addColumn<int>("corner");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QPoint>("full");
    QTest::addColumn<QPoint>("compact");
    const QRect screen(0, 0, 1024, 768);
    const QRect underTopPanel(0, 24, 1024, 744);
    const QRect besideLeftPanel(48, 0, 976, 768);
    QTest::newRow("top left") << 1 << screen << QPoint(1, 1) << QPoint(1, 1);
    QTest::newRow("top right") << 2 << screen << QPoint(574, 1) << QPoint(318, 1);
    QTest::newRow("bottom left") << 3 << screen << QPoint(1, 468) << QPoint(1, 703);
    QTest::newRow("bottom right") << 4 << screen << QPoint(574, 468) << QPoint(318, 703);
    QTest::newRow("top right under a panel")
        << 2 << underTopPanel << QPoint(574, 25) << QPoint(318, 25);
    QTest::newRow("bottom left under a panel")
        << 3 << underTopPanel << QPoint(1, 468) << QPoint(1, 703);
    QTest::newRow("top left beside a panel")
        << 1 << besideLeftPanel << QPoint(49, 1) << QPoint(49, 1);
}

void TestToolWindow::corners() {
    QFETCH(int, corner);
    QFETCH(QRect, area);
    QFETCH(QPoint, full);
    QFETCH(QPoint, compact);
    QCOMPARE(CornerPosition(corner, {448, 270}, area), full);
    QCOMPARE(CornerPosition(corner, {704, 35}, area), compact);
}

void TestToolWindow::fieldsShowTheirWholeText_data() {
    QTest::addColumn<bool>("spin");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("shrinks");
    QTest::newRow("wide total") << false << 72 << "1020000.76" << true;
    QTest::newRow("short result keeps its size") << false << 72 << "15.68" << false;
    QTest::newRow("nine-digit quantity") << true << 84 << "123456789" << true;
    QTest::newRow("short quantity keeps its size") << true << 84 << "100" << false;
}

void TestToolWindow::fieldsShowTheirWholeText() {
    QFETCH(bool, spin);
    QFETCH(int, width);
    QFETCH(QString, text);
    QFETCH(bool, shrinks);
    QWidget window;
    window.setFont(SongTi(14));
    QLineEdit *edit = spin ? new SpinEdit(&window) : ReadOnlyField(&window, Qt::black);
    edit->setGeometry(0, 0, width, 23);
    edit->setAlignment(Qt::AlignRight);
    window.show();
    edit->setFocus();
    edit->setText(text);
    // No part scrolled out: the cursor moves across the whole text without the text moving.
    const int advance = edit->fontMetrics().horizontalAdvance(text);
    QVERIFY(qAbs(CursorX(edit, static_cast<int>(text.size())) - CursorX(edit, 0) - advance) <= 1);
    QCOMPARE(edit->font().pixelSize() < 14, shrinks);
    edit->setText(QStringLiteral("1"));  // a short text again: the window's size again
    QCOMPARE(edit->font().pixelSize(), 14);
}

void TestToolWindow::statusLineColoursAndCuts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("problem");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("cut");
    const QString longText = QStringLiteral("行情来源: 新浪  价格更新于 10:00:00  ").repeated(4);
    QTest::newRow("fine") << "行情来源: 新浪" << false << QColor(128, 128, 128) << false;
    QTest::newRow("problem") << "行情读取失败" << true << QColor(255, 0, 0) << false;
    QTest::newRow("too long") << longText << false << QColor(128, 128, 128) << true;
}

void TestToolWindow::statusLineColoursAndCuts() {
    QFETCH(QString, text);
    QFETCH(bool, problem);
    QFETCH(QColor, colour);
    QFETCH(bool, cut);
    StatusLine line;
    line.resize(200, 18);
    line.setStatus(QStringLiteral("旧"), QStringLiteral("旧"), !problem);  // the last one counts
    line.setStatus(text, QStringLiteral("详情"), problem);
    line.ensurePolished();
    QCOMPARE(line.palette().color(QPalette::WindowText), colour);
    QCOMPARE(line.text() != text, cut);
    QVERIFY(line.text().endsWith(QChar(0x2026)) == cut);
    QCOMPARE(line.toolTip(), QStringLiteral("详情"));
}

QTEST_MAIN(TestToolWindow)
#include "test_tool_window.moc"
