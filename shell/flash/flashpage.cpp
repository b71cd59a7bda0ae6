#include "flashpage.h"

#include "firstframepictures.h"
#include "flashbridge.h"
#include "flashengine.h"
#include "flashfiles.h"
#include "flashinvoke.h"

#include <QBuffer>
#include <QDebug>
#include <QEventLoop>
#include <QJsonDocument>
#include <QPointer>
#include <QTimer>
#include <QUrlQuery>
#include <QUuid>
#include <QWebChannel>
#include <QWebEngineUrlRequestJob>
#include <algorithm>
#include <utility>

namespace {

// How long CallFunction waits for a running movie's callback to return.
constexpr int answerLimitMs = 5000;

// A movie that calls the host this often while CallFunction waits for its callback is in
// the middle of a burst, which may last seconds: its callback runs only once that ends.
constexpr int callsWhileWaitingLimit = 5;

QJsonArray nullValue()
{
    return QJsonArray{QStringLiteral("null")};
}

} // namespace

FlashPage::FlashPage(QWebEngineProfile *profile, const QString &renderer, const QUrl &wasmServer, QObject *parent)
    : QWebEnginePage(profile, parent),
      m_bridge(new FlashBridge(this)),
      m_renderer(renderer),
      m_wasmServer(wasmServer),
      m_token(QUuid::createUuid().toString(QUuid::Id128)),
      m_trace(qEnvironmentVariable("PELLORA_FLASH_TRACE") == QLatin1String("1"))
{
    auto *channel = new QWebChannel(this);
    channel->registerObject(QStringLiteral("host"), m_bridge);
    setWebChannel(channel);

    connect(m_bridge, &FlashBridge::ready, this, &FlashPage::onReady);
    // A call the page could not wait on (a frozen page): nobody can answer it.
    connect(m_bridge, &FlashBridge::called, this, [this](const QString &name, const QJsonArray &arguments) {
        emit movieCalled(FlashInvoke(name, arguments).toXml());
    });
    connect(m_bridge, &FlashBridge::callbackRegistered, this, &FlashPage::onCallbackAdded);
    connect(m_bridge, &FlashBridge::callAnswered, this, &FlashPage::onCallDone);
    connect(m_bridge, &FlashBridge::fsCommandGiven, this, &FlashPage::fsCommand);
    connect(m_bridge, &FlashBridge::linkAsked, this, &FlashPage::linkRequested);
    connect(m_bridge, &FlashBridge::logged, this, &FlashPage::movieMessage);
    connect(m_bridge, &FlashBridge::loaded, this, &FlashPage::onLoaded);
    connect(m_bridge, &FlashBridge::settled, this, &FlashPage::onLoadSettled);
    connect(m_bridge, &FlashBridge::shown, this, [this](const QString &url) {
        if (url != m_movie.toString(QUrl::FullyEncoded) || !m_movieLoaded)
            return;
        m_movieShown = true;
        emit movieShown(m_movie);
    });
    connect(m_bridge, &FlashBridge::failed, this, &FlashPage::onFailed);
    connect(m_bridge, &FlashBridge::callStillWaiting, this, &FlashPage::onCallWaiting);
    connect(m_bridge, &FlashBridge::selfTestFinished, this, &FlashPage::selfTestFinished);
    connect(m_bridge, &FlashBridge::firstFramePictured, this, &FlashPage::onFirstFramePictured);
    // A renderer process that dies takes the page's state with it: start over with the same movie.
    connect(this, &QWebEnginePage::renderProcessTerminated, this, [this](RenderProcessTerminationStatus status) {
        if (status == NormalTerminationStatus)
            return;
        qWarning().noquote() << "Flash player: the page's process ended abnormally; reloading" << m_movie.toString();
        forgetDocument();
        QList<QJsonObject> replay;
        for (const QJsonObject &command : std::as_const(m_restore)) {
            if (!command.isEmpty())
                replay.append(command);
        }
        m_waiting = replay + m_waiting;
        load(playerPageUrl());
    });

    load(playerPageUrl());
}

void FlashPage::forgetDocument()
{
    m_ready = false;
    m_starting = false;
    m_movieLoaded = false;
    m_movieShown = false;
    forgetMovieCalls();
    if (m_answerLoop)
        m_answerLoop->quit();
}

void FlashPage::startOver()
{
    forgetDocument();
    m_movie = QUrl();
    m_waiting.clear();
    m_restore.clear();
    load(playerPageUrl());
}

