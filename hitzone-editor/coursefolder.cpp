#include "coursefolder.h"

#include <QDir>
#include <QFileInfo>

CourseFolder::CourseFolder(const QString &hitzonePath)
{
    if (hitzonePath.isEmpty())
        return;
    for (QDir folder = QFileInfo(hitzonePath).absoluteDir();;) {
        if (QFileInfo(folder.filePath(QStringLiteral("data/content.xml"))).isFile()) {
            m_root = folder.absolutePath();
            return;
        }
        if (!folder.cdUp())
            return;
    }
}

QString CourseFolder::contentsFile() const
{
    return isValid() ? m_root + QStringLiteral("/data/content.xml") : QString();
}

QString CourseFolder::textbookFolder() const
{
    return isValid() ? m_root + QStringLiteral("/data/textbook") : QString();
}

QString CourseFolder::mapFile(const QString &hitzonePath)
{
    const QFileInfo info(hitzonePath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".map"));
}
