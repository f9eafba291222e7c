#include "settings/settings_store.h"

#include <QStringList>

#include <algorithm>
#include <climits>

namespace storage {

namespace {
const QStringList &FeeColumns() {
    // Record order of the fee schedule.
    static const QStringList columns = {"A1", "A2", "B1", "B2", "C1", "C2", "LM"};
    return columns;
}
}  // namespace

std::optional<calc::FeeTexts> LoadFeeTexts(const Database &database) {
    const std::optional<QSqlRecord> row = database.ReadSetup();
    if (!row) {
        return std::nullopt;
    }
    calc::FeeTexts texts;
    for (qsizetype i = 0; i < FeeColumns().size(); ++i) {
        const int index = row->indexOf(FeeColumns()[i]);
        if (index < 0) {
            return std::nullopt;
        }
        const std::optional<QString> text = AmountText(row->value(index));
        if (!text) {
            return std::nullopt;
        }
        texts[static_cast<size_t>(i)] = *text;
    }
    return texts;
}

bool SaveFeeSchedule(const Database &database, const calc::FeeSchedule &fees) {
    const double values[] = {fees.BuyStampTaxRate,      fees.SellStampTaxRate,
                             fees.BuyCommissionRate,    fees.SellCommissionRate,
                             fees.ShenzhenTransferRate, fees.ShanghaiTransferRate,
                             fees.MinCommission};
    Columns columns;
    for (qsizetype i = 0; i < FeeColumns().size(); ++i) {
        columns.append({FeeColumns()[i], values[i]});
    }
    return database.WriteSetup(columns);
}

StoredSystemParameters LoadSystemParameters(const Database &database) {
    StoredSystemParameters stored;
    const std::optional<QSqlRecord> row = database.ReadSetup();
    if (!row) {
        return stored;
    }
    const auto column = [&row](const char *name) -> std::optional<QVariant> {
        const int index = row->indexOf(QLatin1String(name));
        if (index < 0) {
            return std::nullopt;
        }
        return row->value(index);
    };
    const auto integer = [&column](const char *name) -> std::optional<int32_t> {
        const std::optional<QVariant> value = column(name);
        return value ? IntegerValue(*value) : std::nullopt;
    };
    if (!(stored.differenceCorner = integer("S1"))) {
        return stored;
    }
    if (!(stored.averageCorner = integer("S2"))) {
        return stored;
    }
    const std::optional<QVariant> refresh = column("CN");
    if (!refresh || !(stored.refreshOn = BooleanValue(*refresh))) {
        return stored;
    }
    if (!(stored.refreshSeconds = integer("TM"))) {
        return stored;
    }
    if (!(stored.fontSize = integer("FZ"))) {
        return stored;
    }
    stored.colourIndex = integer("FC");
    return stored;
}

bool SaveSystemParameters(const Database &database, const SystemParameters &parameters) {
    return database.WriteSetup({{"S1", parameters.differenceCorner},
                                {"S2", parameters.averageCorner},
                                {"CN", parameters.refreshOn},
                                {"TM", parameters.refreshSeconds},
                                {"FZ", parameters.fontSize},
                                {"FC", parameters.colourIndex}});
}

std::optional<int32_t> LoadedCorner(int32_t stored) {
    if (stored >= 1 && stored <= 4) {
        return stored;
    }
    return std::nullopt;
}

int32_t LoadedSeconds(int32_t stored) {
    return stored < 1 ? 0 : stored;
}

int32_t LoadedFontSize(int32_t stored) {
    return stored < 1 ? 70 : std::clamp<int32_t>(stored, 20, 150);
}

std::optional<int> RefreshIntervalMs(int32_t seconds) {
    if (seconds < 1) {
        return std::nullopt;
    }
    return static_cast<int>(std::min<int64_t>(int64_t{seconds} * 1000, INT_MAX));
}

}  // namespace storage
