#pragma once
// The line under a list that tells how the last reading went: grey, or red when something went
// wrong; a text longer than the line is cut with an ellipsis and the tooltip holds the details.

#include <QLabel>

class StatusLine final : public QLabel {
    Q_OBJECT
public:
    explicit StatusLine(QWidget *parent = nullptr);

    void setStatus(const QString &text, const QString &details, bool problem);
};
