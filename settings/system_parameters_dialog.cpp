#include "settings/system_parameters_dialog.h"

#include "platform/platform.h"
#include "settings/colour_list.h"
#include "settings/settings_in_force.h"
#include "storage/setup_columns.h"
#include "storage/setup_store.h"
#include "widgets/fonts.h"
#include "widgets/message_box.h"
#include "widgets/pictures.h"
#include "widgets/split_label.h"
#include "widgets/tool_window.h"

#include <QGuiApplication>
#include <QPainter>

namespace {

QGroupBox *CornerGroup(const QString &title, QWidget *parent, int top, QRadioButton *(&radios)[4]) {
    auto *group = new QGroupBox(title, parent);
    group->setGeometry(10, top, 300, 80);
    const char16_t *captions[] = {u"屏幕左上角", u"屏幕右上角", u"屏幕左下角", u"屏幕右下角"};
    for (int i = 0; i < 4; ++i) {
        radios[i] = new QRadioButton(QString::fromUtf16(captions[i]), group);
        radios[i]->setGeometry(i % 2 == 0 ? 16 : 156, i < 2 ? 26 : 50, 130, 22);
    }
    return group;
}

QPixmap Swatch(const QColor &colour) {
    QPixmap pixmap(24, 14);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return pixmap;
}

int CheckedPosition(const QList<QRadioButton *> &radios) {
    for (int i = 0; i < radios.size(); ++i) {
        if (radios[i]->isChecked()) {
            return i + 1;
        }
    }
    return 0;
}

}  // namespace

