#include "monitor/watch_list_dialog.h"

#include "monitor/watch_entry.h"
#include "numbers/entry_messages.h"
#include "storage/watch_list_store.h"
#include "widgets/fonts.h"
#include "widgets/key_filters.h"
#include "widgets/message_box.h"
#include "widgets/speed_button.h"
#include "widgets/tool_window.h"

#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QShowEvent>

using namespace Qt::StringLiterals;

namespace {

const QColor kDialogColour(210, 233, 255);

}  // namespace

TSeeDlg::TSeeDlg(monitor::WatchSession *session, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_session(session) {
    setWindowTitle(QStringLiteral("股票价格监控设置"));
    SetFontWhenShown(this, SongTi());
    SetBackground(this, kDialogColour);
    setFixedSize(608, 321);

    Panel3 = new QFrame(this);
    static_cast<QFrame *>(Panel3)->setFrameShape(QFrame::StyledPanel);
    Panel3->setGeometry(8, 6, 592, 70);
    const auto field = [this](const QString &label, int left, int top, int width) {
        auto *text = new QLabel(label, Panel3);
        text->setGeometry(left, top, 90, 24);
        text->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto *edit = new QLineEdit(Panel3);
        edit->setGeometry(left + 96, top, width, 24);
        return edit;
    };
    SpinEdit1 = field(QStringLiteral("股票代码"), 4, 6, 90);
    Edit3 = field(QStringLiteral("股票名称"), 280, 6, 180);
    Edit1 = field(QStringLiteral("上限价格(元)"), 4, 38, 90);
    Edit2 = field(QStringLiteral("下限价格(元)"), 280, 38, 90);
    SpinEdit1->setMaxLength(6);
    Edit3->setMaxLength(10);
    InstallDecimalKeyFilter(Edit1);
    InstallDecimalKeyFilter(Edit2);

    // The list has no header of its own: labels between thin bevels stand in for it.
    const QList<int> widths = {98, 120, 120, 120};
    AddHeaderStrip(this, {10, 84}, 20,
                   {u"股票代码 "_s, u"股票名称"_s, u"警报上限价格"_s, u"警报下限价格"_s}, widths);
    // The headers are hidden before there are columns: a visible header would measure its
    // sections in a bold face, loading a font file the program never shows.
    ListView1 = new QTableView(this);
    ListView1->setGeometry(8, 106, 462, 172);
    ListView1->horizontalHeader()->hide();
    ListView1->verticalHeader()->hide();
    Entries = new WatchListModel(this);
    ListView1->setModel(Entries);
    // Fixed, or the section grows to the font's height once the face is set.
    ListView1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ListView1->verticalHeader()->setMinimumSectionSize(22);
    ListView1->verticalHeader()->setDefaultSectionSize(22);
    // The columns fit beside a vertical scroll bar, as in the monitor: the last one takes what
    // is left, and with nothing to scroll sideways no key can push the code column out of
    // sight.
    FitColumnsBesideScrollBar(ListView1, widths.first(3));
    ListView1->setShowGrid(true);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QPalette listPalette = ListView1->palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        listPalette.setColor(QPalette::Inactive, role, listPalette.color(QPalette::Active, role));
    }
    listPalette.setColor(QPalette::Text, Qt::black);
    ListView1->setPalette(listPalette);
    new WheelSteps(ListView1);
    connect(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TSeeDlg::ListView1SelectItem);

    CheckBox1 = new QCheckBox(QStringLiteral("启用监控"), this);
    CheckBox1->setGeometry(484, 84, 110, 22);
    SpeedButton1 = new SpeedButton(QStringLiteral("新增"), this, QRect(484, 112, 110, 26));
    SpeedButton3 = new SpeedButton(QStringLiteral("修改 "), this, QRect(484, 140, 110, 26));
    SpeedButton4 = new SpeedButton(QStringLiteral("保存 "), this, QRect(484, 168, 110, 26));
    SpeedButton5 = new SpeedButton(QStringLiteral("取消"), this, QRect(484, 196, 110, 26));
    SpeedButton6 = new SpeedButton(QStringLiteral("删除"), this, QRect(484, 224, 110, 26));

    Label5 =
        new QLabel(QStringLiteral("注:本软件的实时股票价格取自新浪网,软件每隔5秒更新一次."), this);
    Label5->setStyleSheet(QStringLiteral("color: red;"));
    Label5->setGeometry(10, 288, 470, 24);
    SpeedButton2 = new SpeedButton(QStringLiteral("退  出"), this, QRect(494, 286, 100, 28));

    connect(SpeedButton1, &QPushButton::clicked, this, &TSeeDlg::SpeedButton1Click);
    connect(SpeedButton3, &QPushButton::clicked, this, &TSeeDlg::SpeedButton3Click);
    connect(SpeedButton4, &QPushButton::clicked, this, &TSeeDlg::SpeedButton4Click);
    connect(SpeedButton5, &QPushButton::clicked, this, &TSeeDlg::SpeedButton5Click);
    connect(SpeedButton6, &QPushButton::clicked, this, &TSeeDlg::SpeedButton6Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &QWidget::close);
    // The close box, Escape and the button all end in finished().
    connect(this, &QDialog::finished, this, &TSeeDlg::FormClose);

    m_states.addBrowsing({ListView1, SpeedButton1, SpeedButton3, SpeedButton6});
    m_states.addEditing({SpeedButton4, SpeedButton5, Panel3});
    KeepReadableWhenDisabled(Panel3);
    m_states.setFields({SpinEdit1, Edit3, Edit1, Edit2}, kDialogColour,
                       QApplication::palette().color(QPalette::Base));
    SetBrowsingState();
}

