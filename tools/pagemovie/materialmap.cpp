#include "materialmap.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextStream>

bool MaterialMap::read(const QString &path)
{
    m_path = path;
    m_entries.clear();
    m_errors.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        m_errors.append(QStringLiteral("%1: cannot read the material map: %2").arg(path, file.errorString()));
        return false;
    }
    QTextStream in(&file);
    int line = 0;
    while (!in.atEnd())
        readLine(in.readLine(), ++line);
    return m_errors.isEmpty();
}

void MaterialMap::readLine(const QString &text, int line)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
        return;
    static const QRegularExpression entry(QStringLiteral("^(\\d+)\\s*=\\s*(\\S+)$"));
    const QRegularExpressionMatch match = entry.match(trimmed);
    if (!match.hasMatch()) {
        m_errors.append(QStringLiteral("%1:%2: expected \"NUMBER = MATERIAL_ID\", got \"%3\"").arg(m_path).arg(line).arg(trimmed));
        return;
    }
    const int number = match.captured(1).toInt();
    if (m_entries.contains(number)) {
        m_errors.append(QStringLiteral("%1:%2: hitzone %3 is mapped twice (first on line %4)")
                            .arg(m_path).arg(line).arg(number).arg(m_entries.value(number).line));
        return;
    }
    m_entries.insert(number, {match.captured(2), line});
}

QString MaterialMap::path() const
{
    return m_path;
}

QMap<int, MaterialMap::Entry> MaterialMap::entries() const
{
    return m_entries;
}

QStringList MaterialMap::errors() const
{
    return m_errors;
}
