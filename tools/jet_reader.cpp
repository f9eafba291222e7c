// stockcalc-jet-reader: reads the three tables of a Windows program's Jet 股票.mdb and writes
// them to standard output in the form the program unpacks. The program runs it for an import,
// so that libmdb, C code reading an untrusted file, can crash or run away here and not there.
//   stockcalc-jet-reader --memory BYTES --seconds N -- FILE
// Before it touches the file it limits its own address space and processor time and gives
// up the right to write files; running out of memory ends it with its own exit status.

#include "storage/jet_file.h"
#include "storage/jet_reader_process.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <new>

#include <glib.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

void Limit(int resource, rlim_t soft, rlim_t hard) {
    const rlimit limit{soft, hard};
    setrlimit(resource, &limit);
}

[[noreturn]] void OutOfMemory() {
    _exit(storage::kJetReaderOutOfMemory);
}

[[noreturn]] void OutOfTime(int) {
    _exit(storage::kJetReaderOutOfTime);
}

// GLib ends the process on a failed allocation; it says so first.
void GLibError(const gchar *, GLogLevelFlags, const gchar *message, gpointer) {
    if (message != nullptr && std::strstr(message, "failed to allocate") != nullptr) {
        OutOfMemory();
    }
    _exit(1);
}

}  // namespace

int main(int argc, char *argv[]) {
    long long memory = 0;
    long long seconds = 0;
    const char *path = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--memory") == 0 && i + 1 < argc) {
            memory = std::atoll(argv[++i]);
        } else if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
            seconds = std::atoll(argv[++i]);
        } else if (std::strcmp(argv[i], "--") == 0 && i + 1 < argc) {
            path = argv[++i];
        }
    }
    if (path == nullptr || memory <= 0 || seconds <= 0) {
        std::fputs("usage: stockcalc-jet-reader --memory BYTES --seconds N -- FILE\n", stderr);
        return 2;
    }
#if !defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer reserves its shadow memory as address space.
    Limit(RLIMIT_AS, static_cast<rlim_t>(memory), static_cast<rlim_t>(memory));
#endif
    Limit(RLIMIT_CPU, static_cast<rlim_t>(seconds), static_cast<rlim_t>(seconds) + 1);
    Limit(RLIMIT_FSIZE, 0, 0);
    Limit(RLIMIT_CORE, 0, 0);
    // The soft processor-time limit is a signal first; the hard one, a second later, kills.
    std::signal(SIGXCPU, OutOfTime);
    std::set_new_handler(OutOfMemory);
    g_log_set_handler("GLib", static_cast<GLogLevelFlags>(G_LOG_LEVEL_ERROR | G_LOG_FLAG_FATAL),
                      GLibError, nullptr);

    QString error;
    const std::optional<storage::JetContent> content =
        storage::ReadJetFile(QFile::decodeName(path), &error);
    const QByteArray bytes = storage::PackJetReading(content, error);
    if (std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout) !=
            static_cast<size_t>(bytes.size()) ||
        std::fflush(stdout) != 0) {
        return 1;
    }
    return 0;
}
