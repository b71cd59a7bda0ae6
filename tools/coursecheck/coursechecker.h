#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
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

    // What the last check() read: each well-formed material id with its line, and each
    // chapter's start page with its line.
    const QHash<QString, qint64> &materialLines() const { return m_materialLines; }
    const QList<QPair<int, qint64>> &startPages() const { return m_startPages; }

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
    QList<QPair<int, qint64>> m_startPages;
};
