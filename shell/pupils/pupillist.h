#ifndef PUPILLIST_H
#define PUPILLIST_H

#include <QDir>
#include <QStringList>

// The pupils of an installation as the sign-in window offers them: every folder below
// `pupils` that holds a password record (hidden ones too: a name may begin with a dot),
// in the order a reader expects, and which of them signed in last on this installation.
class PupilList
{
public:
    // The pupil folders in locale-aware name order.
    static QStringList names(const QDir &pupils);

    // The pupil who signed in last; kept in the course data folder, beside `pupils`.
    static QString lastPupil(const QDir &courseFolder);
    static bool setLastPupil(const QDir &courseFolder, const QString &name);

    // Whether the pupil's folder already holds a password record. The file system decides
    // what is the same name, so "ANNA" finds "anna" where it is not case-sensitive.
    static bool hasKeys(const QDir &pupils, const QString &name);
    // The listed name a file system may take `name` for (letter case, Unicode composition),
    // or `name` itself.
    static QString listedSpelling(const QString &name, const QStringList &listed);
};

#endif
