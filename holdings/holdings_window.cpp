#include "holdings/holdings_window.h"

#include "calc/profit_table_window.h"
#include "numbers/fee_schedule.h"
#include "numbers/number_syntax.h"
#include "settings/settings_in_force.h"
#include "storage/holdings_store.h"
#include "widgets/gap_label.h"
#include "widgets/key_filters.h"
#include "widgets/message_box.h"
#include "widgets/pictures.h"
#include "widgets/speed_button.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

const QColor kBackground(176, 211, 225);

// The fee rates in force when a reference cost is computed; none when a rate text does not
// parse, which gives reference costs of 0.
std::optional<numbers::FeeSchedule> FeesInForce() {
    return numbers::ReadFeeSchedule(settings::Fees().FeeTexts()).schedule;
}

// The manager's buttons are speed buttons drawn raised.
QPushButton *Button(const QString &caption, QWidget *parent, const QRect &geometry) {
    auto *button = new SpeedButton(caption, parent, geometry);
    button->setFlat(false);
    return button;
}

QLabel *Caption(const QString &text, QWidget *parent, const QRect &geometry) {
    auto *label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

// A read-only summary field laid over a run of blanks of its line.
QLineEdit *Summary(const GapLabel *line, int gap, const QColor &colour) {
    QLineEdit *field = ReadOnlyField(line->parentWidget(), colour);
    field->setGeometry(line->gapRect(gap));
    return field;
}

// Check boxes drawn dark on white on every row, selected or not, so that checked and
// unchecked tell apart whatever the row's colours.
class CheckBoxDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        QStyleOptionViewItem box = option;
        initStyleOption(&box, index);
        if (!box.features.testFlag(QStyleOptionViewItem::HasCheckIndicator)) {
            return;
        }
        const QWidget *widget = option.widget;
        QStyle *style = widget != nullptr ? widget->style() : QApplication::style();
        box.rect = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &box, widget);
        box.state &= ~QStyle::State_Selected;
        box.state |= box.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
        for (const QPalette::ColorGroup group :
             {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            box.palette.setColor(group, QPalette::Base, Qt::white);
            box.palette.setColor(group, QPalette::Window, Qt::white);
            box.palette.setColor(group, QPalette::Text, Qt::black);
            box.palette.setColor(group, QPalette::WindowText, Qt::black);
        }
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, widget);
    }
};

void ShowMessage(QWidget *owner, const holdings::Message &message) {
    messages::Show(owner, message.text, message.caption, messages::Icon::Error);
}

}  // namespace

