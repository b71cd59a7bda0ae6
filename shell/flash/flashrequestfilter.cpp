#include "flashrequestfilter.h"

#include "flashwasmserver.h"

#include <QDebug>

namespace {
// A movie that retries in a loop must not flood the debug output.
constexpr int reportLimit = 50;
}

FlashRequestFilter::FlashRequestFilter(const FlashFiles &files, const FlashWasmServer *wasmServer, QObject *parent)
    : QWebEngineUrlRequestInterceptor(parent), m_files(files), m_wasmServer(wasmServer)
{
}

void FlashRequestFilter::interceptRequest(QWebEngineUrlRequestInfo &info)
{
    // The player pages need Ruffle's files too; a material's own web page needs only the
    // course's data folder.
    const bool fromPlayer = FlashFiles::isPlayerUrl(info.firstPartyUrl());
    const QUrl url = info.requestUrl();
    if (fromPlayer ? m_files.mayRequest(url) || (m_wasmServer && m_wasmServer->serves(url))
                   : m_files.mayRequestFromMaterialPage(url))
        return;
    info.block(true);
    if (m_reported < reportLimit)
        qDebug().noquote() << "Flash player: blocked" << url.toString();
    if (++m_reported == reportLimit)
        qDebug() << "Flash player: further blocked requests are not reported";
}
