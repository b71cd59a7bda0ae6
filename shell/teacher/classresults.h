#ifndef CLASSRESULTS_H
#define CLASSRESULTS_H

#include "attemptlog.h"

#include <QDir>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class TreeItem;

// What the teacher sees of a class: the course's tests in contents order, each under its
// top-level chapter, and for every pupil of the course data folder her last marks (from her
// markbook) and every attempt (from her attempt log). Read from the files, never from the
// signed-in pupil's models: the teacher sees what is on disk.
class ClassResults
{
public:
    struct Test
    {
        QString id;
        QString caption;
        int chapter = 0; // index into chapters
    };
    struct Pupil
    {
        QString name;
        QHash<QString, QString> marks;                           // test id -> last mark
        QHash<QString, QList<AttemptLog::Attempt>> attempts;      // test id -> attempts, oldest first
    };

    static ClassResults read(const QDir &pupilsFolder, const TreeItem *contentsRoot);

    QStringList chapters;
    QList<Test> tests;
    QList<Pupil> pupils;

    // A pupil's mark of a test as a number: -1 when not taken (or unknown), 0 for a mark that
    // is no finite number, as the markbook counts it.
    static double value(const QString &mark);
    // The mark as a teacher reads it: "80 %", or "—" when the test was not taken.
    static QString markText(const QString &mark);

private:
    void readTests(const TreeItem *item, int chapter);
};

#endif
