// The fee-rate and system-parameter dialogs, driven offscreen against real database files.

#include "app/trading_client_refresh.h"
#include "numbers/fee_schedule.h"
#include "platform/fake/fake_platform.h"
#include "settings/colour_list.h"
#include "settings/fee_settings_dialog.h"
#include "settings/settings_in_force.h"
#include "settings/system_parameters_dialog.h"
#include "storage/setup_store.h"
#include "support/message_recorder.h"
#include "widgets/pictures.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include "support/offscreen_warnings.h"
#include "support/side_sql.h"

#include <QtTest>

using storage::Database;

namespace {

QByteArray FileBytes() {
    QFile file(storage::DatabaseFileName());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList Texts(const TSETDlg &dialog) {
    QStringList texts;
    for (const QString &text : dialog.feeTexts()) {
        texts.append(text);
    }
    return texts;
}

}  // namespace

class TestSettingsDialogs : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void feeLoadShowsStoredTexts();
    void feeLoadFailureShowsDefaultsAfterOneMessage();
    void feeEmptyColumnsLoadEmptyFieldsSilently();
    void feeStoredValuesTheFieldsCannotHold_data();
    void feeStoredValuesTheFieldsCannotHold();
    void feeSaveNormalisesAndStores();
    void feeSaveStopsAtTheFirstBadField_data();
    void feeSaveStopsAtTheFirstBadField();
    void feeSaveFailureKeepsTheTypedValues();
    void feeExitNormalisesAndKeepsTextsInForce();
    void feeCloseBoxDoesNotNormalise();
    void feeDefaultsWriteNothing();
    void feeDialogLayout();
    void feeTransferBasis();
    void feeCurrentStandard();
    void classCommissionsLoad();
    void classCommissionsSave_data();
    void classCommissionsSave();

    void parametersLoad_data();
    void parametersLoad();
    void parametersStoredRefreshStartsAtTheDesignInterval();
    void parametersCheckBoxStartsAndStopsTheRefresh();
    void parametersSaveStoresWithoutMessage();
    void parametersSaveHoldsTheFontSize_data();
    void parametersSaveHoldsTheFontSize();
    void parametersSaveFailure();
    void parametersLoadFailureIsSilent();
    void colourList();
    void centredAndKeysStayInTheFields_data();
    void centredAndKeysStayInTheFields();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MessageRecorder> m_messages;
    settings::InForce m_inForce;
    platform::FakePlatform *m_platform = nullptr;
};

void TestSettingsDialogs::initTestCase() {
    FilterOffscreenWarnings();
    auto fake = std::make_unique<platform::FakePlatform>();
    m_platform = fake.get();
    platform::Install(std::move(fake));
}

void TestSettingsDialogs::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY(Database::Create(storage::DatabaseFileName()));
    m_messages = std::make_unique<MessageRecorder>();
}

void TestSettingsDialogs::cleanup() {
    m_messages.reset();
    QDir::setCurrent(QDir::tempPath());
}

void TestSettingsDialogs::feeLoadShowsStoredTexts() {
    Sql("UPDATE setup SET A1 = 0.05, A2 = 1.5, B1 = 2.5, B2 = 0.25, C1 = 0.02, C2 = 0.6, "
        "LM = 0");
    TSETDlg dialog(m_inForce);
    QCOMPARE(Texts(dialog), (QStringList{"0.05", "1.5", "2.5", "0.25", "0.02", "0.6", "0"}));
    QCOMPARE(dialog.Edit1->text(), QStringLiteral("0"));
    QCOMPARE(dialog.Edit9->text(), QStringLiteral("0.6"));
    QVERIFY(m_messages->shown.isEmpty());
    QCOMPARE(m_inForce.fees().schedule->SellStampTaxRate, 1.5);
    dialog.Edit5->setText(QStringLiteral("2"));  // typed, not saved: in force at once
    QCOMPARE(m_inForce.fees().schedule->SellStampTaxRate, 2.0);
}

