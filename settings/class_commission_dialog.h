#pragma once
// The commissions of funds and bonds ("基金、债券手续费"), opened from the fee-rate settings. Its
// six texts are in force as typed, like the fee-rate fields; a blank one is the share's.

#include "numbers/fee_schedule.h"
#include "widgets/speed_button.h"

#include <QDialog>
#include <QLineEdit>

#include <array>

class ClassCommissionDialog final : public QDialog {
    Q_OBJECT
public:
    explicit ClassCommissionDialog(QWidget *parent = nullptr);

    // Fund buy, sell, minimum; bond buy, sell, minimum.
    std::array<QLineEdit *, 6> fields;
    SpeedButton *saveButton;
    SpeedButton *closeButton;

    numbers::ClassCommissionTexts texts() const;
    void setTexts(const numbers::ClassCommissionTexts &texts);

    // Normalises each text that is not blank and reads them in order; the first that is
    // neither blank nor a number is refused with its message and nothing is stored.
    void save();

signals:
    void textsChanged();
};
