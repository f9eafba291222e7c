#pragma once
// The live holdings window "持仓盈亏": each code held with its value at the latest quote and
// what selling it now would net after every fee, and the totals under the list.

#include "holdings/live_figures.h"
#include "settings/settings_in_force.h"
#include "widgets/title_panel.h"
#include "widgets/tool_window.h"

#include <QAbstractItemModel>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableView>

#include <optional>

namespace quotes {
class QuoteFeed;
}

class LiveHoldingsWindow final : public ToolWindowOf<LiveHoldingsWindow> {
    Q_OBJECT
public:
    enum Column {
        kCode,
        kName,
        kQuantity,
        kAverage,
        kPrice,
        kValue,
        kProfit,
        kPercent,
        kColumnCount
    };

    // Prices come from `feed`; the fees are those in force in `fees`.
    LiveHoldingsWindow(quotes::QuoteFeed *feed, const settings::FeeSettings &fees);

    // Focuses the live window, or creates, shows and remembers a new one.
    static LiveHoldingsWindow *Open(quotes::QuoteFeed *feed, const settings::FeeSettings &fees);

    TitlePanel *Panel1;
    QPushButton *SpeedButton2;  // close
    QTableView *ListView1;
    QAbstractItemModel *Figures;  // the rows of ListView1
    QLabel *Label2;               // the totals
    QLabel *Label1;               // the status line

    // Reads the lots again; the figures and the codes asked of the feed follow.
    void LoadLots();
    // Works the figures out again under the fees in force now.
    void FeesChanged();
    // Reads the lots again whenever this list of lots changes (rows added, changed, removed).
    void FollowLots(QAbstractItemModel *lots);

signals:
    // A double-click or Enter on a row: the code's intraday chart is to be shown.
    void chartWanted(const QString &code, const QString &name);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void subscribe();
    void lotsChanged(const QModelIndex &, const QModelIndex &, const QList<int> &roles);
    void received(const quotes::FeedReading &reading);
    void showFigures();
    void chartOf(const QModelIndex &index);

    QPointer<quotes::QuoteFeed> m_feed;
    const settings::FeeSettings &m_fees;
    holdings::LiveHoldings m_holdings;
    std::optional<quotes::FeedState> m_reading;  // the last reading; none before the first
    qsizetype m_kept = 0;
    QTime m_readingAt;
};
