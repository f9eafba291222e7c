#include "chart/intraday_chart_window.h"

#include "quotes/market.h"
#include "quotes/quote_feed.h"
#include "widgets/fonts.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 420;
// How often the window looks at the clock: to follow the trading hours and the day.
constexpr int kClockTickMs = 30 * 1000;

QPoint g_dragOrigin;
QHash<QString, QPointer<IntradayChartWindow>> g_open;

}  // namespace

IntradayChartWindow *IntradayChartWindow::Open(const Subject &subject, quotes::QuoteFeed *feed) {
    if (IntradayChartWindow *open = Find(subject.code)) {
        open->m_subject.lines = subject.lines;
        open->Chart->setLines(subject.lines);
        FocusWindow(open);
        return open;
    }
    auto *window = new IntradayChartWindow(subject, feed);
    g_open.insert(subject.code, window);
    window->show();
    FocusWindow(window);
    return window;
}

IntradayChartWindow *IntradayChartWindow::Find(const QString &code) {
    return g_open.value(code);
}

IntradayChartWindow::IntradayChartWindow(const Subject &subject, quotes::QuoteFeed *feed)
    : ToolWindow(g_dragOrigin),
      m_subject(subject),
      m_feed(feed),
      m_calendar(quotes::TradingCalendar::Shipped([this] { return now(); })),
      m_quoting(chart::QuotingOf(subject.code)) {
    const QString title = QStringLiteral("%1(%2) 分时").arg(subject.name, subject.code);
    setWindowTitle(title);
    SetBackground(this, Qt::black);
    setFixedSize(kWidth, kHeight);

    TitleBar = new TitlePanel(title, this);
    CloseButton = TitleBar->addButton(style()->standardIcon(QStyle::SP_TitleBarCloseButton),
                                      QStringLiteral("关闭窗口"));
    addDragHandle(TitleBar);
    addDragHandle(TitleBar->title());

    Readout = new QLabel(this);
    Readout->setGeometry(8, 34, kWidth - 16, 20);
    Readout->setStyleSheet(QStringLiteral("color: white;"));
    Chart = new chart::IntradayChart(this);
    Chart->setGeometry(1, 56, kWidth - 2, kHeight - 56 - 24);
    Chart->setLines(subject.lines);
    Status = new QLabel(this);
    Status->setGeometry(8, kHeight - 22, kWidth - 16, 20);
    Status->setStyleSheet(QStringLiteral("color: gray;"));

    connect(Chart, &chart::IntradayChart::readoutChanged, Readout, &QLabel::setText);
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
    connect(&m_client, &quotes::MinuteClient::finished, this, &IntradayChartWindow::fetched);
    if (m_feed) {
        connect(m_feed, &quotes::QuoteFeed::readingDone, this, &IntradayChartWindow::received);
    }
    m_clockTick.setInterval(kClockTickMs);
    connect(&m_clockTick, &QTimer::timeout, this, &IntradayChartWindow::follow);
    m_clockTick.start();

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
    refresh(true);
    fetch();
    follow();
}

IntradayChartWindow::~IntradayChartWindow() {
    if (g_open.value(m_subject.code) == this) {
        g_open.remove(m_subject.code);
    }
    if (m_feed) {
        m_feed->unsubscribe(this);
    }
}

void IntradayChartWindow::closeEvent(QCloseEvent *event) {
    // Forgotten now, not when freed later: the code's chart may be opened again before that.
    if (g_open.value(m_subject.code) == this) {
        g_open.remove(m_subject.code);
    }
    if (m_feed) {
        m_feed->unsubscribe(this);
    }
    m_clockTick.stop();
    ToolWindow::closeEvent(event);
}

QDateTime IntradayChartWindow::now() const {
    return (m_feed ? m_feed->now() : quotes::RealTime()).toTimeZone(quotes::BeijingTime());
}

QDate IntradayChartWindow::tradingDay(const QDateTime &instant) const {
    const QDateTime beijing = instant.toTimeZone(quotes::BeijingTime());
    if (!m_calendar.isTradingDay(beijing.date()) || beijing.time() < QTime(9, 15)) {
        return {};
    }
    return beijing.date();
}

void IntradayChartWindow::fetch() {
    m_fetchedFor = tradingDay(now());
    m_asked = true;
    m_client.fetch(m_subject.code);
}

void IntradayChartWindow::follow() {
    const QDateTime at = now();
    // A new trading day while the window is open: its minutes are asked for once.
    const QDate day = tradingDay(at);
    if (day.isValid() && day != m_fetchedFor) {
        fetch();
    }
    // Readings only while the day's trading runs, up to the closing prints.
    const bool trading = day.isValid() && at.time() < QTime(15, 5);
    if (m_feed) {
        m_feed->subscribe(this, trading ? QStringList{m_subject.code} : QStringList{});
    }
    refresh(false);
}

void IntradayChartWindow::fetched(const QString &code,
                                  const std::optional<quotes::MinuteReply> &reply,
                                  const QString &error) {
    m_asked = false;
    if (code != m_subject.code) {
        return;
    }
    if (!reply || !reply->day.isValid() ||
        (m_series.day().isValid() && reply->day < m_series.day())) {
        // What the readings bring since the window opened is all there is of the day.
        m_incomplete = true;
        if (!error.isEmpty()) {
            Status->setToolTip(error);
        }
        refresh(true);
        return;
    }
    m_incomplete = false;
    if (reply->day != m_series.day()) {
        m_series.startDay(reply->day);
    }
    if (reply->previousClose) {
        m_series.setPreviousClose(*reply->previousClose);
    }
    for (const quotes::MinuteRow &row : reply->rows) {
        m_series.put(chart::SlotOfLabel(row.hour, row.minute), row.price, row.volume, row.amount);
    }
    refresh(true);
}

void IntradayChartWindow::received(const quotes::FeedReading &reading) {
    const std::optional<quotes::QuoteDetail> quote = reading.quote(m_subject.code);
    if (!quote || quote->price.isEmpty()) {
        return;
    }
    const QDate before = m_series.day();
    if (!m_series.fold(chart::ReadingOfQuote(*quote, now()))) {
        return;
    }
    if (!m_series.previousClose() && !quote->previousClose.isEmpty()) {
        m_series.setPreviousClose(quote->previousClose.toDouble());
    }
    if (m_series.day() != before && before.isValid() && m_fetchedFor != m_series.day()) {
        fetch();  // the readings have moved on to a new day
    }
    refresh(true);
}

void IntradayChartWindow::refresh(bool changed) {
    if (changed) {
        Chart->setMinutes(m_series.derive(), m_series.previousClose(), m_quoting);
    }
    Readout->setText(Chart->readout());
    QStringList status;
    const QDateTime at = now();
    if (!m_calendar.isTradingDay(at.date())) {
        status.append(QStringLiteral("今日休市"));
    } else if (!m_calendar.isOpenAt(at)) {
        status.append(QStringLiteral("休市"));
    }
    if (m_series.day().isValid()) {
        status.append(m_series.day().toString(QStringLiteral("yyyy-MM-dd")));
    }
    if (m_incomplete) {
        status.append(QStringLiteral("分时数据不完整"));
    } else if (m_asked) {
        status.append(QStringLiteral("正在读取分时数据"));
    }
    Status->setStyleSheet(m_incomplete ? QStringLiteral("color: red;")
                                       : QStringLiteral("color: gray;"));
    Status->setText(status.join(QStringLiteral("  ")));
}
