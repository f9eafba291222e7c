#pragma once
// Unpacks a reply sent with `Content-Encoding: gzip` or `deflate` piece by piece as it
// arrives, and stops as soon as the unpacked text would pass a size cap: a small reply that
// unpacks to gigabytes costs no more than the cap.

#include <QByteArray>
#include <QByteArrayView>

#include <memory>

namespace quotes {

class ReplyInflater {
public:
    enum class Result {
        More,      // all of the input unpacked; the stream goes on
        Done,      // the stream has ended
        TooLarge,  // the unpacked text would pass the cap
        Broken,    // the input does not unpack
    };

    ReplyInflater();
    ~ReplyInflater();
    ReplyInflater(const ReplyInflater &) = delete;
    ReplyInflater &operator=(const ReplyInflater &) = delete;

    // Unpacks `input` onto the end of `output`, which is never let grow past `cap` bytes.
    // Once the result is not More, further input is not looked at.
    Result inflate(QByteArrayView input, QByteArray &output, qsizetype cap);
    bool finished() const { return m_state == Result::Done; }

private:
    struct Stream;
    std::unique_ptr<Stream> m_stream;
    Result m_state = Result::More;
};

}  // namespace quotes
