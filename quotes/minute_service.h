#pragma once
// The minute service: the day's minutes of one code in one request,
// `<endpoint>/appstock/app/minute/query?code=<prefixed code>`, answered with JSON whose
// `data.<prefixed>.data.data` lists "HHMM price cumulativeVolume cumulativeAmount" (volume in
// lots of 100 shares, amount in yuan), `data.<prefixed>.data.date` names the day (yyyyMMdd),
// and `data.<prefixed>.qt.<prefixed>` is the quote's field list (name at 1, previous close at
// 4, time at 30). The client lives under the quote client's bounds: a deadline, a 1 MB cap,
// redirects only on the service's own origin.

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <optional>

namespace quotes {

// The service's address unless STOCKCALC_MINUTE_URL names another (tests, mirrors).
QString MinuteEndpoint();
QUrl MinuteUrl(const QString &endpoint, const QString &code);

// One minute as the service lists it, the volume already in shares.
struct MinuteRow {
    int hour = 0;
    int minute = 0;
    double price = 0;
    qint64 volume = 0;  // shares traded today up to the end of the minute
    double amount = 0;  // yuan traded today up to the end of the minute
};

struct MinuteReply {
    QDate day;  // invalid when the reply names none that reads
    std::optional<double> previousClose;
    QString name;
    QList<MinuteRow> rows;  // the rows that read, in the order given
    qsizetype broken = 0;   // rows left out: not four plain figures, a price not above 0
};

// The reply for `prefixedCode`; nothing when it is no JSON object or holds no minute list for
// that code (a reply for another code included).
std::optional<MinuteReply> ParseMinuteReply(const QByteArray &json, const QString &prefixedCode);

class MinuteClient final : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kMaxReplyBytes = 1024 * 1024;
    static constexpr int kDeadlineMs = 8000;

    explicit MinuteClient(QObject *parent = nullptr, int deadlineMs = kDeadlineMs);
    ~MinuteClient() override;

    // Asks for the day's minutes of `code`; a request still under way is dropped.
    void fetch(const QString &code);
    bool pending() const { return m_reply != nullptr; }

signals:
    // The reply, or nothing with the reason it failed.
    void finished(const QString &code, const std::optional<quotes::MinuteReply> &reply,
                  const QString &error);

private:
    void receive();
    void done();
    void fail(const QString &error);

    QNetworkAccessManager m_network;
    QPointer<QNetworkReply> m_reply;
    QTimer m_deadline;
    QString m_code;
    QByteArray m_body;
    int m_deadlineMs;
};

}  // namespace quotes
