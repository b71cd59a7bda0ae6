#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

// Everything a generator produces lands under one root. Files are written through
// QSaveFile so an interrupted build never leaves a half-written picture that a later
// incremental build would happily keep.
class OutputFolder
{
public:
    explicit OutputFolder(const QString &root);

    void writeImage(const QString &relativePath, const QImage &image, int quality = -1);
    void writeBytes(const QString &relativePath, const QByteArray &bytes);

    bool ok() const { return m_errors.isEmpty(); }
    QStringList errors() const { return m_errors; }

private:
    QString prepare(const QString &relativePath);

    QString m_root;
    QStringList m_errors;
};
