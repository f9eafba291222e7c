#include "settings/settings_in_force.h"

#include "storage/setup_columns.h"

namespace settings {

namespace {

class DefaultFees final : public FeeSettings {
public:
    calc::FeeTexts FeeTexts() const override { return calc::DefaultFeeTexts(); }
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

}  // namespace settings
