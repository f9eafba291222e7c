#include "monitor/monitor_window.h"

#include "monitor/alarm_rule.h"
#include "monitor/overlay_window.h"
#include "platform/platform.h"
#include "widgets/fonts.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTime>

namespace {

constexpr int kWidth = 348;
constexpr int kHeight = 272;

// A selected row is drawn on a pale blue and keeps the text colour of its mark, so an
// alarming row stays red or green, and readable, while the user points at it.
const QColor kSelection(229, 243, 255);

class MarkColourDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            option->palette.setColor(group, QPalette::Highlight, kSelection);
            option->palette.setColor(group, QPalette::HighlightedText,
                                     option->palette.color(group, QPalette::Text));
        }
    }
};

// The alarm pictures: a green tick while the alarm is on, a red disc with a white cross
// while it is off.
QIcon AlarmPicture(bool on) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (on) {
        painter.setPen(QPen(QColor(0, 160, 0), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(QPolygonF({{2.5, 8.5}, {6.5, 12.5}, {13.5, 3.5}}));
    } else {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(220, 0, 0));
        painter.drawEllipse(QRectF(0.5, 0.5, 15, 15));
        painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(5, 5), QPointF(11, 11));
        painter.drawLine(QPointF(11, 5), QPointF(5, 11));
    }
    return QIcon(pixmap);
}

// The title panel's buttons, white on the caption colour: a cross that hides the window and
// a window frame that switches to the overlay.
QIcon TitleButtonPicture(bool close) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QPen(Qt::white, 2));
    if (close) {
        painter.drawLine(QPointF(3, 3), QPointF(13, 13));
        painter.drawLine(QPointF(13, 3), QPointF(3, 13));
    } else {
        painter.drawRect(QRectF(2, 3, 12, 10));
        painter.fillRect(QRectF(2, 3, 12, 3), Qt::white);
    }
    return QIcon(pixmap);
}

}  // namespace

TForm10::TForm10() {
    setWindowTitle(QStringLiteral("查看监控股票价格"));
    setFont(SongTi());
    SetBackground(this, Qt::white);
    setFixedSize(kWidth, kHeight);
    // The rows' tooltips show while the user works in another window, too.
    setAttribute(Qt::WA_AlwaysShowToolTips);

    Panel1 = new TitlePanel(QStringLiteral("查看监控股票价格 "), this);
    SpeedButton2 = Panel1->addButton(TitleButtonPicture(true), QStringLiteral("关闭窗口"));
    SpeedButton3 = Panel1->addButton(TitleButtonPicture(false), QStringLiteral("正常窗口"));
    addDragHandle(Panel1);
    addDragHandle(Panel1->title());

    ListView1 = new QTableWidget(0, 5, this);
    ListView1->setGeometry(1, 31, kWidth - 2, kHeight - 32 - 18);
    ListView1->setHorizontalHeaderLabels({QStringLiteral("股票代码"), QStringLiteral("股票名称"),
                                          QStringLiteral("当前价"), QStringLiteral("上限价"),
                                          QStringLiteral("下限价")});
    // The code column is wider than designed: the substitute font's digits and the alarm
    // picture do not fit into 70 pixels. The last column takes what is left beside a
    // vertical scroll bar, so a long list needs no horizontal one covering its last row.
    const int room = ListView1->width() - 2 * ListView1->frameWidth() -
                     ListView1->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr,
                                                     ListView1->verticalScrollBar());
    const int widths[] = {84, 70, 60, 60};
    int used = 0;
    for (int column = Code; column < Lower; ++column) {
        ListView1->setColumnWidth(column, widths[column]);
        used += widths[column];
    }
    ListView1->setColumnWidth(Lower, room - used);
    ListView1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListView1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ListView1->horizontalHeader()->setHighlightSections(false);
    ListView1->verticalHeader()->hide();
    ListView1->verticalHeader()->setDefaultSectionSize(20);
    ListView1->setShowGrid(true);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setIconSize(QSize(16, 16));
    ListView1->setItemDelegate(new MarkColourDelegate(ListView1));
    connect(ListView1, &QTableWidget::doubleClicked, this, &TForm10::ListView1DblClick);

    Label1 = new QLabel(this);
    Label1->setGeometry(4, kHeight - 19, kWidth - 8, 18);
    Label1->setFont(SongTi(12));

    Timer1 = new QTimer(this);
    Timer1->setTimerType(Qt::PreciseTimer);  // due after the reading's deadline, never before
    Timer1->setInterval(quotes::kReadingPeriodMs);
    connect(Timer1, &QTimer::timeout, this, &TForm10::Timer1Timer);
    Timer2 = new QTimer(this);
    Timer2->setInterval(monitor::kAlarmTestPeriodMs);
    connect(Timer2, &QTimer::timeout, this, &TForm10::Timer2Timer);

    Quotes = new quotes::QuoteClient(quotes::kReplyDeadlineMs, this);
    connect(Quotes, &quotes::QuoteClient::finished, this, &TForm10::ApplyReading);

    connect(SpeedButton2, &QPushButton::clicked, this, &TForm10::SpeedButton2Click);
    connect(SpeedButton3, &QPushButton::clicked, this, &TForm10::SpeedButton3Click);

    // Bottom right, 32 pixels above the bottom of the primary screen.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QSize size = screen->geometry().size();
        move(size.width() - kWidth, size.height() - kHeight - 32);
    }
}

