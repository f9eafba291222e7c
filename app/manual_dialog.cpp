#include "app/manual_dialog.h"

#include "platform/platform.h"
#include "widgets/fonts.h"
#include "widgets/pictures.h"
#include "widgets/tool_window.h"

#include <QFile>
#include <QFrame>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

namespace {

struct Section {
    const char16_t *caption;
    int line;  // the line of the section's heading in the manual text
};

// Top to bottom, as SpeedButton1, 5, 6, 2, 3, 4, 7.
constexpr Section kSections[] = {
    {u"作者感言", 0},    {u"股票交易费率设置", 17}, {u"系统设置", 31},       {u"差价计算器", 37},
    {u"均价计算器", 52}, {u"股票管理器", 60},       {u"股票价格监控器", 77},
};

constexpr int kButtonHeight = 43;
constexpr int kColumnWidth = 161;
constexpr int kStripHeight = 32;

void SetTextColour(QWidget *widget, const QColor &colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::ButtonText, colour);
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

QString ManualText(const QString &fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return QStringLiteral("手册文本缺失。");
    }
    QString text = QString::fromUtf8(file.readAll());
    // A final line break would add an empty line below the last one.
    while (text.endsWith(u'\n')) {
        text.chop(1);
    }
    return text;
}

}  // namespace

THELPDLG::THELPDLG(QWidget *parent, const QString &textFile)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("简易手册"));
    SetFontWhenShown(this, SongTi());
    SetBackground(this, QColor(160, 160, 164));
    setFixedSize(812, 526);

    Panel1 = new QWidget(this);
    Panel1->setGeometry(0, 0, width(), kStripHeight);
    SetBackground(Panel1, Qt::black);
    auto *icon = new QLabel(Panel1);
    icon->setGeometry(0, 0, 32, 32);
    icon->setPixmap(TrayIconPicture().pixmap(32, 32));
    Label1 = new QLabel(QStringLiteral("岚石股票收益计算器  （v1.073） 简易手册  "), Panel1);
    SetFontWhenShown(Label1, SongTi(16));
    SetTextColour(Label1, QColor(104, 180, 255));
    Label1->setGeometry(40, 0, width() - 40, kStripHeight);
    Panel1->installEventFilter(this);

    Panel2 = new QWidget(this);
    Panel2->setGeometry(0, kStripHeight, kColumnWidth, height() - kStripHeight);
    SetBackground(Panel2, QColor(128, 128, 128));
    QPushButton **buttons[] = {&SpeedButton1, &SpeedButton5, &SpeedButton6, &SpeedButton2,
                               &SpeedButton3, &SpeedButton4, &SpeedButton7};
    int top = 0;
    for (size_t i = 0; i < std::size(kSections); ++i) {
        auto *button = new QPushButton(QString::fromUtf16(kSections[i].caption), Panel2);
        button->setFlat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setGeometry(0, top, kColumnWidth, kButtonHeight);
        SetTextColour(button, Qt::black);
        button->installEventFilter(this);
        const int line = kSections[i].line;
        connect(button, &QPushButton::clicked, this, [this, line] { scrollToLine(line); });
        *buttons[i] = button;
        top += kButtonHeight;
        auto *bevel = new QFrame(Panel2);
        bevel->setFrameShape(QFrame::HLine);
        bevel->setFrameShadow(QFrame::Sunken);
        bevel->setGeometry(0, top, kColumnWidth, 2);
        top += 2;
    }
    Image2 = new StudioLabel(Panel2);
    Image2->setGeometry((kColumnWidth - 98) / 2, top + 24, 98, 98);
    Image2->setCursor(Qt::PointingHandCursor);
    Image2->installEventFilter(this);
    Label2 = new QLabel(QStringLiteral("岚石软件工作室"), Panel2);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setGeometry(0, top + 130, kColumnWidth, 24);
    SetTextColour(Label2, QColor(192, 192, 192));
    Label2->setCursor(Qt::PointingHandCursor);
    Label2->installEventFilter(this);

    RichEdit1 = new QPlainTextEdit(this);
    RichEdit1->setGeometry(kColumnWidth, kStripHeight, width() - kColumnWidth,
                           height() - kStripHeight);
    RichEdit1->setReadOnly(true);
    RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SetFontWhenShown(RichEdit1, SongTi(16));
    QPalette palette = RichEdit1->palette();
    palette.setColor(QPalette::Base, QColor(255, 255, 196));
    palette.setColor(QPalette::Text, Qt::black);
    RichEdit1->setPalette(palette);
    m_textFile = textFile;

    CentreWhenFirstShown(this);
}

QList<QPushButton *> THELPDLG::sectionButtons() const {
    return {SpeedButton1, SpeedButton5, SpeedButton6, SpeedButton2,
            SpeedButton3, SpeedButton4, SpeedButton7};
}

void THELPDLG::ensureText() {
    if (!m_textLoaded) {
        m_textLoaded = true;
        RichEdit1->setPlainText(ManualText(m_textFile));
    }
}

void THELPDLG::showEvent(QShowEvent *event) {
    ensureText();
    QDialog::showEvent(event);
}

void THELPDLG::scrollToLine(int line) {
    ensureText();
    line = std::clamp(line, 0, RichEdit1->blockCount() - 1);
    // Without line wrapping the pane's scroll bar counts whole lines and ends where the last
    // line reaches the bottom, so this stops at the end of the text by itself.
    RichEdit1->verticalScrollBar()->setValue(line);
}

int THELPDLG::firstVisibleLine() const {
    return RichEdit1->verticalScrollBar()->value();
}

void THELPDLG::hoverButton(QPushButton *button) {
    for (QPushButton *each : findChildren<QPushButton *>()) {
        if (each->isFlat()) {
            SetTextColour(each, Qt::black);
        }
    }
    SetTextColour(button, Qt::red);
}

bool THELPDLG::eventFilter(QObject *watched, QEvent *event) {
    if (auto *button = qobject_cast<QPushButton *>(watched)) {
        if (event->type() == QEvent::Enter) {
            hoverButton(button);
        }
        return false;
    }
    if ((watched == Image2 || watched == Label2) && event->type() == QEvent::MouseButtonRelease) {
        // The dialog stays open.
        platform::Current().openUrl(HomePage());
        return true;
    }
    const bool press = event->type() == QEvent::MouseButtonPress;
    if (watched == Panel1 && (press || event->type() == QEvent::MouseMove)) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (press) {
            m_dragOrigin = mouse->position().toPoint();
            return true;
        }
        if (mouse->buttons() & Qt::LeftButton) {
            // move() places the frame, which the window manager may have put around the dialog.
            const QPoint frame = geometry().topLeft() - pos();
            move(mouse->globalPosition().toPoint() - m_dragOrigin - frame);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
