#include "holdings/trade_journal.h"

#include "holdings/book.h"

#include "numbers/entry_messages.h"
#include "numbers/money.h"
#include "quotes/trading_calendar.h"

#include <algorithm>

namespace holdings {

namespace {

QString FailedMessage() {
    return QStringLiteral("无法写入数据库文件，未作改动.");
}

}  // namespace

TradeJournal::TradeJournal(storage::Database database, FeesInForce fees, quotes::Clock clock,
                           QObject *parent)
    : QObject(parent),
      m_database(std::move(database)),
      m_fees(std::move(fees)),
      m_clock(quotes::OrRealTime(std::move(clock))) {}

void TradeJournal::setBook(Book *book) {
    m_book = book;
}

void TradeJournal::addTableIfMissing() {
    storage::AddTradesTable(m_database);
}

QString TradeJournal::today() const {
    return DayText(m_clock().toTimeZone(quotes::BeijingTime()).date());
}

std::optional<numbers::FeeSchedule> TradeJournal::feesInForce(QString *error) const {
    std::optional<numbers::FeeSchedule> fees = m_fees ? m_fees() : numbers::FeeSchedule{};
    if (!fees) {
        *error = QStringLiteral("费率设置有误，请先在费率设置中改正.");
    }
    return fees;
}

TradeJournal::Result TradeJournal::carry(const Plan &plan, bool lotsChanged) {
    Result result;
    if (!plan.error.isEmpty()) {
        result.message = plan.error;
        return result;
    }
    result.outcome = storage::ApplyJournal(m_database, plan.change, &result.booked);
    switch (result.outcome) {
        case storage::Outcome::Done:
            if (lotsChanged && m_book) {
                m_book->load();
            }
            emit changed(lotsChanged);
            break;
        case storage::Outcome::Conflict:
        case storage::Outcome::NoSuchRow:
            result.message = numbers::LotChangedElsewhereMessage();
            if (m_book) {
                m_book->load();  // the lots as they are now
            }
            break;
        case storage::Outcome::Failed:
            result.message = FailedMessage();
            break;
    }
    return result;
}

TradeJournal::Result TradeJournal::buy(const storage::HoldingLot &lot) {
    Result result;
    const std::optional<numbers::FeeSchedule> fees = feesInForce(&result.message);
    if (!fees) {
        return result;
    }
    try {
        return carry(PlanPurchase(lot, today(), *fees), true);
    } catch (const numbers::AmountOutOfRange &) {
        result.message = numbers::AmountOutOfRangeMessage();
        return result;
    }
}

std::optional<SaleFigures> TradeJournal::preview(const storage::HoldingLot &lot,
                                                 const QString &priceText,
                                                 const QString &quantityText) const {
    QString error;
    const std::optional<numbers::FeeSchedule> fees = feesInForce(&error);
    const SaleEntryReading reading = ReadSaleEntry(lot, priceText, quantityText, today());
    if (!fees || !reading.entry) {
        return std::nullopt;
    }
    const std::optional<QList<storage::TradeRow>> rows =
        storage::ReadTradesOfCode(m_database, lot.code);
    try {
        return FigureSale(lot, rows.value_or(QList<storage::TradeRow>{}), reading.entry->price,
                          reading.entry->quantity, *fees);
    } catch (const numbers::AmountOutOfRange &) {
        return std::nullopt;
    }
}

TradeJournal::Result TradeJournal::sell(const storage::HoldingLot &lot, const QString &priceText,
                                        const QString &quantityText, const QString &dayText) {
    Result result;
    const SaleEntryReading reading = ReadSaleEntry(lot, priceText, quantityText, dayText);
    if (!reading.entry) {
        result.message = reading.error;
        return result;
    }
    const std::optional<numbers::FeeSchedule> fees = feesInForce(&result.message);
    if (!fees) {
        return result;
    }
    const std::optional<QList<storage::TradeRow>> rows =
        storage::ReadTradesOfCode(m_database, lot.code);
    if (!rows) {
        result.message = FailedMessage();
        return result;
    }
    try {
        return carry(PlanSale(lot, *rows, *reading.entry, *fees), true);
    } catch (const numbers::AmountOutOfRange &) {
        result.message = numbers::AmountOutOfRangeMessage();
        return result;
    }
}

namespace {

struct CodeRecords {
    QList<storage::HoldingLot> lots;
    QList<storage::TradeRow> rows;
};

// The lots and the journal rows of `code`; nothing, with the failure message, when the file
// cannot be read.
std::optional<CodeRecords> ReadCode(const storage::Database &database, const QString &code,
                                    QString *message) {
    std::optional<QList<storage::HoldingLot>> lots = storage::ReadLots(database);
    const std::optional<QList<storage::TradeRow>> rows = storage::ReadTradesOfCode(database, code);
    if (!lots || !rows) {
        *message = FailedMessage();
        return std::nullopt;
    }
    lots->removeIf([&code](const storage::HoldingLot &lot) { return lot.code != code; });
    return CodeRecords{*lots, *rows};
}

}  // namespace

TradeJournal::Result TradeJournal::adjust(const QString &code, const QString &cashText,
                                          const QString &sharesText, const QString &dayText) {
    Result result;
    const AdjustmentEntryReading reading = ReadAdjustmentEntry(cashText, sharesText, dayText);
    if (!reading.entry) {
        result.message = reading.error;
        return result;
    }
    const std::optional<numbers::FeeSchedule> fees = feesInForce(&result.message);
    if (!fees) {
        return result;
    }
    const std::optional<CodeRecords> records = ReadCode(m_database, code, &result.message);
    if (!records) {
        return result;
    }
    try {
        return carry(PlanAdjustment(records->lots, records->rows, *reading.entry, *fees), true);
    } catch (const numbers::AmountOutOfRange &) {
        result.message = numbers::AmountOutOfRangeMessage();
        return result;
    }
}

TradeJournal::Result TradeJournal::undo(const QString &code) {
    Result result;
    const std::optional<CodeRecords> records = ReadCode(m_database, code, &result.message);
    if (!records) {
        return result;
    }
    return carry(PlanUndo(records->rows, records->lots), true);
}

TradeJournal::Result TradeJournal::remove(qint64 identity) {
    Plan plan;
    plan.change.takenBack.append(identity);
    return carry(plan, false);
}

std::optional<QList<storage::TradeRow>> TradeJournal::rows(int year) const {
    return storage::ReadTradesOfYear(m_database, year);
}

std::optional<QList<int>> TradeJournal::years() const {
    return storage::ReadTradeYears(m_database);
}

}  // namespace holdings
