#include "holdings/book.h"

#include "numbers/entry_messages.h"
#include "numbers/money.h"
#include "numbers/number_syntax.h"

#include <QSet>

namespace holdings {

namespace {

const QString kSaveFailed = QStringLiteral("保存失败!数据库无法写入。");
const QString kDeleteFailed = QStringLiteral("删除失败!数据库无法写入。");

BookOutcome Refused(const QString &caption, const QString &text) {
    return {BookOutcome::Kind::Refused, Message{caption, text}, 0};
}

BookOutcome Done(qint64 identity) {
    return {BookOutcome::Kind::Done, std::nullopt, identity};
}

// A lot whose amount lies beyond a typed number's limit could not be read back.
bool Storable(const Lot &lot) {
    return numbers::WithinAmountLimit(lot.price, lot.quantity);
}

}  // namespace

Book::Book(storage::Database database, QObject *parent)
    : QObject(parent), m_database(std::move(database)) {}

bool Book::load() {
    std::optional<storage::LotsRead> read = storage::ReadEveryLot(m_database);
    if (!read) {
        return false;
    }
    m_lots = std::move(read->lots);
    m_unreadable = read->unreadable;
    m_loaded = true;
    reindex();
    emit reset();
    emit changed();
    return true;
}

const Lot *Book::find(qint64 identity) const {
    const auto it = m_index.constFind(identity);
    return it == m_index.cend() ? nullptr : &m_lots[*it];
}

BookOutcome Book::add(const Lot &lot) {
    if (!Storable(lot)) {
        return Refused(QStringLiteral("错误"), numbers::AmountOutOfRangeMessage());
    }
    const std::optional<Lot> stored = storage::InsertLot(m_database, lot);
    if (!stored) {
        return notWritten(storage::Outcome::Failed, kSaveFailed);
    }
    m_index.insert(stored->identity, m_lots.size());
    m_lots.append(*stored);
    emit lotAdded(stored->identity);
    emit changed();
    return Done(stored->identity);
}

BookOutcome Book::save(qint64 identity, const Lot &lot) {
    const Lot *loaded = find(identity);
    if (loaded == nullptr) {
        return changedElsewhere();
    }
    if (!Storable(lot)) {
        return Refused(QStringLiteral("错误"), numbers::AmountOutOfRangeMessage());
    }
    storage::Outcome outcome = storage::Outcome::Failed;
    const std::optional<Lot> stored = storage::SaveLot(m_database, *loaded, lot, &outcome);
    if (!stored) {
        return notWritten(outcome, kSaveFailed);
    }
    replace(*stored);
    emit changed();
    return Done(identity);
}

BookOutcome Book::remove(qint64 identity) {
    const Lot *loaded = find(identity);
    if (loaded == nullptr) {
        return changedElsewhere();
    }
    const storage::Outcome outcome = storage::DeleteLot(m_database, *loaded);
    if (outcome != storage::Outcome::Done) {
        return notWritten(outcome, kDeleteFailed);
    }
    drop({identity});
    emit changed();
    return Done(0);
}

BookOutcome Book::merge(const QList<qint64> &identities) {
    QList<Lot> lots;
    for (const qint64 identity : identities) {
        const Lot *lot = find(identity);
        if (lot == nullptr) {
            return changedElsewhere();
        }
        lots.append(*lot);
    }
    const MergePlan plan = PlanMerge(lots);
    if (!plan.survivor) {
        return {BookOutcome::Kind::Refused, plan.message, 0};
    }
    storage::Outcome outcome = storage::Outcome::Failed;
    const std::optional<Lot> stored =
        storage::MergeLots(m_database, lots.front(), *plan.survivor, plan.removed, &outcome);
    if (!stored) {
        return notWritten(outcome, kSaveFailed);
    }
    QList<qint64> removed;
    for (const Lot &lot : plan.removed) {
        removed.append(lot.identity);
    }
    drop(removed);
    replace(*stored);
    emit changed();
    return Done(stored->identity);
}

BookOutcome Book::changedElsewhere() {
    load();
    return {BookOutcome::Kind::ChangedElsewhere,
            Message{QStringLiteral("提示"), numbers::LotChangedElsewhereMessage()}, 0};
}

BookOutcome Book::notWritten(storage::Outcome outcome, const QString &failure) {
    if (outcome == storage::Outcome::Conflict || outcome == storage::Outcome::NoSuchRow) {
        return changedElsewhere();
    }
    return Refused(QStringLiteral("错误"), failure);
}

void Book::replace(const Lot &lot) {
    const auto it = m_index.constFind(lot.identity);
    if (it == m_index.cend()) {
        return;
    }
    m_lots[*it] = lot;
    emit lotChanged(lot.identity);
}

void Book::drop(const QList<qint64> &identities) {
    const QSet<qint64> gone(identities.cbegin(), identities.cend());
    m_lots.removeIf([&gone](const Lot &lot) { return gone.contains(lot.identity); });
    reindex();
    for (const qint64 identity : identities) {
        emit lotRemoved(identity);
    }
}

void Book::reindex() {
    m_index.clear();
    m_index.reserve(m_lots.size());
    for (qsizetype i = 0; i < m_lots.size(); ++i) {
        m_index.insert(m_lots[i].identity, i);
    }
}

}  // namespace holdings
