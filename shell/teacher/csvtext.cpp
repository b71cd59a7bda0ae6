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

QList<QStringList> CsvText::records(const QString &text)
{
    QList<QStringList> records;
    QStringList record;
    QString current;
    bool quoted = false;
    bool any = false; // whether the record has begun
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c != QLatin1Char('"'))
                current += c;
            else if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"'))
                current += text.at(++i);
            else
                quoted = false;
            continue;
        }
        if (c == QLatin1Char('"')) {
            quoted = true;
            any = true;
        } else if (c == QLatin1Char(separator)) {
            record.append(current);
            current.clear();
            any = true;
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            if (any || !current.isEmpty()) {
                record.append(current);
                records.append(record);
            }
            record.clear();
            current.clear();
            any = false;
        } else {
            current += c;
            any = true;
        }
    }
    if (any || !current.isEmpty()) {
        record.append(current);
        records.append(record);
    }
    return records;
}
