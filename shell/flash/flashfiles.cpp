#include "flashfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>

namespace {
const QString playerPrefix = QStringLiteral("/player/");
}

FlashFiles::FlashFiles(const QString &installationFolder)
    : m_root(QFileInfo(installationFolder).canonicalFilePath())
{
}

QString FlashFiles::scheme()
{
    return QStringLiteral("pellora");
}

QUrl FlashFiles::origin()
{
    return QUrl(QStringLiteral("pellora://app/"));
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
    return m_root + QStringLiteral("/ruffle");
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
    if (url.scheme() != scheme() || url.host() != origin().host() || isPlayerUrl(url))
        return QString();
    const QString relative = QDir::cleanPath(url.path(QUrl::FullyDecoded)).mid(1);
    if (relative.isEmpty() || relative == QLatin1String("..") || relative.startsWith(QLatin1String("../")))
        return QString();
    const QFileInfo file(m_root + QLatin1Char('/') + relative);
    if (!file.isFile() || !isInside(file.canonicalFilePath()))
        return QString();
    return file.canonicalFilePath();
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
