#pragma once
// The live holdings window "持仓盈亏": each code held with its value at the latest quote and
// what selling it now would net after every fee, and the totals under the list: a view of the
// live session, which it starts while it is shown.

#include "holdings/live_session.h"
#include "widgets/status_line.h"
#include "widgets/title_panel.h"
#include "widgets/tool_window.h"

#include <QAbstractItemModel>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSizeGrip>
#include <QTableView>

class LiveHoldingsWindow final : public ToolWindowOf<LiveHoldingsWindow> {
    Q_OBJECT
public:
    enum Column {
        kCode,
        kName,
        kClass,
        kQuantity,
        kAverage,
        kBreakEven,
        kPrice,
        kValue,
        kProfit,
        kPercent,
        kColumnCount
    };

    explicit LiveHoldingsWindow(holdings::LiveSession *session);

    QTableView *list() const { return m_list; }
    QAbstractItemModel *figures() const { return m_figures; }
    QLabel *totalsLine() const { return m_totals; }
    StatusLine *statusLine() const { return m_status; }
    QPushButton *exportButton() const { return m_exportButton; }

    // "导出CSV": the positions with their figures, to a file the trader names.
    void exportClick();

signals:
    // A double-click or Enter on a row: the code's intraday chart is to be shown.
    void chartWanted(const QString &code, const QString &name);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void chartOf(const QModelIndex &index);
    void placeAtOpening();
    void layOut();
    void showRows();
    void showStatus();

    QPointer<holdings::LiveSession> m_session;
    TitlePanel *m_title;
    QPushButton *m_closeButton;
    QPushButton *m_exportButton;
    QTableView *m_list;
    QAbstractItemModel *m_figures;  // the rows of m_list
    QLabel *m_totals;
    StatusLine *m_status;
    QSizeGrip *m_grip = nullptr;  // the window is resized by its bottom right corner
    bool m_placed = false;        // placed at its first showing
};
