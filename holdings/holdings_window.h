#pragma once
// TForm4: the holdings manager. Bought lots in a checkable list with their reference cost,
// edited in the panel above it, merged and summed by the buttons around it. The lots are the
// book's; the window shows them and asks the book for every change.

#include "holdings/holding_figures.h"
#include "holdings/lot_list_model.h"
#include "holdings/trade_journal.h"
#include "settings/settings_in_force.h"
#include "widgets/list_editor.h"
#include "widgets/spin_edit.h"
#include "widgets/title_panel.h"
#include "widgets/tool_window.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>

class TForm4 final : public ToolWindowOf<TForm4> {
    Q_OBJECT
public:
    // Shows and asks `book`; reference costs under the fees of `inForce`.
    TForm4(holdings::Book *book, const settings::InForce &inForce);

    enum class EditMode { Adding, Modifying };

    TitlePanel *Panel1;
    QLabel *Label5;             // (新增股票) / (修改股票)
    QPushButton *SpeedButton2;  // close
    QGroupBox *GroupBox2;
    QWidget *Panel3;            // edit panel
    QLineEdit *SpinEdit1;       // code: a plain field of 6 characters
    QLineEdit *Edit1;           // buy price
    SpinEdit *SpinEdit2;        // quantity
    QWidget *Panel2;            // header row and list
    QPushButton *SpeedButton8;  // 去除列表中的选中标志
    QTableView *ListView1;
    LotListModel *Lots;         // the rows of ListView1, a view of the book
    QPushButton *SpeedButton1;  // 新增
    QPushButton *SpeedButton3;  // 修改
    QPushButton *SpeedButton4;  // 保存
    QPushButton *SpeedButton5;  // 取消
    QPushButton *SpeedButton6;  // 删除
    QPushButton *SpeedButton9;  // 合并
    QGroupBox *GroupBox1;
    QPushButton *SpeedButton1010;  // 合并成本价
    QPushButton *SpeedButton10;    // 利润细分表
    QLineEdit *Edit4;              // code
    QLineEdit *Edit5;              // total quantity
    QLineEdit *Edit2;              // average buy price
    QLineEdit *Edit3;              // break-even price
    QPushButton *SpeedButton7;     // 退出
    QPushButton *SpeedButton11;    // 实时盈亏, in the title panel
    QPushButton *SellButton;       // 卖出, in the title panel
    QPushButton *AdjustButton;     // 除权除息, in the title panel
    QPushButton *JournalButton;    // 交易记录, in the title panel

    // The journal that books purchases, sales and adjustments; without one a new lot is
    // added to the book alone and selling and adjusting are not offered.
    void setJournal(holdings::TradeJournal *journal);
    // "卖出": the dialog for the selected lot.
    void sellClick();
    // "除权除息": the dialog for the selected lot's code.
    void adjustClick();

    // Has the book read the lots again; a failed read leaves the list as it is.
    void LoadHoldings();

    bool isEditing() const { return m_editing; }

    bool isChecked(int row) const { return Lots->isChecked(row); }
    void setChecked(int row, bool checked) { Lots->setChecked(row, checked); }
    int selectedRow() const { return SelectedRow(ListView1); }

    void SetEditingState() { m_states.apply(m_editing = true); }
    void SetBrowsingState() { m_states.apply(m_editing = false); }
    void SpeedButton1Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton6Click();
    void SpeedButton8Click();
    void SpeedButton9Click();
    void SpeedButton1010Click();
    void SpeedButton10Click();
    void ListView1SelectItem();
    void ListView1DblClick();
    // The profit table could not show the figures handed to it: average and break-even go.
    void profitTableFailed() {
        Edit2->clear();
        Edit3->clear();
    }

signals:
    // "利润细分表": the combined average price, break-even price and quantity, as shown, and
    // the code whose fees apply.
    void profitTableRequested(const QString &averageText, const QString &costText,
                              const QString &quantityText, const QString &code);
    // "实时盈亏": the live figures of the holdings are asked for.
    void liveFiguresRequested();
    // "交易记录": the journal window is asked for.
    void journalRequested();

private:
    void selectRow(int row) { SelectRow(ListView1, row); }
    // The lot of the row in the edit panel.
    void showRow(int row);
    // What the list does after the book read the lots: the first row selected unless a lot is
    // being edited, which stays selected.
    void showLoaded();
    // Says what the book answered. A lot changed or gone elsewhere ends any edit, and the lot
    // stays selected if it is still there. True when the change was made.
    bool answered(const holdings::BookOutcome &outcome, qint64 identity);

    holdings::Book *m_book;
    QPointer<holdings::TradeJournal> m_journal;
    bool m_editing = false;
    EditMode m_editMode = EditMode::Adding;
    qint64 m_modified = 0;  // the lot a modify rewrites
    EditStates m_states;
};