void TestSettingsDialogs::feeLoadFailureShowsDefaultsAfterOneMessage() {
    QFile::remove(storage::DatabaseFileName());
    TSETDlg dialog(m_inForce);
    QCOMPARE(m_messages->shown.size(), 1);
    const messages::Message &message = m_messages->shown.front();
    QCOMPARE(message.text, QStringLiteral("股票交易费率参数读取失败，现载入［默认设置］的参数。"));
    QCOMPARE(message.caption, QStringLiteral("数据库无法读取"));
    QCOMPARE(message.icon, messages::Icon::Error);
    QCOMPARE(message.owner.data(), &dialog);
    QCOMPARE(Texts(dialog), (QStringList{"0", "1", "3", "3", "0", "0.1", "5"}));
    QVERIFY(!QFile::exists(storage::DatabaseFileName()));
}

void TestSettingsDialogs::feeEmptyColumnsLoadEmptyFieldsSilently() {
    Sql("UPDATE setup SET A1 = NULL, A2 = NULL, B1 = NULL, B2 = NULL, C1 = NULL, C2 = NULL, "
        "LM = NULL");
    TSETDlg dialog(m_inForce);
    QCOMPARE(Texts(dialog), (QStringList{"", "", "", "", "", "", ""}));
    QVERIFY(m_messages->shown.isEmpty());
}

void TestSettingsDialogs::feeStoredValuesTheFieldsCannotHold_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("readFails");  // else the rates load, the basis per share
    QTest::newRow("1E308") << "A1 = 1e308" << true;
    QTest::newRow("INF") << "B2 = 9e999" << true;
    QTest::newRow("-INF") << "C1 = -9e999" << true;
    QTest::newRow("1E16") << "LM = 1e16" << true;
    QTest::newRow("basis text") << "TB = 'abc'" << false;
    QTest::newRow("basis 2") << "TB = 2" << false;
    QTest::newRow("basis fraction") << "TB = 0.5" << false;
}

void TestSettingsDialogs::feeStoredValuesTheFieldsCannotHold() {
    QFETCH(QString, stored);
    QFETCH(bool, readFails);
    Sql("UPDATE setup SET A2 = 0.5, B1 = 0.25, " + stored);
    TSETDlg dialog(m_inForce);
    QCOMPARE(m_messages->texts(),
             readFails ? QStringList{"股票交易费率参数读取失败，现载入［默认设置］的参数。"}
                       : QStringList());
    QCOMPARE(Texts(dialog), readFails ? (QStringList{"0", "1", "3", "3", "0", "0.1", "5"})
                                      : (QStringList{"0", "0.5", "0.25", "3", "0", "0.1", "5"}));
    QVERIFY(dialog.RadioButton1->isChecked());
}

void TestSettingsDialogs::feeSaveNormalisesAndStores() {
    TSETDlg dialog(m_inForce);
    dialog.Edit5->setText(QStringLiteral(".5"));
    dialog.Edit9->setText(QStringLiteral("2."));
    QTest::mouseClick(dialog.SpeedButton2, Qt::LeftButton);
    QCOMPARE(dialog.Edit5->text(), QStringLiteral("0.5"));
    QCOMPARE(dialog.Edit9->text(), QStringLiteral("2.0"));
    QCOMPARE(m_messages->texts(), QStringList{"保存完成!"});
    QCOMPARE(m_messages->shown.front().caption, QStringLiteral("成功"));
    QCOMPARE(m_messages->shown.front().icon, messages::Icon::Information);
    QCOMPARE(*storage::LoadFeeTexts(Database()),
             (numbers::FeeTexts{"0", "0.5", "3", "3", "0", "2", "5"}));
}

