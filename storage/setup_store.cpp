#include "storage/setup_store.h"

#include "numbers/fee_schedule.h"
#include "numbers/number_syntax.h"
#include "storage/setup_columns.h"

#include <QStringList>

#include <algorithm>

namespace storage {

namespace {
QString ColumnName(SetupColumnIndex column) {
    const std::string_view name = kSetupColumns[column].name;
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}
}  // namespace

std::optional<StoredFees> LoadFees(const Database &database) {
    const std::optional<QSqlRecord> row = database.readSetup();
    if (!row) {
        return std::nullopt;
    }
    StoredFees stored;
    for (size_t i = 0; i < kFeeColumns.size(); ++i) {
        const int index = row->indexOf(ColumnName(kFeeColumns[i]));
        if (index < 0) {
            return std::nullopt;
        }
        const std::optional<QString> text = AmountText(row->value(index));
        // A stored number the fee fields would refuse when typed (beyond the largest
        // decimal, or not finite) is as unreadable as text: it never reaches a field.
        if (!text || (!text->isEmpty() && !numbers::ParseDecimal(*text))) {
            return std::nullopt;
        }
        stored.texts[i] = *text;
    }
    // Only 1 means per amount; anything else there, text included, reads per share and
    // leaves the rates as they were read.
    const int basis = row->indexOf(ColumnName(kTB));
    if (basis >= 0) {
        const std::optional<int32_t> value = IntegerValue(row->value(basis));
        if (value && *value == kSetupColumns[kTB].high) {
            stored.transferBasis = numbers::TransferBasis::PerAmount;
        }
    }
    // Unlike the seven rates, a class commission that cannot be read costs only itself: it
    // counts as unset, the share's, and is named so the dialog can say so.
    for (size_t i = 0; i < kClassCommissionColumns.size(); ++i) {
        const QString name = ColumnName(kClassCommissionColumns[i]);
        const int index = row->indexOf(name);
        if (index < 0) {
            continue;
        }
        const std::optional<QString> text = AmountText(row->value(index));
        if (!text || (!text->isEmpty() && !numbers::ParseDecimal(*text))) {
            stored.unreadableClassColumns.append(name);
        } else {
            stored.classTexts[i] = *text;
        }
    }
    return stored;
}

std::optional<numbers::FeeTexts> LoadFeeTexts(const Database &database) {
    const std::optional<StoredFees> stored = LoadFees(database);
    return stored ? std::optional<numbers::FeeTexts>(stored->texts) : std::nullopt;
}

bool SaveFeeSchedule(const Database &database, const numbers::FeeSchedule &fees) {
    const double values[] = {fees.BuyStampTaxRate,      fees.SellStampTaxRate,
                             fees.BuyCommissionRate,    fees.SellCommissionRate,
                             fees.ShenzhenTransferRate, fees.ShanghaiTransferRate,
                             fees.MinCommission};
    Columns columns;
    for (size_t i = 0; i < kFeeColumns.size(); ++i) {
        columns.append({ColumnName(kFeeColumns[i]), values[i]});
    }
    const bool perAmount = fees.TransferFeeBasis == numbers::TransferBasis::PerAmount;
    columns.append({ColumnName(kTB), perAmount ? kSetupColumns[kTB].high : kSetupColumns[kTB].low});
    return database.writeSetup(columns);
}

bool SaveClassCommissions(const Database &database, const numbers::ClassCommission &fund,
                          const numbers::ClassCommission &bond) {
    const std::optional<double> values[] = {fund.BuyRate, fund.SellRate, fund.Minimum,
                                            bond.BuyRate, bond.SellRate, bond.Minimum};
    Columns columns;
    for (size_t i = 0; i < kClassCommissionColumns.size(); ++i) {
        columns.append({ColumnName(kClassCommissionColumns[i]),
                        values[i] ? QVariant(*values[i]) : QVariant()});
    }
    return database.writeSetup(columns);
}

StoredSystemParameters LoadSystemParameters(const Database &database) {
    StoredSystemParameters stored;
    const std::optional<QSqlRecord> row = database.readSetup();
    if (!row) {
        return stored;
    }
    const auto column = [&row](SetupColumnIndex name) -> std::optional<QVariant> {
        const int index = row->indexOf(ColumnName(name));
        if (index < 0) {
            return std::nullopt;
        }
        return row->value(index);
    };
    const auto integer = [&column](SetupColumnIndex name) -> std::optional<int32_t> {
        const std::optional<QVariant> value = column(name);
        return value ? IntegerValue(*value) : std::nullopt;
    };
    if (!(stored.differenceCorner = integer(kS1))) {
        return stored;
    }
    if (!(stored.averageCorner = integer(kS2))) {
        return stored;
    }
    const std::optional<QVariant> refresh = column(kCN);
    if (!refresh || !(stored.refreshOn = BooleanValue(*refresh))) {
        return stored;
    }
    if (!(stored.refreshSeconds = integer(kTM))) {
        return stored;
    }
    if (!(stored.fontSize = integer(kFZ))) {
        return stored;
    }
    stored.colourIndex = integer(kFC);
    return stored;
}

bool SaveSystemParameters(const Database &database, const SystemParameters &parameters) {
    return database.writeSetup({{ColumnName(kS1), parameters.differenceCorner},
                                {ColumnName(kS2), parameters.averageCorner},
                                {ColumnName(kCN), parameters.refreshOn},
                                {ColumnName(kTM), parameters.refreshSeconds},
                                {ColumnName(kFZ), parameters.fontSize},
                                {ColumnName(kFC), parameters.colourIndex}});
}

}  // namespace storage
