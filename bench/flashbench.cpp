// flashbench: what the Flash player costs, next to a bare page playing the same movies in
// Ruffle. Run from the build folder (the installation folder) under an X server:
//     xvfb-run -a ./bench/flashbench [--bare-first]
// "Shown" is the first animation frame in which the movie's canvas has the movie's pixels
// (polled in the page), timed from the C++ call that asked for it.

#include "flashengine.h"
#include "flashfiles.h"
#include "flashplayer.h"
#include "swfmovie.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QStackedWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QWebEngineSettings>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>
#include <algorithm>
#include <functional>
#include <unistd.h>

namespace {

QTextStream out(stdout);
const QSize stage(800, 600);

// ---- waiting and timing -------------------------------------------------------------------

double now()
{
    return double(QDateTime::currentMSecsSinceEpoch());
}

bool waitUntil(const std::function<bool()> &condition, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms)
            return false;
        QEventLoop loop;
        QTimer::singleShot(2, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

void settle(int ms)
{
    // An idle wait: CPU figures are taken across it.
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double median(QList<double> values)
{
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QString range(const QList<double> &values)
{
    if (values.isEmpty())
        return QStringLiteral("n/a");
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    return QStringLiteral("median %1 ms (%2-%3, n=%4)").arg(median(values), 0, 'f', 0).arg(*lo, 0, 'f', 0).arg(*hi, 0, 'f', 0).arg(values.size());
}

// A page script that reports, through the document title, the epoch time of the first
// animation frame whose movie canvas shows the wanted pixel at its centre.
const char *watcherScript = R"js(
window.benchWatch = function (target, anyPlayer) {
    document.title = "";
    function moviePlayer() {
        return document.querySelector("#stage > *") || document.querySelector("ruffle-player");
    }
    // Without a colour to wait for, only a new player's canvas counts.
    const previous = target || anyPlayer ? null : moviePlayer();
    function check() {
        const player = moviePlayer();
        const canvas = player !== previous && player && player.shadowRoot && player.shadowRoot.querySelector("canvas");
        if (canvas && canvas.width > 0) {
            const d = canvas.getContext("2d").getImageData(canvas.width >> 1, canvas.height >> 1, 1, 1).data;
            const hit = target ? (Math.abs(d[0] - target[0]) < 8 && Math.abs(d[1] - target[1]) < 8 && Math.abs(d[2] - target[2]) < 8)
                               : d[3] > 0;
            if (hit) {
                document.title = "shown " + (performance.timeOrigin + performance.now());
                return;
            }
        }
        requestAnimationFrame(check);
    }
    requestAnimationFrame(check);
    return true;
};
if (location.pathname.endsWith(".html") && document.visibilityState === "visible") window.benchWatch(null, true);
)js";

void installWatcher(QWebEngineProfile *profile)
{
    QWebEngineScript script;
    script.setName(QStringLiteral("benchwatch"));
    script.setSourceCode(QString::fromUtf8(watcherScript));
    script.setInjectionPoint(QWebEngineScript::DocumentReady);
    script.setWorldId(QWebEngineScript::MainWorld);
    profile->scripts()->insert(script);
}

// Milliseconds from t0 to "shown" in `page`, or -1.
double waitShown(QWebEnginePage *page, double t0, int timeoutMs = 20000)
{
    double shown = -1;
    const QMetaObject::Connection c = QObject::connect(page, &QWebEnginePage::titleChanged, [&](const QString &title) {
        if (title.startsWith(QLatin1String("shown ")))
            shown = title.mid(6).toDouble();
    });
    waitUntil([&] { return shown > 0; }, timeoutMs);
    QObject::disconnect(c);
    return shown > 0 ? shown - t0 : -1;
}

void arm(QWebEnginePage *page, const QColor &target)
{
    bool armed = false;
    const QString rgb = target.isValid() ? QStringLiteral("[%1,%2,%3]").arg(target.red()).arg(target.green()).arg(target.blue())
                                         : QStringLiteral("null");
    page->runJavaScript(QStringLiteral("window.benchWatch(%1)").arg(rgb), [&armed](const QVariant &) { armed = true; });
    waitUntil([&] { return armed; }, 5000);
}

QWebEnginePage *pageOf(FlashPlayer *player)
{
    return player->findChild<QWebEngineView *>()->page();
}

// ---- processes ----------------------------------------------------------------------------

QList<int> processTree()
{
    QMultiHash<int, int> children;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool isPid = false;
        const int pid = entry.toInt(&isPid);
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!isPid || !stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        children.insert(fields.value(1).toInt(), pid);
    }
    QList<int> tree{int(getpid())};
    for (int i = 0; i < tree.size(); ++i)
        tree += children.values(tree[i]);
    return tree;
}

QString processName(int pid)
{
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!cmdline.open(QIODevice::ReadOnly))
        return QString();
    const QList<QByteArray> args = cmdline.readAll().split('\0');
    QString name = QFileInfo(QString::fromLocal8Bit(args.value(0))).fileName();
    for (const QByteArray &arg : args) {
        if (arg.startsWith("--type=") || arg.startsWith("--utility-sub-type="))
            name += QLatin1Char(' ') + QString::fromLatin1(arg.mid(arg.indexOf('=') + 1));
    }
    return name;
}

double pssMegabytes(QStringList *parts)
{
    double kb = 0;
    const QList<int> tree = processTree();
    for (int pid : tree) {
        QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
        if (!rollup.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : rollup.readAll().split('\n')) {
            if (line.startsWith("Pss:")) {
                const double own = line.mid(4).trimmed().split(' ').first().toDouble();
                kb += own;
                parts->append(QStringLiteral("%1 %2").arg(processName(pid)).arg(own / 1024.0, 0, 'f', 0));
            }
        }
    }
    return kb / 1024.0;
}

QHash<int, double> ticksByProcess()
{
    QHash<int, double> ticks;
    for (int pid : processTree()) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        ticks.insert(pid, fields.value(11).toDouble() + fields.value(12).toDouble());
    }
    return ticks;
}

