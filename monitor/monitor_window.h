#pragma once
// TForm10: the price monitor. Lists the watched stocks with their current price, reads the
// prices every 5 seconds, and every 2 seconds marks, colours, shows itself and sounds when
// a price reaches an edge of its band, telling the desktop when a row starts to alarm.
// Readings follow the trading hours. The rows are data; the list only shows them.

#include "monitor/alarm_notifier.h"
#include "monitor/monitor_rows.h"
#include "quotes/quote_client.h"
#include "quotes/trading_calendar.h"
#include "widgets/title_panel.h"
#include "widgets/tool_window.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

class TForm10 final : public ToolWindowOf<TForm10> {
    Q_OBJECT
public:
    TForm10();

    // Columns of the list; the mark is kept in the row, not shown.
    enum Column { Code, Name, Current, Upper, Lower, ColumnCount, Mark = ColumnCount };

    TitlePanel *Panel1;
    QPushButton *SpeedButton2;  // 关闭窗口
    QPushButton *SpeedButton3;  // 正常窗口
    QTableWidget *ListView1;
    QLabel *Label1;  // how the last reading went
    QTimer *Timer1;  // reading
    QTimer *Timer2;  // alarm test
    quotes::QuoteClient *Quotes;

    // Where the desktop is told of a row that starts to alarm; none: nowhere. The program
    // sets it once for all monitors.
    static inline QPointer<monitor::AlarmNotifier> Notifier;

    // The trading hours that decide when prices are read (the shipped list by default).
    void SetCalendar(quotes::TradingCalendar calendar) { m_calendar = std::move(calendar); }

    // A row with its alarm on, no current price yet and the mark "0".
    void AddRow(const QString &code, const QString &name, const QString &upper,
                const QString &lower);
    // Asks for the first prices at once and starts the reading timer.
    void StartMonitoring();

    // Asks for the prices of every row when a reading is due by the trading hours; a reading
    // still under way is left to finish.
    void ReadQuotes();
    void ApplyReading(const quotes::QuoteReading &reading);
    void Timer1Timer();
    void Timer2Timer();
    void ListView1DblClick();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void PaintOverlay();

    bool AlarmOn(int row) const;
    QString Text(int row, Column column) const;
    const QList<monitor::MonitorRow> &rows() const { return m_rows; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Writes a row's texts, colour and alarm picture into the list.
    void showRow(int row);
    // Writes a row's price and its tooltip (the change since the previous close, the time).
    void showQuote(int row);

    QList<monitor::MonitorRow> m_rows;
    quotes::TradingCalendar m_calendar = quotes::TradingCalendar::Shipped();
    QDateTime m_lastReading;  // when the last reading started; invalid before the first
};
