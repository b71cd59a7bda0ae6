// materialbench: materials of the demo course as a pupil opens them in the main window.
// Run from the build folder (the installation folder) under an X server:
//     xvfb-run -a -s "-screen 0 1600x1000x24" ./bench/materialbench
// Prints: open -> first frame of every movie (one movie, then two movies and a picture),
// shown as the picture kept from the last showing or drawn by the movie, for the first
// opening in the process, with and without kept pictures, and for a second material opened
// right after the first; the same movies' first frames in a bare Ruffle page; the memory
// of the process tree with the textbook and two materials open, and how long a reported
// mark takes to be on disk.
//
// Pictures of first frames stay in the bench's cache folder from run to run, so a second run
// shows what a new session finds; `--fresh` empties it first.

#include "barepage.h"
#include "benchsupport.h"
#include "coursexml.h"
#include "environment.h"
#include "firstframepictures.h"
#include "contentmodel.h"
#include "flashengine.h"
#include "flashplayer.h"
#include "markbookmodel.h"
#include "sheettextbook.h"
#include "viewerflash.h"
#include "viewerpage.h"
#include "windowhard.h"
#include "windowmain.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

using namespace bench;

QTextStream out(stdout);

struct Bench {
    WindowMain *window = nullptr;
    QString smapsDir;     // --smaps DIR: each process's smaps at the memory figure, to see where it goes
    QList<double> m_pss;
    QList<double> m_built; // the synchronous part: viewer, window, players asked for their movies

    QStackedWidget *textbook() const { return window->sheetStack(WindowMain::Textbook); }
    WindowHard *top() const { return qobject_cast<WindowHard *>(textbook()->currentWidget()); }

    void start()
    {
        window = new WindowMain;
        window->resize(1400, 950);
        window->setupSheets();
        window->show();
        installWatcher(FlashEngine::instance()->profile());
        window->removeWidgetInSheet(textbook()->currentWidget()); // the contents
        auto *sheet = qobject_cast<SheetTextbook *>(textbook()->widget(0));
        waitUntil([sheet] { return !sheet->pageView()->player()->movie().isEmpty(); }, 10000);
        waitUntil([] { return FlashEngine::instance()->warmSpareCount() == FlashEngine::instance()->sparesKept(); }, 60000);
        settle(1500);
    }

    QHash<QString, QSize> m_movies;   // every movie of the materials opened, at its size

    // Milliseconds from the request to open until every movie of the material has drawn
    // (or shows the picture of its first frame). Unless `rightAfter`, the spares are warm
    // and the machine quiet first.
    double open(const QString &id, bool rightAfter = false)
    {
        if (!rightAfter) {
            waitUntil([] { return FlashEngine::instance()->warmSpareCount() == FlashEngine::instance()->sparesKept(); }, 60000);
            settle(500);
        }
        const double t0 = now();
        window->createWidgetInSheet(id);
        m_built << now() - t0;
        // A kept picture shows from Qt over the player, or from the page: whichever is first.
        const QList<ViewerFlash *> movies = top()->findChildren<ViewerFlash *>();
        QHash<FlashPlayer *, double> pictured;
        QList<QMetaObject::Connection> watching;
        for (ViewerFlash *movie : movies) {
            FlashPlayer *player = movie->player();
            watching << QObject::connect(player, &FlashPlayer::pictureShown, player, [&pictured, player] {
                if (!pictured.contains(player))
                    pictured.insert(player, now());
            });
        }
        double last = 0;
        for (ViewerFlash *movie : movies) {
            FlashPlayer *player = movie->player();
            QWebEnginePage *page = pageOf(player);
            arm(page, QColor(), true);
            double shown = pictured.contains(player) ? pictured.value(player) - t0 : waitShown(page, t0, 30000);
            if (pictured.contains(player))
                shown = qMin(shown, pictured.value(player) - t0);
            last = qMax(last, shown);
            m_movies.insert(player->movie(), player->size());
        }
        for (const QMetaObject::Connection &c : watching)
            QObject::disconnect(c);
        return last;
    }

    static void forgetPictures()
    {
        QDir(FirstFramePictures::defaultRoot()).removeRecursively();
    }

    void close()
    {
        window->removeWidgetInSheet(top());
        settle(1000);
    }

    const QStringList materials{"con_01_slog", "ani_01_rech", "slv_02_bukva_n"};
    const QStringList described{"one movie (con_01_slog)", "one movie (ani_01_rech, a cartoon)",
                                "both movies, two movies and a picture (slv_02_bukva_n)"};

    void opening()
    {
        const bool kept = QDir(FirstFramePictures::defaultRoot()).exists();
        out << "  first opening in this process, " << (kept ? "pictures kept by an earlier run" : "no pictures kept")
            << ":\n";
        for (int m = 0; m < materials.size(); ++m) {
            out << "    " << described[m] << ": " << qRound(open(materials[m])) << " ms\n";
            close();
        }
        QList<QList<double>> pictured(materials.size()), drawn(materials.size());
        for (int i = 0; i < 5; ++i) {
            for (int m = 0; m < materials.size(); ++m) {
                pictured[m] << open(materials[m]);
                close();
            }
        }
        for (int i = 0; i < 3; ++i) {
            for (int m = 0; m < materials.size(); ++m) {
                forgetPictures();
                drawn[m] << open(materials[m]);
                close();
            }
        }
        for (int m = 0; m < materials.size(); ++m) {
            out << "  open -> first frame, " << described[m] << ", warm spare: picture kept " << range(pictured[m])
                << "; none kept " << range(drawn[m]) << '\n';
        }
        out << "    of which building the window (every material): " << range(m_built) << '\n';
        // Both spares warm, then two materials one after the other (the second on the other spare).
        // The openings without pictures above forgot them all: the two are shown once to make theirs.
        for (const char *id : {"con_01_slog", "ani_01_rech"}) {
            open(id);
            close();
        }
        QList<double> second;
        for (int i = 0; i < 3; ++i) {
            open("con_01_slog");
            second << open("ani_01_rech", true);
            close();
            close();
        }
        out << "  open -> first frame, ani_01_rech right after con_01_slog has shown, picture kept: " << range(second)
            << '\n';
    }

