#pragma once
// Where a window the user moves and resizes stood when it was last hidden, kept for the next
// start in the program's settings file, stockcalc.ini, beside its database in the folder the
// program works in.

#include <QString>

class QWidget;

// Puts `window` where it stood last under `key`, within the work area of the screen it stood
// on and no smaller than its minimum size; false, and nothing moved, when nothing is kept.
bool RestoreGeometry(QWidget *window, const QString &key);
// Keeps the place and size of `window` under `key`.
void RememberGeometry(const QWidget *window, const QString &key);
