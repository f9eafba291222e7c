#include "quotes/reply_inflater.h"

#include <zlib.h>

#include <array>
#include <limits>

namespace quotes {

struct ReplyInflater::Stream {
    z_stream z{};
    bool open = false;
};

ReplyInflater::ReplyInflater() : m_stream(std::make_unique<Stream>()) {
    // A window of 15 bits, with a gzip or a zlib header recognised by itself.
    m_stream->open = inflateInit2(&m_stream->z, MAX_WBITS + 32) == Z_OK;
    if (!m_stream->open) {
        m_state = Result::Broken;
    }
}

ReplyInflater::~ReplyInflater() {
    if (m_stream->open) {
        inflateEnd(&m_stream->z);
    }
}

ReplyInflater::Result ReplyInflater::inflate(QByteArrayView input, QByteArray &output,
                                             qsizetype cap) {
    if (m_state != Result::More) {
        return m_state;
    }
    if (input.size() > std::numeric_limits<uInt>::max()) {
        return m_state = Result::Broken;
    }
    z_stream &z = m_stream->z;
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(input.data()));
    z.avail_in = static_cast<uInt>(input.size());
    std::array<Bytef, 16 * 1024> piece{};
    while (m_state == Result::More) {
        const uInt before = z.avail_in;
        z.next_out = piece.data();
        z.avail_out = static_cast<uInt>(piece.size());
        const int status = ::inflate(&z, Z_NO_FLUSH);
        const auto made = static_cast<qsizetype>(piece.size() - z.avail_out);
        if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) {
            m_state = Result::Broken;
        } else if (output.size() + made > cap) {
            m_state = Result::TooLarge;
        } else {
            output.append(reinterpret_cast<const char *>(piece.data()), made);
            if (status == Z_STREAM_END) {
                m_state = Result::Done;
            } else if (made == 0 && z.avail_in == before) {
                break;  // all taken: it wants more input
            }
        }
    }
    return m_state;
}

}  // namespace quotes
