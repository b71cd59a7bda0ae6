#include "barepage.h"

#include "benchsupport.h"

#include <QDir>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {

QByteArray pageText(const QString &firstMovie)
{
    // The notes' recommended embedding, nothing more: one player, load() again to turn a page.
    // A transparent stage, as in our player: then the first opaque pixel is the movie's own,
    // not the stage colour Ruffle paints before the first frame.
    return QStringLiteral(R"html(<!DOCTYPE html><html><head><meta charset="utf-8">
<style>html,body{margin:0;height:100%%;overflow:hidden} #stage{position:fixed;inset:0} #stage>*{width:100%%;height:100%%;display:block}</style>
<script>window.RufflePlayer={config:{polyfills:false}};</script><script src="/ruffle/ruffle.js"></script></head>
<body><div id="stage"></div><script>
const OPTIONS = {allowScriptAccess:true, autoplay:"on", unmuteOverlay:"hidden", splashScreen:false, contextMenu:"off",
                 letterbox:"on", preferredRenderer:"canvas", logLevel:"error", wmode:"transparent"};
const player = window.RufflePlayer.newest().createPlayer();
document.getElementById("stage").appendChild(player);
function turn(url) { player.ruffle().load(Object.assign({url: url}, OPTIONS)); return true; }
turn("%1");
</script></body></html>)html").arg(firstMovie).toUtf8();
}

} // namespace

BarePage::BarePage()
    : m_server(QDir::currentPath()), m_profile(new QWebEngineProfile), m_view(new QWebEngineView)
{
    m_profile->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    bench::installWatcher(m_profile);
    m_page = new QWebEnginePage(m_profile, m_view);
    m_view->setPage(m_page);
}

BarePage::~BarePage()
{
    // Pages go before their profile.
    delete m_view;
    delete m_profile;
}

QString BarePage::urlOf(const QString &file) const
{
    return m_server.url(QDir::current().relativeFilePath(file));
}

double BarePage::open(const QString &movie, const QSize &size)
{
    m_server.barePage = pageText(urlOf(movie));
    m_view->resize(size);
    m_view->show();
    const double t0 = bench::now();
    m_view->load(QUrl(m_server.url(QStringLiteral("bare.html"))));
    return bench::waitShown(m_page, t0, 30000);
}

double BarePage::turn(const QString &movie, const QColor &target)
{
    bench::arm(m_page, target);
    const double t0 = bench::now();
    m_page->runJavaScript(QStringLiteral("turn('%1')").arg(urlOf(movie)));
    return bench::waitShown(m_page, t0);
}
