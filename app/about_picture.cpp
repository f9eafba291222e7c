#include "app/about_picture.h"

#include "widgets/pictures.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

// Far beyond any picture the program shows; a bigger header is a broken or hostile file.
constexpr JDIMENSION kLargestSide = 4096;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf fault;
};

// libjpeg's own handler prints and ends the process; ours returns to the decoder.
[[noreturn]] void OnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->fault, 1);
}

void OnMessage(j_common_ptr info, int level) {
    // -1 is a warning: corrupt data, or a file that ends early (libjpeg fills the rest grey).
    if (level < 0) {
        std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->fault, 1);
    }
}

struct Decoder {
    jpeg_decompress_struct info;
    ErrorManager errors;
};

// Decodes into `image`. All state lives in the caller's `decoder` and `image`, so the jump
// back from the error handler leaves no local object behind.
bool DecodeInto(Decoder *decoder, const QByteArray *data, QImage *image) {
    jpeg_decompress_struct *info = &decoder->info;
    info->err = jpeg_std_error(&decoder->errors.base);
    decoder->errors.base.error_exit = OnError;
    decoder->errors.base.emit_message = OnMessage;
    if (setjmp(decoder->errors.fault) != 0) {
        jpeg_destroy_decompress(info);
        return false;
    }
    jpeg_create_decompress(info);
    jpeg_mem_src(info, reinterpret_cast<const unsigned char *>(data->constData()),
                 static_cast<unsigned long>(data->size()));
    jpeg_read_header(info, TRUE);
    // Refused before decoding starts: a progressive picture is held whole in memory from
    // jpeg_start_decompress on, some hundred megabytes for a hostile header.
    if (info->image_width > kLargestSide || info->image_height > kLargestSide) {
        jpeg_destroy_decompress(info);
        return false;
    }
    // Straight into the pixel layout the screen uses, so no conversion follows (libjpeg-turbo):
    // QImage's RGB32 is B, G, R, X in memory on a little-endian machine.
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN);
    info->out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(info);
    if (info->output_components != 4) {
        jpeg_destroy_decompress(info);
        return false;
    }
    *image = QImage(static_cast<int>(info->output_width), static_cast<int>(info->output_height),
                    QImage::Format_RGB32);
    if (image->isNull()) {
        jpeg_destroy_decompress(info);
        return false;
    }
    while (info->output_scanline < info->output_height) {
        JSAMPROW row = image->scanLine(static_cast<int>(info->output_scanline));
        jpeg_read_scanlines(info, &row, 1);
    }
    jpeg_finish_decompress(info);
    jpeg_destroy_decompress(info);
    return true;
}

}  // namespace

QImage DecodeJpeg(const QByteArray &data) {
    Decoder decoder{};
    QImage image;
    if (!DecodeInto(&decoder, &data, &image)) {
        return QImage();
    }
    return image;
}

QPixmap AboutPictureFromFile(const QString &fileName) {
    QFile file(fileName);
    if (file.open(QIODevice::ReadOnly)) {
        const QImage picture = DecodeJpeg(file.readAll());
        if (!picture.isNull()) {
            return QPixmap::fromImage(picture);
        }
    }
    return AboutPicture();
}