void TestSettingsDialogs::feeSaveStopsAtTheFirstBadField_data() {
    QTest::addColumn<QStringList>("texts");  // Edit4 5 6 7 8 9 1
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("empty minimum after six normalised")
        << QStringList{".5", "1.", "3", "3", ".", "0.1", ""}
        << "［最低手续费］填写错误!请输入正确的金额."
        << QStringList{"0.5", "1.0", "3", "3", "0.0", "0.1", ""};
    QTest::newRow("first of two bad fields") << QStringList{"0", "1", "x", "3", "0", "y", "5"}
                                             << "［购入交手续费］填写错误!请输入正确的费率."
                                             << QStringList{"0", "1", "x", "3", "0", "y", "5"};
    QTest::newRow("fields after the bad one keep their text")
        << QStringList{"-", ".5", "3", "3", "0", "0.1", "5."}
        << "［购入交印花税］填写错误!请输入正确的税率."
        << QStringList{"-", ".5", "3", "3", "0", "0.1", "5."};
    QTest::newRow("too large to read back")
        << QStringList{"0", "1.7976931348623157e308", "3", "3", "0", "0.1", "5"}
        << "［卖出交印花税］填写错误!请输入正确的税率."
        << QStringList{"0", "1.7976931348623157e308", "3", "3", "0", "0.1", "5"};
    QTest::newRow("Shanghai transfer") << QStringList{"0", "1", "3", "3", "0", "1..", "5"}
                                       << "［泸市过户费］填写错误!请输入正确的费率."
                                       << QStringList{"0", "1", "3", "3", "0", "1..0", "5"};
}

void TestSettingsDialogs::feeSaveStopsAtTheFirstBadField() {
    QFETCH(QStringList, texts);
    QFETCH(QString, message);
    QFETCH(QStringList, after);
    TSETDlg dialog(m_inForce);
    const QByteArray before = FileBytes();
    const QList<QLineEdit *> fields = {dialog.Edit4, dialog.Edit5, dialog.Edit6, dialog.Edit7,
                                       dialog.Edit8, dialog.Edit9, dialog.Edit1};
    for (int i = 0; i < fields.size(); ++i) {
        fields[i]->setText(texts[i]);
    }
    dialog.SpeedButton2Click();
    QCOMPARE(m_messages->texts(), QStringList{message});
    QCOMPARE(m_messages->shown.front().caption, QStringLiteral("错误"));
    QCOMPARE(Texts(dialog), after);
    QCOMPARE(FileBytes(), before);
}

void TestSettingsDialogs::feeSaveFailureKeepsTheTypedValues() {
    TSETDlg dialog(m_inForce);
    QFile::remove(storage::DatabaseFileName());
    dialog.Edit6->setText(QStringLiteral("2.5"));
    dialog.SpeedButton2Click();
    QCOMPARE(m_messages->texts(), QStringList{"保存失败!数据库无法写入。"});
    QCOMPARE(m_messages->shown.front().caption, QStringLiteral("错误"));
    QCOMPARE(m_messages->shown.front().icon, messages::Icon::Error);
    QCOMPARE(dialog.Edit6->text(), QStringLiteral("2.5"));
    QVERIFY(!QFile::exists(storage::DatabaseFileName()));
}

void TestSettingsDialogs::feeExitNormalisesAndKeepsTextsInForce() {
    TSETDlg dialog(m_inForce);
    dialog.show();
    dialog.Edit1->setText(QStringLiteral("."));
    dialog.Edit7->setText(QStringLiteral(".25"));
    QTest::mouseClick(dialog.SpeedButton3, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.Edit1->text(), QStringLiteral("0.0"));
    QCOMPARE(m_inForce.fees().schedule->SellCommissionRate, 0.25);
    QVERIFY(m_messages->shown.isEmpty());
    QCOMPARE(storage::LoadFeeTexts(Database())->at(3), QStringLiteral("3"));  // not stored
}

void TestSettingsDialogs::feeCloseBoxDoesNotNormalise() {
    TSETDlg dialog(m_inForce);
    dialog.show();
    dialog.Edit4->setText(QStringLiteral(".5"));
    dialog.close();
    QCOMPARE(dialog.Edit4->text(), QStringLiteral(".5"));
}

