#pragma once
// TForm2: the full price-difference calculator with every fee; reached from the compact one.

#include "calc/difference_window.h"
#include "widgets/title_panel.h"

#include <QGroupBox>

class TForm2 final : public DifferenceWindow<TForm2> {
    Q_OBJECT
public:
    explicit TForm2(const settings::InForce &inForce);

    TitlePanel *Panel1;
    QGroupBox *GroupBox1;  // 交易费用列表（单位：元）
    QGroupBox *GroupBox2;  // net profit and the calculate button

    void SpeedButton3Click();
};