TForm4::TForm4() {
    setWindowTitle(QStringLiteral("股票管理器"));
    SetBackground(this, kBackground);
    resize(616, 420);

    Panel1 = new TitlePanel(QStringLiteral("股票管理器 "), this);
    SpeedButton2 = Panel1->addButton(style()->standardIcon(QStyle::SP_TitleBarCloseButton),
                                     QStringLiteral("关闭窗口"));
    Label5 = new QLabel(Panel1);
    Label5->setStyleSheet(QStringLiteral("color: lime;"));
    Label5->setFont(Panel1->title()->font());
    Label5->setGeometry(
        32 + Panel1->title()->fontMetrics().horizontalAdvance(Panel1->title()->text()), 0, 140, 30);
    addDragHandle(Panel1);
    addDragHandle(Panel1->title());
    addDragHandle(Label5);
    // In the caption's free stretch, where it moves none of the manager's controls.
    SpeedButton11 = Button(QStringLiteral("实时盈亏"), Panel1, QRect(500, 3, 80, 24));

    GroupBox2 = new QGroupBox(this);
    GroupBox2->setGeometry(4, 32, 608, 274);

    Panel3 = new QWidget(GroupBox2);
    Panel3->setGeometry(6, 8, 500, 34);
    Caption(QStringLiteral("股票代码"), Panel3, QRect(2, 6, 60, 22));
    SpinEdit1 = new QLineEdit(Panel3);
    SpinEdit1->setGeometry(62, 5, 78, 24);
    SpinEdit1->setMaxLength(6);
    InstallDigitKeyFilter(SpinEdit1);
    Caption(QStringLiteral("购入价格(元)"), Panel3, QRect(150, 6, 90, 22));
    Edit1 = new QLineEdit(Panel3);
    Edit1->setGeometry(238, 5, 82, 24);
    InstallDecimalKeyFilter(Edit1);
    Caption(QStringLiteral("购入数量(股)"), Panel3, QRect(330, 6, 90, 22));
    SpinEdit2 = new SpinEdit(Panel3);
    SpinEdit2->setGeometry(418, 5, 80, 24);
    SpinEdit2->setRange(INT32_MIN, INT32_MAX);
    SpinEdit2->setIncrement(100);
    SpinEdit2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SpinEdit2->setText(QStringLiteral("100"));
    SpinEdit2->setStepFallback(100);
    InstallDigitKeyFilter(SpinEdit2);
    KeepReadableWhenDisabled(Panel3);  // on the panel's light blue

    Panel2 = new QWidget(GroupBox2);
    Panel2->setGeometry(6, 46, 490, 222);
    const QList<int> widths = {98, 120, 120, 120};
    AddHeaderStrip(Panel2, {1, 0}, 22,
                   {QStringLiteral("股票代码 "), QStringLiteral("购入价格(元)"),
                    QStringLiteral("购入数量(股)"), QStringLiteral("参考成本价")},
                   widths);
    SpeedButton8 = Button(QString(), Panel2, QRect(462, 0, 26, 22));
    SpeedButton8->setIcon(style()->standardIcon(QStyle::SP_DialogResetButton));
    SpeedButton8->setToolTip(QStringLiteral("去除列表中的选中标志"));

    Lots = new LotListModel(this);
    ListView1 = new QTableView(Panel2);
    ListView1->setModel(Lots);
    ListView1->setGeometry(0, 24, 490, 198);
    ListView1->horizontalHeader()->hide();
    ListView1->verticalHeader()->hide();
    ListView1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ListView1->verticalHeader()->setMinimumSectionSize(22);
    ListView1->verticalHeader()->setDefaultSectionSize(22);
    for (int i = 0; i < 4; ++i) {
        ListView1->setColumnWidth(i, widths[i]);
    }
    ListView1->setShowGrid(true);
    ListView1->setGridStyle(Qt::SolidLine);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setWordWrap(false);
    QPalette listPalette = ListView1->palette();
    listPalette.setColor(QPalette::Base, Qt::black);
    listPalette.setColor(QPalette::Text, Qt::white);
    listPalette.setColor(QPalette::Inactive, QPalette::Highlight,
                         listPalette.color(QPalette::Active, QPalette::Highlight));
    listPalette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                         listPalette.color(QPalette::Active, QPalette::HighlightedText));
    ListView1->setPalette(listPalette);
    ListView1->setStyleSheet(QStringLiteral("QTableView { gridline-color: #808080; }"));
    ListView1->setItemDelegate(new CheckBoxDelegate(ListView1));
    new WheelSteps(ListView1);

    const char16_t *actions[] = {u"新增", u"修改 ", u"保存 ", u"取消", u"删除", u"合并"};
    QPushButton **buttons[] = {&SpeedButton1, &SpeedButton3, &SpeedButton4,
                               &SpeedButton5, &SpeedButton6, &SpeedButton9};
    for (int i = 0; i < 6; ++i) {
        *buttons[i] =
            Button(QString::fromUtf16(actions[i]), GroupBox2, QRect(512, 10 + i * 43, 88, 34));
    }

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setGeometry(4, 308, 608, 106);
    SpeedButton1010 = Button(QStringLiteral("合并成本价"), GroupBox1, QRect(8, 12, 100, 38));
    SpeedButton10 = Button(QStringLiteral("利润细分表"), GroupBox1, QRect(8, 58, 100, 38));
    // Each field lies over the blanks of its line.
    auto *codeLine =
        new GapLabel(QStringLiteral("股票代码                股票数量            股"), GroupBox1);
    codeLine->setGeometry(122, 18, 380, 26);
    Edit4 = Summary(codeLine, 0, Qt::blue);
    Edit5 = Summary(codeLine, 1, Qt::blue);
    auto *priceLine =
        new GapLabel(QStringLiteral("购入均价              元 ,持平价            元"), GroupBox1);
    priceLine->setGeometry(122, 62, 380, 26);
    Edit2 = Summary(priceLine, 0, Qt::red);
    Edit3 = Summary(priceLine, 1, Qt::red);
    SpeedButton7 = Button(QStringLiteral("退出"), GroupBox1, QRect(512, 12, 88, 84));

    connect(SpeedButton1, &QPushButton::clicked, this, &TForm4::SpeedButton1Click);
    connect(SpeedButton3, &QPushButton::clicked, this, &TForm4::SpeedButton3Click);
    connect(SpeedButton4, &QPushButton::clicked, this, &TForm4::SpeedButton4Click);
    connect(SpeedButton5, &QPushButton::clicked, this, &TForm4::SpeedButton5Click);
    connect(SpeedButton6, &QPushButton::clicked, this, &TForm4::SpeedButton6Click);
    connect(SpeedButton8, &QPushButton::clicked, this, &TForm4::SpeedButton8Click);
    connect(SpeedButton9, &QPushButton::clicked, this, &TForm4::SpeedButton9Click);
    connect(SpeedButton1010, &QPushButton::clicked, this, &TForm4::SpeedButton1010Click);
    connect(SpeedButton10, &QPushButton::clicked, this, &TForm4::SpeedButton10Click);
    connect(SpeedButton11, &QPushButton::clicked, this, &TForm4::liveFiguresRequested);
    connect(SpeedButton2, &QPushButton::clicked, this, &QWidget::close);
    connect(SpeedButton7, &QPushButton::clicked, this, &QWidget::close);
    connect(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TForm4::ListView1SelectItem);
    connect(ListView1, &QTableView::doubleClicked, this, &TForm4::ListView1DblClick);

    m_states.addBrowsing({Panel2, SpeedButton1, SpeedButton3, SpeedButton6, SpeedButton9});
    m_states.addEditing({SpeedButton4, SpeedButton5, Panel3});
    m_states.setFields({SpinEdit1, Edit1, SpinEdit2}, kBackground, Qt::white);
    RightAlignPlainEdits(this);
    SetBrowsingState();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
}

