#pragma once
// Settings in force that a test sets directly, installed for the life of the object.

#include "numbers/fee_schedule.h"
#include "settings/settings_in_force.h"

class FakeSettings final : public settings::FeeSettings, public settings::SystemSettings {
public:
    FakeSettings() { settings::Install(this, this); }
    ~FakeSettings() override { settings::Install(nullptr, nullptr); }
    FakeSettings(const FakeSettings &) = delete;
    FakeSettings &operator=(const FakeSettings &) = delete;

    numbers::FeeTexts fees = numbers::DefaultFeeTexts();
    numbers::TransferBasis transferBasis = numbers::TransferBasis::PerShare;
    int differenceCorner = 3;
    int averageCorner = 4;
    int32_t overlayFontSize = 70;
    std::optional<uint32_t> overlayColour = 0xff000000u;

    numbers::FeeTexts FeeTexts() const override { return fees; }
    numbers::TransferBasis TransferFeeBasis() const override { return transferBasis; }
    int DifferenceCorner() const override { return differenceCorner; }
    int AverageCorner() const override { return averageCorner; }
    bool RefreshOn() const override { return false; }
    int32_t RefreshSeconds() const override { return 60; }
    int32_t OverlayFontSize() const override { return overlayFontSize; }
    std::optional<uint32_t> OverlayColour() const override { return overlayColour; }
};
