#pragma once
// The settings in force: what the two settings dialogs show now, saved or not. Windows ask
// these interfaces, never a dialog; the program installs the dialogs at start-up, and until
// then (and in tests that install nothing) the design defaults answer.

#include "numbers/fee_schedule.h"

#include <cstdint>
#include <optional>

namespace settings {

class FeeSettings {
public:
    virtual ~FeeSettings() = default;
    // The seven fee texts in record order, as typed.
    virtual numbers::FeeTexts FeeTexts() const = 0;
    // What the two transfer rates are charged on, as chosen.
    virtual numbers::TransferBasis TransferFeeBasis() const = 0;
    // The commission texts of funds and bonds, as typed; blank is the share's.
    virtual numbers::ClassCommissionTexts ClassCommissionTexts() const { return {}; }
};

class SystemSettings {
public:
    virtual ~SystemSettings() = default;
    // Screen corners, 1 top-left to 4 bottom-right; 0 when none is chosen.
    virtual int DifferenceCorner() const = 0;
    virtual int AverageCorner() const = 0;
    // The trading-client refresh switch and its seconds as the field reads now.
    virtual bool RefreshOn() const = 0;
    virtual int32_t RefreshSeconds() const = 0;
    // The overlay's font size and its colour as 0xAARRGGBB; no colour when none is chosen.
    virtual int32_t OverlayFontSize() const = 0;
    virtual std::optional<uint32_t> OverlayColour() const = 0;
};

// The settings in force. Never null.
const FeeSettings &Fees();
const SystemSettings &System();

// Installs the sources of the settings in force; null puts back the design defaults. The
// objects must outlive their installation.
void Install(const FeeSettings *fees, const SystemSettings *system);

// What the system-parameter dialog shows for a stored value.
std::optional<int32_t> LoadedCorner(int32_t stored);  // 1 to 4, else the design corner stays
int32_t LoadedSeconds(int32_t stored);                // below 1 shows 0
int32_t LoadedFontSize(int32_t stored);               // below 1 shows 70; held to 20 to 150

// The overlay's font size held to the field's range, 20 to 150, whatever it was given.
int32_t HeldFontSize(int32_t size);

}  // namespace settings
