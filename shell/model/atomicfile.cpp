#include "atomicfile.h"

#include <QSaveFile>

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
