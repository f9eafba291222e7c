#include "settings/settings_in_force.h"

#include "numbers/fee_schedule.h"
#include "storage/setup_columns.h"

#include <algorithm>

namespace settings {

namespace {

class DefaultFees final : public FeeSettings {
public:
    numbers::FeeTexts FeeTexts() const override { return numbers::DefaultFeeTexts(); }
    numbers::TransferBasis TransferFeeBasis() const override {
        return numbers::TransferBasis::PerShare;
    }
};

class DefaultSystem final : public SystemSettings {
public:
    int DifferenceCorner() const override { return storage::InitialInteger(storage::kS1); }
    int AverageCorner() const override { return storage::InitialInteger(storage::kS2); }
    bool RefreshOn() const override { return storage::InitialInteger(storage::kCN) != 0; }
    int32_t RefreshSeconds() const override { return storage::InitialInteger(storage::kTM); }
    int32_t OverlayFontSize() const override { return storage::InitialInteger(storage::kFZ); }
    std::optional<uint32_t> OverlayColour() const override { return 0xff000000u; }  // black
};

const DefaultFees kDefaultFees;
const DefaultSystem kDefaultSystem;
const FeeSettings *g_fees = nullptr;
const SystemSettings *g_system = nullptr;

}  // namespace

const FeeSettings &Fees() {
    return g_fees != nullptr ? *g_fees : kDefaultFees;
}

const SystemSettings &System() {
    return g_system != nullptr ? *g_system : kDefaultSystem;
}

void Install(const FeeSettings *fees, const SystemSettings *system) {
    g_fees = fees;
    g_system = system;
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
