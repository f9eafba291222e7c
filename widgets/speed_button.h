#pragma once
// A flat speed button, as the settings dialogs carry along their bottom edge: a click is its
// only way in. It takes no focus, so Tab passes it by, and it is never a default button, so
// Enter in a field does not press it.

#include <QPushButton>

class SpeedButton final : public QPushButton {
    Q_OBJECT
public:
    SpeedButton(const QString &caption, QWidget *parent, const QRect &geometry);
};
