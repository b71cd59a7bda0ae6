#ifndef FLASHPAGE_H
#define FLASHPAGE_H

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QUrl>
#include <QWebEnginePage>

class FlashBridge;

// One player page: the bootstrap document with Ruffle, and the ordered command channel to
// it. Commands given before the page is ready, or while Ruffle is still starting the last
// movie asked for, wait here and go out in order; of several waiting movies only the
// newest is started.
class FlashPage : public QWebEnginePage
{
    Q_OBJECT
public:
    FlashPage(QWebEngineProfile *profile, const QString &renderer, QObject *parent = nullptr);

    void loadMovie(const QUrl &movie, const QJsonObject &vars);
    void unloadMovie();
    void setStageColor(const QString &color);
    void callMovie(const QString &name, const QJsonArray &arguments);
    void runSelfTest(const QUrl &movie);
    // For a page in a player; a spare page is left awake so that it starts at once.
    void freezeWhenHidden();

    bool isReady() const;
    QUrl movieUrl() const;
    bool isMovieLoaded() const;

signals:
    void ready();
    void movieCalled(const QString &request);
    void movieLoaded(const QUrl &movie);
    void movieFailed(const QUrl &movie, const QString &reason);
    void hookWorks();

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage *createWindow(WebWindowType type) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message, int line,
                                  const QString &source) override;

private:
    void send(const QJsonObject &command);
    void onReady();
    void onLoadSettled();
    void sendWaiting();
    void onCalled(const QString &name, const QJsonArray &arguments);
    void onLoaded(const QString &url);
    void onFailed(const QString &url, const QString &reason);
    void onCallWaiting(const QString &name, const QString &url);

    FlashBridge *m_bridge;
    QString m_renderer;
    QList<QJsonObject> m_waiting;
    QList<QJsonObject> m_restore;   // the last movie and stage colour, to replay after a crash
    bool m_ready = false;
    bool m_starting = false;        // a load was sent and the page has not settled it yet
    QUrl m_movie;
    bool m_movieLoaded = false;
};

#endif
