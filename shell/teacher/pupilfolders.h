#ifndef PUPILFOLDERS_H
#define PUPILFOLDERS_H

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

// What the teacher does to pupils' folders in a course data folder: resets a password, renames a
// pupil, puts a pupil aside and brings her back. A pupil is never deleted: a removed one waits in
// `removed`, beside `pupils`, whole. Each change is one rename or one atomic file write, so it
// either happens completely or not at all; a refusal says why in `error`.
class PupilFolders
{
    Q_DECLARE_TR_FUNCTIONS(PupilFolders)

public:
    explicit PupilFolders(const QDir &courseFolder);

    QStringList pupils() const;
    // The removed pupils, by the names their folders have in `removed`.
    QStringList removed() const;
    // Whether her password was reset and her next sign-in sets a new one.
    bool isReset(const QString &name) const;

    // The computer she is signed in at (her folder's lock), empty when she is not at work. A
    // pupil at work is neither renamed nor removed.
    QString workingAt(const QString &name) const;
    // Frees her folder of the lock a computer switched off while she worked left behind.
    bool releaseLock(const QString &name, QString *error = nullptr);

    // Empties her password record; every other file of hers stays as it is.
    bool resetPassword(const QString &name, QString *error = nullptr);
    bool rename(const QString &name, const QString &newName, QString *error = nullptr);
    // Moves her folder to `removed`, under her name or, when a removed pupil has it already,
    // under "NAME (2)", "NAME (3)", ...; returns the name it was kept under, empty on failure.
    QString remove(const QString &name, QString *error = nullptr);
    // Brings a removed pupil back under the name her folder has in `removed`.
    bool restore(const QString &removedName, QString *error = nullptr);

    // Whether anything, a dangling link too, stands at `path`: nothing may be moved there.
    static bool isTaken(const QString &path);

private:
    bool isPupil(const QString &name) const;
    bool isRemoved(const QString &name) const;
    bool move(const QString &from, const QString &to, QString *error);

    QDir m_course;
    QDir m_pupils;
    QDir m_removed;
};

#endif
