#pragma once
// The tool window "交易记录": the journal's rows of one year with the year's totals, the undo
// of a code's latest sale or dividend and bonus issue, deleting a row, and the CSV export.

#include "holdings/trade_journal.h"
#include "widgets/title_panel.h"
#include "widgets/tool_window.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

// The rows shown, newest first: a view over the journal's rows.
class JournalModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(QList<storage::TradeRow> rows);
    const QList<storage::TradeRow> &rows() const { return m_rows; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    QList<storage::TradeRow> m_rows;
};

class TradeJournalWindow final : public ToolWindowOf<TradeJournalWindow> {
    Q_OBJECT
public:
    explicit TradeJournalWindow(holdings::TradeJournal *journal);

    TitlePanel *TitleBar;
    QPushButton *CloseButton;
    QComboBox *YearBox;  // each year with rows, then "全部"
    QTableView *List;
    JournalModel *Rows;
    QLabel *TotalsLabel;
    QPushButton *UndoButton;    // 撤销
    QPushButton *DeleteButton;  // 删除
    QPushButton *ExportButton;  // 导出CSV

    // Reads the journal again, keeping the year chosen when it still has rows.
    void reload();
    void undoClick();
    void deleteClick();
    void exportClick();

private:
    void showYear();
    int chosenYear() const;
    const storage::TradeRow *selected() const;

    holdings::TradeJournal *m_journal;
};
