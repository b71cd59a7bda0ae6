#include "chmproject.h"

#include "chmcodepage.h"
#include "chmwriter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrl>

namespace {

int lineAt(const QString &text, qsizetype position)
{
    return int(text.left(position).count(u'\n')) + 1;
}

bool isPage(const QString &name)
{
    return name.endsWith(QLatin1String(".html"), Qt::CaseInsensitive)
        || name.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive);
}

QString pageTitle(const QString &html)
{
    static const QRegularExpression title(QStringLiteral("<title[^>]*>(.*?)</title>"),
                                          QRegularExpression::CaseInsensitiveOption
                                              | QRegularExpression::DotMatchesEverythingOption);
    QString text = title.match(html).captured(1).simplified();
    text.replace(QLatin1String("&lt;"), QLatin1String("<")).replace(QLatin1String("&gt;"), QLatin1String(">"));
    text.replace(QLatin1String("&quot;"), QLatin1String("\"")).replace(QLatin1String("&nbsp;"), QLatin1String(" "));
    return text.replace(QLatin1String("&amp;"), QLatin1String("&"));
}

// A link that leaves the help (a scheme such as http: or mailto:) or stays on the page.
bool isLocal(const QString &target)
{
    return !target.isEmpty() && !target.startsWith(u'#') && !target.contains(u':');
}

} // namespace

ChmProject::ChmProject(const QString &projectFile)
    : m_projectFile(projectFile)
{
}

void ChmProject::addFolder(const QString &folder)
{
    m_folders.append(folder);
}

void ChmProject::error(const QString &path, int line, const QString &message)
{
    m_errors.append(line > 0 ? QStringLiteral("%1:%2: %3").arg(path).arg(line).arg(message)
                             : QStringLiteral("%1: %2").arg(path, message));
}

bool ChmProject::compile(ChmWriter *writer)
{
    if (!readOptions())
        return false;
    collect(QFileInfo(m_projectFile).absolutePath());
    for (const QString &folder : std::as_const(m_folders))
        collect(folder);
    for (const Source &source : std::as_const(m_sources))
        addSource(writer, source);
    writer->setTitle(m_title);
    writer->setDefaultTopic(m_defaultTopic);
    writer->setContentsFile(m_contentsFile);
    writer->setLanguage(m_language);
    if (!hasFile(m_defaultTopic))
        error(m_projectFile, 0, QStringLiteral("the default topic “%1” is not in the help").arg(m_defaultTopic));
    if (!m_contentsFile.isEmpty() && !hasFile(m_contentsFile))
        error(m_projectFile, 0, QStringLiteral("the contents file “%1” is not in the help").arg(m_contentsFile));
    return m_errors.isEmpty();
}

bool ChmProject::readOptions()
{
    QFile file(m_projectFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error(m_projectFile, 0, file.errorString());
        return false;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    bool inOptions = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            inOptions = line.compare(QLatin1String("[OPTIONS]"), Qt::CaseInsensitive) == 0;
            if (!inOptions)
                error(m_projectFile, i + 1, QStringLiteral("only an [OPTIONS] section is understood"));
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inOptions || equals < 0 || !setOption(line.left(equals).trimmed().toLower(), line.mid(equals + 1).trimmed()))
            error(m_projectFile, i + 1, QStringLiteral("not an option this compiler knows: %1").arg(line));
    }
    if (m_defaultTopic.isEmpty())
        error(m_projectFile, 0, QStringLiteral("no Default topic"));
    return m_errors.isEmpty();
}

bool ChmProject::setOption(const QString &key, const QString &value)
{
    if (key == QLatin1String("title"))
        m_title = value;
    else if (key == QLatin1String("default topic"))
        m_defaultTopic = value;
    else if (key == QLatin1String("contents file"))
        m_contentsFile = value;
    else if (key == QLatin1String("language")) {
        // "0x419 Russian": the number counts, the name is for people.
        bool ok = false;
        m_language = value.section(u' ', 0, 0).toUInt(&ok, 0);
        return ok;
    } else
        return false;
    return true;
}

void ChmProject::collect(const QString &folder)
{
    const QDir root(folder);
    if (!root.exists())
        error(folder, 0, QStringLiteral("no such folder"));
    const QString project = QFileInfo(m_projectFile).absoluteFilePath();
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        if (info.absoluteFilePath() == project)
            continue;
        const Source source{root.relativeFilePath(info.absoluteFilePath()), info.filePath()};
        const QString key = source.name.toLower();
        if (m_sources.contains(key))
            error(source.path, 0, QStringLiteral("%1 is in the help already, from %2").arg(source.name, m_sources.value(key).path));
        else
            m_sources.insert(key, source);
    }
}

bool ChmProject::hasFile(const QString &name) const
{
    return m_sources.contains(name.toLower());
}

void ChmProject::addSource(ChmWriter *writer, const Source &source)
{
    QFile file(source.path);
    if (!file.open(QIODevice::ReadOnly)) {
        error(source.path, 0, file.errorString());
        return;
    }
    const QByteArray bytes = file.readAll();
    const bool sitemap = source.name.compare(m_contentsFile, Qt::CaseInsensitive) == 0;
    if (!sitemap && !isPage(source.name)) {
        writer->addFile(source.name, bytes);
        return;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (utf8.hasError()) {
        error(source.path, 0, QStringLiteral("not UTF-8"));
        return;
    }
    checkLinks(source, text, sitemap);
    if (sitemap) {
        writer->addFile(source.name, storedContents(source, text));
    } else {
        writer->addFile(source.name, bytes);
        writer->addTopic(source.name, pageTitle(text));
    }
}

QByteArray ChmProject::storedContents(const Source &source, const QString &text)
{
    const ChmCodePage codePage(m_language);
    if (!codePage.isValid()) {
        error(m_projectFile, 0, QStringLiteral("no code page known for language 0x%1").arg(m_language, 0, 16));
        return {};
    }
    static const QRegularExpression declared(QStringLiteral("charset\\s*=\\s*utf-8"), QRegularExpression::CaseInsensitiveOption);
    QString stored = text;
    stored.replace(declared, QStringLiteral("charset=") + codePage.name());
    QByteArray bytes;
    QString missing;
    if (!codePage.encode(stored, &bytes, &missing))
        error(source.path, lineAt(stored, stored.indexOf(missing)),
              QStringLiteral("“%1” cannot be stored in %2, the code page of the help's language").arg(missing, codePage.name()));
    return bytes;
}

void ChmProject::checkLinks(const Source &source, const QString &text, bool sitemap)
{
    static const QRegularExpression pageLink(QStringLiteral("\\b(?:src|href)\\s*=\\s*\"([^\"]*)\""),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression sitemapLink(
        QStringLiteral("<param\\s+name\\s*=\\s*\"Local\"\\s+value\\s*=\\s*\"([^\"]*)\""),
        QRegularExpression::CaseInsensitiveOption);
    const QString folder = QFileInfo(source.name).path();
    auto links = (sitemap ? sitemapLink : pageLink).globalMatch(text);
    while (links.hasNext()) {
        const QRegularExpressionMatch link = links.next();
        const QString target = link.captured(1).section(u'#', 0, 0).section(u'?', 0, 0);
        if (!isLocal(link.captured(1)) || target.isEmpty())
            continue;
        const QString name = QDir::cleanPath(folder + u'/' + QUrl::fromPercentEncoding(target.toUtf8()));
        if (!hasFile(name))
            error(source.path, lineAt(text, link.capturedStart(1)),
                  QStringLiteral("“%1” is not in the help").arg(link.captured(1)));
    }
}
