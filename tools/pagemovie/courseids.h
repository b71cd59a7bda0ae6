#ifndef COURSEIDS_H
#define COURSEIDS_H

#include <QSet>
#include <QString>
#include <QStringList>

// The material ids of a course contents file (the `id` of every `object` element).
class CourseIds
{
public:
    bool read(const QString &path);

    QString path() const;
    bool contains(const QString &materialId) const;
    QStringList errors() const;

private:
    QString m_path;
    QSet<QString> m_ids;
    QStringList m_errors;
};

#endif
