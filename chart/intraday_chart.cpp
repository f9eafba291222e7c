#include "chart/intraday_chart.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace chart {

namespace {

const QColor kGround(0, 0, 0);
const QColor kGrid(80, 0, 0);
const QColor kPriceLine(255, 255, 255);
const QColor kAverageLine(255, 255, 0);
const QColor kPreviousClose(160, 160, 160);
const QColor kRise(255, 0, 0);
const QColor kFall(0, 255, 0);
const QColor kCost(0, 200, 255);
const QColor kBreakEven(255, 0, 255);
const QColor kCrosshair(200, 200, 200);

constexpr int kSideMargin = 56;
constexpr int kTop = 6;
constexpr int kTimeRow = 16;
// The share of the height above the time labels that the price lines take.
constexpr double kPriceShare = 0.7;

// The minutes labelled on the time axis.
constexpr int kTicks[] = {0, 60, kLunchSlot, 180, kMinutesPerDay - 1};

}  // namespace

struct IntradayChart::Frame {
    QRect price;   // the price lines' area
    QRect volume;  // the bars' area
    double centre = 0;
    double spread = 0;  // from the centre to the top edge, in yuan

    double y(double value) const {
        return price.top() + (centre + spread - value) / (2 * spread) * price.height();
    }
};

IntradayChart::IntradayChart(QWidget *parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(240, 160);
}

void IntradayChart::setMinutes(const MinuteSeries::Minutes &minutes,
                               std::optional<double> previousClose, const Quoting &quoting) {
    m_minutes = minutes;
    m_previousClose = previousClose;
    m_quoting = quoting;
    update();
    emit readoutChanged(readout());
}

void IntradayChart::setLines(const ChartLines &lines) {
    m_lines = lines;
    update();
}

int IntradayChart::shownSlot() const {
    int latest = -1;
    int before = -1;
    int after = -1;
    for (const Minute &minute : m_minutes.at) {
        if (minute.slot < 0) {
            continue;
        }
        latest = minute.slot;
        if (m_hovered >= 0 && minute.slot <= m_hovered) {
            before = minute.slot;
        } else if (m_hovered >= 0 && after < 0) {
            after = minute.slot;
        }
    }
    if (m_hovered < 0) {
        return latest;
    }
    return before >= 0 ? before : after;
}

QString IntradayChart::readout() const {
    const int slot = shownSlot();
    if (slot < 0) {
        return QStringLiteral("暂无分时数据");
    }
    return ReadoutText(m_minutes.at[static_cast<std::size_t>(slot)], m_previousClose, m_quoting);
}

IntradayChart::Frame IntradayChart::frame() const {
    Frame f;
    const int left = kSideMargin;
    const int right = width() - kSideMargin;
    const int plotHeight = height() - kTop - kTimeRow - 4;
    const int priceHeight = static_cast<int>(plotHeight * kPriceShare);
    f.price = QRect(QPoint(left, kTop), QPoint(right, kTop + priceHeight));
    f.volume = QRect(QPoint(left, f.price.bottom() + kTimeRow + 2), QPoint(right, height() - 4));

    // Symmetric about the previous close (or the first price without one), wide enough for
    // every line drawn.
    std::optional<double> centre = m_previousClose;
    double spread = 0;
    const auto cover = [&](std::optional<double> value) {
        if (!value || !DrawablePrice(*value)) {
            return;
        }
        if (!centre) {
            centre = *value;
        }
        spread = std::max(spread, std::abs(*value - *centre));
    };
    for (const Minute &minute : m_minutes.at) {
        if (minute.slot >= 0) {
            cover(minute.price);
            cover(minute.average);
        }
    }
    for (const auto &line : {m_lines.cost, m_lines.breakEven, m_lines.upper, m_lines.lower}) {
        cover(line);
    }
    f.centre = centre.value_or(1);
    // At least 1 % each way, and a little room so the outermost line stays inside.
    f.spread = std::max(spread * 1.06, f.centre * 0.01);
    return f;
}

int IntradayChart::xOf(int slot) const {
    const Frame f = frame();
    return f.price.left() +
           static_cast<int>(std::lround(double(slot) * f.price.width() / (kMinutesPerDay - 1)));
}

QList<IntradayChart::Level> IntradayChart::levels() const {
    const Frame f = frame();
    QList<Level> levels;
    const auto add = [&](const QString &label, std::optional<double> price) {
        if (price && DrawablePrice(*price)) {
            levels.append({label, *price, static_cast<int>(std::lround(f.y(*price)))});
        }
    };
    add(QStringLiteral("昨收"), m_previousClose);
    add(QStringLiteral("成本"), m_lines.cost);
    add(QStringLiteral("保本"), m_lines.breakEven);
    add(QStringLiteral("上限"), m_lines.upper);
    add(QStringLiteral("下限"), m_lines.lower);
    return levels;
}

