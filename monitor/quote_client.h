#pragma once
// Reads the current prices of a list of codes from a quote service, without ever making the
// caller wait: a reading is one GET per batch of codes, all of them ended by a deadline that
// falls before the next reading is due; a reply over 1 MB is cut off and refused, and
// redirects are followed only on the service's own origin.

#include "monitor/monitor_rows.h"
#include "monitor/quote_protocol.h"

#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <optional>

class QNetworkReply;

namespace monitor {

// A reading still under way this long after it started is ended: late enough that a slow
// service's answer is used, early enough that the reading has ended, and said so, before
// the next one is due.
inline constexpr int kReplyDeadlineMs = kReadingPeriodMs - 250;

struct QuoteReading {
    // For each code, in the order asked: its price text (empty for a code the service does
    // not know), or nothing when this reading brought no price for it.
    QList<std::optional<QString>> prices;
    // Why the reading, or a batch of it, failed, in the user's words; empty on success.
    QString error;
};

class QuoteClient final : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kMaxReplyBytes = 1024 * 1024;
    static constexpr int kMaxRedirects = 3;

    explicit QuoteClient(int deadlineMs = kReplyDeadlineMs, QObject *parent = nullptr);
    ~QuoteClient() override;
    QuoteClient(const QuoteClient &) = delete;
    QuoteClient &operator=(const QuoteClient &) = delete;

    // Starts a reading of these codes from the main service, or the one given. False, and
    // nothing started, while the previous reading is still under way.
    bool Read(const QStringList &codes);
    bool Read(const QStringList &codes, const QuoteService &service);
    bool pending() const { return m_open > 0; }

signals:
    void finished(const monitor::QuoteReading &reading);

private:
    enum class BatchState { Open, Done, TooLarge, Expired };

    struct Batch {
        QPointer<QNetworkReply> reply;
        qsizetype first = 0;  // position of the batch's first code in the reading
        QStringList codes;
        QByteArray body;
        BatchState state = BatchState::Open;
    };

    Batch *find(const QNetworkReply *reply);
    void receive(Batch *batch);
    void end(Batch &batch, BatchState state);
    void batchDone(Batch *batch);
    void expire();

    QNetworkAccessManager m_network;
    QTimer m_deadline;
    QuoteService m_service;
    QList<Batch> m_batches;
    QuoteReading m_reading;
    int m_open = 0;
};

}  // namespace monitor
