#include "calc/full_difference_window.h"

#include "calc/compact_difference_window.h"

#include <QLabel>
#include <QStyle>

TForm2::TForm2(const settings::InForce &inForce) : DifferenceWindow(inForce) {
    setWindowTitle(QStringLiteral("股票差价计算器"));
    SetBackground(this, QColor(176, 211, 225));
    resize(448, 270);

    Panel1 = new TitlePanel(QStringLiteral("股票差价计算器"), this);
    SpeedButton2 = Panel1->addButton(style()->standardIcon(QStyle::SP_TitleBarCloseButton),
                                     QStringLiteral("关闭窗口"));
    SpeedButton3 = Panel1->addButton(style()->standardIcon(QStyle::SP_TitleBarNormalButton),
                                     QStringLiteral("简略窗口"));
    addDragHandle(Panel1);
    addDragHandle(Panel1->title());

    const auto input = [this](const QString &text, QWidget *field, int top) {
        auto *label = new QLabel(text, this);
        label->setGeometry(10, top, 168, 24);
        field->setParent(this);
        field->setGeometry(176, top, 84, 24);
    };
    input(QStringLiteral("买入价格               （元）"), Edit1, 44);
    input(QStringLiteral("卖出价格              （元）"), Edit2, 80);
    input(QStringLiteral("股票数量               （股）"), SpinEdit1, 116);
    input(QStringLiteral("股票交易所"), ComboBox1, 152);
    // In the free row under the exchange: the class completes it.
    input(QStringLiteral("证券品种"), ClassBox, 188);

    GroupBox1 = new QGroupBox(QStringLiteral("交易费用列表（单位：元）"), this);
    GroupBox1->setGeometry(268, 34, 172, 186);
    const struct {
        const char16_t *label;
        QLineEdit *field;
    } fees[] = {{u"购入交印花税 ", Edit4}, {u"卖出交印花税", Edit5}, {u"购入交手续费", Edit6},
                {u"卖出交手续费", Edit7},  {u"过 户 费", Edit8},     {u"交易费用合计", Edit9}};
    int top = 24;
    for (const auto &fee : fees) {
        auto *label = new QLabel(QString::fromUtf16(fee.label), GroupBox1);
        label->setGeometry(8, top, 88, 22);
        fee.field->setParent(GroupBox1);
        fee.field->setGeometry(96, top, 68, 22);
        top += 26;
    }

    GroupBox2 = new QGroupBox(this);
    GroupBox2->setGeometry(8, 224, 432, 40);
    auto *profitLabel = new QLabel(QStringLiteral("股票实际收益               （元）"), GroupBox2);
    profitLabel->setGeometry(8, 9, 196, 24);
    Edit3->setParent(GroupBox2);
    Edit3->setGeometry(204, 9, 110, 24);
    SpeedButton1 = new QPushButton(QStringLiteral("计算收益"), GroupBox2);
    SpeedButton1->setFocusPolicy(Qt::NoFocus);
    SpeedButton1->setGeometry(332, 6, 92, 30);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, ComboBox1);
    setTabOrder(ComboBox1, ClassBox);
    setTabOrder(ClassBox, Edit4);
    setTabOrder(Edit4, Edit5);
    setTabOrder(Edit5, Edit6);
    setTabOrder(Edit6, Edit7);
    setTabOrder(Edit7, Edit8);
    setTabOrder(Edit8, Edit9);
    setTabOrder(Edit9, Edit3);
    setTabOrder(Edit3, SpinEdit1);

    connect(SpeedButton1, &QPushButton::clicked, this, &TForm2::SpeedButton1Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &TForm2::SpeedButton2Click);
    connect(SpeedButton3, &QPushButton::clicked, this, &TForm2::SpeedButton3Click);
    finishCreation(QSize(448, 270));
}

void TForm2::SpeedButton3Click() {
    switchTo<TForm5>();
}
