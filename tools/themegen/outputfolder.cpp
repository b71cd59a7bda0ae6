#include "outputfolder.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

OutputFolder::OutputFolder(const QString &root)
    : m_root(root)
{
}

QString OutputFolder::prepare(const QString &relativePath)
{
    const QString path = QDir(m_root).filePath(relativePath);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        m_errors << QStringLiteral("%1: cannot create its folder").arg(path);
    return path;
}

void OutputFolder::writeImage(const QString &relativePath, const QImage &image, int quality)
{
    // The format follows the suffix; JPEG has no alpha, so flatten onto white rather
    // than let transparent pixels turn black.
    const QByteArray format = QFileInfo(relativePath).suffix().toLower().toLatin1();
    QImage picture = image;
    if (format == "jpg" && picture.hasAlphaChannel()) {
        QImage flat(picture.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter(&flat).drawImage(0, 0, picture);
        picture = flat;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (!writer.write(picture)) {
        m_errors << QStringLiteral("%1: %2").arg(QDir(m_root).filePath(relativePath), writer.errorString());
        return;
    }
    writeBytes(relativePath, bytes);
}

void OutputFolder::writeBytes(const QString &relativePath, const QByteArray &bytes)
{
    const QString path = prepare(relativePath);
    QSaveFile file(path);
    // Flushed before the commit: on a full disk a commit alone put the short file in place.
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() || !file.commit())
        m_errors << QStringLiteral("%1: %2").arg(path, file.errorString());
}
