#include "support/side_sql.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

void Sql(const QString &path, const QStringList &statements) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "test-side");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        for (const QString &statement : statements) {
            QVERIFY2(query.exec(statement), qPrintable(statement));
        }
    }
    QSqlDatabase::removeDatabase("test-side");
}

void Sql(const QString &statement) {
    Sql(storage::DatabaseFileName(), QStringList{statement});
}
