#pragma once
// TForm5: the compact price-difference calculator, one row high; the tray menu opens it.

#include "calc/difference_window.h"

#include <QLabel>

class TForm5 final : public DifferenceWindow<TForm5> {
    Q_OBJECT
public:
    explicit TForm5(const settings::InForce &inForce);

    QLabel *Label1;  // 买价
    QLabel *Label2;  // 卖价
    QLabel *Label3;  // 数量
    QLabel *Label4;  // 交易所

    void SpeedButton3Click();
};
