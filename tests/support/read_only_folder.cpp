#include "support/read_only_folder.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

QString SystemError(const char *what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(strerror(errno)));
}

}  // namespace

ReadOnlyFolder::ReadOnlyFolder(QString folder) : m_folder(std::move(folder)) {
    if (geteuid() != 0) {
        QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::ExeOwner);
        return;
    }
    static bool ownNamespace = false;
    if (!ownNamespace) {
        // Mounts made from here on stay inside this process.
        if (unshare(CLONE_NEWNS) != 0) {
            m_error = SystemError("unshare");
            return;
        }
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            m_error = SystemError("mount private");
            return;
        }
        ownNamespace = true;
    }
    const QByteArray path = QFile::encodeName(m_folder);
    if (mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) != 0) {
        m_error = SystemError("bind mount");
        return;
    }
    m_mounted = true;
    if (mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
        m_error = SystemError("read-only remount");
    }
}

ReadOnlyFolder::~ReadOnlyFolder() {
    if (m_mounted) {
        umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
    } else if (geteuid() != 0) {
        QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}
