#pragma once
// TSETDlg: the fee-rate settings. Its seven texts and the transfer basis are the fees in force,
// saved or not: every edit is written into the settings in force.

#include "numbers/fee_schedule.h"
#include "settings/class_commission_dialog.h"
#include "settings/settings_in_force.h"
#include "widgets/speed_button.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>

class TSETDlg final : public QDialog {
    Q_OBJECT
public:
    explicit TSETDlg(settings::InForce &inForce, QWidget *parent = nullptr);

    QLabel *Image1;
    QLineEdit *Edit4;            // buy stamp tax
    QLineEdit *Edit5;            // sell stamp tax
    QLineEdit *Edit6;            // buy commission
    QLineEdit *Edit7;            // sell commission
    QLineEdit *Edit1;            // minimum commission
    QLineEdit *Edit8;            // Shenzhen transfer
    QLineEdit *Edit9;            // Shanghai transfer
    QRadioButton *RadioButton1;  // 按股数: transfer rates in fen per share
    QRadioButton *RadioButton2;  // 按成交金额: transfer rates in per mille of the amount
    SpeedButton *SpeedButton1;   // 默认设置
    SpeedButton *SpeedButton2;   // 保存设置
    SpeedButton *SpeedButton3;   // 退  出
    SpeedButton *SpeedButton4;   // 现行标准: today's statutory stamp tax and transfer fee
    SpeedButton *SpeedButton5;   // 其他品种…: the commissions of funds and bonds
    ClassCommissionDialog *ClassDialog;

    // The seven texts in record order, and the basis chosen.
    numbers::FeeTexts feeTexts() const;
    numbers::TransferBasis transferFeeBasis() const;
    // The commission texts of funds and bonds, as typed in "其他品种…".
    numbers::ClassCommissionTexts classCommissionTexts() const;

    void load();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The fields in record order.
    std::array<QLineEdit *, 7> fields() const;
    void setTexts(const numbers::FeeTexts &texts);
    void setTransferBasis(numbers::TransferBasis basis);
    void showTransferUnits();
    void publish();

    settings::InForce &m_inForce;

    QLabel *m_shenzhenLabel = nullptr;
    QLabel *m_shanghaiLabel = nullptr;
    QLabel *m_transferStandard = nullptr;
};

// The line under the basis buttons: today's transfer rate in the unit of the basis.
QString TransferStandardText(numbers::TransferBasis basis);
