#ifndef TEACHERKEY_H
#define TEACHERKEY_H

#include <QByteArray>
#include <QDir>
#include <QString>

// The teacher's password, kept beside the pupils' folders as a salted, slowly derived key
// (PBKDF2 with SHA-256): the file tells nobody the password, and guessing it costs time.
class TeacherKey
{
public:
    static QString fileName() { return QStringLiteral("teacher.key"); }

    // Whether the teacher's password has been set in this course data folder.
    static bool isSet(const QDir &courseFolder);
    // Sets (or replaces) the password; false, with `error` set, when it could not be kept.
    static bool set(const QDir &courseFolder, const QString &password, QString *error = nullptr);
    // False for a wrong password, and when no password is set or its file is unreadable.
    static bool check(const QDir &courseFolder, const QString &password);

private:
    static constexpr int iterations = 120000;
    static QByteArray derive(const QString &password, const QByteArray &salt, int rounds);
};

#endif
