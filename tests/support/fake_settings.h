#pragma once
// Settings in force that a test sets one value at a time, as the dialogs would.

#include "numbers/fee_schedule.h"
#include "settings/settings_in_force.h"

#include <cstddef>

class FakeSettings final {
public:
    settings::InForce inForce;

    void setFee(std::size_t field, const QString &text) {
        m_fees[field] = text;
        inForce.setFees(m_fees, m_basis);
    }
    void setTransferBasis(numbers::TransferBasis basis) {
        m_basis = basis;
        inForce.setFees(m_fees, m_basis);
    }
    void setDifferenceCorner(int corner) {
        change(&settings::SystemParameters::differenceCorner, corner);
    }
    void setAverageCorner(int corner) {
        change(&settings::SystemParameters::averageCorner, corner);
    }
    void setOverlayFontSize(int32_t size) {
        change(&settings::SystemParameters::overlayFontSize, size);
    }
    void setOverlayColour(std::optional<uint32_t> colour) {
        change(&settings::SystemParameters::overlayColour, colour);
    }

private:
    template <class Value>
    void change(Value settings::SystemParameters::*member, Value value) {
        settings::SystemParameters parameters = inForce.system();
        parameters.*member = value;
        inForce.setSystem(parameters);
    }

    numbers::FeeTexts m_fees = numbers::DefaultFeeTexts();
    numbers::TransferBasis m_basis = numbers::TransferBasis::PerShare;
};