void TestSettingsDialogs::feeDefaultsWriteNothing() {
    Sql("UPDATE setup SET A2 = 2");
    TSETDlg dialog(m_inForce);
    const QByteArray before = FileBytes();
    QTest::mouseClick(dialog.SpeedButton1, Qt::LeftButton);
    QCOMPARE(Texts(dialog), (QStringList{"0", "1", "3", "3", "0", "0.1", "5"}));
    QCOMPARE(FileBytes(), before);
}

void TestSettingsDialogs::feeDialogLayout() {
    TSETDlg dialog(m_inForce);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("股票交易费率设置"));
    QCOMPARE(dialog.palette().color(QPalette::Window), QColor(176, 211, 225));
    QCOMPARE(dialog.SpeedButton3->text(), QStringLiteral("退  出"));
    // Tab order through the fields.
    QList<QWidget *> order;
    QWidget *field = dialog.Edit4;
    for (int i = 0; i < 7; ++i) {
        order.append(field);
        field = field->nextInFocusChain();
        while (qobject_cast<QLineEdit *>(field) == nullptr) {
            field = field->nextInFocusChain();
        }
    }
    QCOMPARE(order, (QList<QWidget *>{dialog.Edit4, dialog.Edit6, dialog.Edit8, dialog.Edit9,
                                      dialog.Edit7, dialog.Edit5, dialog.Edit1}));
    for (QWidget *edit : order) {
        QVERIFY(static_cast<QLineEdit *>(edit)->alignment() & Qt::AlignRight);
    }
    // Decimal key filter on the fields.
    dialog.Edit8->clear();
    QTest::keyClicks(dialog.Edit8, QStringLiteral("a1.2.5-"));
    QCOMPARE(dialog.Edit8->text(), QStringLiteral("1.25"));
    // The picture opens the studio's page; the dialog stays.
    m_platform->openedUrls.clear();
    QTest::mouseClick(dialog.Image1, Qt::LeftButton);
    QCOMPARE(m_platform->openedUrls, QList<QUrl>{HomePage()});
}

void TestSettingsDialogs::feeCurrentStandard() {
    Sql("UPDATE setup SET A1 = 1, A2 = 2, B1 = 0.3, B2 = 0.4, C1 = 0.5, C2 = 0.6, LM = 7");
    TSETDlg dialog(m_inForce);
    const QByteArray before = FileBytes();
    QTest::mouseClick(dialog.SpeedButton4, Qt::LeftButton);
    QCOMPARE(Texts(dialog), (QStringList{"0", "0.5", "0.3", "0.4", "0.01", "0.01", "7"}));
    QCOMPARE(dialog.transferFeeBasis(), numbers::TransferBasis::PerAmount);
    QCOMPARE(FileBytes(), before);
}

namespace {
QString StoredClassTexts() {
    const std::optional<storage::StoredFees> stored = storage::LoadFees(Database());
    return stored ? QStringList(stored->classTexts.cbegin(), stored->classTexts.cend()).join(u'|')
                  : QStringLiteral("unread");
}
}  // namespace

void TestSettingsDialogs::classCommissionsLoad() {
    Sql("UPDATE setup SET FB1 = 0.1, ZB2 = 0.05, ZLM = 'x'");
    TSETDlg dialog(m_inForce);
    const numbers::ClassCommissionTexts inForce = m_inForce.classCommissions();
    QCOMPARE(QStringList(inForce.cbegin(), inForce.cend()).join(u'|'),
             QStringLiteral("0.1||||0.05|"));
    QCOMPARE(m_messages->shown.size(), 1);
    QVERIFY(
        m_messages->shown.front().text.startsWith(QStringLiteral("［债券最低手续费］读取失败")));
    QCOMPARE(Texts(dialog).join(u'|'), QStringLiteral("0|1|3|3|0|0.1|5"));  // the rates still read
}

