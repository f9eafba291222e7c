#pragma once
// TSETDlg: the fee-rate settings. Its seven texts are the fee schedule in force, saved or not.

#include "numbers/fee_schedule.h"
#include "settings/class_commission_dialog.h"
#include "settings/settings_in_force.h"
#include "widgets/speed_button.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>

class TSETDlg final : public QDialog, public settings::FeeSettings {
    Q_OBJECT
public:
    explicit TSETDlg(QWidget *parent = nullptr);

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

    // The seven texts in record order, as the calculators read them.
    numbers::FeeTexts FeeTexts() const override;
    numbers::TransferBasis TransferFeeBasis() const override;
    numbers::ClassCommissionTexts ClassCommissionTexts() const override;

    void Load();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();

signals:
    // A rate text or the transfer basis changed: the fees in force are not what they were.
    void FeesChanged();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The fields in record order.
    std::array<QLineEdit *, 7> fields() const;
    void setTexts(const numbers::FeeTexts &texts);
    void setTransferBasis(numbers::TransferBasis basis);
    void showTransferUnits();

    QLabel *m_shenzhenLabel = nullptr;
    QLabel *m_shanghaiLabel = nullptr;
    QLabel *m_transferStandard = nullptr;
};

// The line under the basis buttons: today's transfer rate in the unit of the basis.
QString TransferStandardText(numbers::TransferBasis basis);
