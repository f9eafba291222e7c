#pragma once
// TSeeDlg: the watch-list settings. Keeps the watched stocks with their alarm band in table
// KSEE and carries the monitoring switch; closing it starts the monitor.

#include "monitor/watch_list_model.h"
#include "widgets/list_editor.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

class TSeeDlg final : public QDialog {
    Q_OBJECT
public:
    explicit TSeeDlg(QWidget *parent = nullptr);

    enum class EditMode { Adding, Modifying };

    QWidget *Panel3;            // the entry panel
    QLineEdit *SpinEdit1;       // code
    QLineEdit *Edit3;           // name
    QLineEdit *Edit1;           // upper alarm price
    QLineEdit *Edit2;           // lower alarm price
    QTableView *ListView1;      // code, name, upper, lower
    WatchListModel *Entries;    // the rows of ListView1
    QCheckBox *CheckBox1;       // 启用监控
    QPushButton *SpeedButton1;  // 新增
    QPushButton *SpeedButton3;  // 修改
    QPushButton *SpeedButton4;  // 保存
    QPushButton *SpeedButton5;  // 取消
    QPushButton *SpeedButton6;  // 删除
    QPushButton *SpeedButton2;  // 退  出
    QLabel *Label5;             // the note in red

    void LoadWatchList();
    void ListView1SelectItem();
    void SpeedButton1Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton6Click();
    void SetEditingState();
    void SetBrowsingState();
    // Runs whenever the dialog closes, by its button, its close box or Escape.
    void FormClose();

    // Builds a new monitor window from the list. False when the list is empty.
    bool StartMonitoring();

    // The tray's "查看监控股票价格": refuses while the dialog is open or the switch is off;
    // otherwise shows the monitor, or starts one from the list when there is none.
    void ShowMonitor(QWidget *owner);

protected:
    void showEvent(QShowEvent *event) override;

private:
    int selectedRow() const;
    // An entry changed or gone elsewhere (`outcome` Conflict or NoSuchRow): says so, ends any
    // edit, reloads and selects the entry if it is still there. False for other outcomes.
    bool ReloadIfChangedElsewhere(storage::Outcome outcome, qint64 identity);

    EditMode m_editMode = EditMode::Adding;
    EditStates m_states;
};
