#include "coursematerials.h"

#include <QFile>
#include <QXmlStreamReader>

bool CourseMaterials::read(const QString &path)
{
    m_materials.clear();
    m_errors.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_errors.append(QStringLiteral("%1: %2").arg(path, file.errorString()));
        return false;
    }
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("object"))
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        m_materials.append({attributes.value(QLatin1String("id")).toString(), attributes.value(QLatin1String("type")).toString(),
                            attributes.value(QLatin1String("caption")).toString()});
    }
    if (xml.hasError()) {
        m_errors.append(QStringLiteral("%1:%2: %3").arg(path).arg(xml.lineNumber()).arg(xml.errorString()));
        return false;
    }
    return true;
}

QList<CourseMaterials::Material> CourseMaterials::materials() const
{
    return m_materials;
}

bool CourseMaterials::contains(const QString &id) const
{
    for (const Material &material : m_materials) {
        if (material.id == id)
            return true;
    }
    return false;
}

QStringList CourseMaterials::errors() const
{
    return m_errors;
}
