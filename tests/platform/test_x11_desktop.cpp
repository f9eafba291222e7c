// The Linux platform on a real X server without a window manager (run by x11_desktop.sh): the
// trading client found by the title the desktop shows, and an event loop that keeps running
// while the desktop does not answer.

#include "app/trading_client_refresh.h"
#include "platform/x11/x11_platform.h"
#include "widgets/tool_window.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QtTest>

#include <xcb/xcb.h>

extern "C" {
#include <X11/Xlib.h>
#include <X11/Xutil.h>
}

namespace {

const QString kClient = QStringLiteral("国海证券网上交易");

xcb_connection_t *Connection() {
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

xcb_atom_t InternAtom(const char *name) {
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        Connection(), xcb_intern_atom(Connection(), 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply->atom;
    free(reply);
    return atom;
}

void SetProperty(xcb_window_t window, xcb_atom_t name, xcb_atom_t type, uint8_t format,
                 const QByteArray &value) {
    xcb_change_property(Connection(), XCB_PROP_MODE_REPLACE, window, name, type, format,
                        uint32_t(value.size() / (format / 8)), value.constData());
    xcb_flush(Connection());
}

xcb_window_t Root() {
    return xcb_setup_roots_iterator(xcb_get_setup(Connection())).data->root;
}

// A window of another program, as bare as X allows: no WM_NAME unless given.
xcb_window_t CreateWindow() {
    const xcb_window_t window = xcb_generate_id(Connection());
    xcb_create_window(Connection(), XCB_COPY_FROM_PARENT, window, Root(), 600, 400, 100, 50, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_map_window(Connection(), window);
    return window;
}

QByteArray CompoundText(const QString &text) {
    Display *display = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display();
    QByteArray utf8 = text.toUtf8();
    char *list[] = {utf8.data()};
    XTextProperty property{};
    Xutf8TextListToTextProperty(display, list, 1, XCompoundTextStyle, &property);
    const QByteArray bytes(reinterpret_cast<const char *>(property.value), int(property.nitems));
    XFree(property.value);
    return bytes;
}

class CentredDialog final : public QDialog {
protected:
    void showEvent(QShowEvent *event) override {
        QDialog::showEvent(event);
        CentreOnScreen(this);
    }
};

}  // namespace

class TestX11Desktop : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void findsTheTitleTheDesktopShows_data();
    void findsTheTitleTheDesktopShows();
    void eventLoopRunsWhileTheDesktopDoesNotAnswer_data();
    void eventLoopRunsWhileTheDesktopDoesNotAnswer();
    void windowsStayInTheWorkArea_data();
    void windowsStayInTheWorkArea();
};

void TestX11Desktop::initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    // A window manager that says it activates windows and tells frames, but never does.
    const xcb_atom_t claimed[] = {InternAtom("_NET_REQUEST_FRAME_EXTENTS"),
                                  InternAtom("_NET_ACTIVE_WINDOW")};
    SetProperty(Root(), InternAtom("_NET_SUPPORTED"), XCB_ATOM_ATOM, 32,
                QByteArray(reinterpret_cast<const char *>(claimed), sizeof claimed));
}

void TestX11Desktop::findsTheTitleTheDesktopShows_data() {
    QTest::addColumn<QString>("netName");  // _NET_WM_NAME, UTF-8; none when empty
    QTest::addColumn<QString>("wmNameType");
    QTest::addColumn<QByteArray>("wmName");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("found");
    QTest::newRow("_NET_WM_NAME only") << kClient << "" << QByteArray() << kClient << true;
    QTest::newRow("_NET_WM_NAME before WM_NAME")
        << QStringLiteral("行情") << "UTF8_STRING" << kClient.toUtf8() << kClient << false;
    QTest::newRow("WM_NAME UTF8_STRING")
        << QString() << "UTF8_STRING" << kClient.toUtf8() << kClient << true;
    QTest::newRow("WM_NAME COMPOUND_TEXT")
        << QString() << "COMPOUND_TEXT" << CompoundText(kClient) << kClient << true;
    QTest::newRow("WM_NAME STRING is Latin-1")
        << QString() << "STRING" << QByteArray("Caf\xe9") << QStringLiteral("Café") << true;
}

void TestX11Desktop::findsTheTitleTheDesktopShows() {
    QFETCH(QString, netName);
    QFETCH(QString, wmNameType);
    QFETCH(QByteArray, wmName);
    QFETCH(QString, title);
    QFETCH(bool, found);
    const xcb_window_t window = CreateWindow();
    if (!netName.isEmpty()) {
        SetProperty(window, InternAtom("_NET_WM_NAME"), InternAtom("UTF8_STRING"), 8,
                    netName.toUtf8());
    }
    if (!wmNameType.isEmpty()) {
        SetProperty(window, XCB_ATOM_WM_NAME, InternAtom(qPrintable(wmNameType)), 8, wmName);
    }
    platform::X11Platform desktop;
    QCOMPARE(desktop.findWindow(title), found ? platform::WindowId(window) : 0);
    xcb_destroy_window(Connection(), window);
}

void TestX11Desktop::eventLoopRunsWhileTheDesktopDoesNotAnswer_data() {
    QTest::addColumn<bool>("dialog");     // else a refresh of a client that refuses the focus
    QTest::addColumn<QMargins>("frame");  // told after a while; none when null
    QTest::newRow("client refuses the focus") << false << QMargins();
    QTest::newRow("frame request never answered") << true << QMargins();
    QTest::newRow("frame told late") << true << QMargins(1, 20, 1, 1);
}

void TestX11Desktop::eventLoopRunsWhileTheDesktopDoesNotAnswer() {
    QFETCH(bool, dialog);
    QFETCH(QMargins, frame);
    const xcb_window_t client = CreateWindow();
    SetProperty(client, InternAtom("_NET_WM_NAME"), InternAtom("UTF8_STRING"), 8, kClient.toUtf8());
    settings::InForce inForce;
    TradingClientRefresh refresh(inForce);
    CentredDialog box;
    box.resize(300, 200);
    // The longest gap between the ticks of a 10 ms timer, the first of which starts the wait.
    QElapsedTimer clock;
    qint64 last = -1;
    qint64 longest = 0;
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = last < 0 ? 0 : std::max(longest, now - last);
        if (std::exchange(last, now) >= 0) {
            return;
        }
        if (!dialog) {
            refresh.Timer2Timer();
            return;
        }
        box.show();
        if (!frame.isNull()) {
            QTimer::singleShot(30, [&] {
                const uint32_t extents[] = {uint32_t(frame.left()), uint32_t(frame.right()),
                                            uint32_t(frame.top()), uint32_t(frame.bottom())};
                SetProperty(box.winId(), InternAtom("_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL, 32,
                            QByteArray(reinterpret_cast<const char *>(extents), sizeof extents));
            });
        }
    });
    clock.start();
    ticks.start(10);
    QTest::qWait(700);
    QVERIFY2(longest <= 50, qPrintable(QStringLiteral("no tick for %1 ms").arg(longest)));
    if (dialog) {  // centred, the frame included once the window manager tells it
        const QSize outer = box.size().grownBy(frame);
        QCOMPARE(box.geometry().topLeft(), QPoint((1024 - outer.width()) / 2 + frame.left(),
                                                  (768 - outer.height()) / 2 + frame.top()));
    }
    xcb_destroy_window(Connection(), client);
}

