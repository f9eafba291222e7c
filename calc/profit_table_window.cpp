#include "calc/profit_table_window.h"

#include "calc/profit_table.h"
#include "numbers/fee_schedule.h"
#include "settings/settings_in_force.h"
#include "widgets/class_box.h"
#include "widgets/message_box.h"
#include "widgets/split_label.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace {

SpinEdit *Setting(QWidget *parent) {
    auto *spin = new SpinEdit(parent);
    spin->setRange(1, 100);
    spin->setMaxLength(3);
    return spin;
}

QColor RowColour(calc::RowColour colour) {
    switch (colour) {
        case calc::RowColour::Loss:
            return QColor(0, 128, 0);
        case calc::RowColour::Gain:
            return QColor(255, 0, 0);
        case calc::RowColour::CostPrice:
            break;
    }
    return QColor(0, 0, 0);
}

}  // namespace

TForm9::TForm9(const settings::InForce &inForce) : m_inForce(inForce) {
    setWindowTitle(QStringLiteral("股票利润细分表"));
    SetBackground(this, QColor(176, 211, 225));
    resize(416, 657);

    Panel1 = new TitlePanel(QStringLiteral("股票利润细分表"), this);
    SpeedButton2 = Panel1->addButton(style()->standardIcon(QStyle::SP_TitleBarCloseButton),
                                     QStringLiteral("关闭窗口"));
    addDragHandle(Panel1);
    addDragHandle(Panel1->title());

    // The table on the left, with its column headers drawn as labels above it.
    const char16_t *headers[] = {u"卖出价", u"手续费", u"实际收益"};
    const int widths[] = {60, 70, 90};
    int left = 10;
    for (int i = 0; i < 3; ++i) {
        auto *header = new QLabel(QString::fromUtf16(headers[i]), this);
        header->setAlignment(Qt::AlignCenter);
        header->setGeometry(left, 38, widths[i], 20);
        left += widths[i];
    }
    ListView1 = new QTableWidget(0, 4, this);
    ListView1->setGeometry(8, 60, 244, 560);
    ListView1->setHorizontalHeaderLabels(
        {QStringLiteral(" 卖出价格"), QStringLiteral("手续费"), QStringLiteral("收益"), QString()});
    ListView1->horizontalHeader()->hide();
    ListView1->verticalHeader()->hide();
    // Rows of 22 pixels: the font's own minimum would make them taller.
    ListView1->verticalHeader()->setMinimumSectionSize(22);
    ListView1->verticalHeader()->setDefaultSectionSize(22);
    for (int i = 0; i < 3; ++i) {
        ListView1->setColumnWidth(i, widths[i]);
    }
    ListView1->setColumnHidden(3, true);  // the fee text is kept in the row, not shown
    ListView1->setShowGrid(true);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);

    // The holding's figures, each field laid over the blanks of its label.
    auto *info = new QGroupBox(QStringLiteral("股票信息:"), this);
    info->setGeometry(260, 36, 148, 116);
    const auto figure = [info](const QString &label, int top, bool red) {
        auto *text = new SplitLabel(label, info);
        text->setGeometry(8, top, 132, 24);
        QLineEdit *edit =
            ReadOnlyField(info, red ? QColor(255, 0, 0) : QColor(0, 0, 0), kResultBackground);
        edit->setGeometry(40, top, 78, 24);
        return edit;
    };
    Edit1 = figure(QStringLiteral("均价            元 "), 26, true);
    Edit2 = figure(QStringLiteral("成本            元 "), 55, true);
    Edit3 = figure(QStringLiteral("数量            股"), 84, false);

    auto *step = new QGroupBox(QStringLiteral("差价递增量:"), this);
    step->setGeometry(260, 158, 148, 84);
    RadioButton3 = new QRadioButton(step);
    RadioButton3->setGeometry(10, 26, 20, 22);
    SpinEdit1 = Setting(step);
    SpinEdit1->setGeometry(34, 25, 70, 24);
    (new QLabel(QStringLiteral("分"), step))->setGeometry(110, 26, 30, 22);
    RadioButton4 = new QRadioButton(step);
    RadioButton4->setGeometry(10, 54, 20, 22);
    SpinEdit3 = Setting(step);
    SpinEdit3->setGeometry(34, 53, 70, 24);
    (new QLabel(QStringLiteral("%"), step))->setGeometry(110, 54, 30, 22);
    RadioButton3->setChecked(true);
    SpinEdit1->setValue(1);
    SpinEdit3->setValue(1);

    (new QLabel(QStringLiteral("计算范围:"), this))->setGeometry(262, 250, 70, 24);
    SpinEdit2 = Setting(this);
    SpinEdit2->setGeometry(262, 276, 70, 24);
    SpinEdit2->setValue(10);
    (new QLabel(QStringLiteral("(+/-)"), this))->setGeometry(338, 277, 50, 22);

    auto *exchange = new QGroupBox(this);
    exchange->setGeometry(260, 308, 148, 64);
    RadioButton1 = new QRadioButton(QStringLiteral("深交所"), exchange);
    RadioButton1->setGeometry(10, 8, 120, 22);
    RadioButton2 = new QRadioButton(QStringLiteral("上交所"), exchange);
    RadioButton2->setGeometry(10, 34, 120, 22);
    RadioButton1->setChecked(true);
    // Below the exchange, which it completes: a fund or a bond pays other fees.
    (new QLabel(QStringLiteral("品种:"), this))->setGeometry(262, 380, 44, 24);
    ClassBox = NewClassBox(this);
    ClassBox->setGeometry(308, 380, 90, 24);

    SpeedButton1010 = new QPushButton(QStringLiteral("重新计算"), this);
    SpeedButton1010->setGeometry(272, 540, 124, 32);
    SpeedButton3 = new QPushButton(QStringLiteral("退    出"), this);
    SpeedButton3->setGeometry(272, 584, 124, 32);
    connect(SpeedButton1010, &QPushButton::clicked, this, [this] { FillProfitTable(); });
    connect(SpeedButton2, &QPushButton::clicked, this, &QWidget::close);
    connect(SpeedButton3, &QPushButton::clicked, this, &QWidget::close);

    // 632 pixels tall, and centred vertically in the work area.
    setFixedSize(416, 657 - 25);
    const QRect area = WorkArea();
    move(907, area.isEmpty() ? 0 : area.y() + (area.height() - height()) / 2);
}

