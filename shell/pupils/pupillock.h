#ifndef PUPILLOCK_H
#define PUPILLOCK_H

#include <QCoreApplication>
#include <QDir>
#include <QLockFile>
#include <QString>

#include <memory>

// A pupil at work at one computer: a lock file in her folder names the computer, so that a
// sign-in at another computer of the school, on the same shared folder, is refused instead of
// two shells writing her markbook and favorites over each other.
//
// The file is QLockFile's (process id, program, computer name). A holder on this computer whose
// process has ended is taken over at once. A holder on another computer is never taken as gone,
// however old its lock: a child may work for hours, and nothing here can tell a computer that
// was switched off from one still at work. Such a lock stays until the teacher releases it.
class PupilLock
{
    Q_DECLARE_TR_FUNCTIONS(PupilLock)

public:
    explicit PupilLock(const QDir &pupilFolder);
    ~PupilLock();

    enum Result {
        Taken,
        // Another shell, here or on another computer, works with the pupil: see holder().
        HeldElsewhere,
        // The lock file cannot be written in the folder (no right to, a read-only share).
        NotWritable,
    };
    Result take();
    // After HeldElsewhere: the computer the pupil works at.
    QString holder() const { return m_holder; }

    // The computer named in the pupil's lock file; empty when there is none.
    static QString holderOf(const QDir &pupilFolder);
    // Removes the lock a computer left behind (switched off while the pupil worked). False when
    // the lock stays: a shell still holds it where the file system can tell (this computer, a
    // network folder that keeps locks for the computers), or the file cannot be removed.
    static bool release(const QDir &pupilFolder);

    static QString fileName(const QDir &pupilFolder);
    static QString fileBaseName() { return QStringLiteral("pupil.lock"); }

private:
    bool stillOurs() const;

    QDir m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QString m_holder;
};

#endif