void TestSettingsDialogs::classCommissionsSave_data() {
    QTest::addColumn<QString>("typed");   // the six fields
    QTest::addColumn<QString>("shown");   // after the save
    QTest::addColumn<QString>("stored");  // the six columns after the save, or the message
    QTest::newRow("stored, blanks NULL") << ".1||0||.05|"
                                         << "0.1||0||0.05|"
                                         << "0.1||0||0.05|";
    QTest::newRow("a bad one stores nothing") << ".1|.2|x|1||"
                                              << "0.1|0.2|x|1||"
                                              << "［基金最低手续费］填写错误!请输入正确的金额.";
}

void TestSettingsDialogs::classCommissionsSave() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    TSETDlg dialog(m_inForce);
    QTest::mouseClick(dialog.SpeedButton5, Qt::LeftButton);
    QVERIFY(dialog.ClassDialog->isVisible());
    const QStringList texts = typed.split(u'|');
    for (size_t i = 0; i < dialog.ClassDialog->fields.size(); ++i) {
        dialog.ClassDialog->fields[i]->setText(texts[static_cast<qsizetype>(i)]);
    }
    QCOMPARE(m_inForce.classCommissions()[3], texts[3]);  // in force as typed
    QTest::mouseClick(dialog.ClassDialog->saveButton, Qt::LeftButton);
    QStringList after;
    for (const QLineEdit *field : dialog.ClassDialog->fields) {
        after.append(field->text());
    }
    QCOMPARE(after.join(u'|'), shown);
    QCOMPARE(m_messages->shown.size(), 1);
    if (m_messages->shown.front().icon == messages::Icon::Error) {
        QCOMPARE(m_messages->shown.front().text, stored);
        QCOMPARE(StoredClassTexts(), QStringLiteral("|||||"));
    } else {
        QCOMPARE(StoredClassTexts(), stored);
    }
}

void TestSettingsDialogs::feeTransferBasis() {
    Sql("UPDATE setup SET TB = 1");
    TSETDlg dialog(m_inForce);
    dialog.show();
    const auto units = [&dialog](const QString &unit) {  // of the two transfer labels
        const QList<QLabel *> labels = dialog.findChildren<QLabel *>();
        return std::count_if(labels.begin(), labels.end(), [&unit](const QLabel *label) {
            return label->text().contains(QStringLiteral("过户费  ")) &&
                   label->text().endsWith(unit);
        });
    };
    // The line under the buttons gives today's rate in the unit the fields hold.
    const auto standard = [&dialog] {
        for (const QLabel *label : dialog.findChildren<QLabel *>()) {
            if (label->text().startsWith(QStringLiteral("现行标准: ")) && label->isVisible()) {
                return label->text();
            }
        }
        return QString();
    };
    QVERIFY(dialog.RadioButton2->isChecked());
    QCOMPARE(units("（‰)"), 2);
    QCOMPARE(standard(), QStringLiteral("现行标准: 成交金额的0.01‰, 买卖双向"));
    QTest::mouseClick(dialog.SpeedButton1, Qt::LeftButton);  // 默认设置
    QVERIFY(dialog.RadioButton1->isChecked());
    QCOMPARE(units("（分/股）"), 2);
    QCOMPARE(standard(),
             QStringLiteral("现行标准: 成交金额的0.01‰, 买卖双向 (股价10元时合0.02分/股)"));
    QCOMPARE(m_inForce.fees().schedule->TransferFeeBasis, numbers::TransferBasis::PerShare);
    QCOMPARE(storage::LoadFees(Database())->transferBasis, numbers::TransferBasis::PerAmount);

    QTest::mouseClick(dialog.RadioButton2, Qt::LeftButton);
    QCOMPARE(m_inForce.fees().schedule->TransferFeeBasis, numbers::TransferBasis::PerAmount);
    QCOMPARE(units("（‰)"), 2);
    QTest::mouseClick(dialog.RadioButton1, Qt::LeftButton);
    QTest::mouseClick(dialog.SpeedButton2, Qt::LeftButton);  // 保存设置
    QCOMPARE(m_messages->texts(), QStringList{"保存完成!"});
    QCOMPARE(storage::LoadFees(Database())->transferBasis, numbers::TransferBasis::PerShare);
}

