#include "flashplayer.h"

#include "firstframecover.h"
#include "firstframepictures.h"
#include "flashengine.h"
#include "flashinvoke.h"
#include "flashpage.h"
#include "flashvars.h"

#include <QColor>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineView>

FlashPlayer::FlashPlayer(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    adoptPage(FlashEngine::instance()->takePage());
}

FlashPlayer::~FlashPlayer() = default;

void FlashPlayer::adoptPage(FlashPage *page)
{
    if (!page)
        return;
    m_page = page;
    m_view = new QWebEngineView(this);
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    m_view->setPage(page);
    page->setParent(m_view);
    layout()->addWidget(m_view);
    setFocusProxy(m_view);
    connect(m_page, &FlashPage::movieCalled, this, &FlashPlayer::FlashCall);
    connect(m_page, &FlashPage::fsCommand, this, &FlashPlayer::FSCommand);
    connect(m_page, &FlashPage::linkRequested, this, &FlashPlayer::reportLink);
    connect(m_page, &FlashPage::movieMessage, this, &FlashPlayer::reportMessage);
    connect(m_page, &FlashPage::movieLoaded, this, &FlashPlayer::reportLoaded);
    connect(m_page, &FlashPage::movieShown, this, [this] {
        uncoverWhenPresented();
        emit movieShown(m_movie);
    });
    connect(m_page, &FlashPage::firstFramePictured, this, &FlashPlayer::keepPicture);
    connect(m_page, &FlashPage::movieFailed, this,
            [this](const QUrl &url, const QString &reason) { reportFailed(movieForUrl(url), reason); });
    page->freezeWhenHidden();
    page->setFirstFramePictures(m_pictures);
    // A spare page may still hold its warm-up movie; nothing is shown until SetMovie.
    m_page->unloadMovie();
}

bool FlashPlayer::isPlaying() const
{
    return m_page != nullptr;
}

QString FlashPlayer::movie() const
{
    return m_movie;
}

void FlashPlayer::setFirstFramePictures(bool on)
{
    m_pictures = on;
    if (m_page)
        m_page->setFirstFramePictures(on);
}

void FlashPlayer::SetFlashVars(QString vars)
{
    m_vars = FlashVars::parse(vars);
}

void FlashPlayer::SetMovie(QString path)
{
    if (!m_page)
        return;
    FlashEngine::instance()->noteActivity();
    m_movie = path.isEmpty() ? QString() : QDir::current().absoluteFilePath(path);
    m_movieUrl = QUrl();
    uncover();
    if (m_movie.isEmpty()) {
        m_page->unloadMovie();
        return;
    }
    const QUrl url = FlashEngine::instance()->files().urlForFile(m_movie);
    if (url.isEmpty()) {
        m_page->unloadMovie();
        reportFailed(m_movie, QFileInfo::exists(m_movie) ? QStringLiteral("it is outside the installation folder")
                                                         : QStringLiteral("no such file"));
        return;
    }
    m_movieUrl = url;
    // A browser's <object name>: the player's own name, else one made from its page's.
    m_page->setObjectId(objectName().isEmpty() ? QStringLiteral("flashplayer_") + m_page->token().left(8)
                                               : objectName());
    m_movieVars = m_vars;
    m_pictureOffered = QSize();
    if (m_pictures) {
        // A material's player gets its movie before its window is laid out, which happens in
        // this turn of the event loop. Its picture, looked up at the size it shows at, must
        // reach the page ahead of the movie: a movie starting keeps the page busy for a while.
        m_page->holdCommands(true);
        QTimer::singleShot(0, this, [this, url] {
            if (url == m_movieUrl)
                offerPicture();
            m_page->holdCommands(false);
        });
    }
    m_page->loadMovie(url, m_vars);
    offerPicture();
}

QSize FlashPlayer::deviceSize() const
{
    return (QSizeF(size()) * devicePixelRatioF()).toSize();
}

// Looked up whenever the size changes until the movie shows: a material's player is given
// its movie before its window is laid out, and the picture must be of the size it shows at.
void FlashPlayer::offerPicture()
{
    const QSize size = deviceSize();
    if (!m_pictures || !m_page || m_movieUrl.isEmpty() || m_page->isMovieShown() || size == m_pictureOffered)
        return;
    m_pictureOffered = size;
    const QByteArray png =
        FirstFramePictures().picture(m_page->storageSpace(), m_movieUrl, m_movieVars, size);
    if (png.isEmpty())
        return;
    m_page->showPicture(m_movieUrl, png);
    QImage picture = QImage::fromData(png, "PNG");
    if (picture.isNull())
        return;
    picture.setDevicePixelRatio(devicePixelRatioF());
    if (!m_cover) {
        m_cover = new FirstFrameCover(this);
        connect(m_cover, &FirstFrameCover::painted, this, [this] { emit pictureShown(m_movie); });
    }
    m_cover->cover(picture);
}

