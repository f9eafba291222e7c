#include "support/fake_quote_server.h"

#include <QStringEncoder>
#include <QTcpSocket>
#include <QTimer>

FakeQuoteServer::FakeQuoteServer() {
    listen(QHostAddress::LocalHost);
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        }
    });
}

QString FakeQuoteServer::url() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(serverPort());
}

void FakeQuoteServer::answer(QTcpSocket *socket) {
    QByteArray head = socket->property("head").toByteArray() + socket->readAll();
    socket->setProperty("head", head);
    if (!head.contains("\r\n\r\n") || socket->property("answered").toBool()) {
        return;
    }
    socket->setProperty("answered", true);
    requests.append(head.left(head.indexOf("\r\n\r\n")));
    if (hang) {
        return;
    }
    if (delayMs > 0) {
        QTimer::singleShot(delayMs, socket, [this, socket] { reply(socket); });
    } else {
        reply(socket);
    }
}

void FakeQuoteServer::reply(QTcpSocket *socket) {
    if (flood) {
        static const QByteArray kChunk = "10000\r\n" + QByteArray(0x10000, 'x') + "\r\n";
        const auto more = [socket] {
            while (socket->state() == QAbstractSocket::ConnectedState &&
                   socket->bytesToWrite() < 4 * kChunk.size()) {
                socket->write(kChunk);
            }
        };
        connect(socket, &QTcpSocket::bytesWritten, socket, more);
        socket->write("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n");
        more();
        return;
    }
    const QByteArray content = bodySource ? bodySource() : body;
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(status) + " Status\r\n" +
                       "Content-Type: application/javascript; charset=GBK\r\n";
    if (announceLength) {
        reply += "Content-Length: " + QByteArray::number(content.size()) + "\r\n";
    }
    if (!location.isEmpty()) {
        reply += "Location: " + location + "\r\n";
    }
    reply += headers + "Connection: close\r\n\r\n" + content;
    socket->write(reply);
    socket->disconnectFromHost();
}

QByteArray FakeQuoteServer::path(int n) const {
    const QList<QByteArray> words = requests.value(n).split('\n').value(0).split(' ');
    return words.value(1);
}

QByteArray FakeQuoteServer::header(int n, const QByteArray &name) const {
    for (const QByteArray &line : requests.value(n).split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == name.toLower()) {
            return line.mid(colon + 1).trimmed();
        }
    }
    return {};
}

QByteArray QuoteLine(const QString &prefixedCode, const QString &name, const QString &price) {
    QStringEncoder gbk("GBK");
    const QString line = QStringLiteral(
                             "var hq_str_%1=\"%2,10.000,9.900,%3,10.200,9.800,0,0,1000,"
                             "10000.000,")
                             .arg(prefixedCode, name, price) +
                         QStringLiteral("0,").repeated(20) +
                         QStringLiteral("2026-03-05,14:35:02,00\";\n");
    return gbk.encode(line);
}

QByteArray FallbackQuoteLine(const QString &prefixedCode, const QString &name,
                             const QString &price) {
    QStringEncoder gbk("GBK");
    const QString line =
        QStringLiteral("v_%1=\"1~%2~%3~%4~15.00~15.10~1000~0~0%5~20260305143502~0~0\";\n")
            .arg(prefixedCode, name, prefixedCode.mid(2), price, QStringLiteral("~").repeated(21));
    return gbk.encode(line);
}
