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

    // Moves a file the program could not read out of the way of a save: to NAME + suffix, or
    // NAME + suffix + ".1", ".2", ... when that is taken, so that nothing kept earlier is
    // replaced. Returns the new name; empty, with `error` set, when the file could not move.
    static QString keepAside(const QString &fileName, const QString &suffix, QString *error = nullptr);
};

#endif
