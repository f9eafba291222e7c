#include "widgets/title_panel.h"

#include "widgets/fonts.h"
#include "widgets/pictures.h"

#include <algorithm>

TitlePanel::TitlePanel(const QString &title, QWidget *window) : QWidget(window) {
    setGeometry(1, 1, window->width() - 2, 30);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Active, QPalette::Highlight));
    setPalette(palette);
    setAutoFillBackground(true);

    auto *icon = new QLabel(this);
    icon->setPixmap(TrayIconPicture().pixmap(20, 20));
    icon->setGeometry(5, 5, 20, 20);
    m_title = new QLabel(title, this);
    m_title->setFont(HeiTi(15));
    m_title->setStyleSheet(QStringLiteral("color: yellow;"));
    m_title->setGeometry(30, 0, width() - 40, 30);
}

QPushButton *TitlePanel::addButton(const QIcon &icon, const QString &hint) {
    auto *button = new QPushButton(icon, QString(), this);
    button->setFlat(true);
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    m_buttons.append(button);
    resizeEvent(nullptr);
    return button;
}

void TitlePanel::resizeEvent(QResizeEvent *) {
    int right = width() - 3;
    for (QPushButton *button : m_buttons) {
        right -= 25;
        button->setGeometry(right, 2, 25, 25);
    }
    m_title->setFixedWidth(std::max(0, right - 32));
}
