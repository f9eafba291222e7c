#pragma once
// What the two list editors (holdings, watch list) share: the header strip that stands in for
// the list's own headers, the wheel that steps the selection, and the table of controls that
// are live while browsing or while editing.

#include <QAbstractItemView>
#include <QColor>
#include <QLineEdit>
#include <QList>
#include <QPoint>
#include <QStringList>

class QTableView;

// Labels between thin sunken bevels, left to right from `origin`.
void AddHeaderStrip(QWidget *parent, QPoint origin, int height, const QStringList &texts,
                    const QList<int> &widths);

// Gives the columns of `view` these widths, in order, and the last column what is left
// beside a vertical scroll bar; nothing scrolls sideways, so a long list needs no horizontal
// bar over its last row and no key can push the first columns out of sight.
void FitColumnsBesideScrollBar(QTableView *view, const QList<int> &widths);

// Selects the row in `view`, making it current, and shows it.
void SelectRow(QAbstractItemView *view, int row);
// The selected row; -1 when none.
int SelectedRow(const QAbstractItemView *view);

// Over the list and its scroll bar the wheel moves the selection one row per notch (a full
// 120 of angle, gathered from as many events as a fine wheel or a touchpad sends) and never
// scrolls by itself. Without a selected row, and while the list is disabled, it does nothing.
class WheelSteps final : public QObject {
public:
    explicit WheelSteps(QAbstractItemView *view);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractItemView *m_view;
    int m_delta = 0;
};

// The entry panel stays readable while it is disabled for browsing: its text is drawn in dark
// grey instead of the style's pale disabled grey, which is lost on a coloured panel.
void KeepReadableWhenDisabled(QWidget *panel);

// The controls live in each state and the background of the entry fields.
class EditStates {
public:
    void addBrowsing(std::initializer_list<QWidget *> widgets) { m_browsing.append(widgets); }
    void addEditing(std::initializer_list<QWidget *> widgets) { m_editing.append(widgets); }
    void setFields(const QList<QLineEdit *> &fields, const QColor &browsing, const QColor &editing);
    void apply(bool editing) const;

private:
    QList<QWidget *> m_browsing;
    QList<QWidget *> m_editing;
    QList<QLineEdit *> m_fields;
    QColor m_browsingBackground;
    QColor m_editingBackground;
};
