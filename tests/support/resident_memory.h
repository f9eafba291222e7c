#pragma once
// The resident memory of this process, from the kernel's account of it.

#include <QFile>

inline int ResidentMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return static_cast<int>(line.mid(6).trimmed().split(' ').value(0).toLongLong() / 1024);
        }
    }
    return -1;
}
