#include "firstframepictures.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>

namespace {

QString hashOf(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(32));
}

} // namespace

FirstFramePictures::FirstFramePictures(const QString &root)
    : m_root(root)
{
}

QString FirstFramePictures::defaultRoot()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)).filePath(QStringLiteral("first-frames"));
}

QString FirstFramePictures::fileName(const QString &storageSpace, const QUrl &movie, const QJsonObject &vars,
                                     const QSize &size) const
{
    // The space is hashed with a prefix of its own, so that no space's folder is named like some
    // frame's file.
    const QString folder = hashOf("space\n" + storageSpace.toUtf8());
    const QByteArray frame = movie.toString(QUrl::FullyEncoded).toUtf8() + '\n'
                             + QJsonDocument(vars).toJson(QJsonDocument::Compact) + '\n'
                             + QByteArray::number(size.width()) + 'x' + QByteArray::number(size.height());
    return QDir(m_root).filePath(folder + QLatin1Char('/') + hashOf(frame) + QStringLiteral(".png"));
}

bool FirstFramePictures::isPngOfSize(const QByteArray &bytes, const QSize &size)
{
    if (bytes.size() > MaxPictureBytes || !bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return false;
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "png");
    return reader.canRead() && reader.size() == size;
}

QByteArray FirstFramePictures::picture(const QString &storageSpace, const QUrl &movie, const QJsonObject &vars,
                                       const QSize &size) const
{
    if (size.isEmpty())
        return {};
    QFile file(fileName(storageSpace, movie, vars, size));
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxPictureBytes)
        return {};
    const QByteArray bytes = file.readAll();
    return isPngOfSize(bytes, size) ? bytes : QByteArray();
}

bool FirstFramePictures::keep(const QString &storageSpace, const QUrl &movie, const QJsonObject &vars,
                              const QSize &size, const QByteArray &png) const
{
    if (size.isEmpty() || !isPngOfSize(png, size))
        return false;
    const QString name = fileName(storageSpace, movie, vars, size);
    if (!QDir().mkpath(QFileInfo(name).path()))
        return false;
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(png) != png.size() || !file.commit()) {
        qDebug().noquote() << "Flash player: could not keep a picture of a first frame in" << QFileInfo(name).path();
        return false;
    }
    dropOldest();
    return true;
}

void FirstFramePictures::dropOldest() const
{
    QList<QFileInfo> files;
    qint64 total = 0;
    QDirIterator it(m_root, {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files.append(it.nextFileInfo());
        total += files.constLast().size();
    }
    if (total <= MaxTotalBytes)
        return;
    std::sort(files.begin(), files.end(),
              [](const QFileInfo &a, const QFileInfo &b) { return a.lastModified() < b.lastModified(); });
    for (const QFileInfo &file : std::as_const(files)) {
        if (total <= MaxTotalBytes)
            break;
        if (QFile::remove(file.filePath()))
            total -= file.size();
    }
}
