#pragma once
// TForm6: the average-price calculator strip.

#include "settings/settings_in_force.h"
#include "widgets/spin_edit.h"
#include "widgets/tool_window.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

class TForm6 final : public ToolWindowOf<TForm6> {
    Q_OBJECT
public:
    explicit TForm6(const settings::InForce &inForce);

    QPushButton *SpeedButton2;  // close
    QComboBox *ComboBox1;       // 原  价 / 成本价
    QLineEdit *Edit1;           // existing price
    QLabel *Label1;             // 数量
    SpinEdit *SpinEdit1;        // existing quantity
    QLabel *Label2;             // 新买(卖)价
    QLineEdit *Edit2;           // new price
    QLabel *Label3;             // 数量
    SpinEdit *SpinEdit2;        // new quantity, negative for a sale
    QToolButton *SpeedButton1;  // 计算
    QLineEdit *Edit4;           // 折合原价
    QLineEdit *Edit3;           // 折合成本价
    QComboBox *ClassBox;        // 股票 / 基金 / 债券

    void SpeedButton1Click();
    void SpeedButton2Click() { close(); }

private:
    const settings::InForce &m_inForce;
};
