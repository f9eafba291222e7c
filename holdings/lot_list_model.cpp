#include "holdings/lot_list_model.h"

#include <QColor>

#include <algorithm>
#include <functional>

namespace {

// Codes of Shenzhen (leading "0") in red, the others in yellow.
QColor RowColour(const QString &code) {
    return code.startsWith(u'0') ? QColor(255, 0, 0) : QColor(255, 255, 0);
}

}  // namespace

int LotListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int LotListModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant LotListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size()) {
        return {};
    }
    const Row &row = m_rows[index.row()];
    switch (role) {
        case Qt::DisplayRole:
            switch (index.column()) {
                case kCode:
                    return row.texts.code;
                case kPrice:
                    return row.texts.priceText;
                case kQuantity:
                    return row.texts.quantityText;
                case kReference:
                    return row.texts.referenceText;
            }
            return {};
        case Qt::ForegroundRole:
            return RowColour(row.texts.code);
        case Qt::TextAlignmentRole:
            return int((index.column() == kCode ? Qt::AlignLeft : Qt::AlignRight) |
                       Qt::AlignVCenter);
        case Qt::CheckStateRole:
            return index.column() == kCode ? QVariant(row.checked ? Qt::Checked : Qt::Unchecked)
                                           : QVariant();
        case kIdentityRole:
            return row.texts.stored.identity;
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

void LotListModel::setChecked(int row, bool checked) {
    if (row < 0 || row >= m_rows.size() || m_rows[row].checked == checked) {
        return;
    }
    m_rows[row].checked = checked;
    emit dataChanged(index(row, kCode), index(row, kCode), {Qt::CheckStateRole});
}

void LotListModel::setRows(const QList<holdings::LotRow> &rows) {
    beginResetModel();
    m_rows.clear();
    m_rows.reserve(rows.size());
    for (const holdings::LotRow &texts : rows) {
        m_rows.append({texts, false});
    }
    // One stable sort gives the order that sorting as each row arrives would give.
    std::stable_sort(m_rows.begin(), m_rows.end(),
                     [](const Row &a, const Row &b) { return a.texts.code < b.texts.code; });
    endResetModel();
}

int LotListModel::addRow(const holdings::LotRow &texts) {
    const int row = static_cast<int>(m_rows.size());
    beginInsertRows({}, row, row);
    m_rows.append({texts, false});
    endInsertRows();
    return place(row);
}

int LotListModel::setRow(int row, const holdings::LotRow &texts) {
    m_rows[row].texts = texts;
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
    return place(row);
}

int LotListModel::storeRow(qint64 identity, const holdings::LotRow &texts) {
    const int row = rowOfLot(identity);
    return row >= 0 ? setRow(row, texts) : addRow(texts);
}

void LotListModel::removeRow(int row) {
    beginRemoveRows({}, row, row);
    m_rows.removeAt(row);
    endRemoveRows();
}

void LotListModel::removeRows(QList<int> rows) {
    std::sort(rows.begin(), rows.end(), std::greater<>());
    for (qsizetype i = 0; i < rows.size();) {
        qsizetype j = i + 1;
        while (j < rows.size() && rows[j] == rows[j - 1] - 1) {
            ++j;
        }
        const int last = rows[i];
        const int first = rows[j - 1];
        beginRemoveRows({}, first, last);
        m_rows.remove(first, last - first + 1);
        endRemoveRows();
        i = j;
    }
}

int LotListModel::applyMerge(const QList<int> &merged, const QList<qsizetype> &removed,
                             const holdings::LotRow &survivor, int selected) {
    QList<int> gone;
    for (const qsizetype position : removed) {
        gone.append(merged[position]);
    }
    const auto before = [&gone](int row) {
        return static_cast<int>(
            std::count_if(gone.begin(), gone.end(), [row](int r) { return r < row; }));
    };
    const int survivorRow = merged.front() - before(merged.front());
    const int selectedAfter = selected < 0                ? -1
                              : merged.contains(selected) ? survivorRow
                                                          : selected - before(selected);
    removeRows(gone);
    // The survivor keeps its code, so it keeps its place.
    setRow(survivorRow, survivor);
    return selectedAfter;
}

void LotListModel::checkOnly(const std::optional<QString> &code) {
    for (int row = 0; row < m_rows.size(); ++row) {
        setChecked(row, code && m_rows[row].texts.code == *code);
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

QList<holdings::LotRow> LotListModel::rowsAt(const QList<int> &rows) const {
    QList<holdings::LotRow> texts;
    for (const int row : rows) {
        texts.append(m_rows[row].texts);
    }
    return texts;
}

int LotListModel::rowOfLot(qint64 identity) const {
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].texts.stored.identity == identity) {
            return row;
        }
    }
    return -1;
}

int LotListModel::place(int row) {
    const QString &code = m_rows[row].texts.code;
    // The other rows are in order; equal codes keep the order they had, as in a stable sort.
    int target = 0;
    for (int other = 0; other < m_rows.size(); ++other) {
        const QString &otherCode = m_rows[other].texts.code;
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
