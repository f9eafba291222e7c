#pragma once
// Reading a Jet file apart from the program: libmdb runs in the reading program installed
// beside this one, under a time limit, an address-space limit and a cap on what it may write,
// and hands the three tables back as data. A crash or a limit there is a failed import here,
// never a lost program.

#include "storage/jet_content.h"

#include <QString>

#include <optional>

namespace storage {

// The reading program's exit status when it ran out of memory, or of processor time, under
// its limits.
inline constexpr int kJetReaderOutOfMemory = 3;
inline constexpr int kJetReaderOutOfTime = 4;

struct JetReaderLimits {
    int seconds = 30;                        // wall-clock time, and processor time
    qint64 memoryBytes = qint64(1) << 30;    // its address space
    qint64 outputBytes = qint64(256) << 20;  // what it may write
};

// The reading program beside the running program's executable (in the build tree too).
QString JetReaderProgram();

// The content of the Jet file at `path` as the reading program `reader` finds it, or nothing
// with `error` naming what failed: the reason the reading gave, a reading program that could
// not start, crashed, ran out of time or memory, wrote more than its cap, or wrote what does
// not unpack. Runs the event loop meanwhile; never blocks it.
std::optional<JetContent> ReadJetFileApart(const QString &reader, const QString &path,
                                           const JetReaderLimits &limits, QString *error);

}  // namespace storage
