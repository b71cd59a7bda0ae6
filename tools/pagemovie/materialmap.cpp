#include "materialmap.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextStream>

bool MaterialMap::read(const QString &path)
{
    m_path = path;
    m_lines.clear();
    m_entries.clear();
    m_errors.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        m_errors.append(QStringLiteral("%1: cannot read the material map: %2").arg(path, file.errorString()));
        return false;
    }
    QTextStream in(&file);
    while (!in.atEnd())
        m_lines.append(in.readLine());
    parse();
    return m_errors.isEmpty();
}

void MaterialMap::parse()
{
    m_entries.clear();
    m_errors.clear();
    for (int i = 0; i < m_lines.size(); ++i)
        readLine(m_lines[i], i + 1);
}

void MaterialMap::setMaterial(int number, const QString &materialId)
{
    const QString line = QStringLiteral("%1 = %2").arg(number).arg(materialId);
    if (m_entries.contains(number)) {
        const int at = m_entries.value(number).line - 1;
        if (materialId.isEmpty())
            m_lines.removeAt(at);
        else
            m_lines[at] = line;
    } else if (!materialId.isEmpty()) {
        m_lines.append(line);
    }
    parse();
}

QString MaterialMap::materialOf(int number) const
{
    return m_entries.value(number).materialId;
}

QString MaterialMap::text() const
{
    QString text;
    for (const QString &line : m_lines)
        text += line + QLatin1Char('\n');
    return text;
}

bool MaterialMap::write(const QString &path, QString *errorString) const
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(text().toUtf8()) >= 0 && file.flush() && file.commit())
        return true;
    *errorString = file.errorString();
    return false;
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
