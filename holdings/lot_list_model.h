#pragma once
// The rows of the holdings list: each lot's texts as shown, its check mark, and the record it
// stands for riding along unseen. Rows stay in code order by plain text comparison; a row whose
// code is set moves to its place, and selections follow their rows.

#include "holdings/holding_figures.h"

#include <QAbstractTableModel>

#include <optional>

class LotListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kCode, kPrice, kQuantity, kReference, kColumnCount };
    static constexpr int kIdentityRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Replaces every row, unchecked, sorted once.
    void setRows(const QList<holdings::LotRow> &rows);
    // Adds or rewrites a row and moves it to its place; returns its new position.
    int addRow(const holdings::LotRow &row);
    int setRow(int row, const holdings::LotRow &texts);
    // Rewrites the row of the lot with this identity, or adds one when there is none.
    int storeRow(qint64 identity, const holdings::LotRow &texts);
    void removeRow(int row);
    // Removes the rows at these positions (any order), each run of neighbours in one step.
    void removeRows(QList<int> rows);

    // Applies a merge the table took: of the checked rows `merged` (in list order, the first
    // survives) those at the positions `removed` go, and the survivor shows `survivor`.
    // Returns the row to select after it: the survivor when the selected row was one of the
    // merged, the selected row where it now stands otherwise, -1 when none was selected.
    int applyMerge(const QList<int> &merged, const QList<qsizetype> &removed,
                   const holdings::LotRow &survivor, int selected);

    const holdings::LotRow &row(int row) const { return m_rows[row].texts; }
    bool isChecked(int row) const { return m_rows[row].checked; }
    void setChecked(int row, bool checked);
    // Checks the rows of this code and unchecks the others; every row when no code is given.
    void checkOnly(const std::optional<QString> &code);
    QList<int> checkedRows() const;
    QList<holdings::LotRow> rowsAt(const QList<int> &rows) const;
    // The row of the lot with this identity; -1 when none.
    int rowOfLot(qint64 identity) const;

private:
    struct Row {
        holdings::LotRow texts;
        bool checked = false;
    };
    // Moves the row to its place in code order; returns the place.
    int place(int row);

    QList<Row> m_rows;
};
