// The quote service for end-to-end runs, on 127.0.0.1: answers every request with the text
// of a file (UTF-8, sent as GBK), read anew each time so a test can move the prices, and
// logs each request's path and referrer.
//   quote_server <port file> <reply file> <log file>

#include "support/fake_quote_server.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringEncoder>

int main(int argc, char *argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4) {
        qCritical("usage: quote_server <port file> <reply file> <log file>");
        return 2;
    }
    FakeQuoteServer server;
    if (!server.isListening()) {
        return 1;
    }
    server.bodySource = [&server, &args] {
        QFile log(args[3]);
        if (log.open(QIODevice::Append)) {
            const int n = static_cast<int>(server.requests.size()) - 1;
            log.write(server.path(n) + ' ' + server.header(n, "Referer") + '\n');
        }
        QFile reply(args[2]);
        const QString text =
            reply.open(QIODevice::ReadOnly) ? QString::fromUtf8(reply.readAll()) : QString();
        QStringEncoder gbk("GBK");
        return QByteArray(gbk.encode(text));
    };
    QFile port(args[1] + QStringLiteral(".part"));
    if (!port.open(QIODevice::WriteOnly) ||
        port.write(QByteArray::number(server.serverPort())) < 0) {
        return 1;
    }
    port.close();
    port.rename(args[1]);
    return QCoreApplication::exec();
}
