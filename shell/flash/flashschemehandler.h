#ifndef FLASHSCHEMEHANDLER_H
#define FLASHSCHEMEHANDLER_H

#include "flashfiles.h"

#include <QByteArray>
#include <QWebEngineUrlSchemeHandler>

// Serves the pellora:// origin: the player's own resources from the program, every other
// path from the installation folder as FlashFiles maps it. Anything else fails.
class FlashSchemeHandler : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT
public:
    FlashSchemeHandler(const FlashFiles &files, const QByteArray &warmupMovie, QObject *parent = nullptr);

    void requestStarted(QWebEngineUrlRequestJob *job) override;

private:
    void replyWithPlayerResource(QWebEngineUrlRequestJob *job, const QString &name);
    void replyWithFile(QWebEngineUrlRequestJob *job);

    FlashFiles m_files;
    QByteArray m_warmupMovie;
};

#endif
