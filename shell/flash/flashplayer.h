#ifndef FLASHPLAYER_H
#define FLASHPLAYER_H

#include <QJsonObject>
#include <QString>
#include <QUrl>
#include <QWidget>

class FlashPage;
class QWebEngineView;

// The widget that plays one Flash movie, with the operations and the event of the Flash
// Player control the shell was written against. Movies play in Ruffle inside a web view.
//
// Differences a caller may notice: CallFunction delivers asynchronously (in order, and held
// until the movie has registered the callback), and FlashCall carries no return value
// back to the movie. Movie paths are files inside the installation folder (the current
// directory when the first player was made).
//
// A movie that calls ExternalInterface.call("pellora: still picture") is a still picture
// (the textbook's page movies are): once its first frame shows, the player stops running
// its frames, which saves most of the CPU a visible player costs; it still answers the
// mouse. That call never reaches FlashCall.
class FlashPlayer : public QWidget
{
    Q_OBJECT
public:
    explicit FlashPlayer(QWidget *parent = nullptr);
    ~FlashPlayer() override;

    // False when Ruffle's files are missing: the widget then stays empty.
    bool isPlaying() const;
    QString movie() const;

public slots:
    void SetFlashVars(QString vars);
    void SetMovie(QString path);
    void SetBGColor(QString color);
    void CallFunction(const QString &request);

signals:
    void FlashCall(const QString &request);
    // The movie's first frame is about to show (or it failed to load: see the debug output).
    void movieLoaded(const QString &path);
    void movieFailed(const QString &path);

private:
    void adoptPage(FlashPage *page);
    void reportLoaded();
    void reportFailed(const QString &movie, const QString &reason);
    QString movieForUrl(const QUrl &url) const;

    QWebEngineView *m_view = nullptr;
    FlashPage *m_page = nullptr;
    QJsonObject m_vars;
    QString m_movie;
    QUrl m_movieUrl;
};

#endif
