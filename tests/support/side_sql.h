#pragma once
// SQL run on the program's database file through a connection of its own, as a second program
// would run it.

#include "storage/database.h"

#include <QStringList>

// Runs one statement on the database file of the current folder; a statement that fails fails
// the test.
void Sql(const QString &statement);
// Runs each statement on the database file at `path`.
void Sql(const QString &path, const QStringList &statements);
