#pragma once
// TForm10: the price monitor. Shows the watch session's rows with their current price and
// band, and how the last reading went; an alarm shows the hidden window. Closing it ends
// monitoring.

#include "monitor/monitor_table_model.h"
#include "monitor/watch_session.h"
#include "widgets/status_line.h"
#include "widgets/title_panel.h"
#include "widgets/tool_window.h"

#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTableView>

class TForm10 final : public ToolWindowOf<TForm10> {
    Q_OBJECT
public:
    explicit TForm10(monitor::WatchSession *session);

    TitlePanel *Panel1;
    QPushButton *SpeedButton2;  // 关闭窗口
    QPushButton *SpeedButton3;  // 正常窗口
    QTableView *ListView1;
    MonitorTableModel *Rows;  // the rows of ListView1
    StatusLine *Label1;       // how the last reading went
    QMenu *RowMenu;           // a row's context menu
    QAction *ChartItem;       // "分时图": the row's intraday chart

    void ListView1DblClick();
    void SpeedButton2Click();
    void SpeedButton3Click();

signals:
    // "正常窗口": the prices are to be shown on the desktop instead.
    void overlayWanted();
    // "分时图" on a row: the code's intraday chart is to be shown.
    void chartWanted(const QString &code, const QString &name);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showStatus();

    QPointer<monitor::WatchSession> m_session;
};
