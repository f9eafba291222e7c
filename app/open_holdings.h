#pragma once
// Opening the holdings manager: the one place that ties it to the profit table.

class TForm4;

// Opens (or focuses) the holdings manager and reloads its list from the database. Its
// "利润细分表" opens the profit table beside it with the combined figures.
TForm4 *OpenHoldings();
