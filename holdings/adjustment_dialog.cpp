#include "holdings/adjustment_dialog.h"

#include "widgets/key_filters.h"
#include "widgets/message_box.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AdjustmentDialog::AdjustmentDialog(holdings::TradeJournal *journal, const QString &code,
                                   QWidget *parent)
    : QDialog(parent), m_journal(journal), m_code(code) {
    setWindowTitle(QStringLiteral("除权除息"));
    auto *form = new QFormLayout;
    CodeEdit = new QLineEdit(code, this);
    CodeEdit->setReadOnly(true);
    DayEdit = new QLineEdit(journal->today(), this);
    CashEdit = new QLineEdit(this);
    SharesEdit = new QLineEdit(this);
    InstallDecimalKeyFilter(CashEdit);
    InstallDecimalKeyFilter(SharesEdit);
    form->addRow(QStringLiteral("代码"), CodeEdit);
    form->addRow(QStringLiteral("日期"), DayEdit);
    form->addRow(QStringLiteral("每10股派息(元,税前)"), CashEdit);
    form->addRow(QStringLiteral("每10股送转(股)"), SharesEdit);
    auto *note = new QLabel(
        QStringLiteral("调整该代码的全部持仓：数量按送转增加(不足1股舍去)，价格扣除派息。\n"
                       "红利税按持股期限在卖出时由券商扣收，这里不计算。"),
        this);
    note->setWordWrap(true);
    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    Buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    Buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(Buttons);
    connect(Buttons, &QDialogButtonBox::accepted, this, &AdjustmentDialog::confirm);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    CashEdit->setFocus();
}

void AdjustmentDialog::confirm() {
    const holdings::TradeJournal::Result result =
        m_journal->adjust(m_code, CashEdit->text(), SharesEdit->text(), DayEdit->text());
    if (result.done()) {
        accept();
        return;
    }
    if (result.outcome == storage::Outcome::Conflict) {
        messages::Show(this, result.message, QStringLiteral("提示"), messages::Icon::Information);
        reject();
        return;
    }
    messages::ShowInputError(this, result.message);
}
