// The textbook under a pupil's hands, on the demo course: next/previous presses and a burst of
// 50 rapid turns, next to a bare Ruffle page turning the same page movies. Run from the build
// folder under an X server:
//   xvfb-run -a -s "-screen 0 1600x1000x24" ./bench/textbookbench
// "Loaded" is Ruffle's metadata event for the new page as the player reports it; "shown" is the
// first animation frame in which the new page's canvas has pixels, timed from the press.
#include "barepage.h"
#include "benchsupport.h"
#include "environment.h"
#include "flashengine.h"
#include "flashplayer.h"
#include "sheettextbook.h"
#include "shellslider.h"
#include "viewerpage.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEnginePage>

#include <cstdio>

using namespace bench;

namespace {

bool loadedIn(const QSignalSpy &spy, const QString &path)
{
    return std::any_of(spy.cbegin(), spy.cend(), [&](const QList<QVariant> &a) { return a.value(0).toString() == path; });
}

struct Turns {
    QList<double> loaded;
    QList<double> shown;
};

// Twenty presses, forwards and back, each `pauseMs` after the previous page has shown.
Turns pressTurns(SheetTextbook &sheet, int pauseMs)
{
    FlashPlayer *player = sheet.pageView()->player();
    ShellSlider *slider = sheet.slider();
    auto *next = sheet.findChild<QPushButton *>(QStringLiteral("button_next"));
    auto *prev = sheet.findChild<QPushButton *>(QStringLiteral("button_prev"));
    Turns turns;
    for (int i = 0; i < 20; ++i) {
        QPushButton *button = slider->value() == slider->maximum() || (slider->value() > 0 && i % 12 >= 6) ? prev : next;
        QSignalSpy loaded(player, &FlashPlayer::movieLoaded);
        arm(pageOf(player));
        QElapsedTimer clock;
        clock.start();
        const double t0 = now();
        button->click();
        const QString page = slider->currentPagePath();
        if (waitUntil([&] { return loadedIn(loaded, page); }, 10000))
            turns.loaded.append(clock.nsecsElapsed() / 1e6);
        turns.shown.append(waitShown(pageOf(player), t0));
        settle(pauseMs);
    }
    return turns;
}

// Ten jumps with the slider to pages at least two double pages away (no picture ready).
QList<double> sliderJumps(SheetTextbook &sheet)
{
    FlashPlayer *player = sheet.pageView()->player();
    ShellSlider *slider = sheet.slider();
    const int pages = slider->maximum() + 1;
    QList<double> times;
    for (int i = 0; i < 10; ++i) {
        const int target = (slider->value() + 2 + (i * 3) % qMax(1, pages - 3)) % pages;
        if (qAbs(target - slider->value()) < 2)
            continue;
        arm(pageOf(player));
        const double t0 = now();
        slider->setValue(target);
        times.append(waitShown(pageOf(player), t0));
        settle(1000);
    }
    return times;
}

QList<double> barePageTurns(const QStringList &pages, QWidget *textbookWindow)
{
    textbookWindow->hide();
    QList<double> times;
    {
        BarePage bare;
        bare.open(pages.first(), textbookWindow->size());
        settle(1000);
        for (int i = 0; i < 20; ++i) {
            times.append(bare.turn(pages[(i + 1) % pages.size()]));
            settle(300);
        }
    }
    textbookWindow->show();
    return times;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList pages = pageList();
    if (pages.size() < 2) {
        std::fprintf(stderr, "textbookbench: run it from the build folder (no page movies in data/textbook)\n");
        return 1;
    }
    // The sheet reopens at the pupil's last page: a pupil of its own, on page one.
    QTemporaryDir pupil;
    pupilDir = QDir(pupil.path());
    installWatcher(FlashEngine::instance()->profile());
    SheetTextbook sheet;
    sheet.resize(1200, 760);
    FlashPlayer *player = sheet.pageView()->player();
    ShellSlider *slider = sheet.slider();
    {
        QSignalSpy first(player, &FlashPlayer::movieLoaded);
        sheet.show();
        if (!waitUntil([&] { return loadedIn(first, pages.first()); }, 20000)) {
            std::fprintf(stderr, "textbookbench: the first page did not load\n");
            return 1;
        }
    }
    // The spare pages compile Ruffle in the shared renderer; turns are measured after that.
    waitUntil([] { return FlashEngine::instance()->warmSpareCount() == FlashEngine::instance()->sparesKept(); }, 30000);
    settle(1000);

    // A reader looks at a page for seconds; 300 ms is a child tapping through.
    const Turns quick = pressTurns(sheet, 300);
    std::printf("presses 300 ms apart: press -> new page shown: %s\n", qPrintable(range(quick.shown)));
    const Turns turns = pressTurns(sheet, 1000);
    std::printf("presses 1 s apart:\n");
    std::printf("next/previous press -> new page loaded: %s\n", qPrintable(range(turns.loaded)));
    std::printf("next/previous press -> new page shown:  %s, worst %.0f ms\n", qPrintable(range(turns.shown)),
                *std::max_element(turns.shown.cbegin(), turns.shown.cend()));
    std::printf("slider jump (two or more double pages) -> new page shown: %s\n", qPrintable(range(sliderJumps(sheet))));
    const QList<double> bare = barePageTurns(pages, &sheet);
    std::printf("bare Ruffle page, load() -> shown, same movies, same size: %s\n", qPrintable(range(bare)));
    std::printf("ratio of the medians: %.2f\n", median(turns.shown) / median(bare));
    std::fflush(stdout);

    settle(3000);
    const double before = pssMegabytes();
    auto *next = sheet.findChild<QPushButton *>(QStringLiteral("button_next"));
    auto *prev = sheet.findChild<QPushButton *>(QStringLiteral("button_prev"));
    QSignalSpy loaded(player, &FlashPlayer::movieLoaded);
    QElapsedTimer burst;
    burst.start();
    for (int i = 0; i < 50; ++i) {
        (i % 20 < 12 ? next : prev)->click();
        settle(10);
    }
    const QString expected = pages.at(slider->value());
    const bool arrived = waitUntil([&] { return loadedIn(loaded, expected); }, 10000);
    const double settledMs = burst.nsecsElapsed() / 1e6;
    settle(4000);
    const bool last = !loaded.isEmpty() && loaded.last().value(0).toString() == expected;
    const double after = pssMegabytes();
    std::printf("50 rapid turns (one press per 10 ms): slider on page %d, %s %s %.0f ms after the first press; "
                "%d pages reported loaded on the way; the last of them %s\n",
                slider->value() + 1, qPrintable(QFileInfo(player->movie()).fileName()),
                arrived ? "loaded" : "NOT loaded", settledMs, int(loaded.size()),
                last ? "is that page" : "is ANOTHER page");
    std::printf("memory (PSS of the process tree): %.0f MB before, %.0f MB 4 s after (%+.1f %%)\n", before, after,
                (after - before) / before * 100.0);
    std::fflush(stdout);
    return 0;
}
