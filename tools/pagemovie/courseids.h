#ifndef COURSEIDS_H
#define COURSEIDS_H

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// The material ids of a course contents file (the `id` of every `object` element), with the
// materials' captions in the order of the contents.
class CourseIds
{
public:
    struct Material {
        QString id;
        QString caption;
    };

    bool read(const QString &path);

    QString path() const;
    bool contains(const QString &materialId) const;
    QList<Material> materials() const;
    // Empty for an id the course does not have.
    QString caption(const QString &materialId) const;
    QStringList errors() const;

private:
    QString m_path;
    QSet<QString> m_ids;
    QList<Material> m_materials;
    QStringList m_errors;
};

#endif
