#include "settings/settings_in_force.h"

#include "numbers/fee_schedule.h"
#include "storage/setup_columns.h"

#include <algorithm>

namespace settings {

InForce::InForce(QObject *parent) : QObject(parent), m_feeTexts(numbers::DefaultFeeTexts()) {
    m_system.differenceCorner = storage::InitialInteger(storage::kS1);
    m_system.averageCorner = storage::InitialInteger(storage::kS2);
    m_system.refreshOn = storage::InitialInteger(storage::kCN) != 0;
    m_system.refreshSeconds = storage::InitialInteger(storage::kTM);
    m_system.overlayFontSize = storage::InitialInteger(storage::kFZ);
}

numbers::FeeScheduleReading InForce::fees() const {
    return numbers::ReadFeeSchedule(m_feeTexts, m_transferBasis, m_classTexts);
}

void InForce::setClassCommissions(const numbers::ClassCommissionTexts &texts) {
    if (texts == m_classTexts) {
        return;
    }
    m_classTexts = texts;
    emit changed();
}

void InForce::setFees(const numbers::FeeTexts &texts, numbers::TransferBasis basis) {
    if (texts == m_feeTexts && basis == m_transferBasis) {
        return;
    }
    m_feeTexts = texts;
    m_transferBasis = basis;
    emit changed();
}

void InForce::setSystem(const SystemParameters &parameters) {
    if (parameters == m_system) {
        return;
    }
    m_system = parameters;
    emit changed();
}

std::optional<int32_t> LoadedCorner(int32_t stored) {
    if (stored >= storage::kSetupColumns[storage::kS1].low &&
        stored <= storage::kSetupColumns[storage::kS1].high) {
        return stored;
    }
    return std::nullopt;
}

int32_t LoadedSeconds(int32_t stored) {
    return stored < storage::kSetupColumns[storage::kTM].low ? 0 : stored;
}

int32_t LoadedFontSize(int32_t stored) {
    return stored < 1 ? storage::InitialInteger(storage::kFZ) : HeldFontSize(stored);
}

int32_t HeldFontSize(int32_t size) {
    return std::clamp<int32_t>(size, storage::kSetupColumns[storage::kFZ].low,
                               storage::kSetupColumns[storage::kFZ].high);
}

}  // namespace settings
