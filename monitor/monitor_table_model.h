#pragma once
// The monitor's list over the watch session's rows: code, name, current price and the band,
// each row's text in its mark's colour, the alarm picture beside the code, and the change
// since the previous close with the quote's time as every cell's tooltip.

#include "monitor/watch_session.h"
#include "quotes/price_ages.h"

#include <QAbstractTableModel>
#include <QIcon>

class MonitorTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Code, Name, Current, Upper, Lower, ColumnCount };

    explicit MonitorTableModel(const monitor::WatchSession *session, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const monitor::WatchSession *m_session;
    quotes::PriceAges m_ages;  // prices a later reading did not renew show grey
    QIcon m_on;                // a green tick
    QIcon m_off;               // a red disc with a white cross
};
