#include "storage/jet_reader_process.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

namespace storage {

namespace {}  // namespace

QString JetReaderProgram() {
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral("stockcalc-jet-reader"));
}

std::optional<JetContent> ReadJetFileApart(const QString &reader, const QString &path,
                                           const JetReaderLimits &limits, QString *error) {
    const auto fail = [error](const QString &why) {
        *error = why;
        return std::nullopt;
    };
    QProcess process;
    process.setProgram(reader);
    process.setArguments({QStringLiteral("--memory"), QString::number(limits.memoryBytes),
                          QStringLiteral("--seconds"), QString::number(limits.seconds),
                          QStringLiteral("--"), path});
    process.setStandardInputFile(QProcess::nullDevice());
    // libmdb's warnings about a damaged file can run to hundreds of megabytes.
    process.setStandardErrorFile(QProcess::nullDevice());
    QByteArray output;
    bool tooMuch = false;
    bool late = false;
    bool failedToStart = false;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &process, [&] {
        late = true;
        process.kill();
    });
    const auto take = [&] {
        output += process.readAllStandardOutput();
        if (output.size() > limits.outputBytes && !tooMuch) {
            tooMuch = true;
            process.kill();
        }
    };
    QObject::connect(&process, &QProcess::readyReadStandardOutput, &process, take);
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) {
            failedToStart = true;
            loop.quit();
        }
    });
    deadline.start(limits.seconds * 1000);
    process.start();
    if (!failedToStart && process.state() != QProcess::NotRunning) {
        loop.exec();
    }
    deadline.stop();
    if (failedToStart) {
        return fail(QStringLiteral("读取程序 %1 无法启动").arg(QDir::toNativeSeparators(reader)));
    }
    take();
    if (tooMuch) {
        return fail(QStringLiteral("读取程序的输出超过 %1 MB 上限(文件已损坏)")
                        .arg(limits.outputBytes >> 20));
    }
    if (late || (process.exitStatus() == QProcess::NormalExit &&
                 process.exitCode() == kJetReaderOutOfTime)) {
        return fail(QStringLiteral("读取超过 %1 秒仍未完成(文件已损坏)").arg(limits.seconds));
    }
    if (process.exitStatus() == QProcess::CrashExit) {
        return fail(
            QStringLiteral("读取程序异常终止(信号 %1)，文件已损坏").arg(process.exitCode()));
    }
    if (process.exitCode() == kJetReaderOutOfMemory) {
        return fail(QStringLiteral("读取所需内存超过 %1 MB 上限(文件已损坏)")
                        .arg(limits.memoryBytes >> 20));
    }
    if (process.exitCode() != 0) {
        return fail(QStringLiteral("读取程序异常退出(代码 %1)").arg(process.exitCode()));
    }
    std::optional<JetContent> content;
    QString why;
    if (!UnpackJetReading(output, &content, &why)) {
        return fail(QStringLiteral("读取程序的输出无法解析(文件已损坏)"));
    }
    if (!content) {
        return fail(why);
    }
    return content;
}

}  // namespace storage