void FlashPage::collectGarbage()
{
    // gc() is there because the process gives V8 --expose-gc (see FlashEngine).
    runJavaScript(QStringLiteral("typeof gc === 'function' && gc()"));
}

QUrl FlashPage::playerPageUrl() const
{
    QUrl url = FlashFiles::playerUrl(QStringLiteral("player.html"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("page"), m_token);
    if (!m_wasmServer.isEmpty())
        query.addQueryItem(QStringLiteral("wasm"), m_wasmServer.toString(QUrl::FullyEncoded));
    url.setQuery(query);
    return url;
}

namespace {

bool changesMovie(const QJsonObject &command)
{
    const QString op = command.value(QStringLiteral("op")).toString();
    return op == QLatin1String("load") || op == QLatin1String("unload");
}

bool namesNeighbours(const QJsonObject &command)
{
    return command.value(QStringLiteral("op")).toString() == QLatin1String("neighbours");
}

} // namespace

void FlashPage::send(const QJsonObject &command)
{
    // A movie that is waiting to start is never shown if a newer one comes: drop it.
    if (changesMovie(command))
        m_waiting.erase(std::remove_if(m_waiting.begin(), m_waiting.end(), changesMovie), m_waiting.end());
    if (namesNeighbours(command))
        m_waiting.erase(std::remove_if(m_waiting.begin(), m_waiting.end(), namesNeighbours), m_waiting.end());
    m_waiting.append(command);
    sendWaiting();
}

void FlashPage::sendWaiting()
{
    while (m_ready && !m_starting && !m_holding && !m_waiting.isEmpty()) {
        const QJsonObject command = m_waiting.takeFirst();
        m_starting = command.value(QStringLiteral("op")).toString() == QLatin1String("load");
        emit m_bridge->command(command);
    }
}

void FlashPage::onReady()
{
    m_ready = true;
    if (!m_pictureWaiting.isEmpty())
        emit m_bridge->command(std::exchange(m_pictureWaiting, {}));
    sendWaiting();
    emit ready();
    freezeIfSettled();
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
    m_movieShown = false;
    m_vars = vars;
    forgetMovieCalls();
    const QJsonObject command{{QStringLiteral("op"), QStringLiteral("load")},
                              {QStringLiteral("url"), movie.toString(QUrl::FullyEncoded)},
                              {QStringLiteral("vars"), vars},
                              {QStringLiteral("renderer"), m_renderer},
                              {QStringLiteral("storage"), m_storageSpace},
                              {QStringLiteral("objectId"), m_objectId},
                              {QStringLiteral("trace"), m_trace},
                              {QStringLiteral("pictures"), m_pictures}};
    m_restore = {command, m_restore.value(1)};
    send(command);
}

void FlashPage::unloadMovie()
{
    m_movie = QUrl();
    m_movieLoaded = false;
    m_movieShown = false;
    forgetMovieCalls();
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

void FlashPage::setHeld(bool held)
{
    send({{QStringLiteral("op"), QStringLiteral("hold")}, {QStringLiteral("held"), held}});
}

void FlashPage::setNeighbours(const QList<QUrl> &movies)
{
    QJsonArray urls;
    for (const QUrl &movie : movies)
        urls.append(movie.toString(QUrl::FullyEncoded));
    send({{QStringLiteral("op"), QStringLiteral("neighbours")},
          {QStringLiteral("urls"), urls},
          {QStringLiteral("vars"), m_vars},
          {QStringLiteral("renderer"), m_renderer}});
}

QString FlashPage::callMovie(const QString &name, const QJsonArray &arguments)
{
    // The movie is waiting for this host's answer: the call runs just before its own
    // call returns, as it would have inside it.
    if (!m_answers.isEmpty()) {
        m_answers.last().calls.append(QJsonArray{name, arguments});
        return {};
    }
    const bool atOnce = canAnswerAtOnce(name);
    const int id = ++m_lastCallId;
    m_callsOut.insert(id, name);
    send({{QStringLiteral("op"), QStringLiteral("call")},
          {QStringLiteral("id"), id},
          {QStringLiteral("name"), name},
          {QStringLiteral("args"), arguments}});
    return atOnce ? waitForAnswer(id, name) : QString();
}

// Every player page runs on the one renderer's main thread: while any movie waits for the
// host, no page can run a callback, so nothing may wait for one.
bool FlashPage::canAnswerAtOnce(const QString &name) const
{
    return m_ready && m_movieLoaded && !m_starting && m_waiting.isEmpty() && !m_callsOut.values().contains(name)
           && m_callbacks.contains(name) && lifecycleState() == LifecycleState::Active && !m_answerLoop
           && !FlashEngine::instance()->isAnyMovieWaiting();
}

bool FlashPage::isMovieWaiting() const
{
    return !m_answers.isEmpty();
}

// The callback runs in the page's process; the answer comes back over the channel. Only
// the channel's and the engine's own events run meanwhile (a movie calling this host
// from inside its callback among them), never the user's input.
QString FlashPage::waitForAnswer(int id, const QString &name)
{
    QEventLoop loop;
    QPointer<FlashPage> self(this);
    m_answerLoop = &loop;
    m_awaitedCall = id;
    m_awaitedResult = QJsonValue();
    m_callsWhileWaiting = 0;
    QTimer::singleShot(answerLimitMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!self)
        return {};
    m_answerLoop = nullptr;
    m_awaitedCall = 0;
    if (m_awaitedResult.isUndefined() && m_callsWhileWaiting >= callsWhileWaitingLimit)
        return {};
    if (m_awaitedResult.isUndefined()) {
        qWarning().noquote() << "Flash player: the movie" << m_movie.toString() << "did not answer the call" << name
                             << "in time";
        return {};
    }
    const QJsonArray result = m_awaitedResult.toArray();
    // A callback that threw gives no value, as the control gave none for a failed call.
    return result.at(0).toString() == QLatin1String("x") ? QString() : FlashInvoke::valueToXml(result);
}

void FlashPage::onCallDone(int id, const QJsonArray &result)
{
    m_callsOut.remove(id);
    if (id == m_awaitedCall && m_answerLoop) {
        m_awaitedResult = result;
        m_answerLoop->quit();
    }
}

void FlashPage::onCallbackAdded(const QString &url, const QString &name)
{
    if (url == m_movie.toString(QUrl::FullyEncoded))
        m_callbacks.insert(name);
}

// Calls held for the old movie are dropped by the page when a new one comes.
void FlashPage::forgetMovieCalls()
{
    m_callbacks.clear();
    m_callsOut.clear();
}

// The window takes no input while it waits for a callback: it gives up on a movie busy
// calling it, this page's or another's on the same renderer thread (the call still runs
// later; its result is lost).
void FlashPage::noteMovieCall()
{
    if (m_answerLoop && ++m_callsWhileWaiting >= callsWhileWaitingLimit)
        m_answerLoop->quit();
}

void FlashPage::answerMovieCall(QWebEngineUrlRequestJob *job)
{
    m_heldCalls.append(job);
    if (!m_answeredThisTurn)
        answerHeldCall();
}

void FlashPage::answerHeldCall()
{
    m_answeredThisTurn = false;
    while (!m_heldCalls.isEmpty()) {
        const QPointer<QWebEngineUrlRequestJob> job = m_heldCalls.takeFirst();
        if (!job)
            continue;
        // A zero timer fires once the events that came meanwhile, the user's among them, are handled.
        m_answeredThisTurn = true;
        QTimer::singleShot(0, this, &FlashPage::answerHeldCall);
        answerNow(job);
        return;
    }
}

void FlashPage::answerNow(QWebEngineUrlRequestJob *job)
{
    const QUrlQuery query(job->requestUrl());
    const QJsonArray call =
        QJsonDocument::fromJson(query.queryItemValue(QStringLiteral("call"), QUrl::FullyDecoded).toUtf8()).array();
    const QString name = call.at(0).toString();
    const QJsonArray registered =
        QJsonDocument::fromJson(query.queryItemValue(QStringLiteral("callbacks"), QUrl::FullyDecoded).toUtf8()).array();
    for (const QJsonValue &callback : registered.at(1).toArray())
        onCallbackAdded(registered.at(0).toString(), callback.toString());
    QPointer<FlashPage> self(this);
    QPointer<QWebEngineUrlRequestJob> waiting(job);
    m_answers.append({nullValue(), {}});
    emit movieCalled(FlashInvoke(name, call.at(1).toArray()).toXml());
    if (!self)
        return;
    const Answer answer = m_answers.takeLast();
    if (!waiting)
        return;
    const QJsonObject reply{{QStringLiteral("value"), answer.value}, {QStringLiteral("calls"), answer.calls}};
    auto *body = new QBuffer(job);
    body->setData(QJsonDocument(reply).toJson(QJsonDocument::Compact));
    job->reply("application/json", body);
}

void FlashPage::setReturnValue(const QString &xml)
{
    if (m_answers.isEmpty()) {
        qDebug().noquote() << "Flash player: SetReturnValue outside a movie's call is ignored:" << xml;
        return;
    }
    m_answers.last().value = FlashInvoke::valueFromXml(xml);
}

QString FlashPage::token() const
{
    return m_token;
}

void FlashPage::setStorageSpace(const QString &space)
{
    m_storageSpace = space;
}

QString FlashPage::storageSpace() const
{
    return m_storageSpace;
}

void FlashPage::setFirstFramePictures(bool on)
{
    m_pictures = on;
}

void FlashPage::showPicture(const QUrl &movie, const QByteArray &png)
{
    // Not queued behind the movie's load: the picture is there to show while it loads.
    const QJsonObject command{{QStringLiteral("op"), QStringLiteral("picture")},
                              {QStringLiteral("url"), movie.toString(QUrl::FullyEncoded)},
                              {QStringLiteral("data"), QString::fromLatin1("data:image/png;base64," + png.toBase64())}};
    if (m_ready)
        emit m_bridge->command(command);
    else
        m_pictureWaiting = command;
}

void FlashPage::holdCommands(bool held)
{
    m_holding = held;
    sendWaiting();
}

void FlashPage::onFirstFramePictured(const QString &url, int width, int height, const QString &dataUrl)
{
    // What the page sends is checked as anything from a movie's page: only the current
    // movie's frame, only a PNG, and not more than a picture may take.
    static const QString head = QStringLiteral("data:image/png;base64,");
    if (!m_pictures || url != m_movie.toString(QUrl::FullyEncoded) || !dataUrl.startsWith(head)
        || dataUrl.size() > head.size() + FirstFramePictures::MaxPictureBytes / 3 * 4 + 4 || width <= 0 || height <= 0)
        return;
    const QByteArray png = QByteArray::fromBase64(QStringView(dataUrl).mid(head.size()).toLatin1());
    emit firstFramePictured(m_movie, QSize(width, height), png);
}

void FlashPage::setObjectId(const QString &id)
{
    m_objectId = id;
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
    m_freezeWhenHidden = true;
    connect(this, &QWebEnginePage::recommendedStateChanged, this, [this](LifecycleState recommended) {
        if (recommended == LifecycleState::Active)
            setLifecycleState(recommended);
        else
            freezeIfSettled();
    });
}

// Not while Ruffle or the movie is still on its way: a page frozen then never got its movie
// (a material given its movie before its window showed stayed blank).
void FlashPage::freezeIfSettled()
{
    if (m_freezeWhenHidden && recommendedState() == LifecycleState::Frozen && !isVisible()
        && lifecycleState() == LifecycleState::Active && m_ready && (m_movie.isEmpty() || m_movieLoaded))
        setLifecycleState(LifecycleState::Frozen);
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

bool FlashPage::isMovieShown() const
{
    return m_movieShown;
}

bool FlashPage::isStarting() const
{
    if (m_movie.isEmpty())
        return false;
    return !m_movieLoaded || (isVisible() && !m_movieShown);
}

void FlashPage::onLoaded(const QString &url)
{
    if (url != m_movie.toString(QUrl::FullyEncoded))
        return;
    m_movieLoaded = true;
    emit movieLoaded(m_movie);
    freezeIfSettled();
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
    // The page is the player and nothing else: movies must not navigate it away. A getURL
    // into the movie's own window arrives here; other windows and forms are caught in the page.
    if (!isMainFrame || FlashFiles::playerResourceName(url) == QLatin1String("player.html"))
        return true;
    emit linkRequested(url.toString(), QStringLiteral("_self"), QStringLiteral("GET"), QString());
    return false;
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
    if (level == InfoMessageLevel
        || std::any_of(harmless.cbegin(), harmless.cend(), [&](const QString &h) { return message.contains(h); }))
        return;
    // What Ruffle says is about the movie it plays; the rest is about this page.
    if (QUrl(source).path().startsWith(QLatin1String("/ruffle/"))) {
        emit movieMessage(level == ErrorMessageLevel ? QStringLiteral("error") : QStringLiteral("warning"), message);
        return;
    }
    if (level == ErrorMessageLevel)
        qDebug().noquote() << "Flash player (page):" << message << QStringLiteral("(%1:%2)").arg(source).arg(line);
}
