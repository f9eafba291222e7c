#include "widgets/fitted_columns.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QStyle>
#include <QTableView>
#include <QToolTip>

#include <algorithm>

namespace {

constexpr int kSmallestFontPixels = 6;

void FitColumns(QTableView *view, int givingWay) {
    const QAbstractItemModel *model = view->model();
    if (model == nullptr || givingWay >= model->columnCount()) {
        return;
    }
    const QHeaderView *header = view->horizontalHeader();
    const QAbstractItemView *cells = view;  // where the widest text's width is public
    // The viewport is narrower by the vertical scroll bar while the list needs one.
    const int room = view->viewport()->width();
    QList<int> widths(model->columnCount());
    int used = 0;
    for (int column = 0; column < widths.size(); ++column) {
        if (column != givingWay) {
            widths[column] =
                std::max(cells->sizeHintForColumn(column), header->sectionSizeHint(column));
            used += widths[column];
        }
    }
    // The name keeps room for its caption; figures that leave less share what there is, and
    // their delegate draws them smaller.
    const int least = header->sectionSizeHint(givingWay);
    if (used > 0 && used + least > room) {
        const int share = std::max(room - least, 0);
        int given = 0;
        for (int column = 0; column < widths.size(); ++column) {
            if (column != givingWay) {
                widths[column] = widths[column] * share / used;
                given += widths[column];
            }
        }
        used = given;
    }
    widths[givingWay] = std::max(room - used, 0);
    for (int column = 0; column < widths.size(); ++column) {
        view->setColumnWidth(column, widths[column]);
    }
}

class ColumnFit final : public QObject {
public:
    ColumnFit(QTableView *view, int givingWay)
        : QObject(view), m_view(view), m_givingWay(givingWay) {
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
        const QAbstractItemModel *model = view->model();
        const auto fit = [this] { FitColumns(m_view, m_givingWay); };
        connect(model, &QAbstractItemModel::modelReset, this, fit);
        connect(model, &QAbstractItemModel::layoutChanged, this, fit);
        connect(model, &QAbstractItemModel::rowsInserted, this, fit);
        connect(model, &QAbstractItemModel::rowsRemoved, this, fit);
        connect(model, &QAbstractItemModel::dataChanged, this, fit);
        fit();
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Resize || event->type() == QEvent::FontChange ||
            event->type() == QEvent::StyleChange) {
            FitColumns(m_view, m_givingWay);
        }
        return false;
    }

private:
    QTableView *m_view;
    int m_givingWay;
};

}  // namespace

WholeFiguresDelegate::WholeFiguresDelegate(int givingWay, QObject *parent)
    : QStyledItemDelegate(parent), m_givingWay(givingWay) {}

bool WholeFiguresDelegate::IsCut(const QStyleOptionViewItem &option) {
    const QWidget *widget = option.widget;
    const QStyle *style = widget != nullptr ? widget->style() : nullptr;
    if (style == nullptr || option.text.isEmpty()) {
        return false;
    }
    // The margins the style keeps inside the text rectangle of a cell.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const int room =
        style->subElementRect(QStyle::SE_ItemViewItemText, &option, widget).width() - 2 * margin;
    return QFontMetrics(option.font).horizontalAdvance(option.text) > room;
}

void WholeFiguresDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    if (index.column() != m_givingWay) {
        // A figure is drawn smaller until it fits, never cut.
        int pixels = QFontInfo(cell.font).pixelSize();
        while (IsCut(cell) && pixels > kSmallestFontPixels) {
            cell.font.setPixelSize(--pixels);
        }
    }
    const QWidget *widget = option.widget;
    QStyle *style = widget != nullptr ? widget->style() : nullptr;
    if (style == nullptr) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
}

bool WholeFiguresDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view,
                                     const QStyleOptionViewItem &option, const QModelIndex &index) {
    if (event != nullptr && event->type() == QEvent::ToolTip && index.column() == m_givingWay) {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        if (IsCut(cell)) {
            QToolTip::showText(event->globalPos(), cell.text, view, option.rect);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

void KeepColumnsFitted(QTableView *view, int givingWay, WholeFiguresDelegate *delegate) {
    view->setItemDelegate(delegate != nullptr ? delegate
                                              : new WholeFiguresDelegate(givingWay, view));
    new ColumnFit(view, givingWay);
}
