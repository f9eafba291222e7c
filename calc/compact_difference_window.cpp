#include "calc/compact_difference_window.h"

#include "calc/full_difference_window.h"

#include <QStyle>

TForm5::TForm5(const settings::InForce &inForce) : DifferenceWindow(inForce) {
    setWindowTitle(QStringLiteral("差价计算器"));
    setToolTip(QStringLiteral("差价计算器"));
    SetBackground(this, QColor(166, 202, 240));
    resize(704, 35);

    SpeedButton2 =
        new QPushButton(style()->standardIcon(QStyle::SP_TitleBarCloseButton), QString(), this);
    SpeedButton2->setToolTip(QStringLiteral("关闭窗口"));
    SpeedButton2->setGeometry(5, 5, 25, 25);
    SpeedButton3 =
        new QPushButton(style()->standardIcon(QStyle::SP_TitleBarMaxButton), QString(), this);
    SpeedButton3->setToolTip(QStringLiteral("正常窗口"));
    SpeedButton3->setGeometry(32, 5, 25, 25);
    for (QPushButton *button : {SpeedButton2, SpeedButton3}) {
        button->setAccessibleName(button->toolTip());
        button->setFlat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }

    const auto label = [this](const QString &text, int left, int width) {
        auto *created = new QLabel(text, this);
        created->setGeometry(left, 6, width, 23);
        addDragHandle(created);
        return created;
    };
    Label1 = label(QStringLiteral("买价"), 66, 30);
    Edit1->setGeometry(98, 6, 72, 23);
    Label2 = label(QStringLiteral("卖价"), 178, 30);
    Edit2->setGeometry(210, 6, 72, 23);
    Label3 = label(QStringLiteral("数量"), 290, 30);
    SpinEdit1->setGeometry(322, 6, 90, 23);
    Label4 = label(QStringLiteral("交易所"), 420, 44);
    ComboBox1->setGeometry(466, 5, 64, 25);
    SpeedButton1 = new QPushButton(QStringLiteral("收益"), this);
    SpeedButton1->setFocusPolicy(Qt::NoFocus);  // a speed button: Tab passes it by
    SpeedButton1->setGeometry(538, 5, 54, 25);
    Edit3->setGeometry(598, 6, 100, 23);
    // The fee fields are kept, unseen, so a switch carries the whole breakdown; so is the
    // class, chosen in the full window: this row has no room for it.
    for (QLineEdit *fee : {Edit4, Edit5, Edit6, Edit7, Edit8, Edit9}) {
        fee->hide();
    }
    ClassBox->hide();
    addDragHandle(this);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, SpinEdit1);
    setTabOrder(SpinEdit1, ComboBox1);
    setTabOrder(ComboBox1, Edit3);

    connect(SpeedButton1, &QPushButton::clicked, this, &TForm5::SpeedButton1Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &TForm5::SpeedButton2Click);
    connect(SpeedButton3, &QPushButton::clicked, this, &TForm5::SpeedButton3Click);
    finishCreation(QSize(704, 35));
}

void TForm5::SpeedButton3Click() {
    switchTo<TForm2>();
}
