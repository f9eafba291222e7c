#pragma once
// The settings in force: what the two settings dialogs hold now, saved or not. The dialogs
// write every edit into it; the calculators, the holdings figures, the overlay and the
// trading-client refresh read it, and `changed` tells them when it moved. Until the dialogs
// load, it holds the values a new database starts with.

#include "numbers/fee_schedule.h"

#include <QObject>

#include <cstdint>
#include <optional>

namespace settings {

// The system parameters as the dialog holds them.
struct SystemParameters {
    int differenceCorner = 3;  // screen corners, 1 top-left to 4 bottom-right; 0 when none
    int averageCorner = 4;
    bool refreshOn = false;       // the trading-client refresh switch
    int32_t refreshSeconds = 60;  // and its seconds as the field reads now
    int32_t overlayFontSize = 70;
    std::optional<uint32_t> overlayColour = 0xff000000u;  // 0xAARRGGBB; none when none chosen

    bool operator==(const SystemParameters &) const = default;
};

class InForce final : public QObject {
    Q_OBJECT
public:
    explicit InForce(QObject *parent = nullptr);

    // The fee schedule with its transfer basis, or the message of the first fee text that
    // does not read.
    numbers::FeeScheduleReading fees() const;
    const SystemParameters &system() const { return m_system; }

    void setFees(const numbers::FeeTexts &texts, numbers::TransferBasis basis);
    // The commission texts of funds and bonds, as typed; blank is the share's.
    void setClassCommissions(const numbers::ClassCommissionTexts &texts);
    const numbers::ClassCommissionTexts &classCommissions() const { return m_classTexts; }
    void setSystem(const SystemParameters &parameters);

signals:
    // A fee or a system parameter is not what it was.
    void changed();

private:
    numbers::FeeTexts m_feeTexts;
    numbers::TransferBasis m_transferBasis = numbers::TransferBasis::PerShare;
    numbers::ClassCommissionTexts m_classTexts = {};
    SystemParameters m_system;
};

// What the system-parameter dialog shows for a stored value.
std::optional<int32_t> LoadedCorner(int32_t stored);  // 1 to 4, else the dialog's corner stays
int32_t LoadedSeconds(int32_t stored);                // below 1 shows 0
int32_t LoadedFontSize(int32_t stored);               // below 1 shows 70; held to 20 to 150

// The overlay's font size held to the field's range, 20 to 150, whatever it was given.
int32_t HeldFontSize(int32_t size);

}  // namespace settings
