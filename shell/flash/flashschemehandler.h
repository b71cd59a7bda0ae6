#ifndef FLASHSCHEMEHANDLER_H
#define FLASHSCHEMEHANDLER_H

#include "flashfiles.h"
#include "flashrequestfilter.h"

#include <QByteArray>
#include <QUrlQuery>
#include <QSet>
#include <QWebEngineUrlSchemeHandler>

// Serves the pellora:// origin: the player's own resources from the program, every other
// path from the installation folder as FlashFiles maps it, and the files movies load
// (/player/load, see movieloads.js), and movies' calls to the host (/player/call). Anything else fails.
// The material pages' profile has a handler of its own, which serves the data folder under
// pellora://pages and nothing of the players.
class FlashSchemeHandler : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT
public:
    FlashSchemeHandler(const FlashFiles &files, FlashRequestFilter::Pages pages, const QByteArray &warmupMovie = {},
                       QObject *parent = nullptr);

    void requestStarted(QWebEngineUrlRequestJob *job) override;

signals:
    // A movie's ExternalInterface.call (/player/call): its page waits for the reply.
    void movieCallWaiting(QWebEngineUrlRequestJob *job);
    // A file a movie asked for was refused: `text` says which and why, for the page `page`.
    void loadRefused(const QString &page, const QString &text);

private:
    void replyWithPlayerResource(QWebEngineUrlRequestJob *job, const QString &name);
    void replyWithFile(QWebEngineUrlRequestJob *job);
    void replyWithMovieLoad(QWebEngineUrlRequestJob *job);
    void reportRefusedLoad(const QUrlQuery &query, const FlashFiles::Load &load);
    void reply(QWebEngineUrlRequestJob *job, const QString &path);

    FlashFiles m_files;
    FlashRequestFilter::Pages m_pages;
    QByteArray m_warmupMovie;
    QSet<QString> m_reportedLoads;   // a movie that polls for a missing file is told once
};

#endif
