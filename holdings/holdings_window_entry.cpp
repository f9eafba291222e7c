// The holdings manager's entry panel and buttons: adding, modifying, deleting and merging lots,
// the combined cost, and the journal's sale and adjustment.
#include "holdings/holdings_window.h"

#include "holdings/adjustment_dialog.h"
#include "holdings/sell_dialog.h"
#include "numbers/number_syntax.h"
#include "widgets/message_box.h"

#include <algorithm>

namespace {

void ShowMessage(QWidget *owner, const holdings::Message &message) {
    messages::Show(owner, message.text, message.caption, messages::Icon::Error);
}

}  // namespace

void TForm4::SpeedButton1Click() {
    m_editMode = EditMode::Adding;
    Label5->setText(QStringLiteral("(新增股票)"));
    SpinEdit1->clear();
    Edit1->clear();
    SpinEdit2->clear();
    SetEditingState();
    SpinEdit1->setFocus();
}

void TForm4::SpeedButton3Click() {
    if (selectedRow() < 0) {
        return;
    }
    Label5->setText(QStringLiteral("(修改股票)"));
    m_editMode = EditMode::Modifying;
    m_modified = Lots->identityAt(selectedRow());
    ListView1SelectItem();  // the fields start from the lot as the list shows it
    SetEditingState();
    SpinEdit1->setFocus();
}

void TForm4::SpeedButton5Click() {
    Label5->clear();
    SetBrowsingState();
    if (const int row = selectedRow(); row >= 0) {
        showRow(row);
        ListView1->setFocus();
    }
}

void TForm4::SpeedButton4Click() {
    Edit1->setText(numbers::NormaliseDecimalText(Edit1->text()));
    const holdings::LotInput input{SpinEdit1->text(), Edit1->text(), SpinEdit2->text()};
    const holdings::LotValidation checked = holdings::ValidateLot(input);
    if (!checked.lot) {
        messages::ShowInputError(this, checked.error);
        return;
    }
    holdings::Lot lot = *checked.lot;
    qint64 identity = 0;
    if (m_editMode == EditMode::Modifying) {
        // A price left as the list shows it keeps the lot's own, which the list may show
        // rounded to the li (a merged lot's exact average).
        const int row = Lots->rowOfLot(m_modified);
        if (row >= 0 && input.priceText == Lots->text(row, LotListModel::kPrice)) {
            lot.price = Lots->lot(row).price;
        }
        if (!answered(m_book->save(m_modified, lot), m_modified)) {
            return;  // the typed values stay in the fields
        }
        identity = m_modified;
        Lots->showTyped(identity, input.priceText, input.quantityText);
    } else {
        if (m_journal) {
            // The lot and its 买入 row go in together; the book reads the lots again.
            const holdings::TradeJournal::Result result = m_journal->buy(lot);
            if (!result.done()) {
                messages::Show(this, result.message, QStringLiteral("提示"), messages::Icon::Error);
                return;
            }
            identity = result.booked.front().lot;
        } else {
            const holdings::BookOutcome outcome = m_book->add(lot);
            if (!answered(outcome, 0)) {
                return;
            }
            identity = outcome.identity;
        }
    }
    selectRow(Lots->rowOfLot(identity));
    SpeedButton5Click();
}

void TForm4::SpeedButton6Click() {
    const int row = selectedRow();
    if (row < 0) {
        return;
    }
    if (messages::Show(this, QStringLiteral("你确定要删除这条股票记录吗?"), QStringLiteral("提示"),
                       messages::Icon::Information,
                       messages::Buttons::YesNo) != messages::Answer::Yes) {
        return;
    }
    const qint64 identity = Lots->identityAt(row);
    if (!answered(m_book->remove(identity), identity)) {
        return;  // a lot that could not be deleted keeps its row
    }
    if (Lots->rowCount() == 0) {
        ListView1->clearSelection();
        ListView1SelectItem();
        return;
    }
    selectRow(std::min(row, Lots->rowCount() - 1));  // the row that took its place
    ListView1->setFocus();
}

void TForm4::SpeedButton1010Click() {
    const holdings::CombinedCost cost = holdings::CombineCheckedLots(Lots->checkedLots());
    Edit4->setText(cost.code);
    Edit5->setText(cost.quantityText);
    Edit2->setText(cost.averageText);
    Edit3->setText(cost.breakEvenText);
    if (cost.message) {
        ShowMessage(this, *cost.message);
    }
}

void TForm4::SpeedButton9Click() {
    const QList<qint64> merged = Lots->checkedIdentities();
    const int selected = selectedRow();
    const qint64 selectedLot = selected >= 0 ? Lots->identityAt(selected) : 0;
    holdings::BookOutcome outcome;
    {
        // The selection is placed once, after the rows have gone.
        const QSignalBlocker blocker(ListView1->selectionModel());
        outcome = m_book->merge(merged);
        if (outcome.done() && selected >= 0) {
            selectRow(
                Lots->rowOfLot(merged.contains(selectedLot) ? outcome.identity : selectedLot));
        }
    }
    if (!answered(outcome, merged.isEmpty() ? 0 : merged.front())) {
        return;
    }
    ListView1SelectItem();  // the panel shows the merged lot, never the lot before the merge
}

bool TForm4::answered(const holdings::BookOutcome &outcome, qint64 identity) {
    if (outcome.done()) {
        return true;
    }
    if (outcome.message) {
        messages::Show(this, outcome.message->text, outcome.message->caption,
                       outcome.kind == holdings::BookOutcome::Kind::ChangedElsewhere
                           ? messages::Icon::Information
                           : messages::Icon::Error);
    }
    if (outcome.kind != holdings::BookOutcome::Kind::ChangedElsewhere) {
        return false;  // nothing written; an edit stays as typed
    }
    Label5->clear();
    SetBrowsingState();
    showLoaded();
    if (const int row = Lots->rowOfLot(identity); row >= 0) {
        selectRow(row);
    }
    return false;
}

void TForm4::SpeedButton10Click() {
    SpeedButton1010Click();
    if (Edit4->text().isEmpty()) {
        messages::Show(this, QStringLiteral("请选择相应的股票!"), QStringLiteral("提示"),
                       messages::Icon::Information);
        return;
    }
    emit profitTableRequested(Edit2->text(), Edit3->text(), Edit5->text(), Edit4->text());
}

void TForm4::setJournal(holdings::TradeJournal *journal) {
    m_journal = journal;
}

void TForm4::sellClick() {
    const int row = selectedRow();
    if (row < 0 || !m_journal) {
        messages::Show(this, QStringLiteral("请选择要卖出的股票!"), QStringLiteral("提示"),
                       messages::Icon::Information);
        return;
    }
    const qint64 identity = Lots->lot(row).identity;
    SellDialog dialog(m_journal, Lots->lot(row), this);
    if (dialog.exec() == QDialog::Accepted) {
        if (const int left = Lots->rowOfLot(identity); left >= 0) {
            selectRow(left);
        }
    }
    ListView1SelectItem();
}

void TForm4::adjustClick() {
    const int row = selectedRow();
    if (row < 0 || !m_journal) {
        messages::Show(this, QStringLiteral("请选择要除权除息的股票!"), QStringLiteral("提示"),
                       messages::Icon::Information);
        return;
    }
    AdjustmentDialog dialog(m_journal, Lots->lot(row).code, this);
    dialog.exec();
    ListView1SelectItem();
}
