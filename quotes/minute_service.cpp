#include "quotes/minute_service.h"

#include "quotes/market.h"
#include "quotes/quote_detail.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QUrlQuery>

#include <cmath>

namespace quotes {

namespace {

constexpr qint64 kSharesPerLot = 100;
constexpr int kMaxRedirects = 3;

std::optional<MinuteRow> RowOf(const QString &text) {
    static const QRegularExpression kRow(QStringLiteral(
        R"(^([0-2][0-9])([0-5][0-9]) (\S+) ([0-9]{1,15}) ([0-9]{1,17}(?:\.[0-9]{1,6})?)$)"));
    const QRegularExpressionMatch match = kRow.match(text.trimmed());
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const std::optional<QString> price = PriceText(match.capturedView(3));
    if (!price) {
        return std::nullopt;
    }
    MinuteRow row;
    row.hour = match.capturedView(1).toInt();
    row.minute = match.capturedView(2).toInt();
    row.price = price->toDouble();
    row.volume = match.capturedView(4).toLongLong() * kSharesPerLot;
    row.amount = match.capturedView(5).toDouble();
    return row;
}

}  // namespace

QString MinuteEndpoint() {
    const QString configured = qEnvironmentVariable("STOCKCALC_MINUTE_URL");
    return configured.isEmpty() ? QStringLiteral("https://web.ifzq.gtimg.cn") : configured;
}

QUrl MinuteUrl(const QString &endpoint, const QString &code) {
    QUrl url(endpoint + QStringLiteral("/appstock/app/minute/query"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("code"),
                       QString::fromLatin1(QUrl::toPercentEncoding(market::Prefixed(code))));
    url.setQuery(query);
    return url;
}

std::optional<MinuteReply> ParseMinuteReply(const QByteArray &json, const QString &prefixedCode) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return std::nullopt;
    }
    const QJsonObject stock =
        document.object().value(u"data").toObject().value(prefixedCode).toObject();
    const QJsonObject minutes = stock.value(u"data").toObject();
    const QJsonValue list = minutes.value(u"data");
    if (!list.isArray()) {
        return std::nullopt;
    }
    MinuteReply reply;
    for (const QJsonValue &each : list.toArray()) {
        const std::optional<MinuteRow> row =
            each.isString() ? RowOf(each.toString()) : std::nullopt;
        if (row) {
            reply.rows.append(*row);
        } else {
            ++reply.broken;
        }
    }
    reply.day = QDate::fromString(minutes.value(u"date").toString(), QStringLiteral("yyyyMMdd"));
    const QJsonArray quote = stock.value(u"qt").toObject().value(prefixedCode).toArray();
    if (const auto close = PriceText(quote.at(4).toString())) {
        reply.previousClose = close->toDouble();
    }
    reply.name = quote.at(1).toString();
    if (!reply.day.isValid()) {
        reply.day = QDate::fromString(quote.at(30).toString().left(8), QStringLiteral("yyyyMMdd"));
    }
    return reply;
}

MinuteClient::MinuteClient(QObject *parent, int deadlineMs)
    : QObject(parent), m_deadlineMs(deadlineMs) {
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this,
            [this] { fail(QStringLiteral("分时服务无响应")); });
}

MinuteClient::~MinuteClient() {
    if (m_reply) {
        QObject::disconnect(m_reply, nullptr, this, nullptr);
        m_reply->abort();
    }
}

void MinuteClient::fetch(const QString &code) {
    if (m_reply) {
        QObject::disconnect(m_reply, nullptr, this, nullptr);
        m_reply->abort();
        m_reply->deleteLater();
    }
    m_code = code;
    m_body.clear();
    QNetworkRequest request(MinuteUrl(MinuteEndpoint(), code));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::SameOriginRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    m_reply = m_network.get(request);
    m_reply->setReadBufferSize(64 * 1024);
    connect(m_reply, &QNetworkReply::readyRead, this, &MinuteClient::receive);
    connect(m_reply, &QNetworkReply::finished, this, &MinuteClient::done);
    m_deadline.start(m_deadlineMs);
}

void MinuteClient::receive() {
    const qint64 announced = m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    if (announced > kMaxReplyBytes || m_body.size() + m_reply->bytesAvailable() > kMaxReplyBytes) {
        fail(QStringLiteral("分时数据过大,已拒收"));
        return;
    }
    m_body += m_reply->readAll();
}

void MinuteClient::done() {
    if (m_reply->error() != QNetworkReply::NoError) {
        fail(QStringLiteral("分时服务请求失败"));
        return;
    }
    receive();
    if (!m_reply) {
        return;  // refused as too large
    }
    m_deadline.stop();
    m_reply->deleteLater();
    m_reply.clear();
    const std::optional<MinuteReply> reply = ParseMinuteReply(m_body, market::Prefixed(m_code));
    m_body.clear();
    emit finished(m_code, reply, reply ? QString() : QStringLiteral("分时数据无法识别"));
}

void MinuteClient::fail(const QString &error) {
    m_deadline.stop();
    if (m_reply) {
        QObject::disconnect(m_reply, nullptr, this, nullptr);
        m_reply->abort();
        m_reply->deleteLater();
        m_reply.clear();
    }
    m_body.clear();
    emit finished(m_code, std::nullopt, error);
}

}  // namespace quotes
