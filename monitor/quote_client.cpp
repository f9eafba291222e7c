#include "monitor/quote_client.h"

#include "monitor/market.h"
#include "monitor/tencent_protocol.h"

#include <QNetworkReply>
#include <QNetworkRequest>

namespace monitor {

namespace {

// What the network layer may hold of a reply before the client has taken it: the transfer
// waits for the client instead of filling memory.
constexpr qint64 kReadBufferBytes = 64 * 1024;

QString ReplyError(QNetworkReply *reply) {
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    switch (reply->error()) {
        case QNetworkReply::InsecureRedirectError:
            return QStringLiteral("行情服务转向其他地址(HTTP %1)").arg(status);
        case QNetworkReply::TooManyRedirectsError:
            return QStringLiteral("行情服务转向次数过多(HTTP %1)").arg(status);
        default:
            break;
    }
    if (status != 0 && status != 200) {
        return QStringLiteral("行情服务拒绝请求(HTTP %1)").arg(status);
    }
    return QStringLiteral("无法连接行情服务");
}

}  // namespace

QuoteClient::QuoteClient(int deadlineMs, QObject *parent, QuoteSourcePolicy::Clock clock)
    : QObject(parent), m_deadlineMs(deadlineMs), m_policy(std::move(clock)) {
    m_deadline.setSingleShot(true);
    m_deadline.setTimerType(Qt::PreciseTimer);
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
    m_started.start();
    m_codes = codes;
    m_reading = QuoteReading();
    m_reading.quotes.resize(codes.size());
    if (m_policy.firstSource() == QuoteSource::Main) {
        ask(MainQuoteService(), m_deadlineMs * kMainSharePercent / 100);
    } else {
        ask(FallbackQuoteService(), m_deadlineMs);
    }
    return true;
}

void QuoteClient::ask(const QuoteService &service, int deadlineMs) {
    m_service = service;
    m_batches.clear();
    m_serviceError.clear();
    const QList<QUrl> urls = RequestUrls(service, m_codes);
    for (qsizetype i = 0; i < urls.size(); ++i) {
        Batch batch;
        batch.first = i * service.codesPerRequest;
        batch.codes = m_codes.mid(batch.first, service.codesPerRequest);
        QNetworkRequest request(urls[i]);
        if (!service.referer.isEmpty()) {
            request.setRawHeader("Referer", service.referer);
        }
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::SameOriginRedirectPolicy);
        request.setMaximumRedirectsAllowed(kMaxRedirects);
        batch.reply = m_network.get(request);
        QNetworkReply *reply = batch.reply;
        reply->setReadBufferSize(kReadBufferBytes);
        connect(reply, &QNetworkReply::readyRead, this, [this, reply] { receive(find(reply)); });
        connect(reply, &QNetworkReply::finished, this, [this, reply] { batchDone(find(reply)); });
        m_batches.append(batch);
        ++m_open;
    }
    if (m_open == 0) {
        serviceDone();
        return;
    }
    m_deadline.start(std::max(1, deadlineMs));
}

void QuoteClient::serviceDone() {
    m_deadline.stop();
    if (m_service.source == QuoteSource::Main) {
        m_policy.mainAnswered(m_serviceError.isEmpty());
        const qint64 left = m_deadlineMs - m_started.elapsed();
        if (!m_serviceError.isEmpty() && left > 0) {
            m_reading.mainError = m_serviceError;
            ask(FallbackQuoteService(), static_cast<int>(left));
            return;
        }
    }
    m_reading.source = m_service.source;
    m_reading.error = m_serviceError;
    emit finished(m_reading);
}

QuoteClient::Batch *QuoteClient::find(const QNetworkReply *reply) {
    for (Batch &batch : m_batches) {
        if (batch.reply == reply) {
            return &batch;
        }
    }
    return nullptr;
}

void QuoteClient::receive(Batch *found) {
    if (found == nullptr || found->state != BatchState::Open) {
        return;
    }
    Batch &batch = *found;
    // A reply that announces or delivers more than the limit is cut off at once.
    const qint64 announced = batch.reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    if (announced > kMaxReplyBytes ||
        batch.body.size() + batch.reply->bytesAvailable() > kMaxReplyBytes) {
        end(batch, BatchState::TooLarge);
        return;
    }
    batch.body += batch.reply->readAll();
}

void QuoteClient::end(Batch &batch, BatchState state) {
    // Aborting stops the transfer and finishes the reply at once, which reports the batch
    // (and, for the last one, the reading: nothing of the batch may be used after this).
    batch.state = state;
    batch.body.clear();
    batch.reply->abort();
}

void QuoteClient::batchDone(Batch *found) {
    if (found == nullptr || found->state == BatchState::Done) {
        return;
    }
    Batch &batch = *found;
    QNetworkReply *reply = batch.reply;
    BatchState state = batch.state;
    batch.state = BatchState::Done;
    reply->deleteLater();
    if (state == BatchState::Open && reply->error() == QNetworkReply::NoError) {
        // What came with the end of the reply.
        if (batch.body.size() + reply->bytesAvailable() > kMaxReplyBytes) {
            state = BatchState::TooLarge;
        } else {
            batch.body += reply->readAll();
        }
    }

    QString error;
    std::optional<QuoteDetails> quotes;
    if (state == BatchState::TooLarge) {
        error = QStringLiteral("行情数据过大,已拒收");
    } else if (state == BatchState::Expired) {
        error = QStringLiteral("行情服务无响应");
    } else if (reply->error() != QNetworkReply::NoError) {
        error = ReplyError(reply);
    } else {
        quotes = m_service.parse(batch.body);
        if (!quotes) {
            error = QStringLiteral("行情数据无法识别");
        }
    }
    batch.body.clear();
    if (quotes) {
        for (qsizetype i = 0; i < batch.codes.size(); ++i) {
            const auto quote = quotes->constFind(market::Prefixed(batch.codes[i]));
            if (quote != quotes->constEnd()) {
                m_reading.quotes[batch.first + i] = *quote;
            }
        }
    } else if (m_serviceError.isEmpty()) {
        m_serviceError = error;
    }
    // Nothing of the batch may be used after this: the next service's batches replace it.
    if (--m_open == 0) {
        serviceDone();
    }
}

void QuoteClient::expire() {
    // Every open batch is marked first: the last abort ends the reading, and whoever hears
    // of that may start the next one at once.
    QList<QPointer<QNetworkReply>> open;
    for (Batch &batch : m_batches) {
        if (batch.state == BatchState::Open) {
            batch.state = BatchState::Expired;
            batch.body.clear();
            open.append(batch.reply);
        }
    }
    for (const QPointer<QNetworkReply> &reply : std::as_const(open)) {
        if (reply != nullptr) {
            reply->abort();
        }
    }
}

}  // namespace monitor
