#include "settings/class_commission_dialog.h"

#include "numbers/number_syntax.h"
#include "storage/setup_store.h"
#include "widgets/fonts.h"
#include "widgets/key_filters.h"
#include "widgets/message_box.h"
#include "widgets/tool_window.h"

#include <QLabel>

ClassCommissionDialog::ClassCommissionDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("基金、债券手续费"));
    SetFontWhenShown(this, SongTi());
    SetBackground(this, QColor(176, 211, 225));
    setFixedSize(330, 168);

    const char16_t *heads[] = {u"买入（‰)", u"卖出（‰)", u"最低（元）"};
    for (int column = 0; column < 3; ++column) {
        auto *head = new QLabel(QString::fromUtf16(heads[column]), this);
        head->setGeometry(70 + column * 86, 10, 82, 22);
        head->setAlignment(Qt::AlignCenter);
    }
    const char16_t *rows[] = {u"基金", u"债券"};
    for (int row = 0; row < 2; ++row) {
        (new QLabel(QString::fromUtf16(rows[row]), this))->setGeometry(12, 38 + row * 33, 54, 24);
        for (int column = 0; column < 3; ++column) {
            QLineEdit *field = new QLineEdit(this);
            field->setGeometry(70 + column * 86, 38 + row * 33, 82, 24);
            field->setPlaceholderText(QStringLiteral("同股票"));
            InstallDecimalKeyFilter(field);
            connect(field, &QLineEdit::textChanged, this, &ClassCommissionDialog::textsChanged);
            fields[static_cast<size_t>(row * 3 + column)] = field;
        }
    }
    auto *note = new QLabel(QStringLiteral("空白: 与股票相同; 不收印花税和过户费"), this);
    note->setGeometry(12, 102, 306, 20);
    saveButton = new SpeedButton(QStringLiteral("保存设置"), this, QRect(130, 128, 90, 30));
    closeButton = new SpeedButton(QStringLiteral("退  出"), this, QRect(228, 128, 90, 30));
    connect(saveButton, &SpeedButton::clicked, this, &ClassCommissionDialog::save);
    connect(closeButton, &SpeedButton::clicked, this, [this] {
        for (QLineEdit *field : fields) {
            if (!field->text().trimmed().isEmpty()) {
                field->setText(numbers::NormaliseDecimalText(field->text()));
            }
        }
        close();
    });
    RightAlignPlainEdits(this);
}

numbers::ClassCommissionTexts ClassCommissionDialog::texts() const {
    numbers::ClassCommissionTexts texts;
    for (size_t i = 0; i < fields.size(); ++i) {
        texts[i] = fields[i]->text();
    }
    return texts;
}

void ClassCommissionDialog::setTexts(const numbers::ClassCommissionTexts &texts) {
    for (size_t i = 0; i < fields.size(); ++i) {
        fields[i]->setText(texts[i]);
    }
}

void ClassCommissionDialog::save() {
    for (QLineEdit *field : fields) {
        if (field->text().trimmed().isEmpty()) {
            continue;
        }
        field->setText(numbers::NormaliseDecimalText(field->text()));
        if (!numbers::ParseDecimal(field->text())) {
            break;
        }
    }
    const numbers::ClassCommissionReading reading = numbers::ReadClassCommissions(texts());
    if (!reading.error.isEmpty()) {
        messages::ShowInputError(this, reading.error);
        return;
    }
    if (storage::SaveClassCommissions(storage::Database(), reading.fund, reading.bond)) {
        messages::Show(this, QStringLiteral("保存完成!"), QStringLiteral("成功"),
                       messages::Icon::Information);
    } else {
        messages::ShowInputError(this, QStringLiteral("保存失败!数据库无法写入。"));
    }
}
