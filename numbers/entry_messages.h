#pragma once
// The messages both list editors give for a typed code or price that will not do, for a row
// changed elsewhere and for rows that cannot be read.

#include <QString>

namespace numbers {

inline QString CodeIncompleteMessage() {
    return QStringLiteral("股票代码不完事!请正确填写.");
}
inline QString CodeInvalidMessage() {
    return QStringLiteral("股票代码错误!请正确填写.");
}
inline QString PriceInvalidMessage() {
    return QStringLiteral("股票价格错误!请正确填写.");
}

// A row changed or removed by another program since the list was read: nothing was written.
inline QString LotChangedElsewhereMessage() {
    return QStringLiteral("股票记录已被其他程序改动，列表已重新载入，请核对后再操作。");
}
inline QString WatchEntryChangedElsewhereMessage() {
    return QStringLiteral("监控记录已被其他程序改动，列表已重新载入，请核对后再操作。");
}

// Rows of the table that could not be read, said once per load.
inline QString UnreadableLotsMessage(int count) {
    return QStringLiteral("有%1条股票记录无法读取，未在列表中显示。").arg(count);
}
inline QString UnreadableWatchEntriesMessage(int count) {
    return QStringLiteral("有%1条监控记录无法读取，未在列表中显示。").arg(count);
}

}  // namespace numbers
