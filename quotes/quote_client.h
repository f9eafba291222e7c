#pragma once
// Reads the current prices of a list of codes, without ever making the caller wait: a
// reading is one GET per batch of codes, all of them ended by a deadline that falls before
// the next reading is due; a reply over 1 MB, packed or unpacked, is cut off and refused as
// it arrives, and redirects are followed only on the service's own origin.
//
// A reading asks the service the source policy names first. The main service has the whole
// deadline. When it fails (an error, an unusable reply), the second service is asked at once;
// when it is merely slow, the second one is asked at the hedge point, in parallel. The reading
// ends as soon as it has a usable answer: a good main answer wins and the second service's
// batches still open are dropped; once the main service has failed or run out of time, the
// second service's answer is used. A good main answer that leaves codes without a usable
// price (an empty value, a reply cut off, a code left out) has the second service asked for
// those codes in the same reading. Both services live under the same limits and the same
// deadline, at which every batch still open is dropped.

#include "quotes/quote_protocol.h"
#include "quotes/quote_reading.h"
#include "quotes/quote_source_policy.h"
#include "quotes/reply_inflater.h"

#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class QNetworkReply;

namespace quotes {

// A reading still under way this long after it started is ended: late enough that a slow
// service's answer is used, early enough that the reading has ended, and said so, before
// the next one is due.
inline constexpr int kReplyDeadlineMs = kReadingPeriodMs - 250;

// A main service that has not answered after this share of the deadline, in percent, is
// joined by the second service, so that a main service that never answers still leaves the
// second one time to deliver before the deadline.
inline constexpr int kHedgePercent = 60;

// The network layer opens at most 6 connections to one host per manager; a reading's batches
// are spread over several managers so that all of them go out at once (up to this many).
inline constexpr int kConnectionsPerManager = 6;
inline constexpr int kMaxParallelRequests = 4 * kConnectionsPerManager;

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
    // reading (of either service) is still under way.
    bool read(const QStringList &codes);
    bool pending() const { return m_pending; }
    const QuoteSourcePolicy &policy() const { return m_policy; }

signals:
    void finished(const quotes::QuoteReading &reading);

private:
    // One service's part of the reading.
    struct Answer {
        QuoteService service;
        QList<std::optional<QuoteDetail>> quotes;
        QList<bool> covered;  // by position: asked of this service in this reading
        QString error;        // the first failed batch's
        int open = 0;         // batches still under way
        bool asked = false;
        bool good() const { return asked && open == 0 && error.isEmpty(); }
    };

    struct Batch {
        QuoteSource source = QuoteSource::Main;
        QPointer<QNetworkReply> reply;
        QList<qsizetype> positions;               // of the batch's codes in the reading
        QByteArray body;                          // as unpacked
        std::shared_ptr<ReplyInflater> inflater;  // for a packed reply
        bool encodingKnown = false;               // the reply's packing has been looked at
        bool open = true;
    };

    Answer &answer(QuoteSource source) { return m_answers[static_cast<std::size_t>(source)]; }
    void ask(QuoteSource source, const QList<qsizetype> &positions);
    QNetworkAccessManager &network(qsizetype batch);
    Batch *find(const QNetworkReply *reply);
    void receive(Batch *batch);
    // Adds what came to the body, unpacked; false, and the batch closed, when it passes the
    // size cap or does not unpack.
    bool take(Batch &batch, const QByteArray &bytes);
    void refuse(Batch &batch, const QString &error);
    void replyDone(Batch *batch);
    void close(Batch &batch, const QString &error, const std::optional<QuoteDetails> &quotes);
    void hedge();
    void expire();
    void decide();
    void finish(QuoteSource source);

    std::vector<std::unique_ptr<QNetworkAccessManager>> m_networks;
    QTimer m_hedge;
    QTimer m_deadline;
    int m_deadlineMs;
    QuoteSourcePolicy m_policy;
    QStringList m_codes;
    std::array<Answer, 2> m_answers;  // by QuoteSource
    QList<Batch> m_batches;
    QString m_mainError;  // the main service's error when it was last asked; empty: it answered
    bool m_pending = false;
};

}  // namespace quotes
