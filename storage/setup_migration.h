#pragma once
// Bringing the settings row of a file written by an older version up to the current columns.

#include "storage/database.h"

class QSqlDatabase;

namespace storage {

// Adds each of the setup columns about to be written that the file lacks (it predates the
// column), with the column's own type. Adding leaves the stored rows as they are.
// The transfer basis and the class commissions came together: a file gains all of them
// the first time any of them is written, the commissions NULL.
bool AddMissingSetupColumns(QSqlDatabase &db, const Columns &columns);

}  // namespace storage
