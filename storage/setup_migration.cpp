// Adds the settings columns an older file lacks before they are written.
#include "storage/setup_migration.h"

#include "storage/setup_columns.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace storage {

bool AddMissingSetupColumns(QSqlDatabase &db, const Columns &columns) {
    const QSqlRecord present = db.record(QStringLiteral("setup"));
    const auto nameOf = [](SetupColumnIndex index) {
        return QString::fromLatin1(kSetupColumns[index].name.data(),
                                   static_cast<qsizetype>(kSetupColumns[index].name.size()));
    };
    QStringList later{nameOf(kTB)};
    for (const SetupColumnIndex index : kClassCommissionColumns) {
        later.append(nameOf(index));
    }
    QStringList wanted;
    for (const auto &column : columns) {
        wanted.append(later.contains(column.first) ? later : QStringList{column.first});
    }
    wanted.removeDuplicates();
    QSqlQuery query(db);
    for (const QString &name : wanted) {
        if (present.isEmpty() || present.contains(name)) {
            continue;
        }
        const auto known = std::find_if(
            kSetupColumns.begin(), kSetupColumns.end(), [&name](const SetupColumn &setup) {
                return name == QLatin1String(setup.name.data(), setup.name.size());
            });
        if (known == kSetupColumns.end() ||
            !Exec(query, QStringLiteral("ALTER TABLE setup ADD COLUMN %1 %2")
                             .arg(name, QLatin1String(known->type.data(), known->type.size())))) {
            return false;
        }
    }
    return true;
}

}  // namespace storage
