// 岚石股票收益计算器: a tray utility for traders on the Shenzhen and Shanghai exchanges.

#include "app/jet_import_offer.h"
#include "app/main_window.h"
#include "app/manual_dialog.h"
#include "app/open_holdings.h"
#include "app/qt_texts.h"
#include "app/trading_client_refresh.h"
#include "app/tray.h"
#include "holdings/book.h"
#include "holdings/live_session.h"
#include "holdings/trade_journal.h"
#include "monitor/alarm_notifier.h"
#include "monitor/watch_list_dialog.h"
#include "monitor/watch_session.h"
#include "platform/platform.h"
#include "quotes/quote_feed.h"
#include "settings/fee_settings_dialog.h"
#include "settings/settings_in_force.h"
#include "settings/system_parameters_dialog.h"
#include "storage/data_folder.h"
#include "widgets/fonts.h"
#include "widgets/message_box.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>

int main(int argc, char *argv[]) {
    platform::ChooseWindowSystem();
    QApplication application(argc, argv);
    platform::ForgetWindowSystemChoice();
    QApplication::setApplicationName(QStringLiteral("stockcalc"));
    // The program lives in the tray: closing a tool window must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallFontSubstitutes();
    InstallQtChineseTexts();

    if (!platform::Current().AcquireSingleInstance(
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

    // In this order: loading the parameters may already start the refresh.
    TForm1 mainWindow;
    TradingClientRefresh refresh;
    TSETDlg feeSettings;
    TmyDlg systemParameters;
    QObject::connect(&systemParameters, &TmyDlg::RefreshChanged, &refresh,
                     &TradingClientRefresh::SetRefresh);
    systemParameters.Load();
    settings::Install(&feeSettings, &systemParameters);
    THELPDLG manual;
    mainWindow.SetDialogs(&feeSettings, &systemParameters);
    mainWindow.SetManual(&manual);
    // The one quote feed, and monitoring over it. A row that starts to alarm is told to the
    // desktop's notification service; where none answers, to the tray icon's balloon; without
    // a tray, only the monitor shows it.
    quotes::QuoteFeed feed;
    // The lots, and their live figures over the feed.
    holdings::Book book;
    holdings::LiveSession live(&feed, &book, settings::Fees());
    QObject::connect(&feeSettings, &TSETDlg::FeesChanged, &live,
                     &holdings::LiveSession::feesChanged);
    SetHoldingsSources(&book, &live);
    // Purchases, sales, dividends and bonus shares, booked with the lots they change.
    holdings::TradeJournal journal(storage::Database(), [] {
        return numbers::ReadFeeSchedule(settings::Fees().FeeTexts(),
                                        settings::Fees().TransferFeeBasis())
            .schedule;
    });
    journal.SetBook(&book);
    SetTradeJournal(&journal);
    monitor::AlarmNotifier notifier;
    monitor::WatchSession session(&feed, {[&notifier](const QString &row, const QString &summary) {
                                              notifier.notify(row, summary);
                                          },
                                          [] { platform::Current().PlayEventSound(); }});
    TSeeDlg watchList(&session);
    mainWindow.SetWatchListDialog(&watchList, &session);
    const auto showMonitor = [&mainWindow] { mainWindow.ShowMonitor(); };
    QObject::connect(&notifier, &monitor::AlarmNotifier::unavailable, mainWindow.tray(),
                     [&mainWindow](const QString &, const QString &summary) {
                         mainWindow.tray()->ShowMessage(summary);
                     });
    QObject::connect(&notifier, &monitor::AlarmNotifier::activated, &notifier, showMonitor);
    QObject::connect(mainWindow.tray()->icon(), &QSystemTrayIcon::messageClicked, &notifier,
                     showMonitor);
    // Windows use 宋体. It becomes the program's font only now: a line edit lays out its text in
    // the program's font while it is built, and the dialogs above, which take 宋体 when they are
    // first shown, would otherwise open its large font file at every start.
    QApplication::setFont(SongTi());
    mainWindow.show();
    const int result = QApplication::exec();
    settings::Install(nullptr, nullptr);
    return result;
}
