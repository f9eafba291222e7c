// Creates an empty 股票.mdb for a first start: the three tables and one settings row with the
// dialogs' defaults. Never overwrites an existing file.
//   create_database [path]      (default: 股票.mdb in the current folder)

#include "storage/database.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QString path = arguments.size() > 1 ? arguments[1] : storage::DatabaseFileName();
    QString error;
    if (!storage::Database::Create(path, &error)) {
        QTextStream(stderr) << "create_database: " << error << '\n';
        return 1;
    }
    return 0;
}
