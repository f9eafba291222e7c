// 岚石股票收益计算器: a tray utility for traders on the Shenzhen and Shanghai stock exchanges.

#include "app/jet_import_offer.h"
#include "app/qt_texts.h"
#include "app/shell.h"
#include "platform/platform.h"
#include "storage/data_folder.h"
#include "widgets/fonts.h"
#include "widgets/message_box.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>

int main(int argc, char *argv[]) {
    platform::ChooseWindowSystem();
    QApplication application(argc, argv);
    platform::ForgetWindowSystemChoice();
    QApplication::setApplicationName(QStringLiteral("stockcalc"));
    // The program lives in the tray: closing a tool window must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallFontSubstitutes();
    InstallQtChineseTexts();

    if (!platform::Current().acquireSingleInstance(
            QStringLiteral("岚石软件工作室->股票收益计算器"))) {
        messages::Show(nullptr, QStringLiteral("注意：同样的程序在运行中!"), QStringLiteral("提示"),
                       messages::Icon::Information);
        return 0;
    }

    // Started from the desktop menu the program works in the user's data folder; started
    // beside a 股票.mdb it uses that file.
    // A Windows program's Jet file there is offered for import into the data folder first.
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString dataFolder =
        dataHome.isEmpty() ? QString() : dataHome + QStringLiteral("/stockcalc");
    const storage::DataFolder folder =
        storage::ChooseDataFolder(OfferJetImport(QDir::currentPath(), dataFolder), dataFolder);
    QDir::setCurrent(folder.path);

    Shell shell;
    // Windows use 宋体. It becomes the program's font only now: a line edit lays out its text in
    // the program's font while it is built, and the dialogs the shell holds, which take 宋体 when
    // they are first shown, would otherwise open its large font file at every start.
    QApplication::setFont(SongTi());
    shell.start();
    // Once the first windows are up, what start-up freed (the database reading, the picture
    // decoding) goes back to the system.
    QTimer::singleShot(0, &platform::ReturnFreedMemory);
    return QApplication::exec();
}
