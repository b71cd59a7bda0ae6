#include "flashfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>

namespace {
const QString playerPrefix = QStringLiteral("/player/");
}

FlashFiles::FlashFiles(const QString &installationFolder, const QString &ruffleFolder)
    : m_root(QFileInfo(installationFolder).canonicalFilePath()),
      m_given(QDir::cleanPath(QFileInfo(installationFolder).absoluteFilePath()))
{
    const QFileInfo ruffle(ruffleFolder.isEmpty() ? installationFolder + QStringLiteral("/ruffle") : ruffleFolder);
    m_ruffle = ruffle.exists() ? ruffle.canonicalFilePath() : QDir::cleanPath(ruffle.absoluteFilePath());
}

QString FlashFiles::scheme()
{
    return QStringLiteral("pellora");
}

QUrl FlashFiles::origin()
{
    return QUrl(QStringLiteral("pellora://app/"));
}

QUrl FlashFiles::materialPageOrigin()
{
    return QUrl(QStringLiteral("pellora://pages/"));
}

QUrl FlashFiles::playerUrl(const QString &resourceName)
{
    return origin().resolved(QUrl(playerPrefix.mid(1) + resourceName));
}

bool FlashFiles::isPlayerUrl(const QUrl &url)
{
    return url.scheme() == scheme() && url.host() == origin().host() && url.path().startsWith(playerPrefix);
}

QString FlashFiles::playerResourceName(const QUrl &url)
{
    return isPlayerUrl(url) ? url.path().mid(playerPrefix.size()) : QString();
}

QString FlashFiles::mimeType(const QString &fileName)
{
    // Ruffle compiles its wasm while it streams only when the type is exactly application/wasm.
    static const QHash<QString, QString> known = {
        {QStringLiteral("wasm"), QStringLiteral("application/wasm")},
        {QStringLiteral("js"), QStringLiteral("text/javascript")},
        {QStringLiteral("html"), QStringLiteral("text/html")},
        {QStringLiteral("swf"), QStringLiteral("application/x-shockwave-flash")},
        {QStringLiteral("xml"), QStringLiteral("text/xml")},
        {QStringLiteral("json"), QStringLiteral("application/json")},
        {QStringLiteral("txt"), QStringLiteral("text/plain")},
        {QStringLiteral("png"), QStringLiteral("image/png")},
        {QStringLiteral("jpg"), QStringLiteral("image/jpeg")},
        {QStringLiteral("jpeg"), QStringLiteral("image/jpeg")},
        {QStringLiteral("gif"), QStringLiteral("image/gif")},
        {QStringLiteral("mp3"), QStringLiteral("audio/mpeg")},
        {QStringLiteral("flv"), QStringLiteral("video/x-flv")},
        {QStringLiteral("ttf"), QStringLiteral("font/ttf")},
        {QStringLiteral("otf"), QStringLiteral("font/otf")},
    };
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    const QString type = known.value(suffix);
    if (!type.isEmpty())
        return type;
    return QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension).name();
}

QString FlashFiles::installationFolder() const
{
    return m_root;
}

QString FlashFiles::ruffleFolder() const
{
    return m_ruffle;
}

QStringList FlashFiles::missingRuffleFiles() const
{
    QStringList missing;
    const QDir ruffle(ruffleFolder());
    if (fileForUrl(origin().resolved(QUrl(QStringLiteral("ruffle/ruffle.js")))).isEmpty())
        missing.append(ruffle.filePath(QStringLiteral("ruffle.js")));
    const QStringList wanted = {QStringLiteral("core.ruffle.*.js"), QStringLiteral("*.wasm")};
    for (const QString &pattern : wanted) {
        if (ruffle.entryList({pattern}, QDir::Files).isEmpty())
            missing.append(ruffle.filePath(pattern));
    }
    return missing;
}

bool FlashFiles::isInside(const QString &canonicalPath) const
{
    return !m_root.isEmpty() && canonicalPath.startsWith(m_root + QLatin1Char('/'));
}

QUrl FlashFiles::urlForFile(const QString &filePath) const
{
    const QString canonical = QFileInfo(filePath).canonicalFilePath();
    if (!isInside(canonical))
        return QUrl();
    QUrl url = origin();
    url.setPath(QLatin1Char('/') + canonical.mid(m_root.size() + 1));
    return url;
}

QString FlashFiles::fileForUrl(const QUrl &url) const
{
    return isPlayerUrl(url) ? QString() : fileUnder(url, origin());
}

QString FlashFiles::fileUnder(const QUrl &url, const QUrl &origin) const
{
    if (url.scheme() != scheme() || url.host() != origin.host() || url.port(-1) != -1)
        return QString();
    const QString relative = QDir::cleanPath(url.path(QUrl::FullyDecoded)).mid(1);
    if (relative.isEmpty() || relative == QLatin1String("..") || relative.startsWith(QLatin1String("../")))
        return QString();
    // Ruffle comes from the installation even when the course played holds a folder of that name.
    static const QString ruffle = QStringLiteral("ruffle/");
    if (origin.host() == FlashFiles::origin().host() && relative.startsWith(ruffle)) {
        const QFileInfo file(m_ruffle + QLatin1Char('/') + relative.mid(ruffle.size()));
        const bool inside = file.isFile() && file.canonicalFilePath().startsWith(m_ruffle + QLatin1Char('/'));
        return inside ? file.canonicalFilePath() : QString();
    }
    const QFileInfo file(m_root + QLatin1Char('/') + relative);
    if (!file.isFile() || !isInside(file.canonicalFilePath()))
        return QString();
    return file.canonicalFilePath();
}

