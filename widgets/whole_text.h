#pragma once
// Fields that always show their whole text: when a text is wider than its field, the field's
// font becomes smaller until it fits, and goes back to the window's size when it fits again.
// A field never scrolls part of a figure out of sight (1020000.76 must not read 020000.76).

class QLineEdit;

void ShowWholeText(QLineEdit *edit);
