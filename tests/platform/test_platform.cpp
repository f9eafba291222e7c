// The single-instance lock of the Linux platform, and its choice of Qt's window system.

#include "platform/x11/x11_platform.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/wait.h>
#include <unistd.h>

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void init();
    void secondHolderIsRefused();
    void lockEndsWithItsHolder();
    void lockDiesWithAKilledProcess();
    void soundWithoutDeviceReturnsAtOnce();
    void windowSystemChoice_data();
    void windowSystemChoice();

private:
    QTemporaryDir m_runtime;
    const QString m_name = QStringLiteral("岚石软件工作室->股票收益计算器");
};

void TestPlatform::init() {
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
}

void TestPlatform::secondHolderIsRefused() {
    platform::X11Platform first;
    platform::X11Platform second;
    QVERIFY(first.acquireSingleInstance(m_name));
    QVERIFY(first.acquireSingleInstance(m_name));  // asking again keeps it
    QVERIFY(!second.acquireSingleInstance(m_name));
    QVERIFY(second.acquireSingleInstance(QStringLiteral("a/name with a slash")));
}

void TestPlatform::lockEndsWithItsHolder() {
    {
        platform::X11Platform first;
        QVERIFY(first.acquireSingleInstance(m_name));
    }
    platform::X11Platform next;
    QVERIFY(next.acquireSingleInstance(m_name));
}

void TestPlatform::lockDiesWithAKilledProcess() {
    int ready[2];
    QCOMPARE(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
        platform::X11Platform holder;
        const char held = holder.acquireSingleInstance(m_name) ? 'y' : 'n';
        (void)!write(ready[1], &held, 1);
        pause();
        _exit(0);
    }
    char held = 0;
    QCOMPARE(read(ready[0], &held, 1), ssize_t{1});
    QCOMPARE(held, 'y');
    {
        platform::X11Platform blocked;
        QVERIFY(!blocked.acquireSingleInstance(m_name));
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    platform::X11Platform next;
    QVERIFY(next.acquireSingleInstance(m_name));
}

void TestPlatform::soundWithoutDeviceReturnsAtOnce() {
    // Machines without a sound device or server are common (CI, remote desktops): the
    // alarm must go on silently and never hold up the window.
    platform::X11Platform platform;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 3; ++i) {
        platform.playEventSound();
    }
    QVERIFY(clock.elapsed() < 1500);
}

void TestPlatform::windowSystemChoice_data() {
    QTest::addColumn<QByteArray>("user");
    QTest::addColumn<QByteArray>("wayland");
    QTest::addColumn<QByteArray>("x11");
    QTest::addColumn<QByteArray>("chosen");
    QTest::newRow("X11 session") << QByteArray() << QByteArray() << QByteArray(":0")
                                 << QByteArray();
    QTest::newRow("Wayland with XWayland")
        << QByteArray() << QByteArray("wayland-0") << QByteArray(":0") << QByteArray("xcb;wayland");
    QTest::newRow("Wayland alone")
        << QByteArray() << QByteArray("wayland-0") << QByteArray() << QByteArray("wayland");
    QTest::newRow("the user's choice") << QByteArray("wayland") << QByteArray("wayland-0")
                                       << QByteArray(":0") << QByteArray("wayland");
}

void TestPlatform::windowSystemChoice() {
    QFETCH(QByteArray, user);
    QFETCH(QByteArray, wayland);
    QFETCH(QByteArray, x11);
    QFETCH(QByteArray, chosen);
    const auto set = [](const char *name, const QByteArray &value) {
        value.isEmpty() ? qunsetenv(name) : qputenv(name, value);
    };
    set("QT_QPA_PLATFORM", user);
    set("WAYLAND_DISPLAY", wayland);
    set("DISPLAY", x11);
    platform::ChooseWindowSystem();
    QCOMPARE(qgetenv("QT_QPA_PLATFORM"), chosen);
    // Afterwards the environment is the user's again.
    platform::ForgetWindowSystemChoice();
    QCOMPARE(qgetenv("QT_QPA_PLATFORM"), user);
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "test_platform.moc"
