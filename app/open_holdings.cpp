#include "app/open_holdings.h"

#include "calc/profit_table_window.h"
#include "holdings/holdings_window.h"

TForm4 *OpenHoldings() {
    const bool created = !TForm4::instance;
    TForm4 *holdings = TForm4::Open();
    if (created) {
        QObject::connect(
            holdings, &TForm4::ProfitTableRequested, holdings,
            [holdings](const QString &average, const QString &cost, const QString &quantity) {
                if (!OpenProfitTable(average, cost, quantity, holdings)) {
                    holdings->ProfitTableFailed();
                }
            });
    }
    holdings->LoadHoldings();
    return holdings;
}
