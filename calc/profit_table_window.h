#pragma once
// TForm9: the profit breakdown table of one holding at a ladder of sell prices.

#include "settings/settings_in_force.h"
#include "widgets/spin_edit.h"
#include "widgets/title_panel.h"
#include "widgets/tool_window.h"

#include "numbers/instrument_class.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

class TForm9 final : public ToolWindowOf<TForm9> {
    Q_OBJECT
public:
    explicit TForm9(const settings::InForce &inForce);

    TitlePanel *Panel1;
    QPushButton *SpeedButton2;   // close
    QLineEdit *Edit1;            // average buy price
    QLineEdit *Edit2;            // cost (break-even) price
    QLineEdit *Edit3;            // quantity
    QRadioButton *RadioButton3;  // step in fen
    SpinEdit *SpinEdit1;
    QRadioButton *RadioButton4;  // step in percent
    SpinEdit *SpinEdit3;
    SpinEdit *SpinEdit2;           // rows on each side
    QRadioButton *RadioButton1;    // 深交所
    QRadioButton *RadioButton2;    // 上交所
    QComboBox *ClassBox;           // 股票, 基金, 债券: whose fees the rows charge
    QTableWidget *ListView1;       // price, fees, profit, and the unseen fee text
    QPushButton *SpeedButton1010;  // 重新计算
    QPushButton *SpeedButton3;     // 退    出

    // Fills the rows from the fields; reports a failure with its message, one of the holding
    // figures only when `reportFigures`. False when a holding figure did not parse and the
    // fill stopped.
    bool FillProfitTable(bool reportFigures = true);

private:
    const settings::InForce &m_inForce;
};

// Opens (or focuses) the table so that it overlaps the holdings window's right edge by 100
// pixels, or further left as far as it takes to stay on the screen; writes the three figures
// and fills it. False, without a message, when the figures could not be tabulated.
// `instrument` chooses the class whose fees the table charges.
bool OpenProfitTable(const QString &averageText, const QString &costText,
                     const QString &quantityText, const QWidget *holdingsWindow,
                     const settings::InForce &inForce,
                     numbers::InstrumentClass instrument = numbers::InstrumentClass::Share);
