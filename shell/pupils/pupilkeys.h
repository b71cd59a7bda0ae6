#ifndef PUPILKEYS_H
#define PUPILKEYS_H

#include <QByteArray>
#include <QString>

// The password record of a pupil: 16 bytes (the password's hash) or 32 bytes (a remember token
// followed by the hash). Stored files depend on these exact bytes. An empty record is a password
// the teacher reset: the pupil stays listed, and her next sign-in sets a new password.
class PupilKeys
{
public:
    static constexpr int ShortRecord = 16;
    static constexpr int LongRecord = 32;

    // Whether the file is an empty record, not a missing or damaged one.
    static bool isReset(const QString &fileName);

    static QByteArray passwordHash(const QString &password);
    static QByteArray rememberToken(const QByteArray &passwordHash);
    // The token as it is put into the password field: its bytes up to the first zero, as Latin-1.
    static QString tokenText(const QByteArray &token);

    static QByteArray record(const QByteArray &passwordHash, bool remember);
    // Writes a whole file atomically; false (with a warning naming the file) when it could not.
    static bool writeFile(const QString &fileName, const QByteArray &bytes);
};

#endif
