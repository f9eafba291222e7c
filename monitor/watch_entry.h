#pragma once
// The checks of a watch-list entry before it is stored.

#include <QString>

#include <optional>

namespace monitor {

struct WatchEntryCheck {
    // The price texts as normalised; the lower one only when its check was reached.
    QString upperText;
    std::optional<QString> lowerText;
    double upper = 0;
    double lower = 0;
    QString error;  // the message of the first failed check; empty when all passed
};

// In order: the code is exactly six characters (which ones is not examined), the upper and
// then the lower price are normalised and parse, and the lower is not above the upper.
WatchEntryCheck CheckWatchEntry(const QString &code, const QString &upperText,
                                const QString &lowerText);

}  // namespace monitor
