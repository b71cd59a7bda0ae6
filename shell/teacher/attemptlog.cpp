#include "attemptlog.h"

#include "atomicfile.h"
#include "csvtext.h"

#include <QFile>

namespace {

const char *const dateFormat = "yyyy-MM-dd HH:mm:ss";

QStringList header()
{
    return {QObject::tr("Дата"), QObject::tr("Тест"), QObject::tr("Оценка"), QObject::tr("История")};
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

QString AttemptLog::dateText(const QDateTime &when)
{
    return when.toString(QLatin1String(dateFormat));
}

QDateTime AttemptLog::dateTime(const QString &when)
{
    return QDateTime::fromString(when, QLatin1String(dateFormat));
}

namespace {

// "yyyy-MM-dd HH:mm:ss", checked by its shape alone.
bool looksLikeDate(const QString &text)
{
    static const QString shape = QStringLiteral("0000-00-00 00:00:00");
    if (text.size() != shape.size())
        return false;
    for (qsizetype i = 0; i < shape.size(); ++i) {
        const bool digit = shape.at(i) == QLatin1Char('0');
        if (digit ? !text.at(i).isDigit() : text.at(i) != shape.at(i))
            return false;
    }
    return true;
}

} // namespace

bool AttemptLog::append(const QDir &pupilFolder, const QList<Attempt> &attempts, QString *error)
{
    const QString path = pupilFolder.filePath(fileName());
    QByteArray bytes = readAll(path);
    if (bytes.isEmpty())
        bytes = CsvText::byteOrderMark() + CsvText::line(header()).toUtf8();
    else if (!bytes.endsWith('\n'))
        bytes += "\r\n"; // a spreadsheet saved it without its last line end
    for (const Attempt &attempt : attempts)
        bytes += CsvText::line({attempt.when, attempt.test, attempt.mark, attempt.history}).toUtf8();
    return AtomicFile::write(path, bytes, error);
}

QList<AttemptLog::Attempt> AttemptLog::read(const QDir &pupilFolder)
{
    QByteArray bytes = readAll(pupilFolder.filePath(fileName()));
    if (bytes.startsWith(CsvText::byteOrderMark()))
        bytes.remove(0, CsvText::byteOrderMark().size());
    QList<Attempt> attempts;
    for (const QStringList &record : CsvText::records(QString::fromUtf8(bytes))) {
        if (record.size() < 3)
            continue;
        if (!looksLikeDate(record.at(0)) || record.at(1).isEmpty())
            continue;
        attempts.append({record.at(0), record.at(1), record.at(2), record.value(3)});
    }
    return attempts;
}
