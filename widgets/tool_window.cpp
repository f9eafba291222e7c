#include "widgets/tool_window.h"

#include "platform/platform.h"
#include "widgets/whole_text.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>

ToolWindow::ToolWindow(QPoint &dragOrigin)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_dragOrigin(dragOrigin) {
    setAttribute(Qt::WA_DeleteOnClose);
    setContentsMargins(1, 1, 1, 1);
    // The state must be on the native window before it is first mapped.
    winId();
    platform::Current().keepOffTaskbar(windowHandle());
}

void ToolWindow::addDragHandle(QWidget *handle) {
    handle->installEventFilter(this);
}

void SetBackground(QWidget *widget, const QColor &colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QLineEdit *ReadOnlyField(QWidget *parent, const QColor &text, const QColor &background) {
    auto *edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, text);
    if (background.isValid()) {
        palette.setColor(QPalette::Base, background);
    }
    edit->setPalette(palette);
    ShowWholeText(edit);
    return edit;
}

bool ToolWindow::eventFilter(QObject *watched, QEvent *event) {
    auto *handle = qobject_cast<QWidget *>(watched);
    if (handle == nullptr) {
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        m_dragOrigin = static_cast<QMouseEvent *>(event)->position().toPoint();
        return true;
    }
    if (event->type() == QEvent::MouseMove) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (!(mouse->buttons() & Qt::LeftButton)) {
            return false;
        }
        // left + x - origin x, worked out from the pointer's screen position: right after a
        // show the window manager may not have reported the window's position yet.
        const QPoint handleInWindow = handle == this ? QPoint() : handle->mapTo(this, QPoint());
        move(mouse->globalPosition().toPoint() - handleInWindow - m_dragOrigin);
        return true;
    }
    return false;
}

void ToolWindow::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setPen(QColor(100, 100, 100));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void RightAlignPlainEdits(QWidget *root) {
    for (QLineEdit *edit : root->findChildren<QLineEdit *>()) {
        if (edit->metaObject() == &QLineEdit::staticMetaObject) {
            edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
    }
}

QRect WorkArea(const QWidget *window) {
    const QScreen *screen = window != nullptr && window->screen() != nullptr
                                ? window->screen()
                                : QGuiApplication::primaryScreen();
    // Qt's available geometry is the desktop's published work area, else the whole screen.
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

QPoint CornerPosition(int corner, QSize windowSize, QRect area) {
    const int left = area.x() + 1;
    const int top = area.y() + 1;
    const int right = area.x() + area.width() - windowSize.width() - 2;
    const int bottom = area.y() + area.height() - windowSize.height() - 30;
    switch (corner) {
        case 1:
            return {left, top};
        case 2:
            return {right, top};
        case 3:
            return {left, bottom};
        default:
            return {right, bottom};
    }
}

void PlaceAtCorner(QWidget *window, int corner) {
    window->move(CornerPosition(corner, window->size(), WorkArea()));
}

namespace {
void CentreWithFrame(QWidget *window, QMargins frame) {
    const QRect area = WorkArea(window);
    if (area.isEmpty()) {
        return;
    }
    const QSize outer = window->size().grownBy(frame);
    const QPoint outerTopLeft(area.x() + (area.width() - outer.width()) / 2,
                              area.y() + (area.height() - outer.height()) / 2);
    window->setGeometry(QRect(outerTopLeft + QPoint(frame.left(), frame.top()), window->size()));
}
}  // namespace

void CentreOnScreen(QWidget *window) {
    // Centred at once on a guess, and again when the window manager tells its frame, which
    // can be later.
    CentreWithFrame(window, {});
    const QPointer<QWidget> target(window);
    platform::Current().frameMargins(window->windowHandle(), [target](QMargins frame) {
        if (target != nullptr && !frame.isNull()) {
            CentreWithFrame(target, frame);
        }
    });
}

namespace {
// Centres its window at the window's first showing, then goes.
class FirstShowCentring final : public QObject {
public:
    explicit FirstShowCentring(QWidget *window) : QObject(window) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched == parent() && event->type() == QEvent::Show) {
            CentreOnScreen(static_cast<QWidget *>(watched));
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};
}  // namespace

void CentreWhenFirstShown(QWidget *window) {
    CentreWithFrame(window, {});
    new FirstShowCentring(window);
}

void PrepareTrayDialog(QDialog *dialog) {
    dialog->setWindowFlag(Qt::WindowStaysOnTopHint);
}

void FocusWindow(QWidget *window) {
    window->show();
    window->raise();
    window->activateWindow();
}
