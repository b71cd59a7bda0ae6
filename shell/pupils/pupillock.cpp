#include "pupillock.h"

#include <QFileInfo>
#include <QSysInfo>

PupilLock::PupilLock(const QDir &pupilFolder)
    : m_folder(pupilFolder)
    , m_lock(std::make_unique<QLockFile>(fileName(pupilFolder)))
{
    // The default takes a lock older than half a minute as left behind.
    m_lock->setStaleLockTime(0);
}

PupilLock::~PupilLock()
{
    // Released by the teacher while this shell was still on, the file may now be another
    // computer's: removing it (what QLockFile does on unlock) would open her folder to a third.
    if (m_lock->isLocked() && !stillOurs())
        (void)m_lock.release(); // the file handle closes with the process
}

QString PupilLock::fileName(const QDir &pupilFolder)
{
    return pupilFolder.absoluteFilePath(fileBaseName());
}

PupilLock::Result PupilLock::take()
{
    if (m_lock->tryLock(0))
        return Taken;
    if (m_lock->error() != QLockFile::LockFailedError)
        return NotWritable;
    m_holder = holderOf(m_folder);
    return HeldElsewhere;
}

QString PupilLock::holderOf(const QDir &pupilFolder)
{
    const QString file = fileName(pupilFolder);
    if (!QFileInfo::exists(file))
        return QString();
    qint64 pid = 0;
    QString host;
    QString program;
    // A file cut short (the computer lost power as the pupil signed in) still holds the folder.
    if (!QLockFile(file).getLockInfo(&pid, &host, &program) || host.isEmpty())
        return tr("(имя неизвестно)");
    return host;
}

bool PupilLock::release(const QDir &pupilFolder)
{
    const QString file = fileName(pupilFolder);
    QLockFile lock(file);
    return lock.removeStaleLockFile() || !QFileInfo::exists(file);
}

bool PupilLock::stillOurs() const
{
    qint64 pid = 0;
    QString host;
    QString program;
    return m_lock->getLockInfo(&pid, &host, &program) && pid == QCoreApplication::applicationPid()
        && host == QSysInfo::machineHostName();
}
