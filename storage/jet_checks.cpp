// The checks an imported row and settings value pass before they are stored: codes, prices,
// quantities and the settings as the dialogs would take them typed.
#include "storage/jet_checks.h"

#include "numbers/number_syntax.h"
#include "storage/setup_columns.h"
#include "storage/watch_list_store.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace storage {

namespace {

bool IsNumber(const QVariant &value) {
    return value.typeId() == QMetaType::Double || value.typeId() == QMetaType::LongLong;
}

// A price the program reads back: within the largest decimal it keeps.
std::optional<double> Price(const QVariant &value) {
    if (!IsNumber(value) || !numbers::WithinDecimalLimit(value.toDouble())) {
        return std::nullopt;
    }
    return value.toDouble();
}

std::optional<qint64> Quantity(const QVariant &value) {
    const double number = IsNumber(value) ? value.toDouble() : NAN;
    if (!std::isfinite(number) || number != std::floor(number) ||
        number < std::numeric_limits<int32_t>::min() ||
        number > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<qint64>(number);
}

// A stock code as the program takes it typed: six digits.
bool IsCode(const QVariant &value) {
    if (value.typeId() != QMetaType::QString) {
        return false;
    }
    const QString code = value.toString();
    return code.size() == 6 &&
           std::all_of(code.begin(), code.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

}  // namespace

Checked CheckLot(const QVariantList &row) {
    const QVariant &code = row[1];
    if (row[0].typeId() != QMetaType::LongLong) {
        return {{}, QStringLiteral("缺少编号")};
    }
    if (code.typeId() != QMetaType::QString) {
        return {{}, QStringLiteral("缺少股票代码")};
    }
    if (!IsCode(code)) {
        return {{}, QStringLiteral("股票代码不是六位数字")};
    }
    if (!row[2].isValid()) {
        return {{}, QStringLiteral("缺少买入价格")};
    }
    const std::optional<double> price = Price(row[2]);
    if (!price) {
        return {{}, QStringLiteral("买入价格超出范围")};
    }
    if (!row[3].isValid()) {
        return {{}, QStringLiteral("缺少股数")};
    }
    const std::optional<qint64> quantity = Quantity(row[3]);
    if (!quantity) {
        return {{}, QStringLiteral("股数超出范围")};
    }
    // The holdings read a lot whose amount the program cannot keep as unreadable.
    if (!numbers::WithinAmountLimit(*price, *quantity)) {
        return {{}, QStringLiteral("买入金额超出范围")};
    }
    return {{row[0], code, *price, *quantity}, {}};
}

Checked CheckWatched(const QVariantList &row) {
    if (row[0].typeId() != QMetaType::LongLong) {
        return {{}, QStringLiteral("缺少编号")};
    }
    if (row[1].typeId() != QMetaType::QString) {
        return {{}, QStringLiteral("缺少股票代码")};
    }
    if (!IsCode(row[1])) {
        return {{}, QStringLiteral("股票代码不是六位数字")};
    }
    const char *missing[] = {"缺少上限价格", "缺少下限价格"};
    const char *outside[] = {"上限价格超出范围", "下限价格超出范围"};
    QVariantList prices;
    for (int i = 0; i < 2; ++i) {
        if (!row[3 + i].isValid()) {
            return {{}, QString::fromUtf8(missing[i])};
        }
        const std::optional<double> price = Price(row[3 + i]);
        if (!price) {
            return {{}, QString::fromUtf8(outside[i])};
        }
        prices.append(*price);
    }
    // A NULL name is an empty one, as the watch list reads it.
    return {{row[0], row[1], CleanName(row[2].toString()), prices[0], prices[1]}, {}};
}

std::optional<QVariant> SetupValue(qsizetype column, const QVariant &value) {
    if (column == kCN) {
        return value.typeId() == QMetaType::Bool ? std::optional<QVariant>(int(value.toBool()))
                                                 : std::nullopt;
    }
    if (kSetupColumns[column].type == "INTEGER") {
        const std::optional<qint64> whole = Quantity(value);
        return whole ? std::optional<QVariant>(*whole) : std::nullopt;
    }
    if (!IsNumber(value) || !numbers::ParseDecimal(numbers::FormatAmount(value.toDouble()))) {
        return std::nullopt;
    }
    return value.toDouble();
}

}  // namespace storage
