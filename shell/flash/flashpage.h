#ifndef FLASHPAGE_H
#define FLASHPAGE_H

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QSize>
#include <QUrl>
#include <QWebEnginePage>

class FlashBridge;
class QEventLoop;
class QWebEngineUrlRequestJob;

// One player page: the bootstrap document with Ruffle, and the ordered command channel to
// it. Commands given before the page is ready, or while Ruffle is still starting the last
// movie asked for, wait here and go out in order; of several waiting movies only the
// newest is started.
class FlashPage : public QWebEnginePage
{
    Q_OBJECT
public:
    // `wasmServer`: where the page reads Ruffle's wasm over HTTP (FlashWasmServer), if anywhere.
    FlashPage(QWebEngineProfile *profile, const QString &renderer, const QUrl &wasmServer, QObject *parent = nullptr);

    void loadMovie(const QUrl &movie, const QJsonObject &vars);
    void unloadMovie();
    // Loads the page again as a new document, with no movie and nothing of the old one's
    // memory; Ruffle's compiled wasm stays in the renderer for it. Ready again when ready()
    // comes.
    void startOver();
    // A full garbage collection in the page's renderer (every player page shares it).
    void collectGarbage();
    void setStageColor(const QString &color);
    // See FlashPlayer::setHeld.
    void setHeld(bool held);
    // Movies likely to be asked for next (the neighbouring pages): the page keeps a picture
    // of each one's first frame to show the moment it is asked for.
    void setNeighbours(const QList<QUrl> &movies);
    // Calls the movie's callback. Its result in the control's XML form when the movie could
    // answer at once; empty when the call had to wait (the page is not showing the movie
    // yet, the callback is not registered yet, earlier calls to it are still waiting, the page
    // is frozen, or the movie itself is waiting for this host), in which case it is delivered
    // later, after the earlier calls to the same callback. A call waiting for a callback the
    // movie never registers holds up no other, and is dropped with its movie.
    QString callMovie(const QString &name, const QJsonArray &arguments);
    // A movie's ExternalInterface.call: the page waits on `job` for the answer. One call of
    // the page is answered per turn of the event loop (a movie calling without pause slows
    // down, the window does not).
    void answerMovieCall(QWebEngineUrlRequestJob *job);
    // Some page's movie called the host (see waitForAnswer).
    void noteMovieCall();
    // While a movieCalled handler runs: what the movie's call returns (XML form).
    void setReturnValue(const QString &xml);
    // A movie of this page waits for the host's answer to its call.
    bool isMovieWaiting() const;
    // Names the page in its requests to the host; not guessable by other pages.
    QString token() const;
    // Each pupil's movies keep their local data apart.
    void setStorageSpace(const QString &space);
    QString storageSpace() const;
    // With pictures on, the page sends a picture of each movie's first frame once drawn
    // (firstFramePictured), unless it had been shown one that agrees with it.
    void setFirstFramePictures(bool on);
    // Shows `png`, a picture of the first frame of `movie` (the movie asked for last), over
    // the stage until the movie has drawn its own. Goes out at once, ahead of waiting commands.
    void showPicture(const QUrl &movie, const QByteArray &png);
    // While held, commands wait here (a picture still goes out at once).
    void holdCommands(bool held);
    // What the movie reads as ExternalInterface.objectID.
    void setObjectId(const QString &id);
    void runSelfTest(const QUrl &movie);
    // For a page in a player; a spare page is left awake so that it starts at once.
    void freezeWhenHidden();

    bool isReady() const;
    QUrl movieUrl() const;
    bool isMovieLoaded() const;
    // Its first frame has been drawn (or the page gave up waiting for its pixels).
    bool isMovieShown() const;
    // A movie is asked for and, where the page is on screen, not drawn yet: the page is
    // busy in the renderer that every player shares.
    bool isStarting() const;

signals:
    void ready();
    void movieCalled(const QString &request);
    void movieLoaded(const QUrl &movie);
    void movieShown(const QUrl &movie);
    void movieFailed(const QUrl &movie, const QString &reason);
    void selfTestFinished(const QStringList &failedChecks);
    void fsCommand(const QString &command, const QString &args);
    void linkRequested(const QString &url, const QString &target, const QString &method, const QString &variables);
    void movieMessage(const QString &level, const QString &text);
    // A PNG of the current movie's first frame as drawn, `size` in device pixels (only
    // its header is checked here).
    void firstFramePictured(const QUrl &movie, const QSize &size, const QByteArray &png);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage *createWindow(WebWindowType type) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message, int line,
                                  const QString &source) override;

private:
    void freezeIfSettled();
    QUrl playerPageUrl() const;
    void forgetDocument();
    void send(const QJsonObject &command);
    void onReady();
    void onLoadSettled();
    void sendWaiting();
    void onLoaded(const QString &url);
    void onFailed(const QString &url, const QString &reason);
    void onCallWaiting(const QString &name, const QString &url);
    void onCallbackAdded(const QString &url, const QString &name);
    void onCallDone(int id, const QJsonArray &result);
    bool canAnswerAtOnce(const QString &name) const;
    QString waitForAnswer(int id, const QString &name);
    void answerNow(QWebEngineUrlRequestJob *job);
    void answerHeldCall();
    void forgetMovieCalls();
    void onFirstFramePictured(const QString &url, int width, int height, const QString &dataUrl);

    FlashBridge *m_bridge;
    QString m_renderer;
    QUrl m_wasmServer;
    QList<QJsonObject> m_waiting;
    QList<QJsonObject> m_restore;   // the last movie and stage colour, to replay after a crash
    bool m_ready = false;
    bool m_starting = false;        // a load was sent and the page has not settled it yet
    QUrl m_movie;
    bool m_movieLoaded = false;
    bool m_freezeWhenHidden = false;
    bool m_movieShown = false;
    QString m_token;
    QString m_storageSpace;
    QString m_objectId;
    QJsonObject m_vars;
    bool m_trace = false;
    bool m_pictures = false;
    bool m_holding = false;
    QJsonObject m_pictureWaiting;   // for a page not ready yet

    // Movie calls being answered, innermost last: what each returns, and the calls into the
    // movie its handler made (the page runs them before the movie's call returns).
    struct Answer
    {
        QJsonValue value;
        QJsonArray calls;
    };
    QList<Answer> m_answers;
    QSet<QString> m_callbacks;      // registered by the current movie
    QHash<int, QString> m_callsOut; // sent to the page, not yet run there: the callback each waits for
    int m_lastCallId = 0;
    int m_awaitedCall = 0;
    QJsonValue m_awaitedResult;
    QEventLoop *m_answerLoop = nullptr;

    int m_callsWhileWaiting = 0;
    // The movie's calls held for a later turn of the event loop.
    QList<QPointer<QWebEngineUrlRequestJob>> m_heldCalls;
    bool m_answeredThisTurn = false;
};

#endif
