// materialbench: materials of the demo course as a pupil opens them in the main window.
// Run from the build folder (the installation folder) under an X server:
//     xvfb-run -a -s "-screen 0 1600x1000x24" ./bench/materialbench
// Prints: open -> first frame of every movie (one movie, then two movies and a picture),
// the memory of the process tree with the textbook and two materials open, and how long
// a reported mark takes to be on disk.

#include "benchsupport.h"
#include "coursexml.h"
#include "environment.h"
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

    // Milliseconds from the request to open until every movie of the material has drawn.
    double open(const QString &id)
    {
        waitUntil([] { return FlashEngine::instance()->warmSpareCount() == FlashEngine::instance()->sparesKept(); }, 60000);
        settle(500);
        const double t0 = now();
        window->createWidgetInSheet(id);
        m_built << now() - t0;
        double last = 0;
        for (ViewerFlash *movie : top()->findChildren<ViewerFlash *>()) {
            QWebEnginePage *page = pageOf(movie->player());
            arm(page, QColor(), true);
            last = qMax(last, waitShown(page, t0, 30000));
        }
        return last;
    }

    void close()
    {
        window->removeWidgetInSheet(top());
        settle(300);
    }

    void opening()
    {
        QList<double> one, cartoon, two;
        for (int i = 0; i < 5; ++i) {
            one << open("con_01_slog");
            close();
            cartoon << open("ani_01_rech");
            close();
            two << open("slv_02_bukva_n");
            close();
        }
        out << "  open -> first frame, one movie (con_01_slog), warm spare: " << range(one) << '\n';
        out << "  open -> first frame, one movie (ani_01_rech, a cartoon), warm spare: " << range(cartoon) << '\n';
        out << "    of which building the window (every material): " << range(m_built) << '\n';
        out << "  open -> first frame of both movies, two movies and a picture (slv_02_bukva_n): " << range(two)
            << '\n';
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
    QTemporaryDir pupil;
    pupilDir = QDir(pupil.path());
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
    bench.memory();
    bench.markToDisk();
    out.flush();
    delete bench.window;
    return 0;
}
