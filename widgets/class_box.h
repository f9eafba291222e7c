#pragma once
// The drop-down of instrument classes for the calculators that take no code: 股票, 基金, 债券,
// at the indexes numbers::ClassFromIndex reads; 股票 is chosen.

#include <QComboBox>

QComboBox *NewClassBox(QWidget *parent);
