// Stands in for the brokerage's trading client: a window with its title that writes each key
// it receives to standard output, with the window's state at that moment.

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

#include <cstdio>

namespace {
class ClientWindow final : public QWidget {
protected:
    void keyPressEvent(QKeyEvent *event) override {
        const QByteArray key = QKeySequence(event->key()).toString().toUtf8();
        std::printf("%s %s\n", key.constData(), isMinimized() ? "minimised" : "shown");
        std::fflush(stdout);
    }
};
}  // namespace

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    ClientWindow window;
    window.setWindowTitle(QStringLiteral("国海证券网上交易"));
    window.resize(320, 120);
    window.move(600, 400);
    window.show();
    return QApplication::exec();
}