int TSeeDlg::selectedRow() const {
    return SelectedRow(ListView1);
}

void TSeeDlg::LoadWatchList() {
    int unreadable = 0;
    {
        const QSignalBlocker blocker(ListView1->selectionModel());
        Entries->setEntries(storage::LoadWatchList(storage::Database(), &unreadable));
    }
    if (unreadable > 0) {
        messages::Show(this, numbers::UnreadableWatchEntriesMessage(unreadable),
                       QStringLiteral("提示"), messages::Icon::Warning);
    }
    ListView1SelectItem();
    ListView1->setFocus();
    if (Entries->rowCount() > 0) {
        SelectRow(ListView1, 0);
    }
}

void TSeeDlg::ListView1SelectItem() {
    const int row = selectedRow();
    const storage::WatchEntry entry = row >= 0 ? Entries->entry(row) : storage::WatchEntry();
    SpinEdit1->setText(entry.code);
    Edit3->setText(entry.name);
    Edit1->setText(entry.upper.text);
    Edit2->setText(entry.lower.text);
}

void TSeeDlg::SpeedButton1Click() {
    m_editMode = EditMode::Adding;
    for (QLineEdit *field : {SpinEdit1, Edit1, Edit2, Edit3}) {
        field->clear();
    }
    SetEditingState();
}

void TSeeDlg::SpeedButton3Click() {
    if (selectedRow() < 0) {
        return;
    }
    m_editMode = EditMode::Modifying;
    SetEditingState();
}

void TSeeDlg::SpeedButton4Click() {
    const monitor::WatchEntryCheck check =
        monitor::CheckWatchEntry(SpinEdit1->text(), Edit1->text(), Edit2->text());
    Edit1->setText(check.upperText);
    if (check.lowerText) {
        Edit2->setText(*check.lowerText);
    }
    if (!check.error.isEmpty()) {
        messages::ShowInputError(this, check.error);
        return;
    }
    // A database failure ends the save silently, in the editing state.
    const storage::Database database;
    storage::WatchEntry typed{0,
                              SpinEdit1->text(),
                              storage::CleanName(Edit3->text()),
                              {check.upper, Edit1->text()},
                              {check.lower, Edit2->text()}};
    int row = selectedRow();
    if (m_editMode == EditMode::Adding) {
        const std::optional<storage::WatchEntry> entry = storage::AddWatchEntry(database, typed);
        if (!entry) {
            notWritten(QStringLiteral("保存失败!数据库无法写入。"));
            return;
        }
        row = Entries->addEntry(*entry);
    } else {
        if (row < 0) {
            return;
        }
        // The entry as the row shows it must still be the one stored under its identity.
        const storage::WatchEntry loaded = Entries->entry(row);
        storage::Outcome outcome = storage::Outcome::Failed;
        const std::optional<storage::WatchEntry> stored =
            storage::UpdateWatchEntry(database, loaded, typed, &outcome);
        if (reloadIfChangedElsewhere(outcome, loaded.identity)) {
            return;
        }
        if (!stored) {
            notWritten(QStringLiteral("保存失败!数据库无法写入。"));
            return;
        }
        // The row shows the prices as typed until the list is next loaded.
        row = Entries->setEntry(row, *stored);
    }
    SelectRow(ListView1, row);
    SpeedButton5Click();
}