void TestSettingsDialogs::parametersLoad_data() {
    QTest::addColumn<QString>("stored");  // assignments for the setup row
    QTest::addColumn<int>("difference");
    QTest::addColumn<int>("average");
    QTest::addColumn<QString>("seconds");
    QTest::addColumn<QString>("fontSize");
    QTest::addColumn<int>("colour");
    QTest::newRow("new file") << "S1 = 3" << 3 << 4 << "60"
                              << "70" << 0;
    QTest::newRow("all stored") << "S1 = 2, S2 = 1, TM = 15, FZ = 90, FC = 49" << 2 << 1 << "15"
                                << "90" << 49;
    QTest::newRow("corners out of range keep design") << "S1 = 0, S2 = 7" << 3 << 4 << "60"
                                                      << "70" << 0;
    QTest::newRow("corner 7") << "S1 = 7, S2 = 0" << 3 << 4 << "60"
                              << "70" << 0;
    QTest::newRow("seconds below 1 show 0") << "TM = -4" << 3 << 4 << "0"
                                            << "70" << 0;
    QTest::newRow("font 0 shows 70") << "FZ = 0" << 3 << 4 << "60"
                                     << "70" << 0;
    QTest::newRow("font 200 shows 150") << "FZ = 200" << 3 << 4 << "60"
                                        << "150" << 0;
    QTest::newRow("font 5 shows 20") << "FZ = 5" << 3 << 4 << "60"
                                     << "20" << 0;
    QTest::newRow("colour beyond the list selects none") << "FC = 50" << 3 << 4 << "60"
                                                         << "70" << -1;
    QTest::newRow("bad value stops the load there")
        << "S1 = 1, S2 = 2, TM = 'x', FZ = 100, FC = 5" << 1 << 2 << "60"
        << "70" << 0;
}

void TestSettingsDialogs::parametersLoad() {
    QFETCH(QString, stored);
    QFETCH(int, difference);
    QFETCH(int, average);
    QFETCH(QString, seconds);
    QFETCH(QString, fontSize);
    QFETCH(int, colour);
    Sql("UPDATE setup SET " + stored);
    TmyDlg dialog(m_inForce);
    dialog.load();
    QCOMPARE(dialog.differenceCorner(), difference);
    QCOMPARE(dialog.averageCorner(), average);
    QCOMPARE(dialog.SpinEdit1->text(), seconds);
    QCOMPARE(dialog.SpinEdit2->text(), fontSize);
    QCOMPARE(dialog.ColorBox1->currentIndex(), colour);
    QVERIFY(m_messages->shown.isEmpty());
}

void TestSettingsDialogs::parametersStoredRefreshStartsAtTheDesignInterval() {
    Sql("UPDATE setup SET CN = 1, TM = 10");
    TradingClientRefresh form(m_inForce);
    TmyDlg dialog(m_inForce);
    QObject::connect(&dialog, &TmyDlg::refreshChanged, &form, &TradingClientRefresh::setRefresh);
    dialog.load();
    QVERIFY(dialog.CheckBox1->isChecked());
    QCOMPARE(dialog.SpinEdit1->text(), QStringLiteral("10"));
    QVERIFY(form.Timer2->isActive());
    QCOMPARE(form.Timer2->interval(), 60000);
}

