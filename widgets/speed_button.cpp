#include "widgets/speed_button.h"

SpeedButton::SpeedButton(const QString &caption, QWidget *parent, const QRect &geometry)
    : QPushButton(caption, parent) {
    setFlat(true);
    setFocusPolicy(Qt::NoFocus);
    // A push button in a dialog would otherwise become the default at the first Enter.
    setAutoDefault(false);
    setGeometry(geometry);
    setCursor(Qt::PointingHandCursor);
}
