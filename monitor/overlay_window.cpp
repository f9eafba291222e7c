#include "monitor/overlay_window.h"

#include "settings/settings_in_force.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace {

// A region wholly outside the window: nothing is seen and nothing takes the mouse. (An
// empty region would remove the shape and show the whole black window.)
const QRegion kNothing(-1, -1, 1, 1);

}  // namespace

TForm12::TForm12(const settings::InForce &inForce, const monitor::WatchSession *session)
    : m_inForce(inForce), m_session(session) {
    setWindowTitle(QStringLiteral("股票价格"));
    SetBackground(this, Qt::black);
    setContentsMargins(0, 0, 0, 0);
    setGeometry(238, 135, 836, 456);
    Image1 = new QLabel(this);
    Image1->setGeometry(rect());
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    addDragHandle(Image1);
    // See-through until the first prices are painted.
    setMask(kNothing);
    if (session != nullptr) {
        connect(session, &monitor::WatchSession::pricesArrived, this, &TForm12::PaintOverlay);
    }
}

void TForm12::PaintOverlay() {
    if (!m_session) {
        return;
    }
    QList<Line> lines;
    for (const monitor::MonitorRow &row : m_session->rows()) {
        lines.append({row.code, row.price});
    }
    paint(lines);
}

void TForm12::paint(const QList<Line> &lines) {
    // The size field is read while the user may still be typing: whatever it holds, the
    // overlay keeps to the field's range.
    const int size = settings::HeldFontSize(m_inForce.system().overlayFontSize);
    const int pitch = size + 20;
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect desktop = screen != nullptr ? screen->geometry() : QRect(0, 0, 1024, 768);
    const int width = desktop.width();
    // Only the lines that fit between the overlay's top and the bottom of the screen are
    // painted (at least one): a long list never asks for a window taller than the screen.
    const int room = desktop.bottom() + 1 - std::max(y(), desktop.top());
    const qsizetype count = std::min<qsizetype>(lines.size(), std::max(1, room / pitch));
    const int height = std::max(1, static_cast<int>(count) * pitch);
    QColor colour = QColor::fromRgba(m_inForce.system().overlayColour.value_or(0xff000000u));
    colour.setAlpha(255);

    // Painted without smoothing: each pixel is either the text colour or black, so the
    // shape built from it is exact.
    m_picture = QImage(width, height, QImage::Format_RGB32);
    m_picture.fill(Qt::black);
    {
        QPainter painter(&m_picture);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        QFont font(QStringLiteral("黑体"));
        font.setPointSize(size);
        font.setStyleStrategy(QFont::NoAntialias);
        painter.setFont(font);
        painter.setPen(colour);
        // The baseline where 黑体 has it, 0.86 of the em below the line's top: the substitute
        // face's taller ascent would push every line down into the next.
        const int ascent = qRound(0.86 * QFontInfo(font).pixelSize());
        for (qsizetype i = 0; i < count; ++i) {
            const QString text = QStringLiteral("(%1)-> %2 元").arg(lines[i].code, lines[i].price);
            painter.drawText(QPoint(10, static_cast<int>(i) * pitch + ascent), text);
        }
    }
    setFixedSize(width, height);
    Image1->setGeometry(0, 0, width, height);
    Image1->setPixmap(QPixmap::fromImage(m_picture));

    const QImage shape = m_picture.createMaskFromColor(QColor(Qt::black).rgb(), Qt::MaskInColor);
    const QRegion strokes(QBitmap::fromImage(shape));
    setMask(strokes.isEmpty() ? kNothing : strokes);
}

bool TForm12::eventFilter(QObject *watched, QEvent *event) {
    if (watched == Image1 && event->type() == QEvent::MouseButtonDblClick) {
        close();
        return true;
    }
    return ToolWindowOf<TForm12>::eventFilter(watched, event);
}

void TForm12::paintEvent(QPaintEvent *) {
    // No border: only the picture is seen.
}