void TestSettingsDialogs::parametersCheckBoxStartsAndStopsTheRefresh() {
    TradingClientRefresh form(m_inForce);
    TmyDlg dialog(m_inForce);
    QObject::connect(&dialog, &TmyDlg::refreshChanged, &form, &TradingClientRefresh::setRefresh);
    dialog.load();
    dialog.show();
    QVERIFY(!form.Timer2->isActive());
    dialog.SpinEdit1->setText(QStringLiteral("30"));
    QTest::mouseClick(dialog.CheckBox1, Qt::LeftButton);
    QVERIFY(form.Timer2->isActive());
    QCOMPARE(form.Timer2->interval(), 30000);
    QTest::mouseClick(dialog.CheckBox1, Qt::LeftButton);
    QVERIFY(!form.Timer2->isActive());
    // 0 seconds, or text that is no number, gives a refresh that never fires.
    for (const char *text : {"0", "-5", "abc"}) {
        dialog.SpinEdit1->setText(QString::fromLatin1(text));
        QTest::mouseClick(dialog.CheckBox1, Qt::LeftButton);
        QVERIFY(dialog.CheckBox1->isChecked());
        QVERIFY(!form.Timer2->isActive());
        QTest::mouseClick(dialog.CheckBox1, Qt::LeftButton);
    }
}

void TestSettingsDialogs::parametersSaveStoresWithoutMessage() {
    TradingClientRefresh form(m_inForce);
    TmyDlg dialog(m_inForce);
    QObject::connect(&dialog, &TmyDlg::refreshChanged, &form, &TradingClientRefresh::setRefresh);
    dialog.load();
    dialog.RadioButton2->setChecked(true);
    dialog.RadioButton5->setChecked(true);
    dialog.SpinEdit1->setText(QStringLiteral("45"));
    dialog.CheckBox1->setChecked(true);
    dialog.SpinEdit2->setText(QStringLiteral("zz"));  // reads as its lower limit
    dialog.ColorBox1->setCurrentIndex(17);
    QTest::mouseClick(dialog.SpeedButton1, Qt::LeftButton);
    QVERIFY(m_messages->shown.isEmpty());
    const storage::StoredSystemParameters stored = storage::LoadSystemParameters(Database());
    QCOMPARE(*stored.differenceCorner, 2);
    QCOMPARE(*stored.averageCorner, 1);
    QCOMPARE(*stored.refreshOn, true);
    QCOMPARE(*stored.refreshSeconds, 45);
    QCOMPARE(*stored.fontSize, 20);
    QCOMPARE(*stored.colourIndex, 17);
    // Leaving keeps the values in force.
    dialog.show();
    QTest::mouseClick(dialog.SpeedButton2, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.differenceCorner(), 2);
}

void TestSettingsDialogs::parametersSaveHoldsTheFontSize_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::newRow("-5") << "-5" << 20;
    QTest::newRow("0") << "0" << 20;
    QTest::newRow("largest") << "2147483647" << 150;
    QTest::newRow("smallest") << "-2147483648" << 20;
}

void TestSettingsDialogs::parametersSaveHoldsTheFontSize() {
    QFETCH(QString, typed);
    QFETCH(int, stored);
    TmyDlg dialog(m_inForce);
    dialog.load();
    dialog.SpinEdit2->setText(typed);
    QCOMPARE(dialog.overlayFontSize(), stored);
    dialog.SpeedButton1Click();
    QCOMPARE(*storage::LoadSystemParameters(Database()).fontSize, stored);
}

void TestSettingsDialogs::parametersSaveFailure() {
    TmyDlg dialog(m_inForce);
    dialog.load();
    QFile::remove(storage::DatabaseFileName());
    QFile junk(storage::DatabaseFileName());
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.close();  // an empty file must stay empty
    dialog.SpeedButton1Click();
    QCOMPARE(m_messages->texts(), QStringList{"数据库无法打开，保存失败!"});
    QCOMPARE(m_messages->shown.front().caption, QStringLiteral("异常错误"));
    QCOMPARE(m_messages->shown.front().owner.data(), &dialog);
    QCOMPARE(QFileInfo(storage::DatabaseFileName()).size(), 0);
}

