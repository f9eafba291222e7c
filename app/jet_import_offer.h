#pragma once
// The offer at start to bring the Windows program's 股票.mdb into the user's data folder.

#include <QString>

// Asks when the current folder holds a Jet 股票.mdb not imported before, imports on Yes and
// tells the outcome. Gives the folder to work in: the data folder once the file is imported
// (now or at an earlier start), otherwise `current`.
QString OfferJetImport(const QString &current, const QString &dataFolder);
