#pragma once
// The holdings list as a view of the book: one row per lot, in code order by plain text
// comparison, with the lot's reference cost as worked out when the row was filled and its
// check mark. The lots themselves live in the book; the model follows its changes.

#include "holdings/book.h"
#include "holdings/holding_figures.h"

#include <QAbstractTableModel>
#include <QPointer>

#include <functional>
#include <optional>

class LotListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kCode, kPrice, kQuantity, kReference, kColumnCount };
    static constexpr int kIdentityRole = Qt::UserRole;

    // `fees`: the rates in force when a row is filled.
    LotListModel(const holdings::Book *book, std::function<holdings::ReferenceFees()> fees,
                 QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // The lot of a row, and its texts as shown.
    holdings::Lot lot(int row) const;
    qint64 identityAt(int row) const { return m_rows[row].identity; }
    QString text(int row, int column) const;
    // A modified lot shows its price and quantity as typed until the list is filled again.
    void showTyped(qint64 identity, const QString &price, const QString &quantity);

    bool isChecked(int row) const { return m_rows[row].checked; }
    void setChecked(int row, bool checked);
    // Checks the rows of this code and unchecks the others; every row when no code is given.
    void checkOnly(const std::optional<QString> &code);
    QList<int> checkedRows() const;
    QList<qint64> checkedIdentities() const;
    QList<holdings::CheckedLot> checkedLots() const;
    // The row of the lot with this identity; -1 when none.
    int rowOfLot(qint64 identity) const;

private:
    struct Row {
        qint64 identity = 0;
        double reference = 0;
        bool checked = false;
        std::optional<QPair<QString, QString>> typed;  // price and quantity as typed
    };
    Row rowOf(qint64 identity) const;
    void refill();
    void added(qint64 identity);
    void changed(qint64 identity);
    void removed(qint64 identity);
    QString code(int row) const;
    // Moves the row to its place in code order; returns the place.
    int place(int row);

    QPointer<const holdings::Book> m_book;
    std::function<holdings::ReferenceFees()> m_fees;
    QList<Row> m_rows;
};
