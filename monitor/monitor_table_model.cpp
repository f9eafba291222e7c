#include "monitor/monitor_table_model.h"

#include "monitor/alarm_rule.h"
#include "quotes/quote_detail.h"

#include <QBrush>
#include <QPainter>
#include <QPixmap>

namespace {

// The alarm pictures: a green tick while the alarm is on, a red disc with a white cross
// while it is off.
QIcon AlarmPicture(bool on) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (on) {
        painter.setPen(QPen(QColor(0, 160, 0), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(QPolygonF({{2.5, 8.5}, {6.5, 12.5}, {13.5, 3.5}}));
    } else {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(220, 0, 0));
        painter.drawEllipse(QRectF(0.5, 0.5, 15, 15));
        painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(5, 5), QPointF(11, 11));
        painter.drawLine(QPointF(11, 5), QPointF(5, 11));
    }
    return QIcon(pixmap);
}

}  // namespace

MonitorTableModel::MonitorTableModel(const monitor::WatchSession *session, QObject *parent)
    : QAbstractTableModel(parent),
      m_session(session),
      m_on(AlarmPicture(true)),
      m_off(AlarmPicture(false)) {
    connect(session, &monitor::WatchSession::rowsAboutToBeReplaced, this,
            &MonitorTableModel::beginResetModel);
    connect(session, &monitor::WatchSession::rowsReplaced, this, [this] {
        m_ages.clear();
        endResetModel();
    });
    connect(session, &monitor::WatchSession::readingApplied, this,
            [this](const quotes::FeedReading &reading) { m_ages.note(reading); });
    connect(session, &monitor::WatchSession::rowsChanged, this, [this] {
        if (rowCount() > 0) {
            emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
        }
    });
}

int MonitorTableModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_session->rows().size());
}

int MonitorTableModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant MonitorTableModel::data(const QModelIndex &index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const monitor::MonitorRow &row = m_session->rows()[index.row()];
    // A price the last reading for its code did not renew.
    const std::optional<QTime> stale = index.column() == Current && !row.price.isEmpty()
                                           ? m_ages.staleSince(row.code)
                                           : std::nullopt;
    switch (role) {
        case Qt::DisplayRole: {
            const QString price = row.price.isEmpty() ? QStringLiteral("—") : row.price;
            const QString texts[] = {row.code, row.name, price, row.upper, row.lower};
            return texts[index.column()];
        }
        case Qt::ForegroundRole:
            return QBrush(stale ? QColor(Qt::gray)
                                : QColor::fromRgb(monitor::MarkColour(QString(row.mark))));
        case Qt::DecorationRole:
            return index.column() == Code ? QVariant(row.alarmOn ? m_on : m_off) : QVariant();
        case Qt::ToolTipRole:
            return stale ? quotes::StalePriceTip(*stale)
                         : quotes::QuoteTooltip(row.price, row.previousClose, row.quoteTime);
        case Qt::AccessibleDescriptionRole:
            return stale ? quotes::StalePriceTip(*stale) : QVariant();
        default:
            return {};
    }
}

QVariant MonitorTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount) {
        return {};
    }
    const QString captions[] = {QStringLiteral("股票代码"), QStringLiteral("股票名称"),
                                QStringLiteral("当前价"), QStringLiteral("上限价"),
                                QStringLiteral("下限价")};
    return captions[section];
}
