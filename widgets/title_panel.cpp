#include "widgets/title_panel.h"

#include "widgets/fonts.h"
#include "widgets/pictures.h"

#include <QPainter>

#include <algorithm>

namespace {
// The style draws its title-bar glyphs grey, for a light button face; on the caption colour
// they are drawn again in the caption's own text colour, so that they stand out.
QIcon OnCaption(const QIcon &icon, const QColor &colour) {
    QPixmap glyph = icon.pixmap(QSize(16, 16));
    QPainter painter(&glyph);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(glyph.rect(), colour);
    painter.end();
    return QIcon(glyph);
}
}  // namespace

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
    auto *button = new QPushButton(
        OnCaption(icon, palette().color(QPalette::Active, QPalette::HighlightedText)), QString(),
        this);
    button->setFlat(true);
    button->setToolTip(hint);
    // A button drawn without a caption is named by its hint for assistive technology.
    button->setAccessibleName(hint);
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
