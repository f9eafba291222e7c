#pragma once
// TForm4: the holdings manager. Bought lots in a checkable list with their reference cost,
// edited in the panel above it, merged and summed by the buttons around it.

#include "holdings/holding_figures.h"
#include "holdings/lot_list_model.h"
#include "widgets/list_editor.h"
#include "widgets/spin_edit.h"
#include "widgets/title_panel.h"
#include "widgets/tool_window.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

class TForm4 final : public ToolWindowOf<TForm4> {
    Q_OBJECT
public:
    TForm4();

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
    LotListModel *Lots;         // the rows of ListView1
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

    // Replaces the list with the lots of the database; a failed read leaves it as it is.
    void LoadHoldings();

    bool isEditing() const { return m_editing; }
    EditMode editMode() const { return m_editMode; }

    // The row's texts, and whether it is checked.
    holdings::LotRow rowAt(int row) const;
    bool isChecked(int row) const;
    void setChecked(int row, bool checked);
    int selectedRow() const;

    void SetEditingState();
    void SetBrowsingState();
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

signals:
    // "实时盈亏" was pressed: the live figures of the holdings are asked for.
    void liveFiguresRequested();

private:
    void selectRow(int row);
    QList<int> checkedRows() const;
    QList<holdings::LotRow> rowsAt(const QList<int> &rows) const;
    int rowOfLot(qint64 identity) const;

    bool m_editing = false;
    EditMode m_editMode = EditMode::Adding;
    storage::HoldingLot m_modified;  // the record a modify rewrites, as its row held it
    EditStates m_states;
};
