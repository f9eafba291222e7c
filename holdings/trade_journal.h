#pragma once
// The trade journal as the program uses it: reads the lots and rows it needs, plans the
// booking with holdings/journal.h and carries it out as one transaction, then says that the
// journal and the lots changed.

#include "holdings/journal.h"
#include "quotes/clock.h"

#include <QObject>
#include <QPointer>

#include <functional>

namespace holdings {

class Book;

class TradeJournal final : public QObject {
    Q_OBJECT
public:
    // `fees` gives the fee schedule in force, none when its texts do not parse.
    using FeesInForce = std::function<std::optional<numbers::FeeSchedule>()>;
    TradeJournal(storage::Database database, FeesInForce fees, quotes::Clock clock = {},
                 QObject *parent = nullptr);

    // The book that holds the lots: it reads them again after the journal changed them.
    void setBook(Book *book);
    // Gives an older or imported file its empty journal table. A file that cannot be written
    // now gains it with its first booking.
    void addTableIfMissing();

    // Today in Beijing time, as the journal writes a day.
    QString today() const;

    struct Result {
        storage::Outcome outcome = storage::Outcome::Failed;
        QString message;  // why nothing was written, for the trader
        QList<storage::TradeRow> booked;
        bool done() const { return outcome == storage::Outcome::Done; }
    };

    // Adds a new lot with its 买入 row for today.
    Result buy(const storage::HoldingLot &lot);
    // The figures of a sale as typed, for the dialog to show; none while a field will not do.
    std::optional<SaleFigures> preview(const storage::HoldingLot &lot, const QString &priceText,
                                       const QString &quantityText) const;
    Result sell(const storage::HoldingLot &lot, const QString &priceText,
                const QString &quantityText, const QString &dayText);
    Result adjust(const QString &code, const QString &cashText, const QString &sharesText,
                  const QString &dayText);
    // Takes back the latest sale or dividend and bonus issue of `code`.
    Result undo(const QString &code);
    // Deletes one row; the lots stay as they are.
    Result remove(qint64 identity);

    // The rows of `year` (0: every year); nothing when the file cannot be read.
    std::optional<QList<storage::TradeRow>> rows(int year = 0) const;
    // The years that have rows, latest first.
    std::optional<QList<int>> years() const;

signals:
    // Rows were booked or taken back; `lotsChanged` when lots changed with them.
    void changed(bool lotsChanged);

private:
    Result carry(const Plan &plan, bool lotsChanged);
    std::optional<numbers::FeeSchedule> feesInForce(QString *error) const;

    storage::Database m_database;
    FeesInForce m_fees;
    quotes::Clock m_clock;
    QPointer<Book> m_book;
};

}  // namespace holdings
