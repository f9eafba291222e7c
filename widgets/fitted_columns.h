#pragma once
// Lists whose figures are never cut. Every column but one is as wide as its widest text,
// caption included; the one that gives way (a name) takes what is left beside the vertical
// scroll bar while there is one. Where that is too little for a name, the name is cut and its
// whole text is the cell's tooltip. A list too narrow even for its figures draws them in a
// smaller font, never cut.

#include <QStyledItemDelegate>

class QTableView;

class WholeFiguresDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    WholeFiguresDelegate(int givingWay, QObject *parent);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

    // Whether the cell's text, as `option` draws it, is wider than the room the cell has.
    static bool IsCut(const QStyleOptionViewItem &option);

private:
    int m_givingWay;
};

// Gives `view` this delegate (or a plain one) and keeps its columns fitted as its rows, their
// texts and its size change. The view's model must be set.
void KeepColumnsFitted(QTableView *view, int givingWay, WholeFiguresDelegate *delegate = nullptr);
