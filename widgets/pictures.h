#pragma once
// The program's pictures, drawn rather than shipped as files: the menu pictures, the tray
// icon and the about picture.

#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QUrl>

// The nine 16 x 16 menu pictures, by index: 0 holdings, 1 calculator, 2 exit, 3 about,
// 4 fee rates, 5 system parameters, 6 manual, 7 monitor settings, 8 monitor.
QPixmap MenuPicture(int index);
// The same, drawn when first shown.
QIcon MenuIcon(int index);

QIcon TrayIconPicture();

// The studio picture of the settings dialogs and the manual.
QPixmap StudioPicture(QSize size);

// A label showing the studio picture at its own size, drawn when it is first shown.
class StudioLabel final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// 450 x 250.
QPixmap AboutPicture();

// The studio's web page, opened from the about screen, the manual and the fee-rate dialog.
QUrl HomePage();