// Whole tree, with the share of each process after it.
QString cpuPercentOver(int seconds)
{
    const QHash<int, double> before = ticksByProcess();
    settle(seconds * 1000);
    const QHash<int, double> after = ticksByProcess();
    const double scale = 100.0 / double(sysconf(_SC_CLK_TCK)) / seconds;
    double total = 0;
    QStringList parts;
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        const double share = (it.value() - before.value(it.key(), it.value())) * scale;
        total += share;
        if (share > 0)
            parts.append(QStringLiteral("%1 %2").arg(processName(it.key())).arg(share, 0, 'f', 1));
    }
    return QStringLiteral("%1 (%2)").arg(total, 0, 'f', 1).arg(parts.join(QStringLiteral(", ")));
}

// ---- the bare page: Ruffle served over loopback HTTP, no shell code -----------------------

class LoopbackServer : public QTcpServer
{
public:
    explicit LoopbackServer(const QString &root) : m_root(root)
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QString url(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(serverPort()).arg(path);
    }
    QByteArray barePage;

private:
    void answer(QTcpSocket *socket)
    {
        const QByteArray request = socket->readAll();
        const QString path = QUrl::fromPercentEncoding(request.split(' ').value(1)).section(QLatin1Char('?'), 0, 0);
        QByteArray body;
        if (path == QLatin1String("/bare.html")) {
            body = barePage;
        } else {
            QFile file(m_root + path);
            if (path.contains(QLatin1String("..")) || !file.open(QIODevice::ReadOnly)) {
                socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
                socket->disconnectFromHost();
                return;
            }
            body = file.readAll();
        }
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: " + FlashFiles::mimeType(path).toLatin1() + "\r\nContent-Length: "
                      + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n");
        socket->write(body);
        socket->disconnectFromHost();
    }
    QString m_root;
};

QByteArray barePage(const QString &firstMovie)
{
    // The notes' recommended embedding, nothing more: one player, load() again to turn a page.
    return QStringLiteral(R"html(<!DOCTYPE html><html><head><meta charset="utf-8">
<style>html,body{margin:0;height:100%%;overflow:hidden} #stage{position:fixed;inset:0} #stage>*{width:100%%;height:100%%;display:block}</style>
<script>window.RufflePlayer={config:{polyfills:false}};</script><script src="/ruffle/ruffle.js"></script></head>
<body><div id="stage"></div><script>
const OPTIONS = {allowScriptAccess:true, autoplay:"on", unmuteOverlay:"hidden", splashScreen:false, contextMenu:"off",
                 letterbox:"on", preferredRenderer:"canvas", logLevel:"error"};
const player = window.RufflePlayer.newest().createPlayer();
document.getElementById("stage").appendChild(player);
function turn(url) { player.ruffle().load(Object.assign({url: url}, OPTIONS)); return true; }
turn("%1");
</script></body></html>)html").arg(firstMovie).toUtf8();
}

// ---- movies -------------------------------------------------------------------------------

QColor colourFor(int i)
{
    return QColor::fromHsv((i * 47) % 360, 200, 220);
}

