#include "holdings/journal_list.h"

#include "numbers/decimal.h"
#include "numbers/number_syntax.h"

#include <QRegularExpression>

#include <algorithm>

namespace holdings {

using storage::TradeRow;

QStringList JournalHeader() {
    return {QStringLiteral("日期"),    QStringLiteral("代码"),   QStringLiteral("类型"),
            QStringLiteral("价格"),    QStringLiteral("数量"),   QStringLiteral("手续费"),
            QStringLiteral("印花税"),  QStringLiteral("过户费"), QStringLiteral("发生金额"),
            QStringLiteral("实现盈亏")};
}

QString JournalText(const TradeRow &row, JournalColumn column) {
    const auto amount = numbers::FormatAmount;
    switch (column) {
        case JournalColumn::Day:
            return row.day;
        case JournalColumn::Code:
            return row.code;
        case JournalColumn::Kind:
            return row.kind;
        case JournalColumn::Price:
            return amount(row.price);
        case JournalColumn::Quantity:
            return QString::number(row.quantity);
        case JournalColumn::Commission:
            return amount(row.commission);
        case JournalColumn::Stamp:
            return amount(row.stamp);
        case JournalColumn::Transfer:
            return amount(row.transfer);
        case JournalColumn::Amount:
            return amount(row.amount);
        case JournalColumn::Profit:
            return row.profit ? amount(*row.profit) : QString();
        case JournalColumn::Count:
            break;
    }
    return {};
}

QList<TradeRow> NewestFirst(QList<TradeRow> rows) {
    std::sort(rows.begin(), rows.end(), [](const TradeRow &a, const TradeRow &b) {
        return a.day != b.day ? a.day > b.day : a.identity > b.identity;
    });
    return rows;
}

JournalTotals TotalsOf(const QList<TradeRow> &rows) {
    numbers::Decimal profit;
    numbers::Decimal commission;
    numbers::Decimal stamp;
    numbers::Decimal transfer;
    JournalTotals totals;
    for (const TradeRow &row : rows) {
        commission = commission + numbers::Decimal::Of(row.commission);
        stamp = stamp + numbers::Decimal::Of(row.stamp);
        transfer = transfer + numbers::Decimal::Of(row.transfer);
        if (row.kind == storage::kSold) {
            ++totals.sales;
            const double made = row.profit.value_or(0);
            profit = profit + numbers::Decimal::Of(made);
            totals.profitableSales += made > 0 ? 1 : 0;
        }
    }
    totals.profit = profit.rounded(2).toDouble();
    totals.commission = commission.rounded(2).toDouble();
    totals.stamp = stamp.rounded(2).toDouble();
    totals.transfer = transfer.rounded(2).toDouble();
    return totals;
}

QList<QStringList> JournalCsvLines(const QList<TradeRow> &rows) {
    QList<QStringList> lines{JournalHeader()};
    for (const TradeRow &row : rows) {
        QStringList line;
        for (int column = 0; column < static_cast<int>(JournalColumn::Count); ++column) {
            line.append(JournalText(row, static_cast<JournalColumn>(column)));
        }
        lines.append(line);
    }
    return lines;
}

}  // namespace holdings

#include "holdings/live_figures.h"

namespace holdings {

QList<QStringList> PositionCsvLines(const QList<LiveRow> &rows) {
    QList<QStringList> lines{{QStringLiteral("代码"), QStringLiteral("名称"),
                              QStringLiteral("数量"), QStringLiteral("成本均价"),
                              QStringLiteral("现价"), QStringLiteral("市值"),
                              QStringLiteral("浮动盈亏"), QStringLiteral("盈亏比例(%)")}};
    const auto plain = [](QString text) {
        if (text.endsWith(u'%')) {
            text.chop(1);
        }
        if (text.startsWith(u'+')) {
            text.remove(0, 1);
        }
        static const QRegularExpression kNumber(QStringLiteral("^-?\\d+(\\.\\d+)?$"));
        return kNumber.match(text).hasMatch() ? text : QString();
    };
    for (const LiveRow &row : rows) {
        lines.append({row.code, row.name, plain(row.quantityText), plain(row.averageText),
                      plain(row.priceText), plain(row.valueText), plain(row.profitText),
                      plain(row.percentText)});
    }
    return lines;
}

}  // namespace holdings
