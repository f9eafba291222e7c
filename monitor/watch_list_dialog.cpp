#include "monitor/watch_list_dialog.h"

#include "monitor/monitor_window.h"
#include "monitor/watch_entry.h"
#include "storage/watch_list_store.h"
#include "widgets/fonts.h"
#include "widgets/key_filters.h"
#include "widgets/message_box.h"
#include "widgets/speed_button.h"
#include "widgets/tool_window.h"

#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QShowEvent>
#include <QWheelEvent>

namespace {

const QColor kDialogColour(210, 233, 255);

// Rows stand in the order of their codes, compared as the locale compares text.
class CodeItem final : public QTableWidgetItem {
public:
    using QTableWidgetItem::QTableWidgetItem;
    bool operator<(const QTableWidgetItem &other) const override {
        return QString::localeAwareCompare(text(), other.text()) < 0;
    }
};

void SetFieldBackground(QLineEdit *field, const QColor &colour) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, colour);
    field->setPalette(palette);
}

}  // namespace

TSeeDlg::TSeeDlg(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
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
    const char16_t *headers[] = {u"股票代码 ", u"股票名称", u"警报上限价格", u"警报下限价格"};
    const int widths[] = {98, 120, 120, 120};
    int left = 10;
    for (int i = 0; i < 4; ++i) {
        auto *header = new QLabel(QString::fromUtf16(headers[i]), this);
        header->setAlignment(Qt::AlignCenter);
        header->setGeometry(left, 84, widths[i], 20);
        left += widths[i];
        auto *bevel = new QFrame(this);
        bevel->setFrameShape(QFrame::VLine);
        bevel->setFrameShadow(QFrame::Sunken);
        bevel->setGeometry(left - 1, 84, 2, 20);
    }
    // The headers are hidden before there are columns: a visible header would measure its
    // sections in a bold face, loading a font file the program never shows.
    ListView1 = new QTableWidget(this);
    ListView1->setGeometry(8, 106, 462, 172);
    ListView1->horizontalHeader()->hide();
    ListView1->verticalHeader()->hide();
    ListView1->setColumnCount(5);
    ListView1->verticalHeader()->setDefaultSectionSize(22);
    for (int i = 0; i < 4; ++i) {
        ListView1->setColumnWidth(i, widths[i]);
    }
    ListView1->setColumnHidden(4, true);  // the identity rides along unseen
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
    ListView1->viewport()->installEventFilter(this);
    connect(ListView1, &QTableWidget::itemSelectionChanged, this, &TSeeDlg::ListView1SelectItem);

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

    SetBrowsingState();
}

int TSeeDlg::selectedRow() const {
    const QList<QTableWidgetSelectionRange> ranges = ListView1->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.first().topRow();
}

void TSeeDlg::setRow(int row, const QStringList &texts) {
    for (int column = 0; column < texts.size(); ++column) {
        QTableWidgetItem *item = ListView1->item(row, column);
        if (item == nullptr) {
            item = column == 0 ? new CodeItem() : new QTableWidgetItem();
            ListView1->setItem(row, column, item);
        }
        item->setText(texts[column]);
    }
}

void TSeeDlg::selectItem(QTableWidgetItem *caption) {
    ListView1->sortItems(0);
    const int row = ListView1->row(caption);
    ListView1->setCurrentCell(row, 0);
    ListView1->selectRow(row);
}

void TSeeDlg::LoadWatchList() {
    ListView1->clearSelection();
    ListView1->setRowCount(0);
    const QList<storage::WatchEntry> entries = storage::LoadWatchList(storage::Database());
    for (const storage::WatchEntry &entry : entries) {
        const int row = ListView1->rowCount();
        ListView1->insertRow(row);
        setRow(row, {entry.code, entry.name, entry.upper, entry.lower, entry.identity});
    }
    ListView1->sortItems(0);
    ListView1->setFocus();
    if (ListView1->rowCount() > 0) {
        ListView1->setCurrentCell(0, 0);
        ListView1->selectRow(0);
    }
}

