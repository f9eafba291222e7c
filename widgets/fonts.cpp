#include "widgets/fonts.h"

#include <QEvent>
#include <QStringList>
#include <QWidget>

void InstallFontSubstitutes() {
    // Without an SC face named first, fontconfig may pick the Japanese glyph forms.
    QFont::insertSubstitutions(QStringLiteral("宋体"), {QStringLiteral("Noto Serif CJK SC"),
                                                        QStringLiteral("Noto Sans CJK SC")});
    QFont::insertSubstitutions(QStringLiteral("黑体"), {QStringLiteral("Noto Sans CJK SC")});
}

QFont SongTi(int pixelSize) {
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(pixelSize);
    return font;
}

QFont HeiTi(int pixelSize) {
    QFont font(QStringLiteral("黑体"));
    font.setPixelSize(pixelSize);
    return font;
}

namespace {

class FontOnShow final : public QObject {
public:
    FontOnShow(QWidget *widget, QFont font) : QObject(widget), m_font(std::move(font)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Show && watched == parent()) {
            static_cast<QWidget *>(watched)->setFont(m_font);
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    QFont m_font;
};

}  // namespace

void SetFontWhenShown(QWidget *widget, const QFont &font) {
    widget->setFont(HeiTi(font.pixelSize() > 0 ? font.pixelSize() : 14));
    new FontOnShow(widget, font);
}
