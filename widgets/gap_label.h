#pragma once

#include <QLabel>

// A line of words and runs of blanks, drawn as the forms lay it out: each blank is half the
// font's pixel size wide, as in 宋体, so that fields laid over the runs fit between the words
// whatever the substitute font's own blank width is.
class GapLabel final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // The run of blanks with this index (0 = the first), in the parent's coordinates, less a
    // margin of 2 pixels at each end.
    QRect gapRect(int gap) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int blankWidth() const;
};