TmyDlg::TmyDlg(settings::InForce &inForce, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_inForce(inForce) {
    setWindowTitle(QStringLiteral("系统参数设置"));
    SetFontWhenShown(this, SongTi());
    SetBackground(this, QColor(166, 202, 240));
    setFixedSize(430, 356);

    QRadioButton *difference[4];
    QRadioButton *average[4];
    GroupBox1 = CornerGroup(QStringLiteral("差价计算器摆放位置"), this, 8, difference);
    GroupBox2 = CornerGroup(QStringLiteral("均价计算器摆放位置"), this, 94, average);
    RadioButton1 = difference[0];
    RadioButton2 = difference[1];
    RadioButton3 = difference[2];
    RadioButton4 = difference[3];
    RadioButton5 = average[0];
    RadioButton6 = average[1];
    RadioButton7 = average[2];
    RadioButton8 = average[3];
    difference[storage::InitialInteger(storage::kS1) - 1]->setChecked(true);
    average[storage::InitialInteger(storage::kS2) - 1]->setChecked(true);

    Image1 = new StudioLabel(this);
    Image1->setGeometry(322, 14, 96, 160);

    GroupBox3 = new QGroupBox(QStringLiteral("国海交易系统"), this);
    GroupBox3->setGeometry(10, 180, 410, 62);
    CheckBox1 = new QCheckBox(QStringLiteral("启用自动刷新   "), GroupBox3);
    CheckBox1->setGeometry(16, 30, 150, 22);
    // One label "时间 … 秒" with the seconds field laid over the blanks between its words.
    Label1 = new SplitLabel(QStringLiteral("时间           秒"), GroupBox3);
    Label1->setGeometry(200, 30, 140, 24);
    SpinEdit1 = new SpinEdit(GroupBox3);
    SpinEdit1->setGeometry(236, 29, 78, 24);
    SpinEdit1->setValue(storage::InitialInteger(storage::kTM));
    connect(CheckBox1, &QCheckBox::toggled, this, &TmyDlg::CheckBox1Click);
    if (!platform::Current().canDriveWindows()) {
        // The switch is still stored; it only has nothing to act on here.
        CheckBox1->setToolTip(
            QStringLiteral("此桌面不是 X11，无法操作交易软件的窗口：自动刷新在这里不起作用。"));
    }

    GroupBox4 = new QGroupBox(QStringLiteral("监控设置"), this);
    GroupBox4->setGeometry(10, 248, 410, 62);
    auto *sizeLabel = new QLabel(QStringLiteral("字号"), GroupBox4);
    sizeLabel->setGeometry(16, 32, 30, 22);
    SpinEdit2 = new SpinEdit(GroupBox4);
    SpinEdit2->setGeometry(50, 29, 70, 24);
    SpinEdit2->setRange(storage::kSetupColumns[storage::kFZ].low,
                        storage::kSetupColumns[storage::kFZ].high);
    SpinEdit2->setIncrement(10);
    SpinEdit2->setValue(storage::InitialInteger(storage::kFZ));
    auto *colourLabel = new QLabel(QStringLiteral("字色"), GroupBox4);
    colourLabel->setGeometry(150, 32, 30, 22);
    ColorBox1 = new QComboBox(GroupBox4);
    ColorBox1->setGeometry(184, 28, 210, 26);
    ColorBox1->setIconSize(QSize(24, 14));
    for (const ColourEntry &entry : ColourList(QGuiApplication::palette())) {
        ColorBox1->addItem(QIcon(Swatch(entry.colour)), entry.name, entry.colour);
    }
    ColorBox1->setCurrentIndex(storage::InitialInteger(storage::kFC));

    SpeedButton1 = new SpeedButton(QStringLiteral("保存设置"), this, QRect(230, 318, 90, 30));
    SpeedButton2 = new SpeedButton(QStringLiteral("退    出"), this, QRect(330, 318, 90, 30));
    connect(SpeedButton1, &SpeedButton::clicked, this, &TmyDlg::SpeedButton1Click);
    connect(SpeedButton2, &SpeedButton::clicked, this, &TmyDlg::SpeedButton2Click);

    // Every change is in force at once.
    for (QRadioButton *radio : differenceRadios() + averageRadios()) {
        connect(radio, &QRadioButton::toggled, this, &TmyDlg::publish);
    }
    connect(CheckBox1, &QCheckBox::toggled, this, &TmyDlg::publish);
    connect(SpinEdit1, &QLineEdit::textChanged, this, &TmyDlg::publish);
    connect(SpinEdit2, &QLineEdit::textChanged, this, &TmyDlg::publish);
    connect(ColorBox1, &QComboBox::currentIndexChanged, this, &TmyDlg::publish);
    publish();
}

void TmyDlg::publish() {
    m_inForce.setSystem({differenceCorner(), averageCorner(), refreshOn(), refreshSeconds(),
                         overlayFontSize(), overlayColour()});
}

QList<QRadioButton *> TmyDlg::differenceRadios() const {
    return {RadioButton1, RadioButton2, RadioButton3, RadioButton4};
}

QList<QRadioButton *> TmyDlg::averageRadios() const {
    return {RadioButton5, RadioButton6, RadioButton7, RadioButton8};
}

int TmyDlg::differenceCorner() const {
    return CheckedPosition(differenceRadios());
}

int TmyDlg::averageCorner() const {
    return CheckedPosition(averageRadios());
}

void TmyDlg::load() {
    // Stops silently at the first value that cannot be read; what was set stays.
    const storage::StoredSystemParameters stored =
        storage::LoadSystemParameters(storage::Database());
    if (!stored.differenceCorner) {
        return;
    }
    if (const auto corner = settings::LoadedCorner(*stored.differenceCorner)) {
        differenceRadios()[*corner - 1]->setChecked(true);
    }
    if (!stored.averageCorner) {
        return;
    }
    if (const auto corner = settings::LoadedCorner(*stored.averageCorner)) {
        averageRadios()[*corner - 1]->setChecked(true);
    }
    if (!stored.refreshOn) {
        return;
    }
    // Ticking the box starts the refresh at once, with the seconds field's value so far.
    CheckBox1->setChecked(*stored.refreshOn);
    if (!stored.refreshSeconds) {
        return;
    }
    SpinEdit1->setValue(settings::LoadedSeconds(*stored.refreshSeconds));
    if (!stored.fontSize) {
        return;
    }
    SpinEdit2->setValue(settings::LoadedFontSize(*stored.fontSize));
    if (!stored.colourIndex) {
        return;
    }
    // A position outside the list selects no colour.
    ColorBox1->setCurrentIndex(*stored.colourIndex >= 0 && *stored.colourIndex < ColorBox1->count()
                                   ? *stored.colourIndex
                                   : -1);
}

bool TmyDlg::refreshOn() const {
    return CheckBox1->isChecked();
}

int32_t TmyDlg::refreshSeconds() const {
    return SpinEdit1->value();
}

int32_t TmyDlg::overlayFontSize() const {
    // The field may hold anything while it is typed in; what it gives is held to its range.
    return settings::HeldFontSize(SpinEdit2->value());
}

std::optional<uint32_t> TmyDlg::overlayColour() const {
    const QColor colour = ColorBox1->currentData().value<QColor>();
    if (!colour.isValid()) {
        return std::nullopt;
    }
    return colour.rgba();
}

void TmyDlg::CheckBox1Click() {
    emit refreshChanged(CheckBox1->isChecked(), SpinEdit1->value());
}

void TmyDlg::SpeedButton1Click() {
    storage::SystemParameters parameters;
    parameters.differenceCorner = differenceCorner();
    parameters.averageCorner = averageCorner();
    parameters.refreshOn = CheckBox1->isChecked();
    parameters.refreshSeconds = SpinEdit1->value();
    parameters.fontSize = overlayFontSize();
    parameters.colourIndex = ColorBox1->currentIndex();
    if (!storage::SaveSystemParameters(storage::Database(), parameters)) {
        messages::Show(this, QStringLiteral("数据库无法打开，保存失败!"),
                       QStringLiteral("异常错误"), messages::Icon::Error);
    }
}

void TmyDlg::SpeedButton2Click() {
    close();
}

void TmyDlg::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    // Centred in the work area at every showing, the frame included.
    CentreOnScreen(this);
}
