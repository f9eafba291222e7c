#include "quotes/quote_client.h"

#include "quotes/market.h"
#include "quotes/tencent_protocol.h"

#include <QNetworkReply>
#include <QNetworkRequest>

namespace quotes {

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
    if (status == 200) {
        // The service answered, but its reply could not be taken: a compressed body that does
        // not unpack, a transfer broken off.
        return QStringLiteral("行情数据无法读取");
    }
    return QStringLiteral("无法连接行情服务");
}

}  // namespace

QuoteClient::QuoteClient(int deadlineMs, QObject *parent, QuoteSourcePolicy::Clock clock)
    : QObject(parent), m_deadlineMs(deadlineMs), m_policy(std::move(clock)) {
    for (QTimer *timer : {&m_hedge, &m_deadline}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
    }
    connect(&m_hedge, &QTimer::timeout, this, &QuoteClient::hedge);
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

bool QuoteClient::read(const QStringList &codes) {
    if (m_pending) {
        return false;
    }
    m_pending = true;
    m_codes = codes;
    m_answers = {Answer{MainQuoteService(), {}, {}, {}, 0, false},
                 Answer{FallbackQuoteService(), {}, {}, {}, 0, false}};
    for (Answer &each : m_answers) {
        each.quotes.resize(codes.size());
        each.covered.fill(false, codes.size());
    }
    m_deadline.start(m_deadlineMs);
    if (m_policy.firstSource() == QuoteSource::Main) {
        m_hedge.start(m_deadlineMs * kHedgePercent / 100);
        ask(QuoteSource::Main, {});
    }
    decide();
    return true;
}

QNetworkAccessManager &QuoteClient::network(qsizetype batch) {
    const auto index = static_cast<std::size_t>(std::min<qsizetype>(
        batch / kConnectionsPerManager, kMaxParallelRequests / kConnectionsPerManager - 1));
    while (m_networks.size() <= index) {
        m_networks.push_back(std::make_unique<QNetworkAccessManager>());
    }
    return *m_networks[index];
}

void QuoteClient::ask(QuoteSource source, const QList<qsizetype> &positions) {
    Answer &asked = answer(source);
    asked.asked = true;
    QList<qsizetype> all = positions;
    if (all.isEmpty()) {
        for (qsizetype i = 0; i < m_codes.size(); ++i) {
            all.append(i);
        }
    }
    QStringList codes;
    for (const qsizetype position : std::as_const(all)) {
        codes.append(m_codes[position]);
        asked.covered[position] = true;
    }
    const QuoteService &service = asked.service;
    const QList<QUrl> urls = RequestUrls(service, codes);
    for (qsizetype i = 0; i < urls.size(); ++i) {
        Batch batch;
        batch.source = source;
        batch.positions = all.mid(i * service.codesPerRequest, service.codesPerRequest);
        QNetworkRequest request(urls[i]);
        if (!service.referer.isEmpty()) {
            request.setRawHeader("Referer", service.referer);
        }
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::SameOriginRedirectPolicy);
        request.setMaximumRedirectsAllowed(kMaxRedirects);
        // Named here, so the network layer leaves a packed reply to the client, which
        // unpacks it under the size cap as it arrives.
        request.setRawHeader("Accept-Encoding", "gzip, deflate");
        batch.reply = network(i).get(request);
        QNetworkReply *reply = batch.reply;
        reply->setReadBufferSize(kReadBufferBytes);
        connect(reply, &QNetworkReply::readyRead, this, [this, reply] { receive(find(reply)); });
        connect(reply, &QNetworkReply::finished, this, [this, reply] { replyDone(find(reply)); });
        m_batches.append(batch);
        ++asked.open;
    }
}

QuoteClient::Batch *QuoteClient::find(const QNetworkReply *reply) {
    for (Batch &batch : m_batches) {
        if (batch.reply == reply) {
            return batch.open ? &batch : nullptr;
        }
    }
    return nullptr;
}

void QuoteClient::receive(Batch *found) {
    if (found == nullptr) {
        return;
    }
    Batch &batch = *found;
    // A reply that announces or delivers more than the limit is cut off at once.
    const qint64 announced = batch.reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    if (announced > kMaxReplyBytes) {
        refuse(batch, QStringLiteral("行情数据过大,已拒收"));
        return;
    }
    take(batch, batch.reply->read(kMaxReplyBytes + 1));
}

bool QuoteClient::take(Batch &batch, const QByteArray &bytes) {
    if (!batch.encodingKnown) {
        batch.encodingKnown = true;
        const QByteArray packing = batch.reply->rawHeader("Content-Encoding").trimmed().toLower();
        if (packing == "gzip" || packing == "x-gzip" || packing == "deflate") {
            batch.inflater = std::make_shared<ReplyInflater>();
        } else if (!packing.isEmpty() && packing != "identity") {
            refuse(batch, QStringLiteral("行情数据无法读取"));
            return false;
        }
    }
    if (batch.inflater) {
        switch (batch.inflater->inflate(bytes, batch.body, kMaxReplyBytes)) {
            case ReplyInflater::Result::TooLarge:
                refuse(batch, QStringLiteral("行情数据过大,已拒收"));
                return false;
            case ReplyInflater::Result::Broken:
                refuse(batch, QStringLiteral("行情数据无法读取"));
                return false;
            default:
                return true;
        }
    }
    if (batch.body.size() + bytes.size() > kMaxReplyBytes) {
        refuse(batch, QStringLiteral("行情数据过大,已拒收"));
        return false;
    }
    batch.body += bytes;
    return true;
}

