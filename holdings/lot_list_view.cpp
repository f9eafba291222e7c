#include "holdings/lot_list_view.h"

#include <QApplication>
#include <QHeaderView>
#include <QStyledItemDelegate>

namespace {

// Check boxes drawn dark on white on every row, selected or not, so that checked and
// unchecked tell apart whatever the row's colours.
class CheckBoxDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        QStyleOptionViewItem box = option;
        initStyleOption(&box, index);
        if (!box.features.testFlag(QStyleOptionViewItem::HasCheckIndicator)) {
            return;
        }
        const QWidget *widget = option.widget;
        QStyle *style = widget != nullptr ? widget->style() : QApplication::style();
        box.rect = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &box, widget);
        box.state &= ~QStyle::State_Selected;
        box.state |= box.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
        for (const QPalette::ColorGroup group :
             {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            box.palette.setColor(group, QPalette::Base, Qt::white);
            box.palette.setColor(group, QPalette::Window, Qt::white);
            box.palette.setColor(group, QPalette::Text, Qt::black);
            box.palette.setColor(group, QPalette::WindowText, Qt::black);
        }
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, widget);
    }
};

}  // namespace

void SetUpLotListView(QTableView *view, const QList<int> &widths) {
    view->horizontalHeader()->hide();
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setMinimumSectionSize(22);
    view->verticalHeader()->setDefaultSectionSize(22);
    for (int i = 0; i < widths.size(); ++i) {
        view->setColumnWidth(i, widths[i]);
    }
    view->setShowGrid(true);
    view->setGridStyle(Qt::SolidLine);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Base, Qt::black);
    palette.setColor(QPalette::Text, Qt::white);
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    view->setPalette(palette);
    view->setStyleSheet(QStringLiteral("QTableView { gridline-color: #808080; }"));
    view->setItemDelegate(new CheckBoxDelegate(view));
}
