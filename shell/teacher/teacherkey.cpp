#include "teacherkey.h"

#include "atomicfile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QPasswordDigestor>
#include <QRandomGenerator>

namespace {

const QByteArray scheme = QByteArrayLiteral("pbkdf2-sha256");
constexpr int keyLength = 32;
constexpr int saltLength = 16;

// The same time for every wrong key, whichever byte differs first.
bool sameBytes(const QByteArray &a, const QByteArray &b)
{
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a.at(i) ^ b.at(i));
    return difference == 0;
}

} // namespace

QByteArray TeacherKey::derive(const QString &password, const QByteArray &salt, int rounds)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt, rounds, keyLength);
}

bool TeacherKey::isSet(const QDir &courseFolder)
{
    return QFile::exists(courseFolder.filePath(fileName()));
}

bool TeacherKey::set(const QDir &courseFolder, const QString &password, QString *error)
{
    QByteArray salt(saltLength, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(salt.data()), saltLength / 4);
    const QByteArray record = scheme + '\n' + QByteArray::number(iterations) + '\n' + salt.toHex() + '\n'
                              + derive(password, salt, iterations).toHex() + '\n';
    return AtomicFile::write(courseFolder.filePath(fileName()), record, error);
}

bool TeacherKey::check(const QDir &courseFolder, const QString &password)
{
    QFile file(courseFolder.filePath(fileName()));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = file.read(4096).split('\n');
    if (lines.size() < 4 || lines.at(0) != scheme)
        return false;
    bool isNumber = false;
    const int rounds = lines.at(1).toInt(&isNumber);
    // A file that asks for an absurd number of rounds would freeze the window.
    if (!isNumber || rounds < 1 || rounds > 10 * iterations)
        return false;
    const QByteArray salt = QByteArray::fromHex(lines.at(2));
    const QByteArray key = QByteArray::fromHex(lines.at(3));
    return !salt.isEmpty() && key.size() == keyLength && sameBytes(derive(password, salt, rounds), key);
}
