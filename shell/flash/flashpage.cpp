#include "flashpage.h"

#include "flashbridge.h"
#include "flashfiles.h"
#include "flashinvoke.h"

#include <QDebug>
#include <algorithm>
#include <QWebChannel>

FlashPage::FlashPage(QWebEngineProfile *profile, const QString &renderer, QObject *parent)
    : QWebEnginePage(profile, parent), m_bridge(new FlashBridge(this)), m_renderer(renderer)
{
    auto *channel = new QWebChannel(this);
    channel->registerObject(QStringLiteral("host"), m_bridge);
    setWebChannel(channel);

    connect(m_bridge, &FlashBridge::ready, this, &FlashPage::onReady);
    connect(m_bridge, &FlashBridge::called, this, &FlashPage::onCalled);
    connect(m_bridge, &FlashBridge::loaded, this, &FlashPage::onLoaded);
    connect(m_bridge, &FlashBridge::settled, this, &FlashPage::onLoadSettled);
    connect(m_bridge, &FlashBridge::failed, this, &FlashPage::onFailed);
    connect(m_bridge, &FlashBridge::callStillWaiting, this, &FlashPage::onCallWaiting);
    connect(m_bridge, &FlashBridge::hookWorks, this, &FlashPage::hookWorks);
    // A renderer process that dies takes the page's state with it: start over with the same movie.
    connect(this, &QWebEnginePage::renderProcessTerminated, this, [this](RenderProcessTerminationStatus status) {
        if (status == NormalTerminationStatus)
            return;
        qWarning().noquote() << "Flash player: the page's process ended abnormally; reloading" << m_movie.toString();
        m_ready = false;
        m_starting = false;
        m_movieLoaded = false;
        QList<QJsonObject> replay;
        for (const QJsonObject &command : std::as_const(m_restore)) {
            if (!command.isEmpty())
                replay.append(command);
        }
        m_waiting = replay + m_waiting;
        load(FlashFiles::playerUrl(QStringLiteral("player.html")));
    });

    load(FlashFiles::playerUrl(QStringLiteral("player.html")));
}

namespace {

bool changesMovie(const QJsonObject &command)
{
    const QString op = command.value(QStringLiteral("op")).toString();
    return op == QLatin1String("load") || op == QLatin1String("unload");
}

} // namespace

void FlashPage::send(const QJsonObject &command)
{
    // A movie that is waiting to start is never shown if a newer one comes: drop it.
    if (changesMovie(command))
        m_waiting.erase(std::remove_if(m_waiting.begin(), m_waiting.end(), changesMovie), m_waiting.end());
    m_waiting.append(command);
    sendWaiting();
}

void FlashPage::sendWaiting()
{
    while (m_ready && !m_starting && !m_waiting.isEmpty()) {
        const QJsonObject command = m_waiting.takeFirst();
        m_starting = command.value(QStringLiteral("op")).toString() == QLatin1String("load");
        emit m_bridge->command(command);
    }
}

void FlashPage::onReady()
{
    m_ready = true;
    sendWaiting();
    emit ready();
}

void FlashPage::onLoadSettled()
{
    m_starting = false;
    sendWaiting();
}

void FlashPage::loadMovie(const QUrl &movie, const QJsonObject &vars)
{
    m_movie = movie;
    m_movieLoaded = false;
    const QJsonObject command{{QStringLiteral("op"), QStringLiteral("load")},
                              {QStringLiteral("url"), movie.toString(QUrl::FullyEncoded)},
                              {QStringLiteral("vars"), vars},
                              {QStringLiteral("renderer"), m_renderer}};
    m_restore = {command, m_restore.value(1)};
    send(command);
}

void FlashPage::unloadMovie()
{
    m_movie = QUrl();
    m_movieLoaded = false;
    const QJsonObject command{{QStringLiteral("op"), QStringLiteral("unload")}};
    m_restore = {command, m_restore.value(1)};
    send(command);
}

void FlashPage::setStageColor(const QString &color)
{
    const QJsonObject command{{QStringLiteral("op"), QStringLiteral("background")}, {QStringLiteral("color"), color}};
    m_restore = {m_restore.value(0), command};
    send(command);
}

void FlashPage::callMovie(const QString &name, const QJsonArray &arguments)
{
    send({{QStringLiteral("op"), QStringLiteral("call")},
          {QStringLiteral("name"), name},
          {QStringLiteral("args"), arguments}});
}

void FlashPage::runSelfTest(const QUrl &movie)
{
    send({{QStringLiteral("op"), QStringLiteral("selftest")},
          {QStringLiteral("url"), movie.toString(QUrl::FullyEncoded)},
          {QStringLiteral("renderer"), m_renderer}});
}

void FlashPage::freezeWhenHidden()
{
    // A hidden player's page still wakes up for timers: freeze it, as the web engine
    // recommends once it has been hidden a while. Never discard: that would lose the movie's
    // state. Showing the page again makes it active by itself.
    connect(this, &QWebEnginePage::recommendedStateChanged, this, [this](LifecycleState recommended) {
        if (recommended == LifecycleState::Active || (recommended == LifecycleState::Frozen && !isVisible()))
            setLifecycleState(recommended);
    });
}

bool FlashPage::isReady() const
{
    return m_ready;
}

QUrl FlashPage::movieUrl() const
{
    return m_movie;
}

bool FlashPage::isMovieLoaded() const
{
    return m_movieLoaded;
}

void FlashPage::onCalled(const QString &name, const QJsonArray &arguments)
{
    emit movieCalled(FlashInvoke(name, arguments).toXml());
}

void FlashPage::onLoaded(const QString &url)
{
    if (url != m_movie.toString(QUrl::FullyEncoded))
        return;
    m_movieLoaded = true;
    emit movieLoaded(m_movie);
}

void FlashPage::onFailed(const QString &url, const QString &reason)
{
    if (url == m_movie.toString(QUrl::FullyEncoded))
        m_movie = QUrl(); // nothing is loading any more
    emit movieFailed(QUrl(url), reason);
}

void FlashPage::onCallWaiting(const QString &name, const QString &url)
{
    qDebug().noquote() << "Flash player: the movie" << url << "has played 10 s without registering the callback"
                       << name << "- calls to it wait until it does";
}

bool FlashPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    Q_UNUSED(type);
    // The page is the player and nothing else: movies must not navigate it away.
    return !isMainFrame || FlashFiles::playerResourceName(url) == QLatin1String("player.html");
}

QWebEnginePage *FlashPage::createWindow(WebWindowType type)
{
    Q_UNUSED(type);
    return nullptr;
}

void FlashPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message, int line,
                                         const QString &source)
{
    // Ruffle reports these when an instance is replaced; the next one plays normally.
    static const QStringList harmless = {QStringLiteral("Cannot resume a context that has been closed"),
                                         QStringLiteral("closure invoked recursively or after being dropped")};
    if (level != ErrorMessageLevel
        || std::any_of(harmless.cbegin(), harmless.cend(), [&](const QString &h) { return message.contains(h); }))
        return;
    qDebug().noquote() << "Flash player (page):" << message << QStringLiteral("(%1:%2)").arg(source).arg(line);
}
