#include "widgets/pictures.h"

#include "widgets/fonts.h"

#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmapCache>

#include <algorithm>
#include <array>

namespace {

struct Glyph {
    QColor colour;
    QString symbol;
};

const std::array<Glyph, 9> &Glyphs() {
    static const std::array<Glyph, 9> glyphs = {{
        {QColor(0, 128, 128), QStringLiteral("管")},
        {QColor(0, 96, 192), QStringLiteral("计")},
        {QColor(192, 0, 0), QStringLiteral("退")},
        {QColor(255, 128, 0), QStringLiteral("关")},
        {QColor(128, 0, 128), QStringLiteral("费")},
        {QColor(96, 96, 96), QStringLiteral("设")},
        {QColor(0, 128, 0), QStringLiteral("手")},
        {QColor(128, 96, 0), QStringLiteral("监")},
        {QColor(200, 0, 80), QStringLiteral("看")},
    }};
    return glyphs;
}

void PaintBadge(QPainter &painter, const QRect &rect, const QColor &colour, const QString &symbol) {
    const int size = std::min(rect.width(), rect.height());
    const QRect square(rect.x() + (rect.width() - size) / 2, rect.y() + (rect.height() - size) / 2,
                       size, size);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(square).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    painter.setPen(Qt::white);
    painter.setFont(HeiTi(size - 4));
    painter.drawText(square, Qt::AlignCenter, symbol);
    painter.restore();
}

QPixmap Badge(int size, const QColor &colour, const QString &symbol) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    PaintBadge(painter, pixmap.rect(), colour, symbol);
    return pixmap;
}

// A badge drawn only when, and at the size, it is first shown: the menu's pictures and the
// tray icon's sizes cost nothing at start-up.
class BadgeEngine final : public QIconEngine {
public:
    BadgeEngine(QColor colour, QString symbol)
        : m_colour(std::move(colour)), m_symbol(std::move(symbol)) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override {
        PaintBadge(*painter, rect, m_colour, m_symbol);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override {
        const QString key = QStringLiteral("stockcalc-badge-%1-%2-%3x%4")
                                .arg(m_colour.rgb())
                                .arg(m_symbol)
                                .arg(size.width())
                                .arg(size.height());
        QPixmap pixmap;
        if (!QPixmapCache::find(key, &pixmap)) {
            pixmap = QPixmap(size);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            PaintBadge(painter, pixmap.rect(), m_colour, m_symbol);
            painter.end();
            QPixmapCache::insert(key, pixmap);
        }
        return pixmap;
    }
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine *clone() const override { return new BadgeEngine(m_colour, m_symbol); }

private:
    QColor m_colour;
    QString m_symbol;
};

}  // namespace

QPixmap MenuPicture(int index) {
    const Glyph &glyph = Glyphs().at(static_cast<size_t>(index));
    return Badge(16, glyph.colour, glyph.symbol);
}

QIcon MenuIcon(int index) {
    const Glyph &glyph = Glyphs().at(static_cast<size_t>(index));
    return QIcon(new BadgeEngine(glyph.colour, glyph.symbol));
}

QIcon TrayIconPicture() {
    return QIcon(new BadgeEngine(QColor(255, 128, 0), QStringLiteral("股")));
}

void StudioLabel::paintEvent(QPaintEvent *event) {
    if (pixmap().isNull() || pixmap().size() != size()) {
        setPixmap(StudioPicture(size()));
    }
    QLabel::paintEvent(event);
}

QPixmap AboutPicture() {
    QPixmap pixmap(450, 250);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 0, 250);
    gradient.setColorAt(0, QColor(255, 160, 40));
    gradient.setColorAt(1, QColor(230, 100, 0));
    painter.fillRect(pixmap.rect(), gradient);
    painter.setPen(Qt::white);
    painter.setFont(HeiTi(34));
    painter.drawText(QRect(0, 40, 442, 60), Qt::AlignCenter, QStringLiteral("岚石股票收益计算器"));
    painter.setFont(HeiTi(18));
    painter.drawText(QRect(0, 180, 442, 30), Qt::AlignCenter, QStringLiteral("沪深股票交易助手"));
    // The studio mark, under the web-page spot of the about screen.
    painter.setPen(QPen(QColor(255, 255, 255, 200), 1.5));
    painter.drawRoundedRect(QRectF(121, 121, 199, 39), 6, 6);
    painter.setFont(SongTi(18));
    painter.drawText(QRect(120, 120, 201, 41), Qt::AlignCenter, QStringLiteral("岚石软件工作室"));
    return pixmap;
}

QPixmap StudioPicture(QSize size) {
    QPixmap pixmap(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0, QColor(40, 90, 160));
    gradient.setColorAt(1, QColor(20, 50, 100));
    painter.fillRect(pixmap.rect(), gradient);
    painter.setPen(Qt::white);
    const int glyph = std::min(size.width() / 2, size.height() / 6);
    painter.setFont(HeiTi(glyph));
    const QString studio = QStringLiteral("岚石软件");
    const int top = (size.height() - glyph * 5 / 4 * static_cast<int>(studio.size())) / 2;
    for (qsizetype i = 0; i < studio.size(); ++i) {
        painter.drawText(
            QRect(0, top + static_cast<int>(i) * glyph * 5 / 4, size.width(), glyph * 5 / 4),
            Qt::AlignCenter, studio.mid(i, 1));
    }
    return pixmap;
}

QUrl HomePage() {
    return QUrl(QStringLiteral("https://github.com/lanshi-studio/stockcalc"));
}
