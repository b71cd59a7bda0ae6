#ifndef MATERIALFOLDER_H
#define MATERIALFOLDER_H

#include <QByteArray>
#include <QDir>
#include <QImage>
#include <QSet>
#include <QString>
#include <QStringList>

// One generated folder (a material's, or the templates'). Every file is written whole and
// atomically; files a run did not write are removed at the end, so a source taken out of
// the course does not linger in the build.
class MaterialFolder
{
public:
    explicit MaterialFolder(const QString &path);

    QString path() const;
    QString filePath(const QString &name) const;
    bool contains(const QString &name) const;

    void writeBytes(const QString &name, const QByteArray &bytes);
    void writeImage(const QString &name, const QImage &image);
    void copyFile(const QString &sourcePath);
    // Removes every file of the folder that this run did not write.
    void removeLeftovers();

    QStringList errors() const;

private:
    QDir m_dir;
    QSet<QString> m_written;
    QStringList m_errors;
};

#endif
