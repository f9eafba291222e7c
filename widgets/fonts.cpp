#include "widgets/fonts.h"

#include <QStringList>

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
