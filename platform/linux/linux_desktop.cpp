#include "platform/linux/linux_desktop.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <canberra.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <optional>

namespace platform {

namespace {

QString LockDirectory() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) {
        dir = QDir::tempPath();
    }
    return dir;
}

// libcanberra, loaded at the first sound: its sound-file and theme libraries cost start-up
// time and memory, and most runs never sound an alarm.
struct Canberra {
    decltype(&ca_context_create) create = nullptr;
    decltype(&ca_context_change_props) changeProps = nullptr;
    decltype(&ca_context_open) open = nullptr;
    decltype(&ca_context_play) play = nullptr;
    decltype(&ca_context_destroy) destroy = nullptr;
};

const Canberra *LoadCanberra() {
    static const std::optional<Canberra> loaded = []() -> std::optional<Canberra> {
        void *library = dlopen("libcanberra.so.0", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            return std::nullopt;
        }
        Canberra canberra;
        canberra.create =
            reinterpret_cast<decltype(&ca_context_create)>(dlsym(library, "ca_context_create"));
        canberra.changeProps = reinterpret_cast<decltype(&ca_context_change_props)>(
            dlsym(library, "ca_context_change_props"));
        canberra.open =
            reinterpret_cast<decltype(&ca_context_open)>(dlsym(library, "ca_context_open"));
        canberra.play =
            reinterpret_cast<decltype(&ca_context_play)>(dlsym(library, "ca_context_play"));
        canberra.destroy =
            reinterpret_cast<decltype(&ca_context_destroy)>(dlsym(library, "ca_context_destroy"));
        if (!canberra.create || !canberra.changeProps || !canberra.open || !canberra.play ||
            !canberra.destroy) {
            return std::nullopt;
        }
        return canberra;
    }();
    return loaded ? &*loaded : nullptr;
}

}  // namespace

LinuxDesktop::~LinuxDesktop() {
    if (m_lockFd >= 0) {
        ::close(m_lockFd);
    }
    if (m_sound != nullptr) {
        LoadCanberra()->destroy(m_sound);
    }
}

bool LinuxDesktop::acquireSingleInstance(const QString &name) {
    if (m_lockFd >= 0) {
        return true;
    }
    // A file name cannot hold "/"; everything else of the name is kept.
    QString fileName = name;
    fileName.replace(u'/', u'_');
    const QByteArray path =
        QFile::encodeName(LockDirectory() + u'/' + fileName + QStringLiteral(".lock"));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        return true;  // no place for a lock: do not stop the user from working
    }
    // flock is tied to the open file: the kernel drops it when the process dies.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_lockFd = fd;
    return true;
}

void LinuxDesktop::playEventSound() {
    // The context is made at the first sound; a desktop without a sound device fails here
    // once and is not asked again.
    const Canberra *canberra = m_soundFailed ? nullptr : LoadCanberra();
    if (m_sound == nullptr && canberra != nullptr) {
        m_soundFailed = canberra->create(&m_sound) != CA_SUCCESS;
        if (!m_soundFailed) {
            canberra->changeProps(m_sound, CA_PROP_APPLICATION_NAME, "stockcalc",
                                  CA_PROP_APPLICATION_ID, "stockcalc", nullptr);
            m_soundFailed = canberra->open(m_sound) != CA_SUCCESS;
        }
        if (m_soundFailed && m_sound != nullptr) {
            canberra->destroy(m_sound);
            m_sound = nullptr;
        }
    }
    if (m_sound == nullptr || canberra == nullptr) {
        m_soundFailed = true;
        return;
    }
    // Plays in libcanberra's own thread; the call returns at once.
    canberra->play(m_sound, 0, CA_PROP_EVENT_ID, "dialog-information", CA_PROP_EVENT_DESCRIPTION,
                   "股价警报", CA_PROP_CANBERRA_CACHE_CONTROL, "permanent", nullptr);
}

void LinuxDesktop::openUrl(const QUrl &url) {
    QDesktopServices::openUrl(url);
}

}  // namespace platform
