#include "hitzonefile.h"

#include <QDomDocument>
#include <QFile>
#include <QSet>

bool HitzoneFile::read(const QString &path)
{
    m_path = path;
    m_imagePath.clear();
    m_zones.clear();
    m_skipped.clear();
    m_errors.clear();
    m_warnings.clear();

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_errors.append(QStringLiteral("%1: cannot read the hitzone file: %2").arg(path, file.errorString()));
        return false;
    }
    QDomDocument document;
    QString message;
    int line = 0;
    if (!document.setContent(&file, &message, &line)) {
        addError(line, QStringLiteral("not XML: %1").arg(message));
        return false;
    }
    const QDomElement root = document.documentElement();
    if (root.tagName() != QLatin1String("doublepage")) {
        addError(root.lineNumber(), QStringLiteral("the document element is <%1>, not <doublepage>").arg(root.tagName()));
        return false;
    }
    m_imagePath = root.attribute(QStringLiteral("file"));
    int position = 0;
    for (QDomElement e = root.firstChildElement(QStringLiteral("hitzone")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("hitzone")))
        readZone(e, ++position);
    return m_errors.isEmpty();
}

void HitzoneFile::readZone(const QDomElement &element, int position)
{
    const int line = element.lineNumber();
    Zone zone;
    zone.line = line;
    zone.number = position;
    if (element.hasAttribute(QStringLiteral("number"))) {
        bool ok = false;
        zone.number = element.attribute(QStringLiteral("number")).toInt(&ok);
        if (!ok || zone.number < 1) {
            addError(line, QStringLiteral("hitzone number \"%1\" is not a positive whole number")
                               .arg(element.attribute(QStringLiteral("number"))));
            return;
        }
    }
    if (const Zone *other = zoneNumbered(zone.number)) {
        addError(line, QStringLiteral("hitzone %1 is numbered twice (first on line %2)").arg(zone.number).arg(other->line));
        return;
    }
    if (!readPoints(element, &zone))
        return;
    if (zone.polygon.size() < 3) {
        m_warnings.append(located(line, QStringLiteral("hitzone %1 encloses nothing (%2 points, fewer than three): skipped")
                                            .arg(zone.number).arg(zone.polygon.size())));
        m_skipped.append(zone);
        return;
    }
    m_zones.append(zone);
}

bool HitzoneFile::readPoints(const QDomElement &element, Zone *zone)
{
    const QString text = element.text().trimmed();
    const QStringList parts = text.isEmpty() ? QStringList() : text.split(QLatin1Char(','));
    if (parts.size() % 2 != 0) {
        addError(zone->line, QStringLiteral("hitzone %1: \"%2\" is not a list of x,y points").arg(zone->number).arg(text));
        return false;
    }
    for (int i = 0; i < parts.size(); i += 2) {
        bool okX = false;
        bool okY = false;
        const double x = parts[i].trimmed().toDouble(&okX);
        const double y = parts[i + 1].trimmed().toDouble(&okY);
        if (!okX || !okY) {
            addError(zone->line, QStringLiteral("hitzone %1: \"%2,%3\" is not a point").arg(zone->number).arg(parts[i], parts[i + 1]));
            return false;
        }
        zone->polygon.append(QPointF(x, y));
    }
    return true;
}

const HitzoneFile::Zone *HitzoneFile::zoneNumbered(int number) const
{
    for (const QList<Zone> *list : {&m_zones, &m_skipped}) {
        for (const Zone &zone : *list) {
            if (zone.number == number)
                return &zone;
        }
    }
    return nullptr;
}

void HitzoneFile::addError(int line, const QString &message)
{
    m_errors.append(located(line, message));
}

QString HitzoneFile::located(int line, const QString &message) const
{
    return QStringLiteral("%1:%2: %3").arg(m_path).arg(line).arg(message);
}

QString HitzoneFile::path() const
{
    return m_path;
}

QString HitzoneFile::imagePath() const
{
    return m_imagePath;
}

QList<HitzoneFile::Zone> HitzoneFile::zones() const
{
    return m_zones;
}

QList<HitzoneFile::Zone> HitzoneFile::skippedZones() const
{
    return m_skipped;
}

QStringList HitzoneFile::errors() const
{
    return m_errors;
}

QStringList HitzoneFile::warnings() const
{
    return m_warnings;
}
