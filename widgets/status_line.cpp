#include "widgets/status_line.h"

StatusLine::StatusLine(QWidget *parent) : QLabel(parent) {
    setStyleSheet(QStringLiteral("color: gray;"));
}

void StatusLine::setStatus(const QString &text, const QString &details, bool problem) {
    setStyleSheet(problem ? QStringLiteral("color: red;") : QStringLiteral("color: gray;"));
    setText(fontMetrics().elidedText(text, Qt::ElideRight, width()));
    setToolTip(details);
}
