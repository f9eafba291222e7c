#pragma once
// The checks an imported row and settings value pass before they are stored.

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <optional>

namespace storage {

// The row as the program's values, or why it cannot be stored.
struct Checked {
    QVariantList values;
    QString reason;
};

// A lot row (identity, code, price, quantity) and a watched row (identity, code, name, upper and
// lower price) of the Windows program's file.
Checked CheckLot(const QVariantList &row);
Checked CheckWatched(const QVariantList &row);

// A settings value as the dialogs would take it typed: a rate the fee fields accept, a whole
// number for the integer columns, Yes/No for the switch. NULL or any other value is unreadable.
std::optional<QVariant> SetupValue(qsizetype column, const QVariant &value);

}  // namespace storage
