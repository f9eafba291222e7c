#pragma once
// The about picture: a JPEG shipped with the program, decoded with libjpeg. The picture drawn
// in code stands in for a missing or broken file.

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QString>

// The shipped picture, compiled into the program.
inline const QString kAboutPictureFile = QStringLiteral(":/resources/about.jpg");

// The picture in the JPEG data, as RGB; a null image when the data is not a whole, sound
// JPEG (libjpeg's warnings about corrupt or truncated data count as faults).
QImage DecodeJpeg(const QByteArray &data);

// The picture of the file, or the drawn one when the file cannot be read or decoded.
QPixmap AboutPictureFromFile(const QString &fileName = kAboutPictureFile);
