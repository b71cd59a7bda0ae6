#ifndef FLASHFILES_H
#define FLASHFILES_H

#include <QString>
#include <QStringList>
#include <QUrl>

// What the player pages may load, and from where. Everything lives under one origin,
// pellora://app, so that Flash local storage (kept per origin) survives restarts:
//   /player/…      the player's own page, scripts and warm-up movie (built into the program)
//   /ruffle/…      Ruffle's files, from the folder given (by default the installation folder's)
//   /anything/else a file of the installation folder (the course played)
// The web pages of materials have an origin of their own, pellora://pages, which serves the
// data folder and nothing else: what a course's page runs never shares the players' storage.
// A path that would leave the installation folder (dot segments, symbolic links pointing
// elsewhere) maps to nothing, and so does a file a movie asks for outside it.
class FlashFiles
{
public:
    explicit FlashFiles(const QString &installationFolder, const QString &ruffleFolder = QString());

    static QString scheme();
    static QUrl origin();
    static QUrl materialPageOrigin();
    static QUrl playerUrl(const QString &resourceName);
    static bool isPlayerUrl(const QUrl &url);
    static QString playerResourceName(const QUrl &url);
    static QString mimeType(const QString &fileName);

    QString installationFolder() const;
    QString ruffleFolder() const;
    // Names of the Ruffle files the player cannot do without that are not there.
    QStringList missingRuffleFiles() const;

    // The URL that serves `filePath`, or an empty URL when the file is not inside the installation folder.
    QUrl urlForFile(const QString &filePath) const;
    // The file a URL of ours names, or an empty string when the request must be refused.
    QString fileForUrl(const QUrl &url) const;
    // Whether the page may request `url` at all: only our own origin and in-page data.
    bool mayRequest(const QUrl &url) const;
    // A material's web page: its URL under the pages' origin, empty unless the file is in the
    // data folder; and the data file such a URL names, empty when it must be refused.
    QUrl materialPageUrl(const QString &filePath) const;
    QString fileForMaterialPage(const QUrl &url) const;
    // Whether a web page of a material may request `url`: a file of the installation's data
    // folder under the pages' origin, or in-page data.
    bool mayRequestFromMaterialPage(const QUrl &url) const;

    // A file a movie asked for, given as the URL Ruffle made of the movie's path: `file` is
    // set when the movie may have it; otherwise `asked` names what was looked for.
    struct Load {
        enum Outcome { Found, Missing, Outside, NotAFile };
        Outcome outcome = NotAFile;
        QString file;
        QString asked;
        QString reason() const;
    };
    Load fileForLoad(const QString &requested) const;

private:
    bool isInside(const QString &canonicalPath) const;
    QString fileUnder(const QUrl &url, const QUrl &origin) const;
    QString dataFolder() const;
    bool startsWithRoot(const QString &path) const;
    Load checked(const QString &path) const;

    QString m_root;          // canonical
    QString m_given;         // absolute, as the installation folder was named
    QString m_ruffle;        // canonical when it exists
};

#endif
