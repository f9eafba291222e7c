#include "holdings/lot_list_model.h"

#include "numbers/number_syntax.h"

#include <QColor>

#include <algorithm>

namespace {

// Codes of Shenzhen (leading "0") in red, the others in yellow.
QColor RowColour(const QString &code) {
    return code.startsWith(u'0') ? QColor(255, 0, 0) : QColor(255, 255, 0);
}

}  // namespace

LotListModel::LotListModel(const holdings::Book *book,
                           std::function<holdings::ReferenceFees()> fees, QObject *parent)
    : QAbstractTableModel(parent), m_book(book), m_fees(std::move(fees)) {
    connect(book, &holdings::Book::reset, this, &LotListModel::refill);
    connect(book, &holdings::Book::lotAdded, this, &LotListModel::added);
    connect(book, &holdings::Book::lotChanged, this, &LotListModel::changed);
    connect(book, &holdings::Book::lotRemoved, this, &LotListModel::removed);
    refill();
}

int LotListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int LotListModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

holdings::Lot LotListModel::lot(int row) const {
    const holdings::Lot *lot = m_book ? m_book->find(m_rows[row].identity) : nullptr;
    return lot != nullptr ? *lot : holdings::Lot{};
}

QString LotListModel::code(int row) const {
    return lot(row).code;
}

QString LotListModel::text(int row, int column) const {
    const Row &shown = m_rows[row];
    const holdings::Lot stored = lot(row);
    switch (column) {
        case kCode:
            return stored.code;
        case kPrice:
            return shown.typed ? shown.typed->first : holdings::PriceText(stored.price);
        case kQuantity:
            return shown.typed ? shown.typed->second : QString::number(stored.quantity);
        case kReference:
            return numbers::FormatAmount(shown.reference);
    }
    return {};
}

QVariant LotListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size()) {
        return {};
    }
    const Row &row = m_rows[index.row()];
    switch (role) {
        case Qt::DisplayRole:
            return text(index.row(), index.column());
        case Qt::ForegroundRole:
            return RowColour(code(index.row()));
        case Qt::TextAlignmentRole:
            return int((index.column() == kCode ? Qt::AlignLeft : Qt::AlignRight) |
                       Qt::AlignVCenter);
        case Qt::CheckStateRole:
            return index.column() == kCode ? QVariant(row.checked ? Qt::Checked : Qt::Unchecked)
                                           : QVariant();
        case kIdentityRole:
            return row.identity;
    }
    return {};
}

bool LotListModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (!index.isValid() || index.column() != kCode || role != Qt::CheckStateRole) {
        return false;
    }
    setChecked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags LotListModel::flags(const QModelIndex &index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == kCode) {
        flags |= Qt::ItemIsUserCheckable;
    }
    return flags;
}

void LotListModel::showTyped(qint64 identity, const QString &price, const QString &quantity) {
    const int row = rowOfLot(identity);
    if (row < 0) {
        return;
    }
    m_rows[row].typed = qMakePair(price, quantity);
    emit dataChanged(index(row, kPrice), index(row, kQuantity));
}

void LotListModel::setChecked(int row, bool checked) {
    if (row < 0 || row >= m_rows.size() || m_rows[row].checked == checked) {
        return;
    }
    m_rows[row].checked = checked;
    emit dataChanged(index(row, kCode), index(row, kCode), {Qt::CheckStateRole});
}

void LotListModel::checkOnly(const std::optional<QString> &code) {
    for (int row = 0; row < m_rows.size(); ++row) {
        setChecked(row, code && this->code(row) == *code);
    }
}

QList<int> LotListModel::checkedRows() const {
    QList<int> rows;
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].checked) {
            rows.append(row);
        }
    }
    return rows;
}

QList<qint64> LotListModel::checkedIdentities() const {
    QList<qint64> identities;
    for (const int row : checkedRows()) {
        identities.append(m_rows[row].identity);
    }
    return identities;
}

QList<holdings::CheckedLot> LotListModel::checkedLots() const {
    QList<holdings::CheckedLot> lots;
    for (const int row : checkedRows()) {
        lots.append({lot(row), m_rows[row].reference});
    }
    return lots;
}

int LotListModel::rowOfLot(qint64 identity) const {
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].identity == identity) {
            return row;
        }
    }
    return -1;
}

LotListModel::Row LotListModel::rowOf(qint64 identity) const {
    const holdings::Lot *lot = m_book ? m_book->find(identity) : nullptr;
    return {identity, lot != nullptr ? holdings::ReferenceOf(lot->code, lot->price, m_fees()) : 0.0,
            false, std::nullopt};
}

void LotListModel::refill() {
    beginResetModel();
    m_rows.clear();
    if (m_book) {
        m_rows.reserve(m_book->lots().size());
        for (const holdings::Lot &lot : m_book->lots()) {
            m_rows.append(rowOf(lot.identity));
        }
        // One stable sort gives the order that sorting as each row arrives would give.
        std::stable_sort(m_rows.begin(), m_rows.end(), [this](const Row &a, const Row &b) {
            return m_book->find(a.identity)->code < m_book->find(b.identity)->code;
        });
    }
    endResetModel();
}

void LotListModel::added(qint64 identity) {
    const int row = static_cast<int>(m_rows.size());
    beginInsertRows({}, row, row);
    m_rows.append(rowOf(identity));
    endInsertRows();
    place(row);
}

void LotListModel::changed(qint64 identity) {
    const int row = rowOfLot(identity);
    if (row < 0) {
        return;
    }
    const bool checked = m_rows[row].checked;
    m_rows[row] = rowOf(identity);
    m_rows[row].checked = checked;
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
    place(row);
}

void LotListModel::removed(qint64 identity) {
    const int row = rowOfLot(identity);
    if (row < 0) {
        return;
    }
    beginRemoveRows({}, row, row);
    m_rows.removeAt(row);
    endRemoveRows();
}

int LotListModel::place(int row) {
    const QString code = this->code(row);
    // The other rows are in order; equal codes keep the order they had, as in a stable sort.
    int target = 0;
    for (int other = 0; other < m_rows.size(); ++other) {
        const QString otherCode = this->code(other);
        if (other != row && (otherCode < code || (otherCode == code && other < row))) {
            ++target;
        }
    }
    if (target == row) {
        return row;
    }
    beginMoveRows({}, row, row, {}, target > row ? target + 1 : target);
    m_rows.move(row, target);
    endMoveRows();
    return target;
}
