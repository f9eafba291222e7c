#pragma once
// Reads the current prices of a list of codes from the quote service, without ever making
// the caller wait: one GET for the whole list (one per kCodesPerRequest codes), a deadline
// shorter than the reading period, replies over 1 MB refused.

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

    explicit QuoteClient(int deadlineMs = 4000, QObject *parent = nullptr);
    ~QuoteClient() override;
    QuoteClient(const QuoteClient &) = delete;
    QuoteClient &operator=(const QuoteClient &) = delete;

    // Starts a reading of these codes from the endpoint in force. False, and nothing
    // started, while the previous reading is still under way.
    bool Read(const QStringList &codes);
    bool pending() const { return m_open > 0; }

signals:
    void finished(const monitor::QuoteReading &reading);

private:
    struct Batch {
        QPointer<QNetworkReply> reply;
        qsizetype first = 0;
        QStringList codes;
    };

    void batchDone(int index);
    void expire();
    void finish();

    QNetworkAccessManager m_network;
    QTimer m_deadline;
    QList<Batch> m_batches;
    QuoteReading m_reading;
    int m_open = 0;
};

}  // namespace monitor