QString FlashFiles::dataFolder() const
{
    return m_root + QStringLiteral("/data/");
}

QUrl FlashFiles::materialPageUrl(const QString &filePath) const
{
    const QString canonical = QFileInfo(filePath).canonicalFilePath();
    if (m_root.isEmpty() || !canonical.startsWith(dataFolder()))
        return QUrl();
    QUrl url = materialPageOrigin();
    url.setPath(QLatin1Char('/') + canonical.mid(m_root.size() + 1));
    return url;
}

QString FlashFiles::fileForMaterialPage(const QUrl &url) const
{
    const QString file = fileUnder(url, materialPageOrigin());
    return file.startsWith(dataFolder()) ? file : QString();
}

bool FlashFiles::mayRequest(const QUrl &url) const
{
    const QString requested = url.scheme();
    if (requested == QLatin1String("data") || requested == QLatin1String("blob"))
        return true;
    if (requested != scheme() || url.host() != origin().host() || url.port(-1) != -1)
        return false;
    return isPlayerUrl(url) || !fileForUrl(url).isEmpty();
}

bool FlashFiles::mayRequestFromMaterialPage(const QUrl &url) const
{
    const QString requested = url.scheme();
    if (requested == QLatin1String("data") || requested == QLatin1String("blob"))
        return true;
    return !fileForMaterialPage(url).isEmpty();
}

namespace {

// Paths are compared the way the file system compares names.
constexpr Qt::CaseSensitivity pathCase =
#ifdef Q_OS_WIN
    Qt::CaseInsensitive;
#else
    Qt::CaseSensitive;
#endif

bool isDriveLetter(const QString &scheme)
{
    return scheme.size() == 1 && scheme.at(0).isLetter();
}

// The path a movie named, "/"-separated: the path under our origin, a local file URL's
// path, or a drive path that arrived as a URL of a one-letter scheme. Empty for a URL
// that names no file (another host, the network).
QString pathOf(const QUrl &url)
{
    QString path;
    const bool own = url.scheme() == FlashFiles::scheme() && url.host() == FlashFiles::origin().host() && url.port(-1) == -1;
    if (own)
        path = url.path(QUrl::FullyDecoded);
    else if (url.isLocalFile())
        path = url.toLocalFile();
    else if (isDriveLetter(url.scheme()))
        path = url.scheme().toUpper() + QLatin1Char(':') + url.path(QUrl::FullyDecoded);
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (path.isEmpty())
        return QString();
    path = QDir::cleanPath(path);
    // As in any URL, ".." stops at the top; cleanPath keeps those it cannot apply.
    while (own && (path.startsWith(QLatin1String("/../")) || path == QLatin1String("/..")))
        path = path.mid(3).isEmpty() ? QStringLiteral("/") : path.mid(3);
    return path;
}

} // namespace

bool FlashFiles::startsWithRoot(const QString &path) const
{
    return (!m_root.isEmpty() && path.startsWith(m_root + QLatin1Char('/'), pathCase))
           || (!m_given.isEmpty() && path.startsWith(m_given + QLatin1Char('/'), pathCase));
}

FlashFiles::Load FlashFiles::checked(const QString &path) const
{
    const QFileInfo file(path);
    if (!QDir::isAbsolutePath(path) || !file.isFile() || !isInside(file.canonicalFilePath()))
        return {Load::Outside, QString(), path};
    return {Load::Found, file.canonicalFilePath(), path};
}

FlashFiles::Load FlashFiles::fileForLoad(const QString &requested) const
{
    const QUrl url(requested);
    const QString path = pathOf(url);
    if (path.isEmpty() || FlashFiles::isPlayerUrl(url))
        return {Load::NotAFile, QString(), requested};
    // Under our origin a path is the movie's relative path resolved by Ruffle (installation
    // folder first), or an absolute path of the computer.
    QStringList candidates;
    if (url.scheme() == scheme() && !startsWithRoot(path))
        candidates.append(m_root + path);
    candidates.append(path);
    for (const QString &candidate : std::as_const(candidates)) {
        if (QFileInfo::exists(candidate))
            return checked(candidate);
    }
    if (!QDir::isAbsolutePath(path))
        return checked(path);
    return {Load::Missing, QString(), candidates.first()};
}

QString FlashFiles::Load::reason() const
{
    switch (outcome) {
    case Found:
        break;
    case Missing:
        return QStringLiteral("no such file");
    case Outside:
        return QStringLiteral("it is outside the installation folder");
    case NotAFile:
        return QStringLiteral("only files of the installation folder can be loaded");
    }
    return QString();
}