void IntradayChart::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), kGround);
    const Frame f = frame();
    const QFontMetrics metrics = painter.fontMetrics();

    // The grid: the quarter heights with their prices left and changes right, the ticks.
    painter.setPen(kGrid);
    painter.drawRect(f.price);
    painter.drawRect(f.volume);
    for (int quarter = 0; quarter <= 4; ++quarter) {
        const double value = f.centre + f.spread * (1 - quarter / 2.0);
        const int y = static_cast<int>(std::lround(f.y(value)));
        painter.setPen(kGrid);
        painter.drawLine(f.price.left(), y, f.price.right(), y);
        painter.setPen(quarter < 2 ? kRise : (quarter > 2 ? kFall : kPriceLine));
        const int textY = std::clamp(y + metrics.ascent() / 2, metrics.ascent(), f.price.bottom());
        const QString price = PriceFigure(value, m_quoting.decimals);
        painter.drawText(f.price.left() - 4 - metrics.horizontalAdvance(price), textY, price);
        painter.drawText(f.price.right() + 4, textY, ChangeFigure(value, f.centre));
    }
    for (const int tick : kTicks) {
        const int x = xOf(tick);
        painter.setPen(kGrid);
        painter.drawLine(x, f.price.top(), x, f.price.bottom());
        painter.drawLine(x, f.volume.top(), x, f.volume.bottom());
        const QString label = tick == kLunchSlot ? QStringLiteral("11:30/13:00")
                                                 : SlotTime(tick).toString(QStringLiteral("HH:mm"));
        const int textX = std::clamp(x - metrics.horizontalAdvance(label) / 2, 0,
                                     width() - metrics.horizontalAdvance(label));
        painter.setPen(kPreviousClose);
        painter.drawText(textX, f.price.bottom() + metrics.ascent() + 1, label);
    }

    // The previous close dashed, the position's and the band's lines labelled at the left.
    QList<QRect> labelled;
    for (const Level &level : levels()) {
        QColor colour = kPreviousClose;
        if (level.label == u"成本") {
            colour = kCost;
        } else if (level.label == u"保本") {
            colour = kBreakEven;
        } else if (level.label == u"上限") {
            colour = kRise;
        } else if (level.label == u"下限") {
            colour = kFall;
        }
        painter.setPen(QPen(colour, 1, level.label == u"昨收" ? Qt::DashLine : Qt::DotLine));
        painter.drawLine(f.price.left(), level.y, f.price.right(), level.y);
        if (level.label != u"昨收") {
            // Labels of lines close together go side by side instead of over each other.
            QRect box =
                metrics.boundingRect(level.label).translated(f.price.left() + 3, level.y - 2);
            while (std::any_of(labelled.cbegin(), labelled.cend(),
                               [&box](const QRect &taken) { return taken.intersects(box); })) {
                box.translate(box.width() + 4, 0);
            }
            labelled.append(box);
            painter.drawText(box.left(), level.y - 2, level.label);
        }
    }

    if (m_minutes.count == 0) {
        painter.setPen(kPriceLine);
        painter.drawText(f.price, Qt::AlignCenter, QStringLiteral("暂无分时数据"));
        return;
    }

    // The volumes, scaled to the largest minute.
    qint64 largest = 1;
    for (const Minute &minute : m_minutes.at) {
        largest = std::max(largest, minute.volume);
    }
    const double barWidth = std::max(1.0, double(f.volume.width()) / kMinutesPerDay - 0.5);
    QPolygonF price;
    QPolygonF average;
    price.reserve(kMinutesPerDay);
    average.reserve(kMinutesPerDay);
    for (const Minute &minute : m_minutes.at) {
        if (minute.slot < 0) {
            continue;
        }
        const double x =
            f.price.left() + double(minute.slot) * f.price.width() / (kMinutesPerDay - 1);
        price.append(QPointF(x, f.y(minute.price)));
        if (minute.average) {
            average.append(QPointF(x, f.y(*minute.average)));
        }
        if (minute.volume > 0) {
            const double height = double(minute.volume) / double(largest) * f.volume.height();
            painter.fillRect(
                QRectF(x - barWidth / 2, f.volume.bottom() + 1 - height, barWidth, height),
                minute.up ? kRise : kFall);
        }
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kAverageLine, 1));
    painter.drawPolyline(average);
    painter.setPen(QPen(kPriceLine, 1));
    painter.drawPolyline(price);
    painter.setRenderHint(QPainter::Antialiasing, false);

    const int shown = shownSlot();
    if (shown >= 0) {
        painter.setPen(QPen(kCrosshair, 1, Qt::DashLine));
        const int x = xOf(shown);
        painter.drawLine(x, f.price.top(), x, f.volume.bottom());
    }
}

void IntradayChart::mouseMoveEvent(QMouseEvent *event) {
    const Frame f = frame();
    const double at = (event->position().x() - f.price.left()) * (kMinutesPerDay - 1) /
                      std::max(1, f.price.width());
    hover(std::clamp(static_cast<int>(std::lround(at)), 0, kMinutesPerDay - 1));
}

void IntradayChart::leaveEvent(QEvent *event) {
    QWidget::leaveEvent(event);
    hover(-1);
}

void IntradayChart::hover(int slot) {
    if (slot == m_hovered) {
        return;
    }
    const int before = shownSlot();
    m_hovered = slot;
    if (shownSlot() != before) {
        update();
        emit readoutChanged(readout());
    }
}

}  // namespace chart
