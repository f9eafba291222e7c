#include "widgets/message_box.h"

#include "widgets/tool_window.h"

#include <QMessageBox>

namespace messages {

namespace {

Handler &CurrentHandler() {
    static Handler handler;
    return handler;
}

QMessageBox::Icon ToBoxIcon(Icon icon) {
    switch (icon) {
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::Warning:
            return QMessageBox::Warning;
        case Icon::Error:
            return QMessageBox::Critical;
        case Icon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// Centred on its owner when the user can see that window, else on the screen: an owner that
// is hidden (the fee dialog loading at start-up) would leave the box in a corner.
class Box final : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent *event) override {
        QMessageBox::showEvent(event);  // gives the box its final size
        if (parentWidget() == nullptr || !parentWidget()->isVisible()) {
            CentreOnScreen(this);
        }
    }
};

Answer ShowBox(const Message &message) {
    const QMessageBox::StandardButtons buttons =
        message.buttons == Buttons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok;
    Box box(ToBoxIcon(message.icon), message.caption, message.text, buttons, message.owner.data());
    // Modal to its owner only: an application-modal box would block the tray menu, which
    // must stay usable while a message is open.
    if (message.owner != nullptr) {
        box.setWindowModality(Qt::WindowModal);
    }
    // Above the always-on-top tool windows while it is open: a box from the tray menu, owned
    // by the hidden about screen or by nothing, would otherwise map beneath them unseen.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    const int result = box.exec();
    if (message.buttons == Buttons::YesNo) {
        return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    return Answer::Ok;
}

}  // namespace

Answer Show(QWidget *owner, const QString &text, const QString &caption, Icon icon,
            Buttons buttons) {
    const Message message{text, caption, icon, buttons, owner};
    if (CurrentHandler()) {
        return CurrentHandler()(message);
    }
    return ShowBox(message);
}

void ShowInputError(QWidget *owner, const QString &text) {
    Show(owner, text, QStringLiteral("错误"), Icon::Error);
}

void SetHandler(Handler handler) {
    CurrentHandler() = std::move(handler);
}

}  // namespace messages