void QuoteClient::refuse(Batch &batch, const QString &error) {
    QObject::disconnect(batch.reply, nullptr, this, nullptr);
    batch.reply->abort();
    batch.reply->deleteLater();
    close(batch, error, std::nullopt);
}

void QuoteClient::replyDone(Batch *found) {
    if (found == nullptr) {
        return;
    }
    Batch &batch = *found;
    QNetworkReply *reply = batch.reply;
    if (reply->error() != QNetworkReply::NoError) {
        reply->deleteLater();
        close(batch, ReplyError(reply), std::nullopt);
        return;
    }
    // What came with the end of the reply.
    if (!take(batch, reply->read(kMaxReplyBytes + 1))) {
        return;
    }
    reply->deleteLater();
    if (batch.inflater && !batch.inflater->finished()) {
        close(batch, QStringLiteral("行情数据无法读取"), std::nullopt);  // cut off while packed
        return;
    }
    const std::optional<QuoteDetails> quotes = answer(batch.source).service.parse(batch.body);
    close(batch, quotes ? QString() : QStringLiteral("行情数据无法识别"), quotes);
}

void QuoteClient::close(Batch &batch, const QString &error,
                        const std::optional<QuoteDetails> &quotes) {
    Answer &answered = answer(batch.source);
    batch.open = false;
    batch.body.clear();
    if (quotes) {
        for (const qsizetype position : std::as_const(batch.positions)) {
            const auto quote = quotes->constFind(market::Prefixed(m_codes[position]));
            if (quote != quotes->constEnd()) {
                answered.quotes[position] = *quote;
            }
        }
    } else if (answered.error.isEmpty()) {
        answered.error = error;
    }
    --answered.open;
    // The batch may be gone after this: the second service's batches join the list.
    decide();
}

void QuoteClient::hedge() {
    if (!answer(QuoteSource::Fallback).asked) {
        ask(QuoteSource::Fallback, {});
    }
}

void QuoteClient::expire() {
    // Every batch still open has failed; the reading ends with what has come.
    for (Batch &batch : m_batches) {
        if (batch.open) {
            batch.open = false;
            Answer &late = answer(batch.source);
            --late.open;
            if (late.error.isEmpty()) {
                late.error = QStringLiteral("行情服务无响应");
            }
        }
    }
    decide();
}

void QuoteClient::decide() {
    const Answer &main = answer(QuoteSource::Main);
    const Answer &second = answer(QuoteSource::Fallback);
    if (main.asked && main.error.isEmpty()) {
        if (main.open > 0) {
            return;  // under way: the main service has the whole deadline
        }
        // A good answer; the codes it left without a price go to the second service, in the
        // same reading, while there is time.
        QList<qsizetype> unasked;
        for (qsizetype i = 0; i < main.quotes.size(); ++i) {
            if (!IsPriced(main.quotes[i]) && !second.covered[i]) {
                unasked.append(i);
            }
        }
        if (!unasked.isEmpty() && m_deadline.isActive()) {
            ask(QuoteSource::Fallback, unasked);
        }
        for (const Batch &batch : std::as_const(m_batches)) {
            if (batch.open && batch.source == QuoteSource::Fallback) {
                for (const qsizetype position : batch.positions) {
                    if (!IsPriced(main.quotes[position])) {
                        return;  // a batch that may still fill a gap
                    }
                }
            }
        }
        finish(QuoteSource::Main);
        return;
    }
    if (!second.asked) {
        if (!m_deadline.isActive()) {
            finish(QuoteSource::Main);  // no time left to ask
            return;
        }
        ask(QuoteSource::Fallback, {});
    }
    if (second.open == 0) {
        finish(QuoteSource::Fallback);
    }
}

void QuoteClient::finish(QuoteSource source) {
    const Answer &main = answer(QuoteSource::Main);
    const Answer &used = answer(source);
    const Answer &other =
        answer(source == QuoteSource::Main ? QuoteSource::Fallback : QuoteSource::Main);
    QuoteReading reading;
    reading.source = source;
    reading.error = used.error;
    // Where the service used has no price, the other one's answer, if it brought one: a code
    // only one of them knows still gets its price.
    for (qsizetype i = 0; i < m_codes.size(); ++i) {
        const std::optional<QuoteDetail> &own = used.quotes[i];
        reading.quotes.insert(m_codes[i], !IsPriced(own) && (IsPriced(other.quotes[i]) || !own)
                                              ? other.quotes[i]
                                              : own);
    }
    if (main.asked) {
        m_mainError = main.error;
        m_policy.mainAnswered(main.good());
    }
    if (source == QuoteSource::Fallback) {
        // Also while readings go to the second service alone: the main one is still down,
        // and says why.
        reading.mainError = m_mainError;
    }
    // Batches still open are dropped without a word back; whoever hears of the reading may
    // start the next one at once.
    m_hedge.stop();
    m_deadline.stop();
    for (const Batch &batch : std::as_const(m_batches)) {
        if (batch.reply != nullptr) {
            QObject::disconnect(batch.reply, nullptr, this, nullptr);
            batch.reply->abort();
            batch.reply->deleteLater();
        }
    }
    m_batches.clear();
    m_pending = false;
    emit finished(reading);
}

}  // namespace quotes
