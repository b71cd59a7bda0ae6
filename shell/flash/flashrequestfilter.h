#ifndef FLASHREQUESTFILTER_H
#define FLASHREQUESTFILTER_H

#include "flashfiles.h"

#include <QPointer>

#include <QWebEngineUrlRequestInterceptor>

class FlashWasmServer;

// Keeps the player offline by construction: every request that is not for something our
// own origin serves, or Ruffle's wasm from our loopback server, is blocked before it starts.
class FlashRequestFilter : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT
public:
    FlashRequestFilter(const FlashFiles &files, const FlashWasmServer *wasmServer, QObject *parent = nullptr);

    void interceptRequest(QWebEngineUrlRequestInfo &info) override;

private:
    FlashFiles m_files;
    QPointer<const FlashWasmServer> m_wasmServer;
    int m_reported = 0;
};

#endif