void TForm10::AddRow(const QString &code, const QString &name, const QString &upper,
                     const QString &lower) {
    monitor::MonitorRow row;
    row.code = code;
    row.name = name;
    row.upper = upper;
    row.lower = lower;
    m_rows.append(row);
    const int at = ListView1->rowCount();
    ListView1->insertRow(at);
    for (int column = 0; column < ColumnCount; ++column) {
        ListView1->setItem(at, column, new QTableWidgetItem());
    }
    showRow(at);
}

void TForm10::StartMonitoring() {
    ReadQuotes();
    Timer1->start();
}

bool TForm10::AlarmOn(int row) const {
    return m_rows[row].alarmOn;
}

QString TForm10::Text(int row, Column column) const {
    const monitor::MonitorRow &shown = m_rows[row];
    switch (column) {
        case Code:
            return shown.code;
        case Name:
            return shown.name;
        case Current:
            return shown.price;
        case Upper:
            return shown.upper;
        case Lower:
            return shown.lower;
        case Mark:
            return QString(shown.mark);
    }
    return {};
}

void TForm10::showRow(int row) {
    const monitor::MonitorRow &shown = m_rows[row];
    const QColor colour = QColor::fromRgb(monitor::MarkColour(QString(shown.mark)));
    for (int column = 0; column < ColumnCount; ++column) {
        QTableWidgetItem *item = ListView1->item(row, column);
        item->setText(Text(row, static_cast<Column>(column)));
        item->setForeground(colour);
    }
    showQuote(row);
    ListView1->item(row, Code)->setIcon(AlarmPicture(shown.alarmOn));
}

void TForm10::showQuote(int row) {
    const monitor::MonitorRow &shown = m_rows[row];
    ListView1->item(row, Current)->setText(shown.price);
    const QString tooltip = quotes::QuoteTooltip(shown.price, shown.previousClose, shown.quoteTime);
    for (int column = 0; column < ColumnCount; ++column) {
        ListView1->item(row, column)->setToolTip(tooltip);
    }
}

void TForm10::ReadQuotes() {
    if (!m_calendar.readingDue(m_lastReading)) {
        return;
    }
    QStringList codes;
    for (const monitor::MonitorRow &row : std::as_const(m_rows)) {
        codes.append(row.code);
    }
    const QDateTime now = m_calendar.now();
    if (Quotes->Read(codes)) {
        m_lastReading = now;
    }
}

void TForm10::ApplyReading(const quotes::QuoteReading &reading) {
    const qsizetype kept = monitor::ApplyPrices(m_rows, reading.quotes);
    for (int row = 0; row < m_rows.size(); ++row) {
        showQuote(row);
    }
    const monitor::ReadingStatus status = monitor::DescribeReading(
        reading, kept, m_rows.size(), QTime::currentTime(), !m_calendar.isOpenAt(m_calendar.now()));
    Label1->setStyleSheet(status.problem ? QStringLiteral("color: red;")
                                         : QStringLiteral("color: gray;"));
    // A long account is cut to the line; the tooltip holds all of it.
    Label1->setText(Label1->fontMetrics().elidedText(status.text, Qt::ElideRight, Label1->width()));
    Label1->setToolTip(status.details);
    // The overlay shows what arrived; a reading that brought nothing leaves it as it was.
    if (kept < m_rows.size()) {
        PaintOverlay();
    }
}

void TForm10::Timer1Timer() {
    ReadQuotes();
    if (!Timer2->isActive()) {
        Timer2->start();
    }
}

void TForm10::Timer2Timer() {
    const monitor::AlarmTestResult result = monitor::TestAlarms(m_rows);
    for (int row = 0; row < m_rows.size(); ++row) {
        m_rows[row].alarming = result.alarming[row];
        if (result.marks[row] != m_rows[row].mark) {
            m_rows[row].mark = result.marks[row];
            showRow(row);
        }
    }
    for (const qsizetype started : result.started) {
        if (Notifier) {
            Notifier->notify(m_rows[started].code, monitor::AlarmSummary(m_rows[started]));
        }
    }
    if (result.alarm) {
        if (isHidden()) {
            show();
        }
        platform::Current().PlayEventSound();
    }
}

void TForm10::ListView1DblClick() {
    const QList<QTableWidgetSelectionRange> ranges = ListView1->selectedRanges();
    if (ranges.isEmpty()) {
        return;
    }
    const int row = ranges.first().topRow();
    m_rows[row].alarmOn = !m_rows[row].alarmOn;
    showRow(row);
}

void TForm10::SpeedButton2Click() {
    hide();
}

void TForm10::SpeedButton3Click() {
    hide();
    TForm12::Open();
}

void TForm10::PaintOverlay() {
    if (!TForm12::instance) {
        return;
    }
    QList<TForm12::Line> lines;
    for (const monitor::MonitorRow &row : std::as_const(m_rows)) {
        lines.append({row.code, row.price});
    }
    TForm12::instance->Paint(lines);
}

void TForm10::closeEvent(QCloseEvent *event) {
    // The reference is emptied now, not when the window is freed later: a new monitor may
    // be opened before that.
    if (instance == this) {
        instance.clear();
    }
    Timer1->stop();
    Timer2->stop();
    ToolWindowOf<TForm10>::closeEvent(event);
}
