#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

// Reads a course's content.xml and lists everything that would trip the program up
// later: bad nesting, unknown material groups, ids that are not unique or would not
// make a folder name, page numbers that are not numbers.
class CourseChecker
{
public:
    explicit CourseChecker(const QString &fileName);

    // Problems as "file:line: what is wrong"; empty when the course is sound.
    QStringList check(const QByteArray &xml);

    static const QStringList &groupKeys();

private:
    void readContent();
    void readChapter();
    void readObject();
    bool readInteger(const QString &attribute, int minimum, int *value);
    QString text(const QString &attribute);
    void problem(const QString &message);

    QString m_fileName;
    QXmlStreamReader m_reader;
    QStringList m_problems;
    QHash<QString, qint64> m_materialLines;
    QHash<int, qint64> m_chapterLines;
};
