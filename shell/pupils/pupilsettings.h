#ifndef PUPILSETTINGS_H
#define PUPILSETTINGS_H

#include <QString>
#include <QVariant>

// What the shell remembers of a pupil's own choices between sessions (the folder she saves
// exports to, the widths she gave the catalogue's panes). It lives in her folder, so it
// follows her to another classroom computer and never mixes with another pupil's.
class PupilSettings
{
public:
    static QString fileName() { return QStringLiteral("settings.ini"); }

    // The value kept under key for the signed-in pupil; fallback when none is kept (or nobody
    // has signed in).
    static QVariant value(const QString &key, const QVariant &fallback = QVariant());
    static void setValue(const QString &key, const QVariant &value);

    // Where a file dialog for saving a pupil's work opens: the folder she chose last, while it
    // exists, else her documents folder; never the program's own folder.
    static QString documentsFolder();
    // Remembers the folder of a chosen file or the chosen folder itself.
    static void rememberDocumentsFolder(const QString &fileOrFolder);
};

#endif
