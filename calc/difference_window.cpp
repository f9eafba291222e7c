#include "calc/difference_window.h"

#include "numbers/cost_engine.h"
#include "numbers/number_syntax.h"
#include "settings/settings_in_force.h"
#include "widgets/class_box.h"
#include "widgets/key_filters.h"
#include "widgets/message_box.h"
#include "widgets/whole_text.h"

void CreateDifferenceFields(DifferenceFields &f, QWidget *parent) {
    f.Edit1 = new QLineEdit(parent);
    f.Edit2 = new QLineEdit(parent);
    InstallDecimalKeyFilter(f.Edit1);
    InstallDecimalKeyFilter(f.Edit2);
    ShowWholeText(f.Edit1);
    ShowWholeText(f.Edit2);
    f.SpinEdit1 = new SpinEdit(parent);
    f.SpinEdit1->setIncrement(100);
    f.SpinEdit1->setText(QStringLiteral("100"));
    InstallDigitKeyFilter(f.SpinEdit1);
    f.ComboBox1 = new QComboBox(parent);
    f.ComboBox1->addItems({QStringLiteral("深市"), QStringLiteral("泸市")});
    f.ComboBox1->setCurrentIndex(0);
    f.ClassBox = NewClassBox(parent);
    for (QLineEdit **fee : {&f.Edit4, &f.Edit5, &f.Edit6, &f.Edit7, &f.Edit8}) {
        *fee = ReadOnlyField(parent, Qt::black);
    }
    f.Edit9 = ReadOnlyField(parent, QColor(0, 128, 0));
    f.Edit3 = ReadOnlyField(parent, QColor(255, 0, 0), kResultBackground);
}

void CalculateDifference(QWidget *owner, const DifferenceFields &f,
                         const settings::InForce &inForce) {
    const numbers::TradeCalculation result = numbers::CalculateTrade(
        {f.Edit1->text(), f.Edit2->text(), f.SpinEdit1->text(),
         numbers::ExchangeFromIndex(f.ComboBox1->currentIndex()), inForce.fees(),
         numbers::ClassFromIndex(f.ClassBox->currentIndex())});
    f.Edit1->setText(result.buyPriceText);
    f.Edit2->setText(result.sellPriceText);
    if (!result.costs) {
        messages::ShowInputError(owner, result.error);
        return;
    }
    const numbers::TradeCosts &c = *result.costs;
    f.Edit4->setText(numbers::FormatAmount(c.BuyStampTax));
    f.Edit5->setText(numbers::FormatAmount(c.SellStampTax));
    f.Edit6->setText(numbers::FormatAmount(c.BuyCommission));
    f.Edit7->setText(numbers::FormatAmount(c.SellCommission));
    f.Edit8->setText(numbers::FormatAmount(c.TransferFee));
    f.Edit9->setText(numbers::FormatAmount(c.TotalFees));
    f.Edit3->setText(numbers::FormatAmount(c.NetProfit));
}

void CopyDifferenceFields(const DifferenceFields &from, const DifferenceFields &to) {
    for (auto member :
         {&DifferenceFields::Edit1, &DifferenceFields::Edit2, &DifferenceFields::Edit3,
          &DifferenceFields::Edit4, &DifferenceFields::Edit5, &DifferenceFields::Edit6,
          &DifferenceFields::Edit7, &DifferenceFields::Edit8, &DifferenceFields::Edit9}) {
        (to.*member)->setText((from.*member)->text());
    }
    to.SpinEdit1->setText(from.SpinEdit1->text());
    to.ComboBox1->setCurrentIndex(from.ComboBox1->currentIndex());
    to.ClassBox->setCurrentIndex(from.ClassBox->currentIndex());
}