void TSeeDlg::ListView1SelectItem() {
    const int row = selectedRow();
    QLineEdit *fields[] = {SpinEdit1, Edit3, Edit1, Edit2};
    for (int column = 0; column < 4; ++column) {
        const QTableWidgetItem *item = row >= 0 ? ListView1->item(row, column) : nullptr;
        fields[column]->setText(item != nullptr ? item->text() : QString());
    }
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
    QTableWidgetItem *caption = nullptr;
    if (m_editMode == EditMode::Adding) {
        const std::optional<storage::WatchEntry> entry = storage::AddWatchEntry(
            database, SpinEdit1->text(), Edit3->text(), check.upper, check.lower);
        if (!entry) {
            return;
        }
        const int row = ListView1->rowCount();
        ListView1->insertRow(row);
        setRow(row, {entry->code, entry->name, entry->upper, entry->lower, entry->identity});
        caption = ListView1->item(row, 0);
    } else {
        const int row = selectedRow();
        if (row < 0 ||
            !storage::UpdateWatchEntry(database, ListView1->item(row, 4)->text(), SpinEdit1->text(),
                                       Edit3->text(), check.upper, check.lower)) {
            return;
        }
        // The row shows the prices as typed until the list is next loaded.
        setRow(row, {SpinEdit1->text(), Edit3->text(), Edit1->text(), Edit2->text()});
        caption = ListView1->item(row, 0);
    }
    selectItem(caption);
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
    if (!storage::RemoveWatchEntry(storage::Database(), ListView1->item(row, 4)->text())) {
        return;
    }
    ListView1->removeRow(row);
    if (ListView1->rowCount() > 0) {
        // The row that took the deleted one's place, or the new last row.
        const int next = std::min(row, ListView1->rowCount() - 1);
        ListView1->setCurrentCell(next, 0);
        ListView1->selectRow(next);
        ListView1->setFocus();
    } else {
        ListView1->clearSelection();
    }
}

void TSeeDlg::SetEditingState() {
    ListView1->setEnabled(false);
    for (QPushButton *button : {SpeedButton1, SpeedButton3, SpeedButton6}) {
        button->setEnabled(false);
    }
    SpeedButton4->setEnabled(true);
    SpeedButton5->setEnabled(true);
    Panel3->setEnabled(true);
    for (QLineEdit *field : {SpinEdit1, Edit3, Edit1, Edit2}) {
        SetFieldBackground(field, QApplication::palette().color(QPalette::Base));
    }
    SpinEdit1->setFocus();
}

void TSeeDlg::SetBrowsingState() {
    ListView1->setEnabled(true);
    for (QPushButton *button : {SpeedButton1, SpeedButton3, SpeedButton6}) {
        button->setEnabled(true);
    }
    SpeedButton4->setEnabled(false);
    SpeedButton5->setEnabled(false);
    Panel3->setEnabled(false);
    for (QLineEdit *field : {SpinEdit1, Edit3, Edit1, Edit2}) {
        SetFieldBackground(field, kDialogColour);
    }
}

void TSeeDlg::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) {
        return;  // the window manager restoring it is no new showing
    }
    LoadWatchList();
    if (TForm10::instance) {
        TForm10::instance->close();
    }
}

void TSeeDlg::FormClose() {
    if (ListView1->rowCount() == 0) {
        return;
    }
    if (!CheckBox1->isChecked()) {
        if (TForm10::instance) {
            TForm10::instance->close();
        }
        return;
    }
    StartMonitoring();
}

bool TSeeDlg::StartMonitoring() {
    if (ListView1->rowCount() == 0) {
        return false;
    }
    if (TForm10::instance) {
        TForm10::instance->close();
    }
    TForm10 *monitor = TForm10::Open();
    for (int row = 0; row < ListView1->rowCount(); ++row) {
        monitor->AddRow(ListView1->item(row, 0)->text(), ListView1->item(row, 1)->text(),
                        ListView1->item(row, 2)->text(), ListView1->item(row, 3)->text());
    }
    monitor->StartMonitoring();
    return true;
}

void TSeeDlg::ShowMonitor(QWidget *owner) {
    if (isVisible()) {
        messages::Show(owner, QStringLiteral("[股票价格监控设置]窗口运行中!请先退出."),
                       QStringLiteral("提示"), messages::Icon::Error);
        return;
    }
    if (!CheckBox1->isChecked()) {
        messages::Show(owner, QStringLiteral("股价监控功能没有启用!"), QStringLiteral("提示"),
                       messages::Icon::Error);
        return;
    }
    if (TForm10::instance) {
        FocusWindow(TForm10::instance);
        return;
    }
    // The switch is on but nothing is watched (the list was empty when the dialog closed,
    // or the monitor was closed otherwise): start from the list, or say why there is none.
    if (!StartMonitoring()) {
        messages::Show(owner, QStringLiteral("监控列表中没有股票!请先在[股票价格监控设置]中添加."),
                       QStringLiteral("提示"), messages::Icon::Information);
    }
}

bool TSeeDlg::eventFilter(QObject *watched, QEvent *event) {
    if (watched == ListView1->viewport() && event->type() == QEvent::Wheel) {
        // Each wheel step moves the selection one row; the wheel alone never scrolls.
        const int distance = static_cast<QWheelEvent *>(event)->angleDelta().y();
        if (selectedRow() >= 0 && distance != 0) {
            const bool towardsUser = distance < 0;
            QKeyEvent key(QEvent::KeyPress, towardsUser ? Qt::Key_Down : Qt::Key_Up,
                          Qt::NoModifier);
            QApplication::sendEvent(ListView1, &key);
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
