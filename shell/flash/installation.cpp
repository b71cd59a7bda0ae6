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
    // A program deep in a build tree (a test, a benchmark) runs in the tree's top folder and
    // plays its Ruffle. Any other working directory may be a course: its ruffle/ never runs.
    const QString working = QDir::currentPath();
    if (QCoreApplication::applicationDirPath().startsWith(working + QLatin1Char('/')))
        return working + QStringLiteral("/ruffle");
    return installed;
}
