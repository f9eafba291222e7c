#include "holdings/holdings_window.h"

#include "holdings/lot_list_view.h"
#include "numbers/entry_messages.h"
#include "numbers/fee_schedule.h"
#include "numbers/number_syntax.h"
#include "settings/settings_in_force.h"
#include "widgets/gap_label.h"
#include "widgets/key_filters.h"
#include "widgets/message_box.h"
#include "widgets/pictures.h"
#include "widgets/speed_button.h"

#include <QStyle>

#include <algorithm>

namespace {

const QColor kBackground(176, 211, 225);

// The fee rates in force when a reference cost is computed; none when a rate text does not
// parse, which gives reference costs of 0.
std::optional<numbers::FeeSchedule> FeesInForce(const settings::InForce &inForce) {
    return inForce.fees().schedule;
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

}  // namespace

TForm4::TForm4(holdings::Book *book, const settings::InForce &inForce) : m_book(book) {
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
    SellButton = Button(QStringLiteral("卖出"), Panel1, QRect(276, 3, 54, 24));
    AdjustButton = Button(QStringLiteral("除权除息"), Panel1, QRect(334, 3, 78, 24));
    JournalButton = Button(QStringLiteral("交易记录"), Panel1, QRect(416, 3, 80, 24));

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

    Lots = new LotListModel(
        m_book, [&inForce] { return FeesInForce(inForce); }, this);
    ListView1 = new QTableView(Panel2);
    ListView1->setModel(Lots);
    ListView1->setGeometry(0, 24, 490, 198);
    SetUpLotListView(ListView1, widths);
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

    const std::pair<QPushButton *, void (TForm4::*)()> handlers[] = {
        {SpeedButton1, &TForm4::SpeedButton1Click},
        {SpeedButton3, &TForm4::SpeedButton3Click},
        {SpeedButton4, &TForm4::SpeedButton4Click},
        {SpeedButton5, &TForm4::SpeedButton5Click},
        {SpeedButton6, &TForm4::SpeedButton6Click},
        {SpeedButton8, &TForm4::SpeedButton8Click},
        {SpeedButton9, &TForm4::SpeedButton9Click},
        {SpeedButton10, &TForm4::SpeedButton10Click},
        {SpeedButton1010, &TForm4::SpeedButton1010Click},
        {SpeedButton11, &TForm4::liveFiguresRequested},
        {SellButton, &TForm4::sellClick},
        {AdjustButton, &TForm4::adjustClick},
        {JournalButton, &TForm4::journalRequested}};
    for (const auto &[button, handler] : handlers) {
        connect(button, &QPushButton::clicked, this, handler);
    }
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
    CentreWhenFirstShown(this);
}

void TForm4::LoadHoldings() {
    const bool hadSelection = selectedRow() >= 0;
    {
        const QSignalBlocker blocker(ListView1->selectionModel());
        if (!m_book->load()) {
            return;
        }
    }
    if (m_book->unreadable() > 0) {
        messages::Show(this, numbers::UnreadableLotsMessage(static_cast<int>(m_book->unreadable())),
                       QStringLiteral("提示"), messages::Icon::Warning);
    }
    if (hadSelection && !m_editing) {
        ListView1SelectItem();  // the removed selection empties the fields
    }
    showLoaded();
}

void TForm4::showLoaded() {
    if (m_editing) {
        // The typed lot stays in the fields; the lot being modified stays selected.
        if (const int row = Lots->rowOfLot(m_modified);
            m_editMode == EditMode::Modifying && row >= 0) {
            const QSignalBlocker blocker(ListView1->selectionModel());
            selectRow(row);
        }
        return;  // the list cannot take the focus while a lot is edited
    }
    ListView1->setFocus();
    if (Lots->rowCount() > 0) {
        selectRow(0);
    }
}

void TForm4::ListView1SelectItem() {
    const int row = selectedRow();
    if (row < 0) {
        Edit1->clear();
        SpinEdit1->clear();
        SpinEdit2->setText(QStringLiteral("100"));
        return;
    }
    showRow(row);
}

void TForm4::showRow(int row) {
    SpinEdit1->setText(Lots->text(row, LotListModel::kCode));
    Edit1->setText(Lots->text(row, LotListModel::kPrice));
    SpinEdit2->setText(Lots->text(row, LotListModel::kQuantity));
}

void TForm4::ListView1DblClick() {
    const int selected = selectedRow();
    if (selected < 0) {
        return;
    }
    Lots->checkOnly(Lots->lot(selected).code);
}

void TForm4::SpeedButton8Click() {
    Lots->checkOnly(std::nullopt);
}
