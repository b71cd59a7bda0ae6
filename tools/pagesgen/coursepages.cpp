#include "coursepages.h"

#include <QDomDocument>
#include <QFile>

bool CoursePages::read(const QString &contentsPath)
{
    QFile file(contentsPath);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("%1: %2").arg(contentsPath, file.errorString());
        return false;
    }
    QDomDocument document;
    QString message;
    int line = 0;
    if (!document.setContent(&file, &message, &line)) {
        m_error = QStringLiteral("%1:%2: %3").arg(contentsPath).arg(line).arg(message);
        return false;
    }
    const QDomElement root = document.documentElement();
    for (QDomElement c = root.firstChildElement(QStringLiteral("chapter")); !c.isNull();
         c = c.nextSiblingElement(QStringLiteral("chapter")))
        readChapter(c, c.attribute(QStringLiteral("caption")));
    return true;
}

void CoursePages::readChapter(const QDomElement &chapter, const QString &part)
{
    Chapter entry{chapter.attribute(QStringLiteral("caption")), part, {}};
    for (QDomElement o = chapter.firstChildElement(QStringLiteral("object")); !o.isNull();
         o = o.nextSiblingElement(QStringLiteral("object"))) {
        const Material material{o.attribute(QStringLiteral("id")), o.attribute(QStringLiteral("caption")),
                                o.attribute(QStringLiteral("type"))};
        entry.materials.append(material);
        m_materials.insert(material.id, material);
    }
    const int page = chapter.attribute(QStringLiteral("startpage")).toInt();
    if (!entry.materials.isEmpty() && page > 0)
        m_pages[page].append(entry);
    for (QDomElement c = chapter.firstChildElement(QStringLiteral("chapter")); !c.isNull();
         c = c.nextSiblingElement(QStringLiteral("chapter")))
        readChapter(c, part);
}

QString CoursePages::error() const
{
    return m_error;
}

int CoursePages::pageCount() const
{
    return m_pages.isEmpty() ? 0 : m_pages.lastKey();
}

QList<CoursePages::Chapter> CoursePages::chaptersOn(int page) const
{
    return m_pages.value(page);
}

CoursePages::Material CoursePages::material(const QString &id) const
{
    return m_materials.value(id);
}