bool TForm9::FillProfitTable(bool reportFigures) {
    calc::ProfitTableRequest request;
    request.averageText = Edit1->text();
    request.costText = Edit2->text();
    request.quantityText = Edit3->text();
    request.mode = RadioButton3->isChecked() ? calc::StepMode::Fen : calc::StepMode::Percent;
    request.fenStep = SpinEdit1->value();
    request.percentStep = SpinEdit3->value();
    request.range = SpinEdit2->value();
    request.exchange =
        RadioButton1->isChecked() ? numbers::Exchange::Shenzhen : numbers::Exchange::Shanghai;
    request.fees = m_inForce.fees();
    request.instrument = numbers::ClassFromIndex(ClassBox->currentIndex());
    const calc::ProfitTable table = calc::FillProfitTable(request);

    ListView1->setRowCount(0);
    ListView1->setRowCount(static_cast<int>(table.rows.size()));
    for (int r = 0; r < table.rows.size(); ++r) {
        const calc::ProfitRow &row = table.rows[r];
        const QColor colour = RowColour(calc::ProfitRowColour(row, Edit2->text()));
        const QString texts[] = {row.price, row.totalFees, row.netProfit, row.feeText};
        for (int c = 0; c < 4; ++c) {
            auto *item = new QTableWidgetItem(texts[c]);
            item->setForeground(colour);
            item->setTextAlignment((c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
            ListView1->setItem(r, c, item);
        }
    }
    // A holding figure that stops the fill leaves no rows; a fee rate leaves empty columns.
    if (!table.error.isEmpty() && (reportFigures || !table.rows.isEmpty())) {
        messages::ShowInputError(this, table.error);
    }
    // Rows with empty figures (a fee rate that does not parse) still count as a fill.
    return table.error.isEmpty() || !table.rows.isEmpty();
}

bool OpenProfitTable(const QString &averageText, const QString &costText,
                     const QString &quantityText, const QWidget *holdingsWindow,
                     const settings::InForce &inForce, numbers::InstrumentClass instrument) {
    TForm9 *table = TForm9::Open(inForce);
    table->ClassBox->setCurrentIndex(static_cast<int>(instrument));
    if (holdingsWindow != nullptr) {
        int left = holdingsWindow->x() + holdingsWindow->width() - 100;
        if (const QScreen *screen = holdingsWindow->screen()) {
            const int right = screen->availableGeometry().right() + 1;
            left = std::min(left, right - table->frameGeometry().width());
        }
        table->move(left, table->y());
    }
    table->Edit1->setText(averageText);
    table->Edit2->setText(costText);
    table->Edit3->setText(quantityText);
    return table->FillProfitTable(false);
}
