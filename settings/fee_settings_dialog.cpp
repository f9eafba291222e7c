#include "settings/fee_settings_dialog.h"

#include "numbers/fee_schedule.h"
#include "numbers/number_syntax.h"
#include "platform/platform.h"
#include "storage/setup_columns.h"
#include "storage/setup_store.h"
#include "widgets/fonts.h"
#include "widgets/key_filters.h"
#include "widgets/message_box.h"
#include "widgets/pictures.h"
#include "widgets/speed_button.h"
#include "widgets/tool_window.h"

#include <QFrame>
#include <QMouseEvent>

TSETDlg::TSETDlg(settings::InForce &inForce, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_inForce(inForce) {
    setWindowTitle(QStringLiteral("股票交易费率设置"));
    SetFontWhenShown(this, SongTi());
    SetBackground(this, QColor(176, 211, 225));
    setFixedSize(450, 363);

    Image1 = new StudioLabel(this);
    Image1->setGeometry(10, 10, 100, 236);
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->installEventFilter(this);

    ClassDialog = new ClassCommissionDialog(this);

    // Screen order, top to bottom.
    const struct {
        QLineEdit **field;
        const char16_t *label;
        QLabel **keep;
    } rows[] = {
        {&Edit4, u"购入股票应交印花税         （‰)", nullptr},
        {&Edit5, u"卖出股票应交印花税         （‰)", nullptr},
        {&Edit6, u"购入股票应交手续费         （‰)", nullptr},
        {&Edit7, u"卖出股票应交手续费         （‰)", nullptr},
        {&Edit1, u"每次成交最低手续费         （元）", nullptr},
        {&Edit8, u"深市过户费           （分/股）", &m_shenzhenLabel},
        {&Edit9, u"泸市过户费           （分/股）", &m_shanghaiLabel},
    };
    int top = 14;
    for (const auto &row : rows) {
        auto *label = new QLabel(QString::fromUtf16(row.label), this);
        label->setGeometry(122, top, 226, 24);
        if (row.keep != nullptr) {
            *row.keep = label;
        }
        *row.field = new QLineEdit(this);
        (*row.field)->setGeometry(350, top, 88, 24);
        InstallDecimalKeyFilter(*row.field);
        top += 33;
    }
    // The basis of the two transfer fields, in the row below them.
    (new QLabel(QStringLiteral("过户费计算方式:"), this))->setGeometry(122, top, 110, 24);
    RadioButton1 = new QRadioButton(QStringLiteral("按股数"), this);
    RadioButton1->setGeometry(236, top, 80, 24);
    RadioButton2 = new QRadioButton(QStringLiteral("按成交金额"), this);
    RadioButton2->setGeometry(320, top, 118, 24);
    connect(RadioButton2, &QRadioButton::toggled, this, &TSETDlg::showTransferUnits);
    // Under the picture, beside the basis row.
    SpeedButton5 = new SpeedButton(QStringLiteral("其他品种…"), this, QRect(10, top, 104, 26));
    connect(SpeedButton5, &SpeedButton::clicked, this, [this] {
        ClassDialog->show();
        ClassDialog->raise();
        ClassDialog->activateWindow();
    });
    top += 29;
    // Today's rate in the unit the transfer fields hold, so that a change of basis never
    // leaves a figure of the other unit (a tenfold fee) unnoticed.
    m_transferStandard = new QLabel(this);
    m_transferStandard->setGeometry(10, top, 430, 20);
    m_transferStandard->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette standardPalette = m_transferStandard->palette();
    standardPalette.setColor(QPalette::WindowText, QColor(0, 0, 160));
    m_transferStandard->setPalette(standardPalette);
    top += 28;
    SpeedButton1Click();

    auto *bevel = new QFrame(this);
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(10, top + 9, 430, 4);

    top += 21;
    SpeedButton1 = new SpeedButton(QStringLiteral("默认设置"), this, QRect(10, top, 90, 30));
    SpeedButton2 = new SpeedButton(QStringLiteral("保存设置"), this, QRect(250, top, 90, 30));
    SpeedButton3 = new SpeedButton(QStringLiteral("退  出"), this, QRect(350, top, 90, 30));
    SpeedButton4 = new SpeedButton(QStringLiteral("现行标准"), this, QRect(110, top, 90, 30));
    connect(SpeedButton4, &SpeedButton::clicked, this, &TSETDlg::SpeedButton4Click);
    connect(SpeedButton1, &SpeedButton::clicked, this, &TSETDlg::SpeedButton1Click);
    connect(SpeedButton2, &SpeedButton::clicked, this, &TSETDlg::SpeedButton2Click);
    connect(SpeedButton3, &SpeedButton::clicked, this, &TSETDlg::SpeedButton3Click);

    setTabOrder(Edit4, Edit6);
    setTabOrder(Edit6, Edit8);
    setTabOrder(Edit8, Edit9);
    setTabOrder(Edit9, RadioButton1);
    setTabOrder(RadioButton1, RadioButton2);
    setTabOrder(RadioButton2, Edit7);
    setTabOrder(Edit7, Edit5);
    setTabOrder(Edit5, Edit1);

    RightAlignPlainEdits(this);
    load();
    // In force once the dialog is built and loaded, and after every edit from then.
    publish();
    for (QLineEdit *field : fields()) {
        connect(field, &QLineEdit::textChanged, this, &TSETDlg::publish);
    }
    connect(RadioButton2, &QRadioButton::toggled, this, &TSETDlg::publish);
    connect(ClassDialog, &ClassCommissionDialog::textsChanged, this, &TSETDlg::publish);
}

void TSETDlg::publish() {
    m_inForce.setFees(feeTexts(), transferFeeBasis());
    m_inForce.setClassCommissions(classCommissionTexts());
}

QString TransferStandardText(numbers::TransferBasis basis) {
    // Both exchanges charge 0.01‰ of the amount on the buy and on the sell; per share that
    // is 0.02 fen a round trip at a price of 10 yuan.
    return basis == numbers::TransferBasis::PerAmount
               ? QStringLiteral("现行标准: 成交金额的0.01‰, 买卖双向")
               : QStringLiteral("现行标准: 成交金额的0.01‰, 买卖双向 (股价10元时合0.02分/股)");
}

std::array<QLineEdit *, 7> TSETDlg::fields() const {
    return {Edit4, Edit5, Edit6, Edit7, Edit8, Edit9, Edit1};
}

numbers::FeeTexts TSETDlg::feeTexts() const {
    numbers::FeeTexts texts;
    const auto all = fields();
    for (size_t i = 0; i < all.size(); ++i) {
        texts[i] = all[i]->text();
    }
    return texts;
}

numbers::TransferBasis TSETDlg::transferFeeBasis() const {
    return RadioButton2->isChecked() ? numbers::TransferBasis::PerAmount
                                     : numbers::TransferBasis::PerShare;
}

numbers::ClassCommissionTexts TSETDlg::classCommissionTexts() const {
    return ClassDialog->texts();
}

void TSETDlg::setTransferBasis(numbers::TransferBasis basis) {
    (basis == numbers::TransferBasis::PerAmount ? RadioButton2 : RadioButton1)->setChecked(true);
    showTransferUnits();
}

void TSETDlg::showTransferUnits() {
    const QString unit = transferFeeBasis() == numbers::TransferBasis::PerAmount
                             ? QStringLiteral("（‰)")
                             : QStringLiteral("（分/股）");
    m_shenzhenLabel->setText(QStringLiteral("深市过户费           ") + unit);
    m_shanghaiLabel->setText(QStringLiteral("泸市过户费           ") + unit);
    m_transferStandard->setText(TransferStandardText(transferFeeBasis()));
}

void TSETDlg::setTexts(const numbers::FeeTexts &texts) {
    const auto all = fields();
    for (size_t i = 0; i < all.size(); ++i) {
        all[i]->setText(texts[i]);
    }
}

void TSETDlg::load() {
    const std::optional<storage::StoredFees> stored = storage::LoadFees(storage::Database());
    if (stored) {
        setTexts(stored->texts);
        setTransferBasis(stored->transferBasis);
        ClassDialog->setTexts(stored->classTexts);
        if (!stored->unreadableClassColumns.isEmpty()) {
            QString names;
            for (size_t i = 0; i < storage::kClassCommissionColumns.size(); ++i) {
                const std::string_view column =
                    storage::kSetupColumns[storage::kClassCommissionColumns[i]].name;
                if (stored->unreadableClassColumns.contains(
                        QLatin1String(column.data(), static_cast<qsizetype>(column.size())))) {
                    names += u'［' + numbers::ClassCommissionNames()[i] + u'］';
                }
            }
            messages::Show(this, names + QStringLiteral("读取失败，现按与股票相同的手续费计算。"),
                           QStringLiteral("数据库无法读取"), messages::Icon::Error);
        }
        return;
    }
    ClassDialog->setTexts({});
    messages::Show(this, QStringLiteral("股票交易费率参数读取失败，现载入［默认设置］的参数。"),
                   QStringLiteral("数据库无法读取"), messages::Icon::Error);
    SpeedButton1Click();
}

void TSETDlg::SpeedButton1Click() {
    setTexts(numbers::DefaultFeeTexts());
    setTransferBasis(numbers::TransferBasis::PerShare);
}

// Today's statutory rates: stamp tax on the seller only (halved to 0.5‰ on 2023-08-28) and the
// transfer fee of 0.01‰ of the amount on both sides (since 2022-04-29). The commissions are
// the broker's and stay.
void TSETDlg::SpeedButton4Click() {
    Edit4->setText(QStringLiteral("0"));
    Edit5->setText(QStringLiteral("0.5"));
    setTransferBasis(numbers::TransferBasis::PerAmount);
    Edit8->setText(QStringLiteral("0.01"));
    Edit9->setText(QStringLiteral("0.01"));
}

void TSETDlg::SpeedButton2Click() {
    // Each field is normalised just before it is read; a bad one stops the rest.
    for (QLineEdit *field : fields()) {
        field->setText(numbers::NormaliseDecimalText(field->text()));
        if (!numbers::ParseDecimal(field->text())) {
            break;
        }
    }
    const numbers::FeeScheduleReading reading =
        numbers::ReadFeeSchedule(feeTexts(), transferFeeBasis());
    if (!reading.schedule) {
        messages::ShowInputError(this, reading.error);
        return;
    }
    if (storage::SaveFeeSchedule(storage::Database(), *reading.schedule)) {
        messages::Show(this, QStringLiteral("保存完成!"), QStringLiteral("成功"),
                       messages::Icon::Information);
    } else {
        messages::ShowInputError(this, QStringLiteral("保存失败!数据库无法写入。"));
    }
}

void TSETDlg::SpeedButton3Click() {
    for (QLineEdit *field : {Edit1, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9}) {
        field->setText(numbers::NormaliseDecimalText(field->text()));
    }
    close();
}

bool TSETDlg::eventFilter(QObject *watched, QEvent *event) {
    if (watched == Image1 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        platform::Current().openUrl(HomePage());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TSETDlg::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    // Centred in the work area at every showing, the frame included.
    CentreOnScreen(this);
}