    // The same movies' first frames in a bare Ruffle page of the same size: load() on its
    // live player, which is what the content costs Ruffle.
    void barePage()
    {
        BarePage bare;
        const QStringList movies = m_movies.keys();
        bare.open(QStringLiteral("data/templates/testContener.swf"), m_movies.value(movies.value(0)));
        for (const QString &movie : movies) {
            QList<double> turns;
            for (int i = 0; i < 3; ++i) {
                bare.turn(QStringLiteral("data/templates/testContener.swf"));
                turns << bare.turn(movie);
            }
            out << "  bare Ruffle page, load() -> first frame, " << QDir::current().relativeFilePath(movie) << ": "
                << range(turns) << '\n';
        }
    }

    void memory()
    {
        open("slv_02_bukva_n");
        const double opened = now();
        waitUntil([] { return FlashEngine::instance()->warmSpareCount() == FlashEngine::instance()->sparesKept(); }, 60000);
        out << "  two-movie material shown -> both spares warm again, the material playing: " << qRound(now() - opened)
            << " ms\n";
        // The pages collect what replaced instances left 3 s after things are quiet.
        settle(6000);
        QStringList parts;
        const double withoutPage = pssMegabytes(&parts);
        m_pss << withoutPage;
        dumpSmaps();
        out << "  PSS, textbook + two-movie material + " << FlashEngine::instance()->sparesKept() << " spares: " << QString::number(withoutPage, 'f', 0) << " MB ("
            << parts.join(", ") << ")\n";
        window->createWidgetInSheet("wrk_01_shemy");
        settle(4000);
        parts.clear();
        const double withPage = pssMegabytes(&parts);
        out << "  PSS, textbook + two-movie material + workbook web page + spares: " << QString::number(withPage, 'f', 0)
            << " MB (" << parts.join(", ") << "); the web page costs " << QString::number(withPage - withoutPage, 'f', 0)
            << " MB\n";
        close();
        close();
    }

    void dumpSmaps() const
    {
        if (smapsDir.isEmpty())
            return;
        QDir().mkpath(smapsDir);
        for (int pid : processTree()) {
            QFile in(QStringLiteral("/proc/%1/smaps").arg(pid));
            QFile cmd(QStringLiteral("/proc/%1/cmdline").arg(pid));
            QFile copy(QDir(smapsDir).filePath(QString::number(pid)));
            if (!in.open(QIODevice::ReadOnly) || !cmd.open(QIODevice::ReadOnly) || !copy.open(QIODevice::WriteOnly))
                continue;
            copy.write(cmd.readAll().replace('\0', ' ') + "\n" + in.readAll());
        }
    }

    void markToDisk()
    {
        QList<double> times;
        for (int i = 0; i < 20; ++i) {
            QElapsedTimer clock;
            clock.start();
            markbookModel->saveTestResult("con_01_slog", QString::number(i / 20.0), QString("%1/20").arg(i));
            times << clock.nsecsElapsed() / 1e6;
        }
        out << "  mark reported -> markbook.xml replaced on disk (demo markbook, 6 tests): " << range(times) << '\n';
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (app.arguments().contains(QStringLiteral("--fresh")))
        Bench::forgetPictures();
    // The same pupil every run (her folder's name reaches the movies): pictures kept by an
    // earlier run are hers.
    QTemporaryDir pupil;
    QDir(pupil.path()).mkdir(QStringLiteral("pupil"));
    pupilDir = QDir(pupil.filePath(QStringLiteral("pupil")));
    fillGroupTables();
    const QStringList args = app.arguments();
    Bench bench;
    bench.smapsDir = args.value(args.indexOf(QStringLiteral("--smaps")) + 1);
    if (!args.contains(QStringLiteral("--smaps")))
        bench.smapsDir.clear();
    // --memory N: only the memory figure, N times over (the textbook, a two-movie material
    // opened and closed again each time), with the median.
    const int memoryRuns = args.contains(QStringLiteral("--memory"))
                               ? qMax(1, args.value(args.indexOf(QStringLiteral("--memory")) + 1).toInt())
                               : 0;
    bench.start();
    out << "materialbench (demo course, main window 1400 x 950)\n";
    if (memoryRuns > 0) {
        for (int i = 0; i < memoryRuns; ++i)
            bench.memory();
        out << "  PSS, textbook + two-movie material + spares: " << range(bench.m_pss).replace(" ms", " MB") << '\n';
        out.flush();
        delete bench.window;
        return 0;
    }
    bench.opening();
    bench.barePage();
    bench.memory();
    bench.markToDisk();
    out.flush();
    delete bench.window;
    return 0;
}
