#include "flashspace.h"

#include "atomicfile.h"

#include <QFile>
#include <QUuid>

namespace {

// Files that only a pupil who has worked here has.
bool hasWorkedHere(const QDir &pupilFolder)
{
    for (const char *name : {"markbook.xml", "favorites.xml", "textbook.page", "comments"})
        if (pupilFolder.exists(QLatin1String(name)))
            return true;
    return false;
}

bool isUsable(const QString &space)
{
    return !space.isEmpty() && space.size() <= 255 && !space.contains(QLatin1Char('\n'));
}

} // namespace

QString FlashSpace::forPupil(const QDir &pupilFolder)
{
    QFile file(pupilFolder.filePath(fileName()));
    if (file.open(QIODevice::ReadOnly)) {
        const QString kept = QString::fromUtf8(file.read(1024)).trimmed();
        if (isUsable(kept))
            return kept;
    }
    const QString space = hasWorkedHere(pupilFolder) ? pupilFolder.dirName()
                                                      : QUuid::createUuid().toString(QUuid::WithoutBraces);
    QString error;
    if (!AtomicFile::write(file.fileName(), space.toUtf8() + '\n', &error))
        qWarning("Cannot keep the movie data's name in %s: %s", qPrintable(file.fileName()), qPrintable(error));
    return space;
}
