#ifndef COURSEMATERIALS_H
#define COURSEMATERIALS_H

#include <QList>
#include <QString>
#include <QStringList>

// The materials a course contents file lists, in document order.
class CourseMaterials
{
public:
    struct Material {
        QString id;
        QString type;      // group key: ani, pra, wrk, rzv, con, slv, igr
        QString caption;
    };

    bool read(const QString &path);

    QList<Material> materials() const;
    bool contains(const QString &id) const;
    QStringList errors() const;

private:
    QList<Material> m_materials;
    QStringList m_errors;
};

#endif
