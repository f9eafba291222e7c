#include "calc/average_price_window.h"

#include "calc/average_price.h"
#include "numbers/fee_schedule.h"
#include "settings/settings_in_force.h"
#include "widgets/class_box.h"
#include "widgets/key_filters.h"
#include "widgets/message_box.h"
#include "widgets/pictures.h"
#include "widgets/whole_text.h"

#include <QFrame>
#include <QStyle>

namespace {

void Bevel(QWidget *parent, int left) {
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(left, 3, 3, 55);
}

}  // namespace

TForm6::TForm6(const settings::InForce &inForce) : m_inForce(inForce) {
    setWindowTitle(QStringLiteral("均价计算器"));
    setToolTip(QStringLiteral("均价计算器"));
    SetBackground(this, QColor(166, 202, 240));
    resize(607, 61);

    SpeedButton2 =
        new QPushButton(style()->standardIcon(QStyle::SP_TitleBarCloseButton), QString(), this);
    SpeedButton2->setFlat(true);
    SpeedButton2->setFocusPolicy(Qt::NoFocus);
    SpeedButton2->setToolTip(QStringLiteral("关闭窗口"));
    SpeedButton2->setAccessibleName(SpeedButton2->toolTip());
    SpeedButton2->setGeometry(4, 18, 25, 25);
    Bevel(this, 31);

    ComboBox1 = new QComboBox(this);
    ComboBox1->addItems({QStringLiteral("原  价"), QStringLiteral("成本价")});
    ComboBox1->setGeometry(38, 4, 78, 25);
    Edit1 = new QLineEdit(this);
    Edit1->setGeometry(120, 5, 72, 23);
    ShowWholeText(Edit1);
    Label1 = new QLabel(QStringLiteral("数量"), this);
    Label1->setGeometry(198, 5, 30, 23);
    SpinEdit1 = new SpinEdit(this);
    SpinEdit1->setGeometry(230, 5, 84, 23);
    SpinEdit1->setIncrement(100);
    SpinEdit1->setText(QStringLiteral("100"));

    Label2 = new QLabel(QStringLiteral("新买(卖)价"), this);
    Label2->setGeometry(38, 33, 80, 23);
    Edit2 = new QLineEdit(this);
    Edit2->setGeometry(120, 33, 72, 23);
    ShowWholeText(Edit2);
    Label3 = new QLabel(QStringLiteral("数量"), this);
    Label3->setGeometry(198, 33, 30, 23);
    SpinEdit2 = new SpinEdit(this);
    SpinEdit2->setGeometry(230, 33, 84, 23);
    // Purchases (positive) and sales (negative) alike; the arrows and the pull-back on
    // leaving the field keep it within a million shares either way.
    SpinEdit2->setRange(-1000000, 1000000);
    SpinEdit2->setIncrement(100);
    SpinEdit2->setText(QStringLiteral("0"));
    Bevel(this, 319);

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setText(QStringLiteral("计算"));
    SpeedButton1->setIcon(QIcon(MenuPicture(1)));
    SpeedButton1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setFocusPolicy(Qt::NoFocus);
    SpeedButton1->setToolTip(QStringLiteral("计算平均价"));
    SpeedButton1->setGeometry(325, 4, 50, 53);
    Bevel(this, 379);

    auto *originalLabel = new QLabel(QStringLiteral("折合原价"), this);
    originalLabel->setGeometry(385, 5, 72, 23);
    Edit4 = ReadOnlyField(this, QColor(255, 0, 0), kResultBackground);
    Edit4->setGeometry(457, 5, 72, 23);
    auto *costLabel = new QLabel(QStringLiteral("折合成本价"), this);
    costLabel->setGeometry(385, 33, 72, 23);
    Edit3 = ReadOnlyField(this, QColor(255, 0, 0), kResultBackground);
    Edit3->setGeometry(457, 33, 72, 23);
    // The class of what is traded, at the right end: a fund or a bond pays no stamp tax.
    Bevel(this, 533);
    ClassBox = NewClassBox(this);
    ClassBox->setToolTip(QStringLiteral("证券品种"));
    ClassBox->setAccessibleName(ClassBox->toolTip());
    ClassBox->setGeometry(539, 18, 62, 25);

    InstallDecimalKeyFilter(Edit1);
    InstallDecimalKeyFilter(Edit2);
    InstallSignedDigitKeyFilter(SpinEdit1);
    InstallSignedDigitKeyFilter(SpinEdit2);
    for (QWidget *handle : std::initializer_list<QWidget *>{this, Label1, Label2, Label3}) {
        addDragHandle(handle);
    }
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm6::SpeedButton1Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &TForm6::SpeedButton2Click);

    setFixedSize(607, 61);
    PlaceAtCorner(this, m_inForce.system().averageCorner);
    resetDragOrigin();
    // The new quantity keeps its left alignment.
    RightAlignPlainEdits(this);
    SpinEdit1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void TForm6::SpeedButton1Click() {
    const calc::AverageCalculation result = calc::CalculateAverage(
        {Edit1->text(), Edit2->text(), SpinEdit1->text(), SpinEdit2->text(),
         ComboBox1->currentIndex() == 1 ? calc::PriceKind::Cost : calc::PriceKind::Original,
         m_inForce.fees(), numbers::ClassFromIndex(ClassBox->currentIndex())});
    Edit1->setText(result.existingPriceText);
    Edit2->setText(result.newPriceText);
    if (!result.error.isEmpty()) {
        messages::ShowInputError(this, result.error);
        return;
    }
    Edit3->setText(result.costPriceText);
    Edit4->setText(result.originalPriceText);
}