void TestX11Desktop::windowsStayInTheWorkArea_data() {
    QTest::addColumn<QRect>("published");  // _NET_WORKAREA on the root; none when null
    QTest::addColumn<QRect>("area");
    QTest::newRow("panel at the top") << QRect(0, 24, 1024, 744) << QRect(0, 24, 1024, 744);
    QTest::newRow("panel at the left") << QRect(48, 0, 976, 768) << QRect(48, 0, 976, 768);
    QTest::newRow("none published") << QRect() << QRect(0, 0, 1024, 768);
}

void TestX11Desktop::windowsStayInTheWorkArea() {
    QFETCH(QRect, published);
    QFETCH(QRect, area);
    const xcb_atom_t workArea = InternAtom("_NET_WORKAREA");
    if (published.isNull()) {
        xcb_delete_property(Connection(), Root(), workArea);
        xcb_flush(Connection());
    } else {
        const uint32_t value[] = {uint32_t(published.x()), uint32_t(published.y()),
                                  uint32_t(published.width()), uint32_t(published.height())};
        SetProperty(Root(), workArea, XCB_ATOM_CARDINAL, 32,
                    QByteArray(reinterpret_cast<const char *>(value), sizeof value));
    }
    QTRY_COMPARE(WorkArea(), area);
    QWidget compact;
    compact.resize(704, 35);
    PlaceAtCorner(&compact, 2);  // top right, clear of the panel
    QCOMPARE(compact.pos(), QPoint(area.right() + 1 - 704 - 2, area.y() + 1));
    CentredDialog box;
    box.resize(300, 200);
    box.show();
    QTRY_COMPARE(box.geometry().topLeft(),
                 area.topLeft() + QPoint((area.width() - 300) / 2, (area.height() - 200) / 2));
}

QTEST_MAIN(TestX11Desktop)
#include "test_x11_desktop.moc"
