#pragma once
// The intraday chart itself: the day's time axis with the lunch break closed up, the price
// and average lines over the previous close, the minute volumes below, the position's and the
// band's lines, and a vertical crosshair on the minute the readout shows.

#include "chart/chart_figures.h"
#include "chart/minute_series.h"

#include <QList>
#include <QWidget>

#include <optional>

namespace chart {

class IntradayChart final : public QWidget {
    Q_OBJECT
public:
    explicit IntradayChart(QWidget *parent = nullptr);

    void setMinutes(const MinuteSeries::Minutes &minutes, std::optional<double> previousClose,
                    const Quoting &quoting);
    void setLines(const ChartLines &lines);

    // The minute the readout shows: the one under the mouse, else the latest; -1 for none.
    int shownSlot() const;
    // The readout of that minute; "暂无分时数据" without minutes.
    QString readout() const;
    // Where the minute lies across the widget.
    int xOf(int slot) const;

    // A horizontal line as drawn: its label ("昨收", "成本", "保本", "上限", "下限"), its
    // price and its height in the widget.
    struct Level {
        QString label;
        double price = 0;
        int y = 0;
    };
    QList<Level> levels() const;

signals:
    void readoutChanged(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    struct Frame;
    Frame frame() const;
    void hover(int slot);

    MinuteSeries::Minutes m_minutes;
    std::optional<double> m_previousClose;
    Quoting m_quoting;
    ChartLines m_lines;
    int m_hovered = -1;  // the slot under the mouse; -1 when it is elsewhere
};

}  // namespace chart
