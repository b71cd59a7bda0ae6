// flashbench: what the Flash player costs, next to a bare page playing the same movies in
// Ruffle. Run from the build folder (the installation folder) under an X server:
//     xvfb-run -a ./bench/flashbench [--bare-first] [--first-movie]
// "Shown" is the first animation frame in which the movie's canvas has the movie's pixels
// (polled in the page), timed from the C++ call that asked for it.

#include "barepage.h"
#include "benchsupport.h"
#include "flashengine.h"
#include "flashplayer.h"
#include "swfmovie.h"

#include <QApplication>
#include <QDir>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QWebEnginePage>

namespace {

using namespace bench;

QTextStream out(stdout);
const QSize stage(800, 600);

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

    double firstMovie()
    {
        const double t0 = now();
        installWatcher(FlashEngine::instance()->profile());
        textbook = new FlashPlayer;
        stack->addWidget(textbook);
        stack->window()->show();
        // The movie the bare page starts with: a page movie draws more before its first frame.
        textbook->SetMovie(colourMovies.first());
        const double ms = waitShown(pageOf(textbook), t0, 30000);
        out << "  (b) FlashPlayer, first movie after creating the first player: " << ms << " ms\n";
        return ms;
    }

    double bareFirstMovie()
    {
        BarePage bare;
        const double ms = bare.open(colourMovies.first(), stage);
        out << "  (a) bare page over loopback HTTP, load -> first movie shown: " << ms << " ms\n";
        return ms;
    }

    // Each side's first movie in a process of its own, the other side's gone or idle by then.
    void firstMovies(bool bareFirst)
    {
        double bareMs = -1;
        if (bareFirst) {
            bareMs = bareFirstMovie();
            settle(2000);
        }
        const double ours = firstMovie();
        if (!bareFirst) {
            // The spares are built once our movie shows: the bare page must not share the cores with them.
            waitUntil([] { return FlashEngine::instance()->warmSpareCount() == FlashEngine::instance()->sparesKept(); }, 60000);
            settle(3000);
            stack->window()->hide();
            bareMs = bareFirstMovie();
        }
        out << "  first movie, FlashPlayer / bare page (" << (bareFirst ? "bare page first" : "FlashPlayer first")
            << "): " << QString::number(ours / bareMs, 'f', 2) << "\n";
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
        waitUntil([] { return FlashEngine::instance()->warmSpareCount() == FlashEngine::instance()->sparesKept(); }, 30000);
        settle(1000);
        out << "  (b) FlashPlayer, page turn (SetMovie -> shown), colour movies: "
            << range(turns(textbook, colourMovies, true, 20)) << '\n';
        if (!pageMovies.isEmpty())
            out << "  (b) FlashPlayer, page turn, the demo course's page movies: "
                << range(turns(textbook, pageMovies, false, 24)) << '\n';
    }

    void barePageRuns()
    {
        stack->window()->hide();
        {
            BarePage bare;
            out << "  (a) bare page over loopback HTTP, load -> first movie shown: "
                << bare.open(colourMovies.first(), stage) << " ms\n";
            settle(1000);
            QList<double> times;
            for (int i = 0; i < 20; ++i) {
                const int index = i % colourMovies.size();
                times.append(bare.turn(colourMovies[index], colourFor(index)));
                settle(150);
            }
            out << "  (a) bare page, page turn (load() on the live player), colour movies: " << range(times) << '\n';
        }
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
        waitUntil([] { return FlashEngine::instance()->warmSpareCount() == FlashEngine::instance()->sparesKept(); }, 30000);
        settle(500);
        double warm = -1;
        double cold = -1;
        openMaterial(3, &warm);
        out << "  (b) new FlashPlayer (material opening) -> first frame, warm spare: " << warm << " ms\n";
        openMaterial(4, &cold);
        out << "  (b) a second material right after (the second spare): " << cold << " ms\n";
    }

    void memoryAndCpu()
    {
        stack->setCurrentWidget(textbook);
        textbook->SetMovie(pageMovies.value(1, colourMovies.first()));
        waitUntil([] { return FlashEngine::instance()->warmSpareCount() == FlashEngine::instance()->sparesKept(); }, 60000);
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
    if (app.arguments().contains(QStringLiteral("--first-movie"))) {
        // Only the first movies of both sides, for runs over and over in both orders.
        bench.firstMovies(bareFirst);
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
