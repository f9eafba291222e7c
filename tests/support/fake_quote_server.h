#pragma once
// A quote service on 127.0.0.1 for tests: records each request's head and answers with the
// status and body it is given, after a delay, or never; or floods: a chunked reply that never
// ends, sent as fast as the client takes it.

#include <QByteArray>
#include <QList>
#include <QTcpServer>

#include <functional>

class FakeQuoteServer final : public QTcpServer {
    Q_OBJECT
public:
    FakeQuoteServer();

    // "http://127.0.0.1:<port>"
    QString url() const;

    QList<QByteArray> requests;  // request line and headers, as received
    int status = 200;
    QByteArray body;
    std::function<QByteArray()> bodySource;  // when set, asked at each request instead
    bool announceLength = true;
    QByteArray location;  // sent as the Location header when set
    QByteArray headers;   // further header lines, each ended by "\r\n"
    int delayMs = 0;
    bool hang = false;
    bool flood = false;

    // The path of the n-th request, e.g. "/list=sh600000,sz000001".
    QByteArray path(int n) const;
    // The value of a header of the n-th request; empty when it has none.
    QByteArray header(int n, const QByteArray &name) const;

private:
    void answer(QTcpSocket *socket);
    void reply(QTcpSocket *socket);
};

// The reply line the service gives for one stock: name and current price in fields 0 and 3,
// date and time in fields 30 and 31.
QByteArray QuoteLine(const QString &prefixedCode, const QString &name, const QString &price);
// The second service's line for one stock: name, code, price and previous close (15.00) in
// fields 1 to 4, the time in field 30.
QByteArray FallbackQuoteLine(const QString &prefixedCode, const QString &name,
                             const QString &price);
