#pragma once
// What the operating system does for the program, behind one interface: the single-instance
// lock, keeping tool windows off the taskbar, opening a web page; and the choice of Qt's window
// system before the application object exists.

#include <QString>
#include <QUrl>

#include <memory>

class QWindow;

namespace platform {

class Platform {
public:
    virtual ~Platform() = default;

    // Takes the program-wide lock of this name. False when another running copy holds it.
    // The lock is released by the kernel when the process ends, however it ends.
    virtual bool AcquireSingleInstance(const QString &name) = 0;

    // Asks the window manager to show no taskbar entry for the window. Call before the first
    // show; the native window must exist.
    virtual void KeepOffTaskbar(QWindow *window) = 0;

    // Opens the address in the desktop's default browser. Failures are not reported.
    virtual void OpenUrl(const QUrl &url) = 0;

    // True when the program can place its windows, keep them above others and off the taskbar,
    // and find and key another program's window. A Wayland client can do none of these.
    virtual bool ControlsWindows() = 0;
};

// The platform in use; the native one unless a test installed another.
Platform &Current();

// Installs a platform (tests install the fake); returns the previous one.
std::unique_ptr<Platform> Install(std::unique_ptr<Platform> platform);

// The platform for the running desktop session.
std::unique_ptr<Platform> CreateNative();

// Chooses Qt's window system for the desktop session; call before the application object
// exists. A window system the user chose (QT_QPA_PLATFORM, or Qt's -platform argument) is kept.
void ChooseWindowSystem();

// Takes the choice back out of the environment once the application object exists, so that
// programs started from here (the browser) make their own.
void ForgetWindowSystemChoice();

}  // namespace platform
