#pragma once
// The title panel of the larger tool windows: 30 pixels along the top edge in the active
// caption colour, the program icon, the title in yellow, and flat buttons at the right.

#include <QLabel>
#include <QPushButton>
#include <QWidget>

class TitlePanel final : public QWidget {
    Q_OBJECT
public:
    TitlePanel(const QString &title, QWidget *window);

    // A flat 25 x 25 button; each new one goes to the left of the ones before.
    QPushButton *addButton(const QIcon &icon, const QString &hint);

    QLabel *title() const { return m_title; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QLabel *m_title;
    QList<QPushButton *> m_buttons;
};