// The page has drawn the movie's first frame (over its own copy of the picture): the web view
// presents it with its next frame or so, and the picture goes after that, so that nothing
// blank shows between.
void FlashPlayer::uncoverWhenPresented()
{
    if (!m_cover || m_cover->isHidden())
        return;
    constexpr int presentedMs = 2 * 17;
    const QUrl movie = m_movieUrl;
    QTimer::singleShot(presentedMs, this, [this, movie] {
        if (movie == m_movieUrl)
            uncover();
    });
}

void FlashPlayer::uncover()
{
    if (m_cover)
        m_cover->uncover();
}

void FlashPlayer::keepPicture(const QUrl &movie, const QSize &size, const QByteArray &png)
{
    // Only a frame of the size shown now: a window resized meanwhile would keep one that
    // is never asked for.
    if (!m_pictures || movie != m_movieUrl || size != deviceSize())
        return;
    FirstFramePictures().keep(m_page->storageSpace(), m_movieUrl, m_movieVars, size, png);
}

void FlashPlayer::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    offerPicture();
}

void FlashPlayer::setNeighbourMovies(const QStringList &paths)
{
    if (!m_page)
        return;
    QList<QUrl> urls;
    for (const QString &path : paths) {
        const QUrl url = FlashEngine::instance()->files().urlForFile(QDir::current().absoluteFilePath(path));
        if (!url.isEmpty())
            urls.append(url);
    }
    m_page->setNeighbours(urls);
}

void FlashPlayer::SetBGColor(QString color)
{
    if (!m_page)
        return;
    const QColor parsed = QColor::fromString(color.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                                                 ? QLatin1Char('#') + color.mid(2)
                                                 : color);
    if (!parsed.isValid()) {
        qWarning().noquote() << "Flash player: ignored the background colour" << color;
        return;
    }
    m_page->setStageColor(parsed.name());
}

QString FlashPlayer::CallFunction(const QString &request)
{
    if (!m_page)
        return {};
    const FlashInvoke invoke = FlashInvoke::fromXml(request);
    if (!invoke.isValid()) {
        qWarning().noquote() << "Flash player: CallFunction ignored a request that is not an invoke element:" << request;
        return {};
    }
    return m_page->callMovie(invoke.name(), invoke.arguments());
}

void FlashPlayer::setHeld(bool held)
{
    if (m_page)
        m_page->setHeld(held);
}

void FlashPlayer::SetReturnValue(QString value)
{
    if (m_page)
        m_page->setReturnValue(value);
}

void FlashPlayer::reportMessage(const QString &level, const QString &text)
{
    const QString movie = m_movie.isEmpty() ? QStringLiteral("(no movie)") : m_movie;
    qDebug().noquote() << "Flash player:" << movie << level + u':' << text.section(u'\n', 0, 0);
    emit movieMessage(level, text);
}

void FlashPlayer::reportLink(const QString &url, const QString &target, const QString &method,
                             const QString &variables)
{
    // Script in the player page could reach every pupil's movie data and the bridge: the page
    // refuses it, and it is no link a host could open either.
    if (url.trimmed().startsWith(QLatin1String("javascript:"), Qt::CaseInsensitive)) {
        reportMessage(QStringLiteral("warning"), QStringLiteral("refused to run script %1 in the player page").arg(url));
        return;
    }
    qDebug().noquote() << "Flash player:" << m_movie << "asked to open" << method << url << "in" << target
                       << "- not opened";
    emit linkRequested(url, target, method, variables);
}

void FlashPlayer::reportLoaded()
{
    emit movieLoaded(m_movie);
}

QString FlashPlayer::movieForUrl(const QUrl &url) const
{
    // After a quick turn the failure may be an earlier movie's: name that one, not the current.
    if (url.toString(QUrl::FullyEncoded) == m_movieUrl.toString(QUrl::FullyEncoded))
        return m_movie;
    const QString file = FlashEngine::instance()->files().fileForUrl(url);
    return file.isEmpty() ? url.toString() : file;
}

void FlashPlayer::reportFailed(const QString &movie, const QString &reason)
{
    if (movie == m_movie)
        uncover();
    qWarning().noquote() << "Flash player: cannot play" << movie << "-" << reason;
    emit movieFailed(movie);
}
