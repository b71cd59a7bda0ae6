#include "helplauncher.h"

#include "environment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <signal.h>
#endif

bool HelpLauncher::show(QString *error)
{
    if (helpProcessId != 0 && isRunning(helpProcessId))
        return true;
    helpProcessId = 0;
    const QString help = helpFile();
    if (!QFile::exists(help)) {
        *error = QCoreApplication::translate("HelpLauncher", "нет файла справки %1.")
                     .arg(QDir::toNativeSeparators(QDir::current().absoluteFilePath(help)));
        return false;
    }
    const QString viewer = viewerProgram();
    if (viewer.isEmpty()) {
        *error = QCoreApplication::translate("HelpLauncher",
                                             "не найдена программа для просмотра справки (xchm или kchmviewer).");
        return false;
    }
    // The viewer's own complaints (GTK's, say) are not the pupil's business in our terminal.
    QProcess process;
    process.setProgram(viewer);
    process.setArguments({help});
    process.setWorkingDirectory(QDir::currentPath());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    qint64 processId = 0;
    if (!process.startDetached(&processId)) {
        *error = QCoreApplication::translate("HelpLauncher", "не удалось запустить %1.")
                     .arg(QDir::toNativeSeparators(viewer));
        return false;
    }
    helpProcessId = processId;
    return true;
}

QString HelpLauncher::viewerProgram()
{
#ifdef Q_OS_WIN
    return QStandardPaths::findExecutable(QStringLiteral("hh.exe"));
#else
    for (const char *name : {"xchm", "kchmviewer"}) {
        const QString program = QStandardPaths::findExecutable(QLatin1String(name));
        if (!program.isEmpty())
            return program;
    }
    return {};
#endif
}

bool HelpLauncher::isRunning(qint64 processId)
{
    if (processId <= 0)
        return false;
#ifdef Q_OS_WIN
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(processId));
    if (!process)
        return false;
    DWORD code = 0;
    const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
#elif defined(Q_OS_LINUX)
    // A viewer that has ended may linger as a zombie until something reaps it (a container
    // without an init does not): it counts as gone.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(processId));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const int nameEnd = line.lastIndexOf(')');
    const char state = nameEnd >= 0 && nameEnd + 2 < line.size() ? line.at(nameEnd + 2) : '?';
    return state != 'Z' && state != 'X' && state != '?';
#else
    return kill(pid_t(processId), 0) == 0;
#endif
}
