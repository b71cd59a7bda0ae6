#include "flashschemehandler.h"

#include <QBuffer>
#include <QDebug>
#include <QFile>
#include <QHash>
#include <QUrlQuery>
#include <QWebEngineUrlRequestJob>

FlashSchemeHandler::FlashSchemeHandler(const FlashFiles &files, FlashRequestFilter::Pages pages,
                                       const QByteArray &warmupMovie, QObject *parent)
    : QWebEngineUrlSchemeHandler(parent), m_files(files), m_pages(pages), m_warmupMovie(warmupMovie)
{
}

void FlashSchemeHandler::requestStarted(QWebEngineUrlRequestJob *job)
{
    if (job->requestMethod() != "GET") {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    if (m_pages == FlashRequestFilter::Pages::MaterialPages) {
        const QString path = m_files.fileForMaterialPage(job->requestUrl());
        if (path.isEmpty()) {
            qDebug().noquote() << "material page: refused" << job->requestUrl().toString();
            job->fail(QWebEngineUrlRequestJob::RequestDenied);
        } else {
            reply(job, path);
        }
        return;
    }
    const QString resource = FlashFiles::playerResourceName(job->requestUrl());
    if (!resource.isEmpty())
        replyWithPlayerResource(job, resource);
    else
        replyWithFile(job);
}

void FlashSchemeHandler::replyWithPlayerResource(QWebEngineUrlRequestJob *job, const QString &name)
{
    if (name == QLatin1String("load")) {
        replyWithMovieLoad(job);
        return;
    }
    if (name == QLatin1String("call")) {
        emit movieCallWaiting(job);
        return;
    }
    if (name == QLatin1String("warmup.swf")) {
        auto *buffer = new QBuffer(job);
        buffer->setData(m_warmupMovie);
        job->reply("application/x-shockwave-flash", buffer);
        return;
    }
    static const QHash<QString, QString> resources = {
        {QStringLiteral("player.html"), QStringLiteral(":/flash/player.html")},
        {QStringLiteral("player.js"), QStringLiteral(":/flash/player.js")},
        {QStringLiteral("serving.js"), QStringLiteral(":/flash/serving.js")},
        {QStringLiteral("audio.js"), QStringLiteral(":/flash/audio.js")},
        {QStringLiteral("calls.js"), QStringLiteral(":/flash/calls.js")},
        {QStringLiteral("previews.js"), QStringLiteral(":/flash/previews.js")},
        {QStringLiteral("pictures.js"), QStringLiteral(":/flash/pictures.js")},
        {QStringLiteral("frameclock.js"), QStringLiteral(":/flash/frameclock.js")},
        {QStringLiteral("movieloads.js"), QStringLiteral(":/flash/movieloads.js")},
        {QStringLiteral("qwebchannel.js"), QStringLiteral(":/qtwebchannel/qwebchannel.js")},
    };
    auto *file = new QFile(resources.value(name), job);
    if (!resources.contains(name) || !file->open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    job->reply(FlashFiles::mimeType(name).toLatin1(), file);
}

void FlashSchemeHandler::replyWithFile(QWebEngineUrlRequestJob *job)
{
    const QString path = m_files.fileForUrl(job->requestUrl());
    if (path.isEmpty()) {
        qDebug().noquote() << "Flash player: refused" << job->requestUrl().toString();
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    reply(job, path);
}

void FlashSchemeHandler::replyWithMovieLoad(QWebEngineUrlRequestJob *job)
{
    const QUrlQuery query(job->requestUrl());
    const QString requested = query.queryItemValue(QStringLiteral("url"), QUrl::FullyDecoded);
    const FlashFiles::Load load = m_files.fileForLoad(requested);
    if (load.outcome == FlashFiles::Load::Found) {
        reply(job, load.file);
        return;
    }
    reportRefusedLoad(query, load);
    job->fail(load.outcome == FlashFiles::Load::Missing ? QWebEngineUrlRequestJob::UrlNotFound
                                                        : QWebEngineUrlRequestJob::RequestDenied);
}

void FlashSchemeHandler::reportRefusedLoad(const QUrlQuery &query, const FlashFiles::Load &load)
{
    const QUrl movieUrl(query.queryItemValue(QStringLiteral("movie"), QUrl::FullyDecoded));
    const QString movieFile = m_files.fileForUrl(movieUrl);
    const QString movie = movieFile.isEmpty() ? movieUrl.toString() : movieFile;
    const QString key = movie + QLatin1Char('\n') + load.asked;
    if (m_reportedLoads.contains(key))
        return;
    m_reportedLoads.insert(key);
    emit loadRefused(query.queryItemValue(QStringLiteral("page")),
                     QStringLiteral("cannot load %1 - %2").arg(load.asked, load.reason()));
}

void FlashSchemeHandler::reply(QWebEngineUrlRequestJob *job, const QString &path)
{
    auto *file = new QFile(path, job);
    if (!file->open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    job->reply(FlashFiles::mimeType(path).toLatin1(), file);
}
