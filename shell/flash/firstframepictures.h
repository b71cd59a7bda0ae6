#ifndef FIRSTFRAMEPICTURES_H
#define FIRSTFRAMEPICTURES_H

#include <QByteArray>
#include <QJsonObject>
#include <QSize>
#include <QString>
#include <QUrl>

// Pictures of movies' first frames, kept in the user's cache so that a material opened again
// shows at once while its movie starts beneath. What a movie shows first may depend on the
// pupil (her last result comes in its flash variables), so each pupil's pictures lie in a
// folder of their own, and a picture is named after everything its frame depends on: the
// movie, its variables and the player's size in device pixels. A changed result or another
// window size simply finds none. Folder and file names are hashes: no pupil's name, no path
// a movie could choose.
class FirstFramePictures
{
public:
    // `root`: where the pictures of every pupil are kept; by default in the user's cache.
    explicit FirstFramePictures(const QString &root = defaultRoot());

    static QString defaultRoot();

    // The picture kept for this frame, as PNG bytes; empty when there is none, or what is
    // there is no PNG of that size.
    QByteArray picture(const QString &storageSpace, const QUrl &movie, const QJsonObject &vars,
                       const QSize &size) const;
    // Keeps `png` for this frame, replacing what was kept. Refused (false) unless it is a PNG
    // of exactly `size`. The oldest pictures go once all of them take more than the limit.
    bool keep(const QString &storageSpace, const QUrl &movie, const QJsonObject &vars, const QSize &size,
              const QByteArray &png) const;

    QString fileName(const QString &storageSpace, const QUrl &movie, const QJsonObject &vars,
                     const QSize &size) const;

    static constexpr qint64 MaxPictureBytes = 8 * 1024 * 1024;
    static constexpr qint64 MaxTotalBytes = 64 * 1024 * 1024;

private:
    static bool isPngOfSize(const QByteArray &bytes, const QSize &size);
    void dropOldest() const;

    QString m_root;
};

#endif