QString writeColourMovie(const QDir &dir, int i)
{
    SwfMovie movie(stage, 12);
    SwfShape shape;
    shape.addRect(QRectF(QPointF(0, 0), stage), shape.addSolidFill(colourFor(i)));
    movie.placeObject(movie.defineShape(shape), 1);
    SwfActions stop;
    stop.op(SwfActions::Stop);
    movie.doAction(stop);
    movie.showFrame();
    const QString path = dir.filePath(QStringLiteral("colour%1.swf").arg(i));
    movie.save(path);
    return path;
}

// ---- the run ------------------------------------------------------------------------------

struct Bench {
    QDir movies;
    QStringList colourMovies;
    QStringList pageMovies;
    QStackedWidget *stack = nullptr;
    FlashPlayer *textbook = nullptr;

    QString relative(const QString &path) const { return QDir::current().relativeFilePath(path); }

    void firstMovie()
    {
        const double t0 = now();
        installWatcher(FlashEngine::instance()->profile());
        textbook = new FlashPlayer;
        stack->addWidget(textbook);
        stack->window()->show();
        textbook->SetMovie(pageMovies.value(0, colourMovies.first()));
        const double ms = waitShown(pageOf(textbook), t0, 30000);
        out << "  (b) FlashPlayer, first movie after creating the first player: " << ms << " ms\n";
    }

    QList<double> turns(FlashPlayer *player, const QStringList &movies, bool byColour, int count)
    {
        QList<double> times;
        for (int i = 0; i < count; ++i) {
            const int index = i % movies.size();
            arm(pageOf(player), byColour ? colourFor(index) : QColor());
            const double t0 = now();
            player->SetMovie(movies[index]);
            times.append(waitShown(pageOf(player), t0));
            settle(150);
        }
        return times;
    }

    void pageTurns()
    {
        waitUntil([] { return FlashEngine::instance()->hasWarmSpare(); }, 30000);
        settle(1000);
        out << "  (b) FlashPlayer, page turn (SetMovie -> shown), colour movies: "
            << range(turns(textbook, colourMovies, true, 20)) << '\n';
        if (!pageMovies.isEmpty())
            out << "  (b) FlashPlayer, page turn, the demo course's page movies: "
                << range(turns(textbook, pageMovies, false, 24)) << '\n';
    }

    void barePageRuns()
    {
        LoopbackServer server(QDir::currentPath());
        auto *profile = new QWebEngineProfile;
        profile->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
        installWatcher(profile);
        auto *view = new QWebEngineView;
        auto *page = new QWebEnginePage(profile, view);
        view->setPage(page);
        view->resize(stage);
        server.barePage = barePage(server.url(relative(colourMovies.first())));
        stack->window()->hide();
        view->show();
        const double t0 = now();
        view->load(QUrl(server.url(QStringLiteral("bare.html"))));
        out << "  (a) bare page over loopback HTTP, load -> first movie shown: " << waitShown(page, t0, 30000) << " ms\n";
        settle(1000);
        QList<double> times;
        for (int i = 0; i < 20; ++i) {
            const int index = i % colourMovies.size();
            arm(page, colourFor(index));
            const double t1 = now();
            page->runJavaScript(QStringLiteral("turn('%1')").arg(server.url(relative(colourMovies[index]))));
            times.append(waitShown(page, t1));
            settle(150);
        }
        out << "  (a) bare page, page turn (load() on the live player), colour movies: " << range(times) << '\n';
        delete view;
        delete profile;
        stack->window()->show();
        settle(2000);
    }

    FlashPlayer *openMaterial(int colour, double *ms)
    {
        // A page still loading has no watcher to arm yet; the one it installs itself then
        // reports the first drawn pixel.
        const bool warm = FlashEngine::instance()->hasWarmSpare();
        const double t0 = now();
        auto *material = new FlashPlayer;
        if (warm)
            arm(pageOf(material), colourFor(colour));
        stack->addWidget(material);
        stack->setCurrentWidget(material);
        material->SetMovie(colourMovies[colour]);
        *ms = waitShown(pageOf(material), t0);
        return material;
    }

    void materials()
    {
        waitUntil([] { return FlashEngine::instance()->hasWarmSpare(); }, 30000);
        settle(500);
        double warm = -1;
        double cold = -1;
        openMaterial(3, &warm);
        out << "  (b) new FlashPlayer (material opening) -> first frame, warm spare: " << warm << " ms\n";
        openMaterial(4, &cold);
        out << "  (b) a second material right after, no spare yet (new page, same renderer): " << cold << " ms\n";
    }

