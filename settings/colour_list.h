#pragma once
// The overlay colour list: 20 fixed colours, then 30 colours of the desktop's palette. The
// stored colour is a position in this list, so the order is part of the file format.

#include <QColor>
#include <QList>
#include <QPalette>
#include <QString>

struct ColourEntry {
    QString name;
    QColor colour;
};

QList<ColourEntry> ColourList(const QPalette &palette);
