#pragma once
// What the operating system does for the program, behind one interface: the single-instance
// lock, keeping tool windows off the taskbar, the window frame, the event sound, opening a
// web page, driving the top-level window of another program (the trading client); and the
// choice of Qt's window system before the application object exists.

#include <QMargins>
#include <QString>
#include <QUrl>
#include <Qt>

#include <functional>
#include <memory>

class QWindow;

namespace platform {

// A top-level window of another program as the desktop knows it; 0 is no window.
using WindowId = quint64;

class Platform {
public:
    virtual ~Platform() = default;

    // Takes the program-wide lock of this name. False when another running copy holds it.
    // The lock is released by the kernel when the process ends, however it ends.
    virtual bool acquireSingleInstance(const QString &name) = 0;

    // Asks the window manager to show no taskbar entry for the window. Call before the first
    // show; the native window must exist.
    virtual void keepOffTaskbar(QWindow *window) = 0;

    // Passes `known` the frame the window manager puts around the window (the native window
    // must exist): before returning when the frame is already known or nobody can tell (none
    // then), else once the window manager answers the request for it, or none when it has not
    // answered within a short while. Never waits; `known` is dropped if the window goes first.
    virtual void frameMargins(QWindow *window, std::function<void(QMargins)> known) = 0;

    // Plays the desktop's information sound once, without waiting for it to end. Where no
    // sound can be played nothing happens.
    virtual void playEventSound() = 0;

    // Opens the address in the desktop's default browser. Failures are not reported.
    virtual void openUrl(const QUrl &url) = 0;

    // Whether this desktop lets the program find and drive other programs' windows. When it
    // does not, findWindow finds nothing.
    virtual bool canDriveWindows() = 0;

    // The top-level window titled exactly so, of any class; 0 when there is none.
    virtual WindowId findWindow(const QString &title) = 0;
    virtual bool isMinimised(WindowId window) = 0;
    // Shows a minimised window again.
    virtual void restore(WindowId window) = 0;
    // Puts the window on top of the others.
    virtual void raise(WindowId window) = 0;
    // Asks the desktop to make it the active window with the keyboard focus. Returns at once:
    // the focus moves on the window manager's time, or not at all when the desktop refuses.
    virtual void activate(WindowId window) = 0;
    // Whether the window has the keyboard focus now.
    virtual bool hasFocus(WindowId window) = 0;
    // Presses and releases the key as synthetic input, which reaches the window that has the
    // keyboard focus.
    virtual void pressKey(Qt::Key key) = 0;

    // True when the program can place its windows, keep them above others and off the taskbar,
    // and find and key another program's window. A Wayland client can do none of these.
    virtual bool controlsWindows() = 0;
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

// Hands the memory that start-up used and freed back to the system, so that a program that
// mostly waits in the tray keeps resident only what it holds.
void ReturnFreedMemory();

}  // namespace platform
