#include "coursefolder.h"

#include "environment.h"
#include "installation.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QXmlStreamReader>

namespace {
const QString contentsFile = QStringLiteral("data/content.xml");
}

QString CourseFolder::setting()
{
    const QSettings settings(QSettings::SystemScope, QStringLiteral("pellora"), QStringLiteral("shell"));
    return settings.value(QStringLiteral("course")).toString();
}

QString CourseFolder::chosen(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption course(QStringLiteral("course"), QString(), QStringLiteral("DIR"));
    parser.addOption(course);
    // Options of Qt's own (-platform, -style) are taken off by the application object;
    // anything else is no business of the shell's.
    parser.parse(arguments);
    QString folder = parser.value(course);
    if (!folder.isEmpty())
        return QDir::cleanPath(QDir::current().absoluteFilePath(folder));
    folder = setting();
    const QDir installation(Installation::folder());
    return QDir::cleanPath(folder.isEmpty() ? installation.absolutePath() : installation.absoluteFilePath(folder));
}

QString CourseFolder::missingPart(const QString &folder)
{
    if (!QFileInfo(folder).isDir())
        return folder;
    const QString contents = QDir(folder).filePath(contentsFile);
    if (!QFileInfo(contents).isFile())
        return contents;
    return QString();
}

QString CourseFolder::folderName(const QString &text)
{
    QString name;
    for (const QChar c : text.simplified()) {
        const bool forbidden = c.category() == QChar::Other_Control || QStringLiteral("\\/:*?\"<>|").contains(c);
        name.append(forbidden ? QLatin1Char('_') : c);
    }
    // "..", ". " and names the file system trims would lead elsewhere or nowhere.
    while (name.startsWith(QLatin1Char('.')) || name.startsWith(QLatin1Char(' ')))
        name.remove(0, 1);
    while (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    return name.left(100);
}

void CourseFolder::readIdentity()
{
    QString title, code;
    QFile file(contentsFile);
    if (file.open(QIODevice::ReadOnly)) {
        QXmlStreamReader reader(&file);
        if (reader.readNextStartElement()) {
            const QXmlStreamAttributes attributes = reader.attributes();
            title = folderName(attributes.value(QLatin1String("title")).toString());
            if (title.isEmpty())
                title = folderName(attributes.value(QLatin1String("caption")).toString());
            code = folderName(attributes.value(QLatin1String("code")).toString());
        }
    }
    courseTitle = title.isEmpty() ? QObject::tr("Веларин") : title;
    courseCode = code.isEmpty() ? QStringLiteral("01") : code;
}
