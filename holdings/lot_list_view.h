#pragma once
// The look of the holdings list: a black report view without headers, rows 22 pixels high,
// whole-row single selection, and check boxes that read on every row colour.

#include <QList>
#include <QTableView>

// Sets up `view` (its model already set) with these column widths.
void SetUpLotListView(QTableView *view, const QList<int> &widths);
