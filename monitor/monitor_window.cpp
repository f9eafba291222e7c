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
#include <QTime>

namespace {

constexpr int kWidth = 348;
constexpr int kHeight = 272;

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

    Panel1 = new TitlePanel(QStringLiteral("查看监控股票价格 "), this);
    SpeedButton2 = Panel1->addButton(TitleButtonPicture(true), QStringLiteral("关闭窗口"));
    SpeedButton3 = Panel1->addButton(TitleButtonPicture(false), QStringLiteral("正常窗口"));
    addDragHandle(Panel1);
    addDragHandle(Panel1->title());

    ListView1 = new QTableWidget(0, 6, this);
    ListView1->setGeometry(1, 31, kWidth - 2, kHeight - 32 - 18);
    ListView1->setHorizontalHeaderLabels({QStringLiteral("股票代码"), QStringLiteral("股票名称"),
                                          QStringLiteral("当前价"), QStringLiteral("上限价"),
                                          QStringLiteral("下限价"), QString()});
    // The code column is wider than designed: the substitute font's digits and the alarm
    // picture do not fit into 70 pixels.
    const int widths[] = {84, 70, 60, 60, 60};
    for (int i = 0; i < 5; ++i) {
        ListView1->setColumnWidth(i, widths[i]);
    }
    ListView1->setColumnHidden(Mark, true);
    ListView1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ListView1->horizontalHeader()->setHighlightSections(false);
    ListView1->verticalHeader()->hide();
    ListView1->verticalHeader()->setDefaultSectionSize(20);
    ListView1->setShowGrid(true);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setIconSize(QSize(16, 16));
    // The row colours stay readable on a selected row.
    QPalette listPalette = ListView1->palette();
    listPalette.setColor(QPalette::Highlight, QColor(220, 220, 220));
    listPalette.setColor(QPalette::Inactive, QPalette::Highlight, QColor(220, 220, 220));
    ListView1->setPalette(listPalette);
    ListView1->setStyleSheet(
        QStringLiteral("QTableWidget::item:selected { color: palette(text); }"));
    connect(ListView1, &QTableWidget::doubleClicked, this, &TForm10::ListView1DblClick);

    Label1 = new QLabel(this);
    Label1->setGeometry(4, kHeight - 19, kWidth - 8, 18);
    Label1->setFont(SongTi(12));

    Timer1 = new QTimer(this);
    Timer1->setInterval(5000);
    connect(Timer1, &QTimer::timeout, this, &TForm10::Timer1Timer);
    Timer2 = new QTimer(this);
    Timer2->setInterval(2000);
    connect(Timer2, &QTimer::timeout, this, &TForm10::Timer2Timer);

    Quotes = new monitor::QuoteClient(4000, this);
    connect(Quotes, &monitor::QuoteClient::finished, this, &TForm10::ApplyReading);

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
    const int row = ListView1->rowCount();
    ListView1->insertRow(row);
    const QString texts[] = {code, name, QString(), upper, lower, QStringLiteral("0")};
    for (int column = 0; column < 6; ++column) {
        ListView1->setItem(row, column, new QTableWidgetItem(texts[column]));
    }
    setAlarmOn(row, true);
}

void TForm10::StartMonitoring() {
    ReadQuotes();
    Timer1->start();
}

bool TForm10::AlarmOn(int row) const {
    return ListView1->item(row, Code)->data(Qt::UserRole).toBool();
}

QString TForm10::Text(int row, Column column) const {
    return ListView1->item(row, column)->text();
}

void TForm10::setAlarmOn(int row, bool on) {
    QTableWidgetItem *item = ListView1->item(row, Code);
    item->setData(Qt::UserRole, on);
    item->setIcon(AlarmPicture(on));
}

void TForm10::setMark(int row, QChar mark) {
    ListView1->item(row, Mark)->setText(QString(mark));
    const QColor colour = QColor::fromRgb(monitor::MarkColour(QString(mark)));
    for (int column = 0; column < Mark; ++column) {
        ListView1->item(row, column)->setForeground(colour);
    }
}

void TForm10::ReadQuotes() {
    QStringList codes;
    for (int row = 0; row < ListView1->rowCount(); ++row) {
        codes.append(Text(row, Code));
    }
    Quotes->Read(codes);
}

void TForm10::ApplyReading(const monitor::QuoteReading &reading) {
    bool complete = true;
    for (int row = 0; row < ListView1->rowCount() && row < reading.prices.size(); ++row) {
        if (reading.prices[row]) {
            ListView1->item(row, Current)->setText(*reading.prices[row]);
        } else {
            complete = false;
        }
    }
    const QString time = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    if (!reading.error.isEmpty()) {
        Label1->setStyleSheet(QStringLiteral("color: red;"));
        Label1->setText(QStringLiteral("%1 %2,显示的是上次的价格").arg(time, reading.error));
        return;
    }
    Label1->setStyleSheet(complete ? QStringLiteral("color: gray;")
                                   : QStringLiteral("color: red;"));
    Label1->setText(complete ? QStringLiteral("价格更新于 %1").arg(time)
                             : QStringLiteral("%1 部分股票没有报价").arg(time));
    PaintOverlay();
}

void TForm10::Timer1Timer() {
    ReadQuotes();
    if (!Timer2->isActive()) {
        Timer2->start();
    }
}

void TForm10::Timer2Timer() {
    bool alarm = false;
    for (int row = 0; row < ListView1->rowCount(); ++row) {
        if (!AlarmOn(row)) {
            continue;
        }
        // A row that cannot be judged is passed over; the rows below it are still tested.
        const std::optional<QChar> mark =
            monitor::AlarmFor(Text(row, Current), Text(row, Upper), Text(row, Lower));
        if (!mark) {
            continue;
        }
        if (isHidden()) {
            show();
        }
        alarm = true;
        setMark(row, *mark);
    }
    if (alarm) {
        platform::Current().PlayEventSound();
    }
}

void TForm10::ListView1DblClick() {
    const QList<QTableWidgetSelectionRange> ranges = ListView1->selectedRanges();
    if (ranges.isEmpty()) {
        return;
    }
    const int row = ranges.first().topRow();
    setAlarmOn(row, !AlarmOn(row));
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
    for (int row = 0; row < ListView1->rowCount(); ++row) {
        lines.append({Text(row, Code), Text(row, Current)});
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
