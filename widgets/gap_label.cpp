#include "widgets/gap_label.h"

#include <QPainter>

int GapLabel::blankWidth() const {
    const int size = font().pixelSize() > 0 ? font().pixelSize() : fontInfo().pixelSize();
    return size / 2;
}

QRect GapLabel::gapRect(int gap) const {
    const QFontMetrics metrics(font());
    const QString line = text();
    int x = 0;
    int found = -1;
    for (qsizetype i = 0; i < line.size();) {
        if (line[i] != u' ') {
            x += metrics.horizontalAdvance(line[i]);
            ++i;
            continue;
        }
        const int start = x;
        while (i < line.size() && line[i] == u' ') {
            x += blankWidth();
            ++i;
        }
        // A single blank between words is part of the text, not a gap.
        if (x - start > blankWidth() && ++found == gap) {
            return QRect(this->x() + start + 2, this->y(), x - start - 4, height());
        }
    }
    return {};
}

void GapLabel::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int baseline = (height() + metrics.ascent() - metrics.descent()) / 2;
    int x = 0;
    for (const QChar c : text()) {
        if (c == u' ') {
            x += blankWidth();
            continue;
        }
        painter.drawText(x, baseline, QString(c));
        x += metrics.horizontalAdvance(c);
    }
}
