#pragma once
// The program's fonts. The forms ask for 宋体 and 黑体, which Linux does not have: the Noto CJK
// faces stand in for them, in their Simplified Chinese forms.

#include <QFont>

void InstallFontSubstitutes();

// 宋体 at the given pixel size: the font of every window unless it says otherwise.
QFont SongTi(int pixelSize = 14);
QFont HeiTi(int pixelSize);

class QWidget;

// Gives the widget this font when it is first shown. Until then it carries 黑体 at the same
// size, the face the about screen has loaded already: the long-lived dialogs built at start-up
// then open no second CJK font file (several megabytes) before anyone opens them.
void SetFontWhenShown(QWidget *widget, const QFont &font);
