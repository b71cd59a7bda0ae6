#ifndef ATTEMPTLOG_H
#define ATTEMPTLOG_H

#include <QDateTime>
#include <QDir>
#include <QList>
#include <QString>

// Every result a pupil's tests reported, in the order they came, beside her markbook (which
// keeps only the last of each test). A table a spreadsheet opens: date and time, test id,
// mark, history. The file is replaced whole with each attempt, so a crash leaves either the
// old file or the new one, never a torn line.
class AttemptLog
{
public:
    struct Attempt
    {
        QString when; // local date and time as dateText() writes it
        QString test;
        QString mark;
        QString history;
    };

    static QString fileName() { return QStringLiteral("attempts.csv"); }

    // False, with `error` set, when the file could not be written; the attempts kept before
    // are then untouched.
    static bool append(const QDir &pupilFolder, const QList<Attempt> &attempts, QString *error = nullptr);
    static bool append(const QDir &pupilFolder, const Attempt &attempt, QString *error = nullptr)
    {
        return append(pupilFolder, QList<Attempt>{attempt}, error);
    }
    // Lines that are not attempts (the header, a line a spreadsheet mangled) are passed over.
    static QList<Attempt> read(const QDir &pupilFolder);

    static QString dateText(const QDateTime &when);
    // Read only when shown: a year's attempts of a class are some 160,000 dates, and making
    // each a local QDateTime asks the system for its time zone every time.
    static QDateTime dateTime(const QString &when);
};

#endif