void TSeeDlg::SpeedButton5Click() {
    SetBrowsingState();
    if (selectedRow() >= 0) {
        ListView1SelectItem();
        ListView1->setFocus();
    }
}

void TSeeDlg::SpeedButton6Click() {
    const int row = selectedRow();
    if (row < 0) {
        return;
    }
    if (messages::Show(this, QStringLiteral("你确定要删除这条记录吗?"), QStringLiteral("提示"),
                       messages::Icon::Information,
                       messages::Buttons::YesNo) == messages::Answer::No) {
        return;
    }
    const storage::WatchEntry loaded = Entries->entry(row);
    const storage::Outcome outcome = storage::RemoveWatchEntry(storage::Database(), loaded);
    if (reloadIfChangedElsewhere(outcome, loaded.identity)) {
        return;
    }
    if (outcome != storage::Outcome::Done) {
        notWritten(QStringLiteral("删除失败!数据库无法写入。"));
        return;
    }
    Entries->removeEntry(row);
    if (Entries->rowCount() > 0) {
        // The row that took the deleted one's place, or the new last row.
        SelectRow(ListView1, std::min(row, Entries->rowCount() - 1));
        ListView1->setFocus();
    } else {
        ListView1->clearSelection();
    }
}

void TSeeDlg::notWritten(const QString &message) {
    // Nothing was written; the typed values stay for another try.
    messages::Show(this, message, QStringLiteral("错误"), messages::Icon::Error);
}

bool TSeeDlg::reloadIfChangedElsewhere(storage::Outcome outcome, qint64 identity) {
    // An entry another program changed or deleted is never overwritten or stored anew.
    if (outcome != storage::Outcome::Conflict && outcome != storage::Outcome::NoSuchRow) {
        return false;
    }
    messages::Show(this, numbers::WatchEntryChangedElsewhereMessage(), QStringLiteral("提示"),
                   messages::Icon::Information);
    SetBrowsingState();
    LoadWatchList();
    for (int row = 0; row < Entries->rowCount(); ++row) {
        if (Entries->entry(row).identity == identity) {
            SelectRow(ListView1, row);
        }
    }
    return true;
}

void TSeeDlg::SetEditingState() {
    m_states.apply(true);
    SpinEdit1->setFocus();
}

void TSeeDlg::SetBrowsingState() {
    m_states.apply(false);
}

void TSeeDlg::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) {
        return;  // the window manager restoring it is no new showing
    }
    CentreOnScreen(this);
    LoadWatchList();
    if (m_session) {
        m_session->stop();
    }
    emit opened();
}

void TSeeDlg::FormClose() {
    if (Entries->rowCount() == 0) {
        return;
    }
    if (!CheckBox1->isChecked()) {
        if (m_session) {
            m_session->stop();
        }
        return;
    }
    startMonitoring();
}

bool TSeeDlg::startMonitoring() {
    if (Entries->rowCount() == 0 || !m_session) {
        return false;
    }
    m_session->start(Entries->entries());
    return true;
}

bool TSeeDlg::showMonitor(QWidget *owner) {
    if (isVisible()) {
        messages::Show(owner, QStringLiteral("[股票价格监控设置]窗口运行中!请先退出."),
                       QStringLiteral("提示"), messages::Icon::Error);
        return false;
    }
    if (!CheckBox1->isChecked()) {
        messages::Show(owner, QStringLiteral("股价监控功能没有启用!"), QStringLiteral("提示"),
                       messages::Icon::Error);
        return false;
    }
    if (m_session && m_session->active()) {
        return true;
    }
    // The switch is on but nothing is watched (the list was empty when the dialog closed,
    // or the monitor was closed otherwise): start from the list, or say why there is none.
    if (!startMonitoring()) {
        messages::Show(owner, QStringLiteral("监控列表中没有股票!请先在[股票价格监控设置]中添加."),
                       QStringLiteral("提示"), messages::Icon::Information);
        return false;
    }
    return true;
}
