#ifndef FLASHPLAYER_H
#define FLASHPLAYER_H

#include <QJsonObject>
#include <QString>
#include <QUrl>
#include <QWidget>

class FirstFrameCover;
class FlashPage;
class QWebEngineView;

// The widget that plays one Flash movie, with the operations and the event of the Flash
// Player control the shell was written against. Movies play in Ruffle inside a web view.
//
// As with the control, a FlashCall handler answers the movie with SetReturnValue while it
// runs, and CallFunction returns the callback's result. Differences a caller may notice:
// CallFunction returns an empty string, and delivers the call later (after the earlier calls
// to the same callback, held until the movie has registered it; calls to other callbacks
// go on meanwhile; dropped if the movie never does before it is replaced), when the movie cannot answer at once: no movie
// showing yet, the callback not registered yet, a hidden (frozen) player, or the call made
// from a FlashCall handler of the same player (it then runs just before the movie's call
// returns). Links (getURL to a web address) are reported, never opened. Movie paths are
// files inside the installation folder (the current directory when the first player was made).
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
    // For movies that take long to show their first frame (the materials'): a picture of each
    // movie's first frame as the pupil last saw it is kept (FirstFramePictures) and shown at
    // once the next time that movie is set with the same variables at the same size, while
    // the movie starts beneath. A picture that differs from the frame the movie draws is
    // replaced. Off by default: page turns have pictures of their neighbours instead.
    // The picture also shows from Qt over the web view until the page has drawn it or the
    // movie (pictureShown), so that it is on screen with the window.
    void setFirstFramePictures(bool on);

public slots:
    void SetFlashVars(QString vars);
    void SetMovie(QString path);
    void SetBGColor(QString color);
    QString CallFunction(const QString &request);
    // Movies likely to be set next (the neighbouring pages of a book): the player keeps a
    // picture of each one's first frame and shows it the moment that movie is set, while
    // the movie starts behind it. Files outside the installation folder are left out.
    void setNeighbourMovies(const QStringList &paths);
    void SetReturnValue(QString value);
    // For a player kept on screen under another window only so that its movie is drawn by
    // the time it is uncovered (the web engine draws nothing hidden): while held, the movie
    // stops running frames once its first frame is drawn, and makes no sound.
    void setHeld(bool held);

signals:
    void FlashCall(const QString &request);
    void FSCommand(QString command, QString args);
    // getURL to an address outside the player (target "_self" for the movie's own window;
    // `variables` form-encoded for a POST). Nothing is fetched.
    void linkRequested(const QString &url, const QString &target, const QString &method, const QString &variables);
    // What Ruffle says about the movie ("warning", "error") and, with PELLORA_FLASH_TRACE=1
    // in the environment, the movie's trace() output ("trace").
    void movieMessage(const QString &level, const QString &text);
    // The movie's first frame is about to show (or it failed to load: see the debug output).
    void movieLoaded(const QString &path);
    // Its first frame has been drawn (the page gives up waiting after some 120 animation
    // frames without pixels, and says so then). A hidden player draws nothing.
    void movieShown(const QString &path);
    void movieFailed(const QString &path);
    // The kept picture of the movie's first frame has been painted over the player.
    void pictureShown(const QString &path);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QSize deviceSize() const;
    void offerPicture();
    void keepPicture(const QUrl &movie, const QSize &size, const QByteArray &png);
    void uncoverWhenPresented();
    void uncover();

    void adoptPage(FlashPage *page);
    void reportLoaded();
    void reportFailed(const QString &movie, const QString &reason);
    QString movieForUrl(const QUrl &url) const;
    void reportMessage(const QString &level, const QString &text);
    void reportLink(const QString &url, const QString &target, const QString &method, const QString &variables);

    QWebEngineView *m_view = nullptr;
    FlashPage *m_page = nullptr;
    QJsonObject m_vars;
    QString m_movie;
    QUrl m_movieUrl;
    QJsonObject m_movieVars;
    bool m_pictures = false;
    QSize m_pictureOffered;   // the size the current movie's picture was looked up for
    FirstFrameCover *m_cover = nullptr;
};

#endif
