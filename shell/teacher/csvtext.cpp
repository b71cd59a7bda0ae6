#include "csvtext.h"

QString CsvText::field(const QString &text)
{
    static const QString special = QStringLiteral(";\"\r\n");
    for (const QChar c : text) {
        if (special.contains(c)) {
            QString quoted = text;
            quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
            return QLatin1Char('"') + quoted + QLatin1Char('"');
        }
    }
    return text;
}

QString CsvText::line(const QStringList &fields)
{
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString &f : fields)
        quoted.append(field(f));
    return quoted.join(QLatin1Char(separator)) + QLatin1String("\r\n");
}

// One record from `pos`, quoted fields and all; returns where the next begins.
qsizetype CsvText::quotedRecord(const QString &text, qsizetype pos, QStringList &record)
{
    QString current;
    bool quoted = false;
    for (; pos < text.size(); ++pos) {
        const QChar c = text.at(pos);
        if (quoted) {
            if (c != QLatin1Char('"'))
                current += c;
            else if (pos + 1 < text.size() && text.at(pos + 1) == QLatin1Char('"'))
                current += text.at(++pos);
            else
                quoted = false;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(separator)) {
            record.append(current);
            current.clear();
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            if (c == QLatin1Char('\r') && pos + 1 < text.size() && text.at(pos + 1) == QLatin1Char('\n'))
                ++pos;
            ++pos;
            break;
        } else {
            current += c;
        }
    }
    record.append(current);
    return pos;
}

QList<QStringList> CsvText::records(const QString &text)
{
    QList<QStringList> records;
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), pos);
        if (end < 0)
            end = text.size();
        QStringView line = QStringView(text).mid(pos, end - pos);
        if (line.contains(QLatin1Char('"'))) {
            QStringList record;
            pos = quotedRecord(text, pos, record);
            records.append(record);
            continue;
        }
        // Most lines quote nothing: they are cut at the separators without a copy per character.
        pos = end + 1;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty())
            continue;
        QStringList record;
        for (const QStringView field : line.split(QLatin1Char(separator)))
            record.append(field.toString());
        records.append(record);
    }
    return records;
}
