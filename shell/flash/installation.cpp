#include "installation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString Installation::folder()
{
    const QString programs = QCoreApplication::applicationDirPath();
#ifdef PELLORA_SHARED_FOLDER
    const QString shared = QDir::cleanPath(programs + QLatin1Char('/') + QStringLiteral(PELLORA_SHARED_FOLDER));
    if (QFileInfo(shared).isDir())
        return shared;
#endif
    return programs;
}

QString Installation::ruffleFolder()
{
    const QString installation = folder();
    const QString installed = installation + QStringLiteral("/ruffle");
    if (QFileInfo::exists(installed + QStringLiteral("/ruffle.js")) || installation != QCoreApplication::applicationDirPath())
        return installed;
    return QDir::current().absoluteFilePath(QStringLiteral("ruffle"));
}
