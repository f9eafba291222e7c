#pragma once
// The dialog "卖出": selling part or all of one lot at a price and on a day, with the sell fees
// and the realized profit shown as the trader types.

#include "holdings/trade_journal.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>

class SellDialog final : public QDialog {
    Q_OBJECT
public:
    SellDialog(holdings::TradeJournal *journal, const storage::HoldingLot &lot,
               QWidget *parent = nullptr);

    QLineEdit *CodeEdit;
    QLineEdit *HeldEdit;
    QLineEdit *PriceEdit;
    QLineEdit *QuantityEdit;
    QLineEdit *DayEdit;
    QLabel *FeesLabel;    // the sell fees
    QLabel *ProfitLabel;  // 实现盈亏
    QDialogButtonBox *Buttons;

    // "确定": books the sale, or says why not and keeps the dialog.
    void confirm();

private:
    void showFigures();

    holdings::TradeJournal *m_journal;
    storage::HoldingLot m_lot;
};
