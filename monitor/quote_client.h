#pragma once
// Reads the current prices of a list of codes, without ever making the caller wait: a
// reading is one GET per batch of codes, all of them ended by a deadline that falls before
// the next reading is due; a reply over 1 MB is cut off and refused, and redirects are
// followed only on the service's own origin. A reading asks the service the source policy
// names; when the main service fails, the same reading goes on to the second service, under
// the same limits, within the same deadline.

#include "monitor/monitor_rows.h"
#include "monitor/quote_protocol.h"
#include "monitor/quote_source_policy.h"

#include <QElapsedTimer>
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

// The main service has this share of the deadline, in percent; the rest is left for the
// second service when the main one fails, so that even after a main service that never
// answers the second has time, and both end before the next reading.
inline constexpr int kMainSharePercent = 60;

class QuoteClient final : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kMaxReplyBytes = 1024 * 1024;
    static constexpr int kMaxRedirects = 3;

    explicit QuoteClient(int deadlineMs = kReplyDeadlineMs, QObject *parent = nullptr,
                         QuoteSourcePolicy::Clock clock = {});
    ~QuoteClient() override;
    QuoteClient(const QuoteClient &) = delete;
    QuoteClient &operator=(const QuoteClient &) = delete;

    // Starts a reading of these codes. False, and nothing started, while the previous
    // reading (with its second service) is still under way.
    bool Read(const QStringList &codes);
    bool pending() const { return m_open > 0; }
    const QuoteSourcePolicy &policy() const { return m_policy; }

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

    void ask(const QuoteService &service, int deadlineMs);
    void serviceDone();
    Batch *find(const QNetworkReply *reply);
    void receive(Batch *batch);
    void end(Batch &batch, BatchState state);
    void batchDone(Batch *batch);
    void expire();

    QNetworkAccessManager m_network;
    QTimer m_deadline;
    int m_deadlineMs;
    QElapsedTimer m_started;  // since the reading began
    QuoteSourcePolicy m_policy;
    QuoteService m_service;
    QStringList m_codes;
    QList<Batch> m_batches;
    QString m_serviceError;  // the first failed batch's, of the service asked now
    QuoteReading m_reading;
    int m_open = 0;
};

}  // namespace monitor
