#include "pupilkeys.h"

#include "atomicfile.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QFileInfo>

QByteArray PupilKeys::passwordHash(const QString &password)
{
    return QCryptographicHash::hash(password.toUtf8(), QCryptographicHash::Md5);
}

QByteArray PupilKeys::rememberToken(const QByteArray &passwordHash)
{
    return QCryptographicHash::hash(QByteArray(QByteArrayLiteral("rz_keep_") + passwordHash), QCryptographicHash::Md5);
}

QString PupilKeys::tokenText(const QByteArray &token)
{
    const int zero = token.indexOf('\0');
    return QString::fromLatin1(zero < 0 ? token : token.left(zero));
}

bool PupilKeys::isReset(const QString &fileName)
{
    const QFileInfo info(fileName);
    return info.isFile() && info.size() == 0;
}

QByteArray PupilKeys::record(const QByteArray &passwordHash, bool remember)
{
    return remember ? rememberToken(passwordHash) + passwordHash : passwordHash;
}

bool PupilKeys::writeFile(const QString &fileName, const QByteArray &bytes)
{
    QString error;
    if (AtomicFile::write(fileName, bytes, &error))
        return true;
    qWarning().noquote() << "cannot write" << fileName << ':' << error;
    return false;
}
