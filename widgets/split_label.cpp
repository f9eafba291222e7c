#include "widgets/split_label.h"

#include <QPainter>

void SplitLabel::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QStringList words = text().split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty()) {
        return;
    }
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, words.front());
    if (words.size() > 1) {
        painter.drawText(rect(), Qt::AlignRight | Qt::AlignVCenter, words.back());
    }
}
