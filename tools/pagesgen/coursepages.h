#ifndef COURSEPAGES_H
#define COURSEPAGES_H

#include <QList>
#include <QMap>
#include <QString>

// The course contents seen as textbook double pages: which chapters (those that hold
// materials) start on each double page, numbered from 1 like the chapters' `startpage`.
class CoursePages
{
public:
    struct Material {
        QString id;
        QString caption;
        QString group;
    };
    struct Chapter {
        QString caption;
        QString part;       // caption of the top-level chapter it belongs to
        QList<Material> materials;
    };

    bool read(const QString &contentsPath);
    QString error() const;

    int pageCount() const;
    QList<Chapter> chaptersOn(int page) const;
    Material material(const QString &id) const;

private:
    void readChapter(const class QDomElement &chapter, const QString &part);

    QMap<int, QList<Chapter>> m_pages;
    QMap<QString, Material> m_materials;
    QString m_error;
};

#endif
