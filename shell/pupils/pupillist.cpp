#include "pupillist.h"

#include "atomicfile.h"

#include <QCollator>
#include <QDebug>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

static const char kLastPupilFile[] = "lastpupil";

QStringList PupilList::names(const QDir &pupils)
{
    const QStringList folders = pupils.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Unsorted);
    QStringList result;
    for (const QString &folder : folders) {
        if (hasKeys(pupils, folder))
            result.append(folder);
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(result.begin(), result.end(), [&collator](const QString &a, const QString &b) {
        const int order = collator.compare(a, b);
        return order != 0 ? order < 0 : a < b;
    });
    return result;
}

QString PupilList::lastPupil(const QDir &courseFolder)
{
    QFile file(courseFolder.filePath(QLatin1String(kLastPupilFile)));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.read(4096)).trimmed();
}

bool PupilList::setLastPupil(const QDir &courseFolder, const QString &name)
{
    const QString fileName = courseFolder.filePath(QLatin1String(kLastPupilFile));
    QString error;
    if (AtomicFile::write(fileName, name.toUtf8() + '\n', &error))
        return true;
    qWarning().noquote() << "cannot write" << fileName << ':' << error;
    return false;
}

bool PupilList::hasKeys(const QDir &pupils, const QString &name)
{
    return !name.isEmpty() && QFileInfo(pupils.filePath(name + QStringLiteral("/pupil.keys"))).isFile();
}

QString PupilList::listedSpelling(const QString &name, const QStringList &listed)
{
    if (listed.contains(name))
        return name;
    // Spellings a file system may take as one: other letter case, other Unicode composition.
    const QString wanted = name.normalized(QString::NormalizationForm_C);
    for (const QString &entry : listed) {
        if (entry.normalized(QString::NormalizationForm_C).compare(wanted, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return name;
}
