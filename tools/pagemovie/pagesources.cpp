#include "pagesources.h"

#include "courseids.h"

#include <QImageReader>
#include <QSet>

bool PageSources::load(const QString &imagePath, const QString &hitzonePath, const QString &mapPath,
                       const QString &contentsPath)
{
    m_image = QImage();
    m_links.clear();
    m_errors.clear();
    m_warnings.clear();

    HitzoneFile zones;
    zones.read(hitzonePath);
    m_errors += zones.errors();
    m_warnings += zones.warnings();
    MaterialMap map;
    map.read(mapPath);
    m_errors += map.errors();

    loadImage(imagePath.isEmpty() ? zones.imagePath() : imagePath);
    linkZones(zones, map);
    if (!contentsPath.isEmpty())
        checkIds(map, contentsPath);
    return m_errors.isEmpty();
}

void PageSources::loadImage(const QString &path)
{
    if (path.isEmpty()) {
        m_errors.append(QStringLiteral("no double-page image: none given and the hitzone file names none"));
        return;
    }
    QImageReader reader(path);
    m_image = reader.read();
    if (m_image.isNull())
        m_errors.append(QStringLiteral("%1: cannot read the double-page image: %2").arg(path, reader.errorString()));
}

void PageSources::linkZones(const HitzoneFile &zones, const MaterialMap &map)
{
    const QMap<int, MaterialMap::Entry> entries = map.entries();
    QSet<int> used;
    // A skipped zone has been warned about; its map line is kept for when the zone is drawn anew.
    for (const HitzoneFile::Zone &zone : zones.skippedZones())
        used.insert(zone.number);
    for (const HitzoneFile::Zone &zone : zones.zones()) {
        if (!entries.contains(zone.number)) {
            m_errors.append(QStringLiteral("%1:%2: hitzone %3 has no material in %4")
                                .arg(zones.path()).arg(zone.line).arg(zone.number).arg(map.path()));
            continue;
        }
        used.insert(zone.number);
        m_links.append({zone.polygon, entries.value(zone.number).materialId});
    }
    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        if (!used.contains(it.key()) && zones.errors().isEmpty())
            m_warnings.append(QStringLiteral("%1:%2: there is no hitzone %3 in %4")
                                  .arg(map.path()).arg(it->line).arg(it.key()).arg(zones.path()));
    }
}

void PageSources::checkIds(const MaterialMap &map, const QString &contentsPath)
{
    CourseIds ids;
    if (!ids.read(contentsPath)) {
        m_errors += ids.errors();
        return;
    }
    const QMap<int, MaterialMap::Entry> entries = map.entries();
    for (const MaterialMap::Entry &entry : entries) {
        if (!ids.contains(entry.materialId))
            m_errors.append(QStringLiteral("%1:%2: material \"%3\" is not in %4")
                                .arg(map.path()).arg(entry.line).arg(entry.materialId, contentsPath));
    }
}

QImage PageSources::image() const
{
    return m_image;
}

QList<PageSources::Link> PageSources::links() const
{
    return m_links;
}

QStringList PageSources::errors() const
{
    return m_errors;
}

QStringList PageSources::warnings() const
{
    return m_warnings;
}
