#pragma once
// TmyDlg: the system parameters. Its controls are the values in force, saved or not: every
// change is written into the settings in force.

#include "settings/settings_in_force.h"
#include "widgets/speed_button.h"
#include "widgets/spin_edit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>

class TmyDlg final : public QDialog {
    Q_OBJECT
public:
    explicit TmyDlg(settings::InForce &inForce, QWidget *parent = nullptr);

    QGroupBox *GroupBox1;  // 差价计算器摆放位置
    QRadioButton *RadioButton1;
    QRadioButton *RadioButton2;
    QRadioButton *RadioButton3;
    QRadioButton *RadioButton4;
    QGroupBox *GroupBox2;  // 均价计算器摆放位置
    QRadioButton *RadioButton5;
    QRadioButton *RadioButton6;
    QRadioButton *RadioButton7;
    QRadioButton *RadioButton8;
    QGroupBox *GroupBox3;  // 国海交易系统
    QCheckBox *CheckBox1;
    QLabel *Label1;  // 时间 … 秒
    SpinEdit *SpinEdit1;
    QGroupBox *GroupBox4;  // 监控设置
    SpinEdit *SpinEdit2;
    QComboBox *ColorBox1;
    QLabel *Image1;
    SpeedButton *SpeedButton1;  // 保存设置
    SpeedButton *SpeedButton2;  // 退    出

    // The corners as the dialog shows them now: 1 top-left to 4 bottom-right.
    int differenceCorner() const;
    int averageCorner() const;
    bool refreshOn() const;
    int32_t refreshSeconds() const;
    int32_t overlayFontSize() const;
    std::optional<uint32_t> overlayColour() const;

    // Loads the stored values. Ticking the refresh box on the way already asks for the
    // refresh, so connect refreshChanged first.
    void load();
    void CheckBox1Click();
    void SpeedButton1Click();
    void SpeedButton2Click();

signals:
    // The refresh switch was turned, with the seconds the field reads at that moment.
    void refreshChanged(bool on, int32_t seconds);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QList<QRadioButton *> differenceRadios() const;
    QList<QRadioButton *> averageRadios() const;
    void publish();

    settings::InForce &m_inForce;
};