holdings::LotRow TForm4::rowAt(int row) const {
    return Lots->row(row);
}

bool TForm4::isChecked(int row) const {
    return Lots->isChecked(row);
}

void TForm4::setChecked(int row, bool checked) {
    Lots->setChecked(row, checked);
}

int TForm4::selectedRow() const {
    return SelectedRow(ListView1);
}

int TForm4::rowOfLot(qint64 identity) const {
    for (int row = 0; row < Lots->rowCount(); ++row) {
        if (rowAt(row).stored.identity == identity) {
            return row;
        }
    }
    return -1;
}

QList<int> TForm4::checkedRows() const {
    QList<int> rows;
    for (int row = 0; row < Lots->rowCount(); ++row) {
        if (isChecked(row)) {
            rows.append(row);
        }
    }
    return rows;
}

void TForm4::selectRow(int row) {
    SelectRow(ListView1, row);
}

void TForm4::LoadHoldings() {
    const std::optional<QList<storage::HoldingLot>> lots = storage::ReadLots(storage::Database());
    if (!lots) {
        return;
    }
    const std::optional<numbers::FeeSchedule> fees = FeesInForce();
    QList<holdings::LotRow> rows;
    rows.reserve(lots->size());
    for (const storage::HoldingLot &lot : *lots) {
        rows.append(holdings::RowOf(lot, fees));
    }
    const bool hadSelection = selectedRow() >= 0;
    {
        const QSignalBlocker blocker(ListView1->selectionModel());
        Lots->setRows(rows);
    }
    if (m_editing) {
        // The typed lot stays in the fields; the lot being modified stays selected.
        if (const int row = rowOfLot(m_modified.identity);
            m_editMode == EditMode::Modifying && row >= 0) {
            const QSignalBlocker blocker(ListView1->selectionModel());
            selectRow(row);
        }
        return;  // the list cannot take the focus while a lot is edited
    }
    if (hadSelection) {
        ListView1SelectItem();  // the removed selection empties the fields
    }
    ListView1->setFocus();
    if (Lots->rowCount() > 0) {
        selectRow(0);
    }
}

void TForm4::SetEditingState() {
    m_editing = true;
    m_states.apply(true);
}

void TForm4::SetBrowsingState() {
    m_editing = false;
    m_states.apply(false);
}

void TForm4::ListView1SelectItem() {
    const int row = selectedRow();
    if (row < 0) {
        Edit1->clear();
        SpinEdit1->clear();
        SpinEdit2->setText(QStringLiteral("100"));
        return;
    }
    const holdings::LotRow texts = rowAt(row);
    SpinEdit1->setText(texts.code);
    Edit1->setText(texts.priceText);
    SpinEdit2->setText(texts.quantityText);
}

void TForm4::ListView1DblClick() {
    const int selected = selectedRow();
    if (selected < 0) {
        return;
    }
    const QString code = rowAt(selected).code;
    for (int row = 0; row < Lots->rowCount(); ++row) {
        setChecked(row, rowAt(row).code == code);
    }
}

void TForm4::SpeedButton8Click() {
    for (int row = 0; row < Lots->rowCount(); ++row) {
        setChecked(row, false);
    }
}

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
    m_modified = rowAt(selectedRow()).stored;
    SetEditingState();
    SpinEdit1->setFocus();
}

void TForm4::SpeedButton5Click() {
    Label5->clear();
    SetBrowsingState();
    const int row = selectedRow();
    if (row < 0) {
        return;
    }
    const holdings::LotRow texts = rowAt(row);
    SpinEdit1->setText(texts.code);
    Edit1->setText(texts.priceText);
    SpinEdit2->setText(texts.quantityText);
    ListView1->setFocus();
}

