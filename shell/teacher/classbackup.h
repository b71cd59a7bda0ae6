#ifndef CLASSBACKUP_H
#define CLASSBACKUP_H

#include <QCoreApplication>
#include <QDir>
#include <QString>

#include <functional>

// The whole class as one ZIP file the teacher keeps or carries to another computer: every
// pupil's folder (pupils/ and the pupils set aside in removed/), the teacher's settings and
// the last pupil's name. The teacher's key stays out: a copy handed around on a memory stick
// must not carry what a password can be guessed from offline, and a copy restored on another
// computer must not silently take that computer's teacher password away.
class ClassBackup
{
    Q_DECLARE_TR_FUNCTIONS(ClassBackup)

public:
    enum class Answer { Replace, Skip, Cancel };
    // Asked once for every pupil folder of the copy that the course folder has already:
    // `folder` is "pupils/NAME" or "removed/NAME", `name` the pupil's name.
    using Ask = std::function<Answer(const QString &folder, const QString &name)>;

    struct Result
    {
        bool ok = false;
        bool cancelled = false;
        QString error;       // Russian, for the teacher, when !ok and !cancelled
        int pupils = 0;      // pupil folders saved, or written by a restore
        int skipped = 0;     // pupil folders a restore kept as they were
    };

    // Writes the copy to `archiveFile` at once: an unfinished copy never replaces an old one.
    static Result save(const QDir &courseFolder, const QString &archiveFile);

    // Reads the whole copy into a folder of its own beside the pupils before anything of the
    // class changes, so a damaged or hostile copy leaves the class as it was. Pupil folders are
    // then moved into place whole; teacher.ini and lastpupil only where the course has none.
    static Result restore(const QString &archiveFile, const QDir &courseFolder, const Ask &ask);

    // A copy bigger than this is not a class's copy.
    static constexpr qint64 kMaxTotalBytes = qint64(2) << 30;
    static constexpr int kMaxEntries = 100000;
};

#endif
