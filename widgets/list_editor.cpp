#include "widgets/list_editor.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QWheelEvent>

#include <algorithm>

void AddHeaderStrip(QWidget *parent, QPoint origin, int height, const QStringList &texts,
                    const QList<int> &widths) {
    int left = origin.x();
    for (qsizetype i = 0; i < texts.size(); ++i) {
        auto *header = new QLabel(texts[i], parent);
        header->setAlignment(Qt::AlignCenter);
        header->setGeometry(left, origin.y(), widths[i], height);
        left += widths[i];
        auto *bevel = new QFrame(parent);
        bevel->setFrameShape(QFrame::VLine);
        bevel->setFrameShadow(QFrame::Sunken);
        bevel->setGeometry(left - 1, origin.y() + 2, 2, height - 4);
    }
}

void FitColumnsBesideScrollBar(QTableView *view, const QList<int> &widths) {
    const int room =
        view->width() - 2 * view->frameWidth() -
        view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view->verticalScrollBar());
    int used = 0;
    for (int column = 0; column < widths.size(); ++column) {
        view->setColumnWidth(column, widths[column]);
        used += widths[column];
    }
    view->setColumnWidth(static_cast<int>(widths.size()), room - used);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void SelectRow(QAbstractItemView *view, int row) {
    const QModelIndex index = view->model()->index(row, 0);
    view->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view->scrollTo(index);
}

int SelectedRow(const QAbstractItemView *view) {
    const QModelIndexList selected = view->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.front().row();
}

WheelSteps::WheelSteps(QAbstractItemView *view) : QObject(view), m_view(view) {
    view->viewport()->installEventFilter(this);
    view->verticalScrollBar()->installEventFilter(this);
}

bool WheelSteps::eventFilter(QObject *, QEvent *event) {
    if (event->type() != QEvent::Wheel) {
        return false;
    }
    const int row = SelectedRow(m_view);
    if (!m_view->isEnabled() || row < 0) {
        m_delta = 0;
        return true;
    }
    m_delta += static_cast<QWheelEvent *>(event)->angleDelta().y();
    const int steps = m_delta / 120;  // towards the user is negative: down the list
    m_delta -= steps * 120;
    const int target = std::clamp(row - steps, 0, m_view->model()->rowCount() - 1);
    if (target != row) {
        SelectRow(m_view, target);
    }
    return true;
}

void EditStates::setFields(const QList<QLineEdit *> &fields, const QColor &browsing,
                           const QColor &editing) {
    m_fields = fields;
    m_browsingBackground = browsing;
    m_editingBackground = editing;
}

void EditStates::apply(bool editing) const {
    for (QWidget *widget : m_browsing) {
        widget->setEnabled(!editing);
    }
    for (QWidget *widget : m_editing) {
        widget->setEnabled(editing);
    }
    for (QLineEdit *field : m_fields) {
        QPalette palette = field->palette();
        palette.setColor(QPalette::Base, editing ? m_editingBackground : m_browsingBackground);
        field->setPalette(palette);
    }
}

void KeepReadableWhenDisabled(QWidget *panel) {
    QPalette palette = panel->palette();
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text}) {
        palette.setColor(QPalette::Disabled, role, QColor(64, 64, 64));
    }
    panel->setPalette(palette);
}