    void memoryAndCpu()
    {
        stack->setCurrentWidget(textbook);
        textbook->SetMovie(pageMovies.value(1, colourMovies.first()));
        waitUntil([] { return FlashEngine::instance()->hasWarmSpare(); }, 60000);
        settle(3000);

        QStringList parts;
        const double pss = pssMegabytes(&parts);

        out << "  PSS of the process tree, textbook + two materials + warm spare: " << QString::number(pss, 'f', 0)
            << " MB (" << parts.join(QStringLiteral(", ")) << ")\n";
        out << "  CPU, textbook page movie visible, two materials hidden under it (10 s): "
            << cpuPercentOver(10) << " % of a core\n";
        textbook->SetMovie(colourMovies.first());
        settle(2000);
        out << "  CPU, the same with a 12 fps still colour movie that does not say it is still (10 s): "
            << cpuPercentOver(10) << " % of a core\n";
        double gcMs = -1;
        pageOf(textbook)->runJavaScript(QStringLiteral("(() => { const t = performance.now(); gc(); return performance.now() - t; })()"),
                                        [&gcMs](const QVariant &v) { gcMs = v.toDouble(); });
        waitUntil([&] { return gcMs >= 0; }, 5000);
        out << "  one full garbage collection in the players' renderer: " << gcMs << " ms\n";
        auto *cover = new QWidget;
        stack->addWidget(cover);
        stack->setCurrentWidget(cover);
        // Hidden players freeze when the web engine recommends it.
        settle(5000);
        out << "  CPU, all three players hidden under another sheet (10 s): " << cpuPercentOver(10) << " % of a core\n";

    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool bareFirst = app.arguments().contains(QStringLiteral("--bare-first"));
    const int cpuOnly = app.arguments().indexOf(QStringLiteral("--cpu"));
    QTemporaryDir movies(QDir::current().filePath(QStringLiteral("flashbench-XXXXXX")));
    Bench bench;
    bench.movies = QDir(movies.path());
    for (int i = 0; i < 5; ++i)
        bench.colourMovies.append(writeColourMovie(bench.movies, i));
    const QDir textbook(QStringLiteral("data/textbook"));
    for (const QString &name : textbook.entryList({QStringLiteral("*.swf")}, QDir::Files, QDir::Name))
        bench.pageMovies.append(textbook.absoluteFilePath(name));

    auto *window = new QWidget;
    bench.stack = new QStackedWidget(window);
    window->resize(stage);
    bench.stack->resize(stage);

    out << "flashbench: " << QSysInfo::prettyProductName() << ", " << QThread::idealThreadCount() << " cores, Qt " << qVersion()
        << ", QT_QUICK_BACKEND=" << qEnvironmentVariable("QT_QUICK_BACKEND") << ", view " << stage.width() << "x"
        << stage.height() << "\n";
    out.flush();
    if (cpuOnly > 0) {
        // --cpu MOVIE: one visible player showing MOVIE, nothing else.
        auto *player = new FlashPlayer(bench.stack);
        bench.stack->addWidget(player);
        window->show();
        player->SetMovie(app.arguments().value(cpuOnly + 1));
        settle(5000);
        out << "  CPU, one visible player showing " << app.arguments().value(cpuOnly + 1) << " (10 s): "
            << cpuPercentOver(10) << " % of a core\n";
        out.flush();
        delete window;
        return 0;
    }
    if (app.arguments().contains(QStringLiteral("--churn"))) {
        // Memory of the page player over many page turns, after quiet spells.
        bench.firstMovie();
        for (int round = 0; round <= 5; ++round) {
            if (round > 0)
                bench.turns(bench.textbook, bench.pageMovies, false, 20);
            settle(5000);
            QStringList parts;
            out << "  after " << round * 20 << " page turns: PSS " << QString::number(pssMegabytes(&parts), 'f', 0) << " MB ("
                << parts.join(QStringLiteral(", ")) << ")\n";
            out.flush();
        }
        delete window;
        return 0;
    }
    if (app.arguments().contains(QStringLiteral("--memory"))) {
        // Only what the memory figure needs: a page, two materials, the spare.
        bench.firstMovie();
        bench.materials();
        bench.memoryAndCpu();
        out.flush();
        delete window;
        return 0;
    }
    if (bareFirst)
        bench.barePageRuns();
    bench.firstMovie();
    out.flush();
    bench.pageTurns();
    out.flush();
    if (!bareFirst)
        bench.barePageRuns();
    out.flush();
    bench.materials();
    out.flush();
    bench.memoryAndCpu();
    out.flush();
    delete window;
    return 0;
}
