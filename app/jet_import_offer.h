#pragma once
// The offer at start to bring the Windows program's 股票.mdb into the user's data folder.

#include "quotes/clock.h"
#include "storage/jet_reader_process.h"

#include <QString>

// Asks when the current folder holds a Jet 股票.mdb not imported before, imports on Yes with
// the reading program `reader` and tells the outcome. Gives the folder to work in: the data
// folder whenever the current folder holds a Jet file (the program never works on one),
// otherwise `current`.
QString OfferJetImport(const QString &current, const QString &dataFolder,
                       const QString &reader = storage::JetReaderProgram(),
                       const quotes::Clock &now = {});
