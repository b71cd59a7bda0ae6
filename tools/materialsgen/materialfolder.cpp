#include "materialfolder.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

MaterialFolder::MaterialFolder(const QString &path)
    : m_dir(path)
{
    if (!QDir().mkpath(path))
        m_errors.append(QStringLiteral("%1: cannot create the folder").arg(path));
}

QString MaterialFolder::path() const
{
    return m_dir.path();
}

QString MaterialFolder::filePath(const QString &name) const
{
    return m_dir.filePath(name);
}

bool MaterialFolder::contains(const QString &name) const
{
    return m_written.contains(name);
}

void MaterialFolder::writeBytes(const QString &name, const QByteArray &bytes)
{
    m_written.insert(name);
    const QString path = filePath(name);
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.size() == bytes.size() && existing.readAll() == bytes)
        return; // unchanged: keep the date, so nothing downstream rebuilds
    existing.close();
    QSaveFile file(path);
    // A failed buffered write shows only at flush; commit alone would put a short file in place.
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() || !file.commit())
        m_errors.append(QStringLiteral("%1: %2").arg(path, file.errorString()));
}

void MaterialFolder::writeImage(const QString &name, const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QByteArray format = QFileInfo(name).suffix().toLower().toLatin1();
    if (!image.save(&buffer, format.constData())) {
        m_written.insert(name);
        m_errors.append(QStringLiteral("%1: cannot encode the picture as %2").arg(filePath(name), QString::fromLatin1(format)));
        return;
    }
    writeBytes(name, bytes);
}

void MaterialFolder::copyFile(const QString &sourcePath)
{
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly)) {
        m_errors.append(QStringLiteral("%1: %2").arg(sourcePath, source.errorString()));
        return;
    }
    writeBytes(QFileInfo(sourcePath).fileName(), source.readAll());
}

void MaterialFolder::removeLeftovers()
{
    const QStringList present = m_dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString &name : present) {
        if (!m_written.contains(name) && !m_dir.remove(name))
            m_errors.append(QStringLiteral("%1: cannot remove this file left from an earlier build").arg(filePath(name)));
    }
}

QStringList MaterialFolder::errors() const
{
    return m_errors;
}