void TestSettingsDialogs::parametersLoadFailureIsSilent() {
    QFile::remove(storage::DatabaseFileName());
    TmyDlg dialog(m_inForce);
    dialog.load();
    QVERIFY(m_messages->shown.isEmpty());
    QCOMPARE(dialog.differenceCorner(), 3);
    QCOMPARE(dialog.averageCorner(), 4);
    QCOMPARE(dialog.SpinEdit1->text(), QStringLiteral("60"));
    QCOMPARE(dialog.SpinEdit2->text(), QStringLiteral("70"));
    QVERIFY(!dialog.CheckBox1->isChecked());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("系统参数设置"));
    QCOMPARE(dialog.Label1->text(), QStringLiteral("时间           秒"));
    QCOMPARE(dialog.CheckBox1->text(), QStringLiteral("启用自动刷新   "));
    QCOMPARE(dialog.SpeedButton2->text(), QStringLiteral("退    出"));
}

void TestSettingsDialogs::colourList() {
    const QList<ColourEntry> list = ColourList(QPalette());
    QCOMPARE(list.size(), 50);
    QCOMPARE(list[0].name, QStringLiteral("clBlack"));
    QCOMPARE(list[9].colour, QColor(255, 0, 0));
    QCOMPARE(list[17].name, QStringLiteral("clSkyBlue"));
    QCOMPARE(list[17].colour, QColor(166, 202, 240));
    QCOMPARE(list[19].colour, QColor(160, 160, 164));
    QCOMPARE(list[20].name, QStringLiteral("clActiveBorder"));
    QCOMPARE(list[44].name, QStringLiteral("clScrollBar"));
    QCOMPARE(list[49].name, QStringLiteral("clWindowText"));
    TmyDlg dialog(m_inForce);
    dialog.load();
    QCOMPARE(dialog.ColorBox1->count(), 50);
    QCOMPARE(dialog.ColorBox1->itemText(18), QStringLiteral("clCream"));
}

void TestSettingsDialogs::centredAndKeysStayInTheFields_data() {
    QTest::addColumn<bool>("fees");
    QTest::newRow("fee rates") << true;
    QTest::newRow("system parameters") << false;
}

void TestSettingsDialogs::centredAndKeysStayInTheFields() {
    QFETCH(bool, fees);
    Sql("UPDATE setup SET B1 = 0.25, LM = 1");
    m_platform->margins = QMargins(1, 20, 1, 1);  // 2 wider, 21 higher than the dialog
    TSETDlg feeDialog(m_inForce);
    TmyDlg parameters(m_inForce);
    parameters.load();
    QDialog *dialog = fees ? static_cast<QDialog *>(&feeDialog) : &parameters;
    QWidget *field = fees ? static_cast<QWidget *>(feeDialog.Edit5) : parameters.SpinEdit1;
    for (int showing = 0; showing < 2; ++showing) {  // centred, frame included, every time
        dialog->hide();
        dialog->move(5, 5);
        dialog->show();
        QCOMPARE(dialog->geometry().topLeft(), QPoint((1024 - dialog->width() - 2) / 2 + 1,
                                                      (768 - dialog->height() - 21) / 2 + 20));
    }
    m_platform->margins = {};
    field->setFocus();
    feeDialog.Edit5->setText(QStringLiteral("0.5"));
    parameters.RadioButton2->setChecked(true);
    QTest::keyClick(field, Qt::Key_Return);
    QVERIFY(dialog->isVisible());
    QCOMPARE(Texts(feeDialog), (QStringList{"0", "0.5", "0.25", "3", "0", "0.1", "1"}));
    QVERIFY(m_messages->shown.isEmpty());
    QCOMPARE(*storage::LoadSystemParameters(Database()).differenceCorner, 3);  // nothing saved
    // Tab goes round the fields and never rests on a button.
    for (int i = 0; i < 20; ++i) {
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
        QVERIFY(qobject_cast<QPushButton *>(dialog->focusWidget()) == nullptr);
    }
}

QTEST_MAIN(TestSettingsDialogs)
#include "test_settings_dialogs.moc"
