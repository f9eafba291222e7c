#include "holdings/sell_dialog.h"

#include "numbers/entry_messages.h"
#include "numbers/number_syntax.h"
#include "widgets/key_filters.h"
#include "widgets/message_box.h"

#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit *Field(QWidget *parent, const QString &text, bool readOnly) {
    auto *field = new QLineEdit(text, parent);
    field->setReadOnly(readOnly);
    field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return field;
}

}  // namespace

SellDialog::SellDialog(holdings::TradeJournal *journal, const storage::HoldingLot &lot,
                       QWidget *parent)
    : QDialog(parent), m_journal(journal), m_lot(lot) {
    setWindowTitle(QStringLiteral("卖出"));
    auto *form = new QFormLayout;
    CodeEdit = Field(this, lot.code, true);
    HeldEdit = Field(this, QString::number(lot.quantity), true);
    PriceEdit = Field(this, QString(), false);
    InstallDecimalKeyFilter(PriceEdit);
    QuantityEdit = Field(this, QString::number(lot.quantity), false);
    InstallDigitKeyFilter(QuantityEdit);
    DayEdit = Field(this, journal->today(), false);
    form->addRow(QStringLiteral("代码"), CodeEdit);
    form->addRow(QStringLiteral("持有数量"), HeldEdit);
    form->addRow(QStringLiteral("卖出价格"), PriceEdit);
    form->addRow(QStringLiteral("卖出数量"), QuantityEdit);
    form->addRow(QStringLiteral("日期"), DayEdit);
    FeesLabel = new QLabel(this);
    ProfitLabel = new QLabel(this);
    form->addRow(QStringLiteral("卖出费用"), FeesLabel);
    form->addRow(QStringLiteral("实现盈亏"), ProfitLabel);
    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    Buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    Buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(Buttons);
    connect(Buttons, &QDialogButtonBox::accepted, this, &SellDialog::confirm);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (QLineEdit *field : {PriceEdit, QuantityEdit}) {
        connect(field, &QLineEdit::textChanged, this, &SellDialog::showFigures);
    }
    showFigures();
    PriceEdit->setFocus();
}

void SellDialog::showFigures() {
    const std::optional<holdings::SaleFigures> figures =
        m_journal->preview(m_lot, PriceEdit->text(), QuantityEdit->text());
    if (!figures) {
        FeesLabel->clear();
        ProfitLabel->clear();
        return;
    }
    const auto amount = numbers::FormatAmount;
    FeesLabel->setText(QStringLiteral("佣金 %1  印花税 %2  过户费 %3")
                           .arg(amount(figures->sell.commission), amount(figures->sell.stamp),
                                amount(figures->sell.transfer)));
    ProfitLabel->setText(amount(figures->profit));
    // Gains red, losses green.
    ProfitLabel->setStyleSheet(figures->profit < 0 ? QStringLiteral("color: green;")
                                                   : QStringLiteral("color: red;"));
}

void SellDialog::confirm() {
    const holdings::TradeJournal::Result result =
        m_journal->sell(m_lot, PriceEdit->text(), QuantityEdit->text(), DayEdit->text());
    if (result.done()) {
        accept();
        return;
    }
    if (result.outcome == storage::Outcome::Conflict ||
        result.outcome == storage::Outcome::NoSuchRow) {
        messages::Show(this, result.message, QStringLiteral("提示"), messages::Icon::Information);
        reject();  // the lot is not what the dialog was opened on
        return;
    }
    messages::ShowInputError(this, result.message);
}
