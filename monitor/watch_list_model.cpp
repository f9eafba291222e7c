#include "monitor/watch_list_model.h"

#include <algorithm>

namespace {

bool Before(const QString &a, const QString &b) {
    return QString::localeAwareCompare(a, b) < 0;
}

}  // namespace

int WatchListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

int WatchListModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant WatchListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_entries.size() || role != Qt::DisplayRole) {
        return {};
    }
    const storage::WatchEntry &entry = m_entries[index.row()];
    switch (index.column()) {
        case kCode:
            return entry.code;
        case kName:
            return entry.name;
        case kUpper:
            return entry.upper.text;
        case kLower:
            return entry.lower.text;
    }
    return {};
}

void WatchListModel::setEntries(const QList<storage::WatchEntry> &entries) {
    beginResetModel();
    m_entries = entries;
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const auto &a, const auto &b) { return Before(a.code, b.code); });
    endResetModel();
}

int WatchListModel::addEntry(const storage::WatchEntry &entry) {
    const int row = static_cast<int>(m_entries.size());
    beginInsertRows({}, row, row);
    m_entries.append(entry);
    endInsertRows();
    return place(row);
}

int WatchListModel::setEntry(int row, const storage::WatchEntry &entry) {
    m_entries[row] = entry;
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
    return place(row);
}

void WatchListModel::removeEntry(int row) {
    beginRemoveRows({}, row, row);
    m_entries.removeAt(row);
    endRemoveRows();
}

int WatchListModel::place(int row) {
    const QString &code = m_entries[row].code;
    // The other rows are in order; equal codes keep the order they had.
    int target = 0;
    for (int other = 0; other < m_entries.size(); ++other) {
        const QString &otherCode = m_entries[other].code;
        if (other != row &&
            (Before(otherCode, code) || (!Before(code, otherCode) && other < row))) {
            ++target;
        }
    }
    if (target == row) {
        return row;
    }
    beginMoveRows({}, row, row, {}, target > row ? target + 1 : target);
    m_entries.move(row, target);
    endMoveRows();
    return target;
}
