#pragma once
// The rows of the watch list: code, name and the two alarm prices as shown, each row a typed
// entry with its identity. Rows stay in code order by the locale's text comparison; a row
// whose code is set moves to its place, and selections follow their rows.

#include "storage/watch_list_store.h"

#include <QAbstractTableModel>

class WatchListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kCode, kName, kUpper, kLower, kColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    // Replaces every row, sorted once.
    void setEntries(const QList<storage::WatchEntry> &entries);
    // Adds or rewrites a row and moves it to its place; returns its new position.
    int addEntry(const storage::WatchEntry &entry);
    int setEntry(int row, const storage::WatchEntry &entry);
    void removeEntry(int row);

    const storage::WatchEntry &entry(int row) const { return m_entries[row]; }
    const QList<storage::WatchEntry> &entries() const { return m_entries; }

private:
    int place(int row);

    QList<storage::WatchEntry> m_entries;
};