void TForm4::SpeedButton4Click() {
    Edit1->setText(numbers::NormaliseDecimalText(Edit1->text()));
    const holdings::LotInput input{SpinEdit1->text(), Edit1->text(), SpinEdit2->text()};
    const holdings::LotValidation checked = holdings::ValidateLot(input);
    if (!checked.lot) {
        messages::ShowInputError(this, checked.error);
        return;
    }
    const storage::Database database;
    const std::optional<numbers::FeeSchedule> fees = FeesInForce();
    int row = -1;
    if (m_editMode == EditMode::Modifying) {
        // The lot chosen when the modify began, wherever its row stands now.
        const std::optional<storage::HoldingLot> stored =
            storage::SaveLot(database, m_modified, *checked.lot);
        if (!stored) {
            return;  // nothing was written: stay in the editing state
        }
        holdings::LotRow texts = holdings::RowOf(*stored, fees);
        texts.priceText = input.priceText;  // shown as typed until the next load
        texts.quantityText = input.quantityText;
        const int current = rowOfLot(m_modified.identity);
        row = current >= 0 ? Lots->setRow(current, texts) : Lots->addRow(texts);
    } else {
        const std::optional<storage::HoldingLot> stored =
            storage::InsertLot(database, *checked.lot);
        if (!stored) {
            return;
        }
        row = Lots->addRow(holdings::RowOf(*stored, fees));
    }
    selectRow(row);
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
    if (storage::DeleteLot(storage::Database(), rowAt(row).stored) != storage::Outcome::Done) {
        return;  // a lot that cannot be found or deleted keeps its row
    }
    Lots->removeRow(row);
    if (Lots->rowCount() == 0) {
        ListView1->clearSelection();
        ListView1SelectItem();
        return;
    }
    selectRow(std::min(row, Lots->rowCount() - 1));
    ListView1->setFocus();
}

QList<holdings::LotRow> TForm4::rowsAt(const QList<int> &rows) const {
    QList<holdings::LotRow> texts;
    for (int row : rows) {
        texts.append(rowAt(row));
    }
    return texts;
}

void TForm4::SpeedButton1010Click() {
    const holdings::CombinedCost cost = holdings::CombineCheckedLots(rowsAt(checkedRows()));
    Edit4->setText(cost.code);
    Edit5->setText(cost.quantityText);
    Edit2->setText(cost.averageText);
    Edit3->setText(cost.breakEvenText);
    if (cost.message) {
        ShowMessage(this, *cost.message);
    }
}

void TForm4::SpeedButton9Click() {
    const QList<int> rows = checkedRows();
    const holdings::MergePlan plan = holdings::PlanMerge(rowsAt(rows), FeesInForce());
    if (plan.message) {
        ShowMessage(this, *plan.message);
    }
    if (!plan.survivor) {
        return;
    }
    // All or nothing: the list changes only when the table did.
    const std::optional<storage::HoldingLot> stored = storage::MergeLots(
        storage::Database(), rowAt(rows.front()).stored, *plan.survivor, plan.removedLots);
    if (!stored) {
        return;
    }
    QList<int> removed;
    for (qsizetype position : plan.removedRows) {
        removed.append(rows[position]);
    }
    // A selected row among the removed lets go of the selection once, not row by row.
    const int selected = selectedRow();
    const bool selectionRemoved = removed.contains(selected);
    if (selectionRemoved) {
        const QSignalBlocker blocker(ListView1->selectionModel());
        ListView1->selectionModel()->clear();
    }
    Lots->removeRows(removed);
    holdings::LotRow survivor = plan.survivorRow;
    survivor.stored = *stored;
    const int survivorRow =
        static_cast<int>(rows.front() - std::count_if(removed.begin(), removed.end(),
                                                      [&rows](int r) { return r < rows.front(); }));
    Lots->setRow(survivorRow, survivor);
    if (selectionRemoved) {
        // The row that took the place of the selected one, or the new last row.
        const int before = static_cast<int>(std::count_if(
            removed.begin(), removed.end(), [selected](int r) { return r < selected; }));
        selectRow(std::min(selected - before, Lots->rowCount() - 1));
    }
}

void TForm4::SpeedButton10Click() {
    SpeedButton1010Click();
    if (Edit4->text().isEmpty()) {
        messages::Show(this, QStringLiteral("请选择相应的股票!"), QStringLiteral("提示"),
                       messages::Icon::Information);
        return;
    }
    if (!OpenProfitTable(Edit2->text(), Edit3->text(), Edit5->text(), this)) {
        Edit2->clear();
        Edit3->clear();
    }
}
