#include "courseids.h"

#include <QFile>
#include <QXmlStreamReader>

bool CourseIds::read(const QString &path)
{
    m_path = path;
    m_ids.clear();
    m_materials.clear();
    m_errors.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_errors.append(QStringLiteral("%1: cannot read the contents: %2").arg(path, file.errorString()));
        return false;
    }
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("object")) {
            const QString id = xml.attributes().value(QLatin1String("id")).toString();
            m_ids.insert(id);
            m_materials.append({id, xml.attributes().value(QLatin1String("caption")).toString()});
        }
    }
    if (xml.hasError()) {
        m_errors.append(QStringLiteral("%1:%2: not XML: %3").arg(path).arg(xml.lineNumber()).arg(xml.errorString()));
        return false;
    }
    return true;
}

QString CourseIds::path() const
{
    return m_path;
}

bool CourseIds::contains(const QString &materialId) const
{
    return m_ids.contains(materialId);
}

QStringList CourseIds::errors() const
{
    return m_errors;
}

QList<CourseIds::Material> CourseIds::materials() const
{
    return m_materials;
}

QString CourseIds::caption(const QString &materialId) const
{
    for (const Material &material : m_materials) {
        if (material.id == materialId)
            return material.caption;
    }
    return QString();
}
