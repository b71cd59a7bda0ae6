#include "pupilsettings.h"

#include "environment.h"
#include "shellstartup.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString documentsKey = QStringLiteral("documents/folder");

QString settingsPath()
{
    return pupilDir.filePath(PupilSettings::fileName());
}

} // namespace

QVariant PupilSettings::value(const QString &key, const QVariant &fallback)
{
    if (ShellStartup::nobodySignedIn())
        return fallback;
    return QSettings(settingsPath(), QSettings::IniFormat).value(key, fallback);
}

void PupilSettings::setValue(const QString &key, const QVariant &value)
{
    if (ShellStartup::nobodySignedIn())
        return;
    // QSettings writes through a save file: a crash mid-write leaves the old file whole.
    QSettings settings(settingsPath(), QSettings::IniFormat);
    settings.setValue(key, value);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        qWarning("Cannot keep the pupil's settings in %s", qPrintable(settingsPath()));
}

QString PupilSettings::documentsFolder()
{
    const QString kept = value(documentsKey).toString();
    if (!kept.isEmpty() && QFileInfo(kept).isDir())
        return kept;
    // Not every system makes the documents folder; a dialog told of a missing one falls back to
    // the program's folder.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void PupilSettings::rememberDocumentsFolder(const QString &fileOrFolder)
{
    if (fileOrFolder.isEmpty())
        return;
    const QFileInfo chosen(fileOrFolder);
    setValue(documentsKey, chosen.isDir() ? chosen.absoluteFilePath() : chosen.absolutePath());
}
