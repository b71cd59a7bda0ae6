#include "pupilfolders.h"

#include "pupillock.h"

#include "atomicfile.h"
#include "pupilkeys.h"
#include "pupillist.h"
#include "windowauth.h"

#include <QFileInfo>

namespace {

const QString keysName = QStringLiteral("pupil.keys");

} // namespace

bool PupilFolders::isTaken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

PupilFolders::PupilFolders(const QDir &courseFolder)
    : m_course(courseFolder)
    , m_pupils(courseFolder.filePath(QStringLiteral("pupils")))
    , m_removed(courseFolder.filePath(QStringLiteral("removed")))
{
}

QStringList PupilFolders::pupils() const
{
    return PupilList::names(m_pupils);
}

QStringList PupilFolders::removed() const
{
    QStringList names = m_removed.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    names.removeIf([](const QString &name) { return !WindowAuth::isAcceptableName(name); });
    return names;
}

bool PupilFolders::isReset(const QString &name) const
{
    return isPupil(name) && PupilKeys::isReset(m_pupils.filePath(name + u'/' + keysName));
}

// Only a listed pupil's folder is touched: a name from elsewhere never reaches outside `pupils`.
bool PupilFolders::isPupil(const QString &name) const
{
    return WindowAuth::isAcceptableName(name) && PupilList::hasKeys(m_pupils, name);
}

bool PupilFolders::isRemoved(const QString &name) const
{
    return WindowAuth::isAcceptableName(name) && QFileInfo(m_removed.filePath(name)).isDir();
}

QString PupilFolders::workingAt(const QString &name) const
{
    return PupilLock::holderOf(QDir(m_pupils.filePath(name)));
}

bool PupilFolders::releaseLock(const QString &name, QString *error)
{
    if (!isPupil(name) || PupilLock::release(QDir(m_pupils.filePath(name))))
        return true;
    if (error)
        *error = tr("Ученик «%1» ещё работает на компьютере %2: закройте программу там.").arg(name, workingAt(name));
    return false;
}

bool PupilFolders::resetPassword(const QString &name, QString *error)
{
    if (!isPupil(name)) {
        if (error)
            *error = tr("Ученика «%1» нет").arg(name);
        return false;
    }
    QString reason;
    if (AtomicFile::write(m_pupils.filePath(name + u'/' + keysName), QByteArray(), &reason))
        return true;
    if (error)
        *error = tr("Не могу записать файл пароля: %1").arg(reason);
    return false;
}

bool PupilFolders::rename(const QString &name, const QString &newName, QString *error)
{
    QString refusal;
    if (!isPupil(name))
        refusal = tr("Ученика «%1» нет").arg(name);
    else if (!WindowAuth::isAcceptableName(newName))
        refusal = tr("Недопустимые символы в имени «%1»").arg(newName);
    // Any folder of that name, pupil or not, holds somebody's files.
    else if (isTaken(m_pupils.filePath(newName)))
        refusal = tr("Имя «%1» уже занято").arg(newName);
    else if (const QString computer = workingAt(name); !computer.isEmpty())
        refusal = tr("Ученик «%1» сейчас работает на компьютере %2").arg(name, computer);
    if (!refusal.isEmpty()) {
        if (error)
            *error = refusal;
        return false;
    }
    if (!move(m_pupils.filePath(name), m_pupils.filePath(newName), error))
        return false;
    if (PupilList::lastPupil(m_course) == name)
        PupilList::setLastPupil(m_course, newName);
    return true;
}

QString PupilFolders::remove(const QString &name, QString *error)
{
    if (!isPupil(name)) {
        if (error)
            *error = tr("Ученика «%1» нет").arg(name);
        return {};
    }
    // Her shell would go on writing into a folder that is no longer in the list.
    if (const QString computer = workingAt(name); !computer.isEmpty()) {
        if (error)
            *error = tr("Ученик «%1» сейчас работает на компьютере %2").arg(name, computer);
        return {};
    }
    if (!m_removed.mkpath(QStringLiteral("."))) {
        if (error)
            *error = tr("Не могу создать каталог %1").arg(QDir::toNativeSeparators(m_removed.absolutePath()));
        return {};
    }
    QString keptAs = name;
    for (int n = 2; isTaken(m_removed.filePath(keptAs)); ++n)
        keptAs = QStringLiteral("%1 (%2)").arg(name).arg(n);
    if (!move(m_pupils.filePath(name), m_removed.filePath(keptAs), error))
        return {};
    return keptAs;
}

bool PupilFolders::restore(const QString &removedName, QString *error)
{
    QString refusal;
    if (!isRemoved(removedName))
        refusal = tr("Среди удалённых нет «%1»").arg(removedName);
    else if (isTaken(m_pupils.filePath(removedName)))
        refusal = tr("Имя «%1» уже занято: переименуйте того ученика и повторите").arg(removedName);
    if (!refusal.isEmpty()) {
        if (error)
            *error = refusal;
        return false;
    }
    return move(m_removed.filePath(removedName), m_pupils.filePath(removedName), error);
}

// One rename of the whole folder: it happens at once or not at all, and never replaces a folder
// that appeared at the new name meanwhile.
bool PupilFolders::move(const QString &from, const QString &to, QString *error)
{
    if (!isTaken(to) && QDir().rename(from, to))
        return true;
    if (error)
        *error = isTaken(to) ? tr("Имя «%1» уже занято").arg(QFileInfo(to).fileName())
                             : tr("Не могу переместить каталог %1").arg(QDir::toNativeSeparators(from));
    return false;
}
