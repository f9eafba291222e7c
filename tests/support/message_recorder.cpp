#include "support/message_recorder.h"

#include <QTest>

MessageRecorder::MessageRecorder() {
    messages::SetHandler([this](const messages::Message &message) {
        shown.append(message);
        if (message.buttons == messages::Buttons::Ok) {
            return messages::Answer::Ok;
        }
        if (answers.isEmpty()) {
            // A question the test did not expect is a failure, not a silent "Yes".
            QTest::qFail(qPrintable(QStringLiteral("unexpected question: ") + message.text),
                         __FILE__, __LINE__);
            return messages::Answer::No;
        }
        return answers.takeFirst();
    });
}

MessageRecorder::~MessageRecorder() {
    messages::SetHandler({});
}

QStringList MessageRecorder::texts() const {
    QStringList result;
    for (const messages::Message &message : shown) {
        result.append(message.text);
    }
    return result;
}
