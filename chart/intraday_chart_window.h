#pragma once
// The intraday chart window "分时图": today's minutes of one code, with its cost, break-even and
// alarm lines, and a readout line of the minute under the mouse. One window per code.

#include "chart/intraday_chart.h"
#include "chart/minute_series.h"
#include "quotes/minute_service.h"
#include "quotes/trading_calendar.h"
#include "widgets/title_panel.h"
#include "widgets/tool_window.h"

#include <QDate>
#include <QHash>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace quotes {
class QuoteFeed;
struct FeedReading;
}  // namespace quotes

class IntradayChartWindow final : public ToolWindow {
    Q_OBJECT
public:
    struct Subject {
        QString code;
        QString name;
        chart::ChartLines lines;
    };

    // The minutes come from the minute service once, then from `feed`'s readings while the
    // exchanges trade; the time is the feed's.
    IntradayChartWindow(const Subject &subject, quotes::QuoteFeed *feed);
    ~IntradayChartWindow() override;

    // Focuses the code's live chart (its lines renewed), or creates, shows and remembers one.
    static IntradayChartWindow *Open(const Subject &subject, quotes::QuoteFeed *feed);
    // The code's live chart; none when it has none.
    static IntradayChartWindow *Find(const QString &code);

    TitlePanel *TitleBar;
    QPushButton *CloseButton;
    QLabel *Readout;  // the minute under the mouse, else the latest
    chart::IntradayChart *Chart;
    QLabel *Status;  // the status line

    const QString &code() const { return m_subject.code; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void fetch();
    void fetched(const QString &code, const std::optional<quotes::MinuteReply> &reply,
                 const QString &error);
    void received(const quotes::FeedReading &reading);
    void follow();
    void refresh(bool changed);
    QDateTime now() const;
    // The trading day under way at `instant`; invalid before its auction opens and on days
    // the exchanges are closed.
    QDate tradingDay(const QDateTime &instant) const;

    Subject m_subject;
    QPointer<quotes::QuoteFeed> m_feed;
    quotes::TradingCalendar m_calendar;
    quotes::MinuteClient m_client;
    chart::MinuteSeries m_series;
    chart::Quoting m_quoting;
    QTimer m_clockTick;
    QDate m_fetchedFor;  // the trading day the last request was made in; invalid: none under way
    bool m_incomplete = false;
    bool m_asked = false;
};
