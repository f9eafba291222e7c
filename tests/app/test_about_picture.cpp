// The about picture: the shipped JPEG through libjpeg, and the drawn picture for broken files.

#include "app/about_picture.h"
#include "app/main_window.h"
#include "platform/fake/fake_platform.h"
#include "support/offscreen_warnings.h"
#include "widgets/pictures.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <dlfcn.h>
#include <jpeglib.h>

namespace {

QByteArray Shipped() {
    QFile file(kAboutPictureFile);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The offset of the first byte after the start-of-scan header: the entropy-coded data.
qsizetype ScanData(const QByteArray &jpeg) {
    const qsizetype sos = jpeg.indexOf("\xFF\xDA");
    return sos < 0 ? -1 : sos + 2 + ((uchar(jpeg[sos + 2]) << 8) | uchar(jpeg[sos + 3]));
}

}  // namespace

class TestAboutPicture : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    // First, while the process's peak address space is still its start-up size.
    void hugePictureRefusedBeforeDecoding();
    void shippedPictureIsShown();
    void brokenFileFallsBack_data();
    void brokenFileFallsBack();
};

void TestAboutPicture::initTestCase() {
    FilterOffscreenWarnings();
    platform::Install(std::make_unique<platform::FakePlatform>());
}

void TestAboutPicture::shippedPictureIsShown() {
    const QImage picture = DecodeJpeg(Shipped());
    QCOMPARE(picture.size(), QSize(450, 250));
    // Dark blue at the bottom-left corner; the drawn picture is orange there.
    const QColor corner = picture.pixelColor(2, 247);
    QVERIFY2(corner.blue() > corner.red() && corner.red() < 60, qPrintable(corner.name()));
    TForm1 form;
    QCOMPARE(form.Image1->pixmap().toImage().convertToFormat(QImage::Format_RGB32), picture);
    // The decoder is let go once the picture is decoded: it does not stay resident.
    QCOMPARE(dlopen("libjpeg.so." QT_STRINGIFY(JPEG_LIB_VERSION), RTLD_NOW | RTLD_NOLOAD), nullptr);
}

void TestAboutPicture::brokenFileFallsBack_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray jpeg = Shipped();
    const qsizetype scan = ScanData(jpeg);
    QVERIFY(scan > 0);
    QByteArray badMarker = jpeg;
    badMarker[1] = '\x00';  // no start-of-image marker
    QByteArray early = jpeg;
    early.replace(scan + 2000, 2, "\xFF\xD9");  // end of image inside the scan
    QTest::newRow("missing") << QByteArray("<missing>");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("truncated in the scan") << jpeg.left(scan + (jpeg.size() - scan) / 2);
    QTest::newRow("truncated in the header") << jpeg.left(scan - 40);
    QTest::newRow("no JPEG marker") << badMarker;
    QTest::newRow("marker inside the data") << early;
}

void TestAboutPicture::brokenFileFallsBack() {
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("about.jpg"));
    if (bytes != "<missing>") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        QVERIFY(DecodeJpeg(bytes).isNull());
    }
    QCOMPARE(AboutPictureFromFile(path).toImage(), AboutPicture().toImage());
}

void TestAboutPicture::hugePictureRefusedBeforeDecoding() {
    // The shipped header made progressive and 8192 x 8192; its scans no longer fit, so only
    // the memory taken before the refusal tells an early check from a late one.
    QByteArray huge = Shipped();
    const qsizetype frame = huge.indexOf("\xFF\xC0");
    QVERIFY(frame > 0);
    huge[frame + 1] = '\xC2';
    huge.replace(frame + 5, 4, QByteArray("\x20\x00\x20\x00", 4));
    const auto peak = [] {  // the most address space the process ever had, in kB
        QFile status(QStringLiteral("/proc/self/status"));
        status.open(QIODevice::ReadOnly);
        const QByteArray text = status.readAll();
        const qsizetype at = text.indexOf("VmPeak:");
        return text.mid(at + 7, text.indexOf('\n', at) - at - 7).trimmed().split(' ')[0].toLong();
    };
    const long before = peak();
    QVERIFY(DecodeJpeg(huge).isNull());
    QVERIFY2(peak() - before < 32 * 1024, qPrintable(QString::number(peak() - before)));
}

QTEST_MAIN(TestAboutPicture)
#include "test_about_picture.moc"
