#include "app/about_picture.h"

#include "widgets/pictures.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>

#include <dlfcn.h>
#include <jpeglib.h>

namespace {

// libjpeg, loaded for the one picture and let go again: it would otherwise stay resident for
// the whole run (about half a megabyte) to decode a picture shown at start.
struct Jpeg {
    void *library = nullptr;
    decltype(&jpeg_std_error) stdError = nullptr;
    decltype(&jpeg_CreateDecompress) create = nullptr;
    decltype(&jpeg_mem_src) memorySource = nullptr;
    decltype(&jpeg_read_header) readHeader = nullptr;
    decltype(&jpeg_start_decompress) start = nullptr;
    decltype(&jpeg_read_scanlines) readScanlines = nullptr;
    decltype(&jpeg_finish_decompress) finish = nullptr;
    decltype(&jpeg_destroy_decompress) destroy = nullptr;

    Jpeg() {
        library = dlopen("libjpeg.so." QT_STRINGIFY(JPEG_LIB_VERSION), RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            return;
        }
        resolve(stdError, "jpeg_std_error");
        resolve(create, "jpeg_CreateDecompress");
        resolve(memorySource, "jpeg_mem_src");
        resolve(readHeader, "jpeg_read_header");
        resolve(start, "jpeg_start_decompress");
        resolve(readScanlines, "jpeg_read_scanlines");
        resolve(finish, "jpeg_finish_decompress");
        resolve(destroy, "jpeg_destroy_decompress");
    }
    ~Jpeg() {
        if (library != nullptr) {
            dlclose(library);
        }
    }
    Jpeg(const Jpeg &) = delete;
    Jpeg &operator=(const Jpeg &) = delete;

    bool usable() const {
        return stdError && create && memorySource && readHeader && start && readScanlines &&
               finish && destroy;
    }

private:
    template <typename Function>
    void resolve(Function &function, const char *name) {
        function = reinterpret_cast<Function>(dlsym(library, name));
    }
};

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
    const Jpeg *jpeg;
    jpeg_decompress_struct info;
    ErrorManager errors;
};

// Decodes into `image`. All state lives in the caller's `decoder` and `image`, so the jump
// back from the error handler leaves no local object behind.
bool DecodeInto(Decoder *decoder, const QByteArray *data, QImage *image) {
    jpeg_decompress_struct *info = &decoder->info;
    const Jpeg &jpeg = *decoder->jpeg;
    info->err = jpeg.stdError(&decoder->errors.base);
    decoder->errors.base.error_exit = OnError;
    decoder->errors.base.emit_message = OnMessage;
    if (setjmp(decoder->errors.fault) != 0) {
        jpeg.destroy(info);
        return false;
    }
    jpeg.create(info, JPEG_LIB_VERSION, sizeof(jpeg_decompress_struct));
    jpeg.memorySource(info, reinterpret_cast<const unsigned char *>(data->constData()),
                      static_cast<unsigned long>(data->size()));
    jpeg.readHeader(info, TRUE);
    // Refused before decoding starts: a progressive picture is held whole in memory from
    // jpeg_start_decompress on, some hundred megabytes for a hostile header.
    if (info->image_width > kLargestSide || info->image_height > kLargestSide) {
        jpeg.destroy(info);
        return false;
    }
    // Straight into the pixel layout the screen uses, so no conversion follows (libjpeg-turbo):
    // QImage's RGB32 is B, G, R, X in memory on a little-endian machine.
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN);
    info->out_color_space = JCS_EXT_BGRX;
    jpeg.start(info);
    if (info->output_components != 4) {
        jpeg.destroy(info);
        return false;
    }
    *image = QImage(static_cast<int>(info->output_width), static_cast<int>(info->output_height),
                    QImage::Format_RGB32);
    if (image->isNull()) {
        jpeg.destroy(info);
        return false;
    }
    while (info->output_scanline < info->output_height) {
        JSAMPROW row = image->scanLine(static_cast<int>(info->output_scanline));
        jpeg.readScanlines(info, &row, 1);
    }
    jpeg.finish(info);
    jpeg.destroy(info);
    return true;
}

}  // namespace

QImage DecodeJpeg(const QByteArray &data) {
    const Jpeg jpeg;
    if (!jpeg.usable()) {
        return QImage();
    }
    Decoder decoder{};
    decoder.jpeg = &jpeg;
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
