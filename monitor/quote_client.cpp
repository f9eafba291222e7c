#include "monitor/quote_client.h"

#include "monitor/quote_protocol.h"

#include <QNetworkReply>
#include <QNetworkRequest>

namespace monitor {

namespace {

QString ReplyError(QNetworkReply *reply) {
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status != 0 && status != 200) {
        return QStringLiteral("行情服务拒绝请求(HTTP %1)").arg(status);
    }
    return QStringLiteral("无法连接行情服务");
}

}  // namespace

QuoteClient::QuoteClient(int deadlineMs, QObject *parent) : QObject(parent) {
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(deadlineMs);
    connect(&m_deadline, &QTimer::timeout, this, &QuoteClient::expire);
}

QuoteClient::~QuoteClient() {
    // Replies still under way end with the network manager, after the readings' state is
    // gone: they must not report back.
    for (const Batch &batch : std::as_const(m_batches)) {
        if (batch.reply != nullptr) {
            QObject::disconnect(batch.reply, nullptr, this, nullptr);
        }
    }
}

bool QuoteClient::Read(const QStringList &codes) {
    if (pending()) {
        return false;
    }
    m_batches.clear();
    m_reading = QuoteReading();
    m_reading.prices.resize(codes.size());
    const QList<QUrl> urls = QuoteRequestUrls(QuoteEndpoint(), codes);
    for (qsizetype i = 0; i < urls.size(); ++i) {
        QNetworkRequest request(urls[i]);
        request.setRawHeader("Referer", kQuoteReferer);
        Batch batch;
        batch.first = i * kCodesPerRequest;
        batch.codes = codes.mid(batch.first, kCodesPerRequest);
        batch.reply = m_network.get(request);
        const int index = static_cast<int>(i);
        QNetworkReply *reply = batch.reply;
        // A reply that announces or delivers more than the limit is dropped at once.
        connect(reply, &QNetworkReply::downloadProgress, this,
                [this, reply](qint64 received, qint64 total) {
                    if (received > kMaxReplyBytes || total > kMaxReplyBytes) {
                        reply->setProperty("tooLarge", true);
                        reply->abort();
                    }
                });
        connect(reply, &QNetworkReply::finished, this, [this, index] { batchDone(index); });
        m_batches.append(batch);
        ++m_open;
    }
    if (m_open == 0) {
        emit finished(m_reading);
        return true;
    }
    m_deadline.start();
    return true;
}

void QuoteClient::batchDone(int index) {
    Batch &batch = m_batches[index];
    QNetworkReply *reply = batch.reply;
    if (reply == nullptr || reply->property("done").toBool()) {
        return;
    }
    reply->setProperty("done", true);
    reply->deleteLater();

    QString error;
    std::optional<QHash<QString, QString>> prices;
    if (reply->property("tooLarge").toBool()) {
        error = QStringLiteral("行情数据过大,已拒收");
    } else if (reply->property("expired").toBool()) {
        error = QStringLiteral("行情服务无响应");
    } else if (reply->error() != QNetworkReply::NoError) {
        error = ReplyError(reply);
    } else {
        const QByteArray body = reply->readAll();
        const std::optional<QString> text =
            body.size() > kMaxReplyBytes ? std::nullopt : DecodeQuoteReply(body);
        prices = text ? ParseQuoteReply(*text) : std::nullopt;
        if (!prices) {
            error = QStringLiteral("行情数据无法识别");
        }
    }
    if (prices) {
        for (qsizetype i = 0; i < batch.codes.size(); ++i) {
            const auto found = prices->constFind(PrefixedCode(batch.codes[i]));
            if (found != prices->constEnd()) {
                m_reading.prices[batch.first + i] = *found;
            }
        }
    } else if (m_reading.error.isEmpty()) {
        m_reading.error = error;
    }
    if (--m_open == 0) {
        finish();
    }
}

void QuoteClient::expire() {
    // Aborting finishes each reply at once, which ends the reading.
    for (const Batch &batch : std::as_const(m_batches)) {
        if (batch.reply != nullptr && !batch.reply->property("done").toBool()) {
            batch.reply->setProperty("expired", true);
            batch.reply->abort();
        }
    }
}

void QuoteClient::finish() {
    m_deadline.stop();
    emit finished(m_reading);
}

}  // namespace monitor
