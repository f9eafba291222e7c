#pragma once
// The small always-on-top windows: frameless with a thin border, no taskbar entry, freed when
// closed, at most one per class, and moved by dragging the controls chosen as drag handles.

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <utility>

class QDialog;
class QLineEdit;

class ToolWindow : public QWidget {
    Q_OBJECT
public:
    // The press position within the handle at the last press on any handle of this window
    // class, shared by the class's handles and kept across windows.
    QPoint dragOrigin() const { return m_dragOrigin; }

protected:
    explicit ToolWindow(QPoint &dragOrigin);

    void addDragHandle(QWidget *handle);
    void resetDragOrigin() { m_dragOrigin = {}; }

    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QPoint &m_dragOrigin;
};

// Fills the widget's background with the colour.
void SetBackground(QWidget *widget, const QColor &colour);

// A read-only output field with its text colour, and its background colour if one is given.
QLineEdit *ReadOnlyField(QWidget *parent, const QColor &text, const QColor &background = QColor());

// The light yellow of the result fields.
inline const QColor kResultBackground(255, 255, 196);

// Right-aligns every field of exactly the plain line-edit kind inside `root`, at any depth;
// derived kinds such as spin fields are left for their owner to align one by one.
void RightAlignPlainEdits(QWidget *root);

// The part of the screen that windows may take: the work area the desktop publishes, which
// leaves out the panels, or the whole screen where none is published. The window's screen, or
// the primary one; empty without a screen.
QRect WorkArea(const QWidget *window = nullptr);

// Window placement at a corner of the work area (1 top-left, 2 top-right, 3 bottom-left,
// 4 bottom-right): 1 pixel from its left and top edges, 2 from its right and 30 from its bottom.
QPoint CornerPosition(int corner, QSize windowSize, QRect area);

// Moves the window to the corner of the primary screen's work area.
void PlaceAtCorner(QWidget *window, int corner);

// Centres the window in its screen's work area, the window manager's frame included. Call it
// from the window's showEvent, once its size is final: Qt's own guess of the frame is wrong the
// first time a window is shown.
void CentreOnScreen(QWidget *window);

// Centres the window at once on a guess, and with CentreOnScreen when it is first shown; later
// showings leave it where it is. For windows whose size is final when they are built.
void CentreWhenFirstShown(QWidget *window);

// Readies a dialog that the tray menu shows: it stays above the always-on-top tool windows
// while it is up, else it maps beneath one of them and takes no input.
void PrepareTrayDialog(QDialog *dialog);

// Gives the window the focus and brings it forward.
void FocusWindow(QWidget *window);

template <class Window>
class ToolWindowOf : public ToolWindow {
public:
    // The program-wide reference to the live window of this class; empty when there is none.
    static inline QPointer<Window> instance;

    // Focuses the live window, or creates (from these arguments), shows and remembers a new
    // one.
    template <class... Arguments>
    static Window *Open(Arguments &&...arguments) {
        if (instance) {
            FocusWindow(instance);
            return instance;
        }
        instance = new Window(std::forward<Arguments>(arguments)...);
        instance->show();
        FocusWindow(instance);
        return instance;
    }

protected:
    ToolWindowOf() : ToolWindow(s_dragOrigin) {}

private:
    static inline QPoint s_dragOrigin;
};
