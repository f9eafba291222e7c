#pragma once

#include <QLabel>

// Draws its first word at the left edge and its last at the right, leaving the blanks between
// them for a field laid over them ("时间           秒").
class SplitLabel final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override;
};
