// 岚石股票收益计算器: a tray utility for traders on the Shenzhen and Shanghai exchanges.

#include "app/fonts.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "platform/platform.h"
#include "settings/fee_settings_dialog.h"
#include "settings/system_parameters_dialog.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("stockcalc"));
    // The program lives in the tray: closing a tool window must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallFontSubstitutes();
    QApplication::setFont(SongTi());

    if (!platform::Current().AcquireSingleInstance(
            QStringLiteral("岚石软件工作室->股票收益计算器"))) {
        messages::Show(nullptr, QStringLiteral("注意：同样的程序在运行中!"), QStringLiteral("提示"),
                       messages::Icon::Information);
        return 0;
    }

    // In this order: the parameter dialog may start the main window's refresh timer.
    TForm1 mainWindow;
    TSETDlg feeSettings;
    TmyDlg systemParameters;
    mainWindow.show();
    return QApplication::exec();
}
