// A bare tool window on the real desktop, so the frame can be checked from outside.

#include "platform/platform.h"
#include "widgets/fonts.h"
#include "widgets/tool_window.h"

#include <QApplication>
#include <QLabel>

namespace {
class ProbeWindow final : public ToolWindowOf<ProbeWindow> {
public:
    ProbeWindow() {
        setWindowTitle(QStringLiteral("工具窗口样例"));
        SetBackground(this, QColor(166, 202, 240));
        resize(300, 80);
        move(100, 100);
        auto *label = new QLabel(QStringLiteral("按住左键拖动窗口"), this);
        label->setGeometry(20, 20, 200, 30);
        addDragHandle(this);
        addDragHandle(label);
    }
};
}  // namespace

int main(int argc, char *argv[]) {
    // The program's own start-up choice, so the probe lands where the program's windows do.
    platform::ChooseWindowSystem();
    QApplication application(argc, argv);
    platform::ForgetWindowSystemChoice();
    InstallFontSubstitutes();
    QApplication::setFont(SongTi());
    ProbeWindow::Open();
    return QApplication::exec();
}
