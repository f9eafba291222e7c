// Creates an empty 股票.mdb for a first start: the three tables and one settings row with the
// dialogs' defaults. Never overwrites an existing file.
//   create_database [path]      (default: 股票.mdb in the current folder)

#include "storage/database.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char *argv[]) {
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Creates an empty stock database with the default settings; an existing file is kept."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    parser.addOption(help);
    parser.addPositionalArgument(
        QStringLiteral("path"),
        QStringLiteral("The file to create (default: %1).").arg(storage::DatabaseFileName()),
        QStringLiteral("[path]"));
    const auto refuse = [](const QString &error) {
        QTextStream(stderr) << "create_database: " << error << "\nSee create_database --help.\n";
        return 2;
    };
    if (!parser.parse(QCoreApplication::arguments())) {
        return refuse(parser.errorText());
    }
    if (parser.isSet(help)) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    const QStringList paths = parser.positionalArguments();
    if (paths.size() > 1) {
        return refuse(QStringLiteral("one path at most, not %1").arg(paths.size()));
    }
    const QString path = paths.isEmpty() ? storage::DatabaseFileName() : paths.front();
    // A name like an option is nearly always a mistyped option, never a wanted database.
    if (QFileInfo(path).fileName().startsWith(u'-')) {
        return refuse(QStringLiteral("refusing a file name that starts with \"-\": %1").arg(path));
    }
    QString error;
    if (!storage::Database::Create(path, &error)) {
        QTextStream(stderr) << "create_database: " << error << '\n';
        return 1;
    }
    return 0;
}
