#pragma once
// The dialog "除权除息": a dividend and bonus issue applied to every lot of one code.

#include "holdings/trade_journal.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>

class AdjustmentDialog final : public QDialog {
    Q_OBJECT
public:
    AdjustmentDialog(holdings::TradeJournal *journal, const QString &code,
                     QWidget *parent = nullptr);

    QLineEdit *CodeEdit;
    QLineEdit *DayEdit;
    QLineEdit *CashEdit;    // 每10股派息
    QLineEdit *SharesEdit;  // 每10股送转
    QDialogButtonBox *Buttons;

    void confirm();

private:
    holdings::TradeJournal *m_journal;
    QString m_code;
};
