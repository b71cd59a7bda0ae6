#include "flashschemehandler.h"

#include <QBuffer>
#include <QDebug>
#include <QFile>
#include <QHash>
#include <QWebEngineUrlRequestJob>

FlashSchemeHandler::FlashSchemeHandler(const FlashFiles &files, const QByteArray &warmupMovie, QObject *parent)
    : QWebEngineUrlSchemeHandler(parent), m_files(files), m_warmupMovie(warmupMovie)
{
}

void FlashSchemeHandler::requestStarted(QWebEngineUrlRequestJob *job)
{
    if (job->requestMethod() != "GET") {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
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
    if (name == QLatin1String("warmup.swf")) {
        auto *buffer = new QBuffer(job);
        buffer->setData(m_warmupMovie);
        job->reply("application/x-shockwave-flash", buffer);
        return;
    }
    static const QHash<QString, QString> resources = {
        {QStringLiteral("player.html"), QStringLiteral(":/flash/player.html")},
        {QStringLiteral("player.js"), QStringLiteral(":/flash/player.js")},
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
    auto *file = new QFile(path, job);
    if (!file->open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    job->reply(FlashFiles::mimeType(path).toLatin1(), file);
}
