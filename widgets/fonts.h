#pragma once
// The program's fonts. The forms ask for 宋体 and 黑体, which Linux does not have: the Noto CJK
// faces stand in for them, in their Simplified Chinese forms.

#include <QFont>

void InstallFontSubstitutes();

// 宋体 at the given pixel size: the font of every window unless it says otherwise.
QFont SongTi(int pixelSize = 14);
QFont HeiTi(int pixelSize);
