#ifndef ATOMICFILE_H
#define ATOMICFILE_H

#include <QByteArray>
#include <QString>

// Replaces a whole file at once: the old contents stay until the new ones are complete on
// disk. Every file the shell writes for a pupil goes through here.
class AtomicFile
{
public:
    // False, with `error` set to the reason, when the file could not be replaced; the old
    // file is then untouched.
    static bool write(const QString &fileName, const QByteArray &bytes, QString *error = nullptr);
};

#endif
