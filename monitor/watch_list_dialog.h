#pragma once
// TSeeDlg: the watch-list settings. Keeps the watched stocks with their alarm band in table
// KSEE and carries the monitoring switch; showing it stops the watch session it is handed,
// closing it with the switch on starts it again.

#include "monitor/watch_list_model.h"
#include "monitor/watch_session.h"
#include "widgets/list_editor.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>

class TSeeDlg final : public QDialog {
    Q_OBJECT
public:
    // Without a session the dialog only edits the list.
    explicit TSeeDlg(monitor::WatchSession *session = nullptr, QWidget *parent = nullptr);

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

    // Starts monitoring the list afresh. False when the list is empty.
    bool startMonitoring();

    // The tray's "查看监控股票价格": refuses while the dialog is open or the switch is off;
    // otherwise starts monitoring from the list when none runs. True when monitoring runs
    // and its window is to be shown.
    bool showMonitor(QWidget *owner);

signals:
    // The dialog was shown: monitoring has stopped, and what showed its prices goes.
    void opened();

protected:
    void showEvent(QShowEvent *event) override;

private:
    int selectedRow() const;
    // An entry changed or gone elsewhere (`outcome` Conflict or NoSuchRow): says so, ends any
    // edit, reloads and selects the entry if it is still there. False for other outcomes.
    void notWritten(const QString &message);
    bool reloadIfChangedElsewhere(storage::Outcome outcome, qint64 identity);

    QPointer<monitor::WatchSession> m_session;
    EditMode m_editMode = EditMode::Adding;
    EditStates m_states;
};
