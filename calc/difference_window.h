#pragma once
// What the compact and the full price-difference calculators share: the same named fields,
// the calculation into them, and the copy of every field when one is switched for the other.

#include "settings/settings_in_force.h"
#include "widgets/spin_edit.h"
#include "widgets/tool_window.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

struct DifferenceFields {
    QLineEdit *Edit1;  // buy price
    QLineEdit *Edit2;  // sell price
    QLineEdit *Edit3;  // net profit
    QLineEdit *Edit4;  // buy stamp tax
    QLineEdit *Edit5;  // sell stamp tax
    QLineEdit *Edit6;  // buy commission
    QLineEdit *Edit7;  // sell commission
    QLineEdit *Edit8;  // transfer fee
    QLineEdit *Edit9;  // total fees
    SpinEdit *SpinEdit1;
    QComboBox *ComboBox1;
    QComboBox *ClassBox;  // 股票, 基金, 债券: whose fees the round trip pays
};

// Creates the fields with their filters, colours and initial texts (geometry is the window's).
void CreateDifferenceFields(DifferenceFields &fields, QWidget *parent);

// Validates and computes with the fees in force; writes the seven results, or shows the first
// failure's message owned by `owner` and changes no result.
void CalculateDifference(QWidget *owner, const DifferenceFields &fields,
                         const settings::InForce &inForce);

// Copies every text as it stands, and the exchange and the class as their list indexes.
void CopyDifferenceFields(const DifferenceFields &from, const DifferenceFields &to);

template <class Window>
class DifferenceWindow : public ToolWindowOf<Window>, public DifferenceFields {
public:
    QPushButton *SpeedButton1 = nullptr;  // calculate
    QPushButton *SpeedButton2 = nullptr;  // close
    QPushButton *SpeedButton3 = nullptr;  // switch to the other window

    const DifferenceFields &fields() const { return *this; }

    void SpeedButton1Click() { CalculateDifference(this, fields(), m_inForce); }
    void SpeedButton2Click() { this->close(); }

    // Focuses or creates the other window, hands it every field, and closes this one.
    template <class Other>
    Other *switchTo() {
        Other *other = Other::Open(m_inForce);
        CopyDifferenceFields(fields(), other->fields());
        this->close();
        return other;
    }

protected:
    explicit DifferenceWindow(const settings::InForce &inForce) : m_inForce(inForce) {
        CreateDifferenceFields(*this, this);
    }

    // Height, corner, drag origin and alignment, as every new calculator window gets them.
    void finishCreation(QSize size);

    const settings::InForce &m_inForce;
};

template <class Window>
void DifferenceWindow<Window>::finishCreation(QSize size) {
    this->setFixedSize(size);
    PlaceAtCorner(this, m_inForce.system().differenceCorner);
    this->resetDragOrigin();
    RightAlignPlainEdits(this);
    SpinEdit1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}
