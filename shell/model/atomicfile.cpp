#include "atomicfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

static bool isTaken(const QString &fileName)
{
    const QFileInfo info(fileName);
    return info.exists() || info.isSymLink();
}

bool AtomicFile::write(const QString &fileName, const QByteArray &bytes, QString *error)
{
    QSaveFile file(fileName);
    bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    // QSaveFile buffers: a full disk shows only when the buffer goes out, and commit() would
    // still rename the short file over the good one. So flush first and give up on failure.
    if (written && !file.flush()) {
        written = false;
        file.cancelWriting();
    }
    if (written && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

QString AtomicFile::keepAside(const QString &fileName, const QString &suffix, QString *error)
{
    QFile file(fileName);
    for (int n = 0;; ++n) {
        const QString name = fileName + suffix + (n == 0 ? QString() : u'.' + QString::number(n));
        if (isTaken(name))
            continue;
        if (file.rename(name))
            return name;
        // Taken between the look and the rename: try the next name.
        if (!isTaken(name)) {
            if (error)
                *error = file.errorString();
            return {};
        }
    }
}
