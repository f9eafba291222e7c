#pragma once
// Captures every message the program shows and answers it, for the life of the recorder.

#include "widgets/message_box.h"

#include <QList>
#include <QStringList>

class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    QList<messages::Message> shown;
    QList<messages::Answer>
        answers;  // given in turn to Yes/No questions; a question beyond them fails the test

    QStringList texts() const;
    void clear() { shown.clear(); }
};
