#pragma once
// Every message the program shows goes through here, so that tests can see and answer them.

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

namespace messages {

enum class Icon { Information, Warning, Error, Question };
enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

struct Message {
    QString text;
    QString caption;
    Icon icon = Icon::Information;
    Buttons buttons = Buttons::Ok;
    QPointer<QWidget> owner;
};

// Shows a message owned by `owner` (modal to that window only) and waits for the answer.
Answer Show(QWidget *owner, const QString &text, const QString &caption, Icon icon,
            Buttons buttons = Buttons::Ok);

// The common input error: caption "错误", error icon, OK.
void ShowInputError(QWidget *owner, const QString &text);

using Handler = std::function<Answer(const Message &)>;

// Replaces how messages are shown (tests); an empty handler restores the real boxes.
void SetHandler(Handler handler);

}  // namespace messages
