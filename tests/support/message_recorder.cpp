#include "support/message_recorder.h"

MessageRecorder::MessageRecorder() {
    messages::SetHandler([this](const messages::Message &message) {
        shown.append(message);
        if (message.buttons == messages::Buttons::Ok) {
            return messages::Answer::Ok;
        }
        return answers.isEmpty() ? messages::Answer::Yes : answers.takeFirst();
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
