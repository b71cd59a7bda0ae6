// The textbook under a pupil's hands, on the demo course: next-page presses and a burst of 50
// rapid turns. Run from the build folder under an X server:
//   xvfb-run -a ./bench/textbookbench
// "loaded" is Ruffle's metadata event for the new page (its first frame follows within a frame
// or two); flashbench measures first pixels against a bare Ruffle page.
#include "environment.h"
#include "flashplayer.h"
#include "sheettextbook.h"
#include "shellslider.h"
#include "viewerpage.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <cstdio>

// PSS of this process and all its descendants (the web engine's processes), in MB.
static double treePssMb()
{
    QList<int> pids{int(QCoreApplication::applicationPid())};
    for (int i = 0; i < pids.size(); ++i) {
        for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
            if (!stat.open(QIODevice::ReadOnly))
                continue;
            const QByteArray s = stat.readAll();
            const QList<QByteArray> f = s.mid(s.lastIndexOf(')') + 2).split(' ');
            if (f.value(1).toInt() == pids[i] && !pids.contains(entry.toInt()))
                pids << entry.toInt();
        }
    }
    double kb = 0;
    for (int pid : pids) {
        QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
        if (!rollup.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : rollup.readAll().split('\n'))
            if (line.startsWith("Pss:"))
                kb += line.mid(4).trimmed().split(' ').value(0).toDouble();
    }
    return kb / 1024.0;
}

static bool waitLoaded(QSignalSpy &spy, const QString &path, int ms = 10000)
{
    return QTest::qWaitFor([&] {
        return std::any_of(spy.cbegin(), spy.cend(), [&](const QList<QVariant> &a) { return a.value(0).toString() == path; });
    }, ms);
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (pageList().size() < 2) {
        std::fprintf(stderr, "textbookbench: run it from the build folder (no page movies in data/textbook)\n");
        return 1;
    }
    SheetTextbook sheet;
    sheet.resize(1200, 760);
    FlashPlayer *player = sheet.pageView()->player();
    ShellSlider *slider = sheet.slider();
    QPushButton *next = sheet.findChild<QPushButton *>(QStringLiteral("button_next"));
    QPushButton *prev = sheet.findChild<QPushButton *>(QStringLiteral("button_prev"));
    {
        QSignalSpy first(player, &FlashPlayer::movieLoaded);
        sheet.show();
        if (!waitLoaded(first, pageList().first(), 20000)) {
            std::fprintf(stderr, "textbookbench: the first page did not load\n");
            return 1;
        }
    }
    QTest::qWait(3000); // let the spare page be built first

    std::vector<double> turns;
    for (int i = 0; i < 20; ++i) {
        QPushButton *button = slider->value() == slider->maximum() ? prev : next;
        if (slider->value() > 0 && i % 12 >= 6)
            button = prev;
        QSignalSpy loaded(player, &FlashPlayer::movieLoaded);
        QElapsedTimer clock;
        clock.start();
        button->click();
        const QString page = slider->currentPagePath();
        if (waitLoaded(loaded, page))
            turns.push_back(clock.nsecsElapsed() / 1e6);
        QTest::qWait(300);
    }
    std::sort(turns.begin(), turns.end());
    std::printf("next/previous press -> new page loaded: median %.1f ms (min %.1f, max %.1f, n=%zu)\n",
                turns[turns.size() / 2], turns.front(), turns.back(), turns.size());

    QTest::qWait(2000);
    const double before = treePssMb();
    QSignalSpy loaded(player, &FlashPlayer::movieLoaded);
    for (int i = 0; i < 50; ++i) {
        (i % 20 < 12 ? next : prev)->click();
        QTest::qWait(10);
    }
    const QString expected = pageList().at(slider->value());
    const bool arrived = waitLoaded(loaded, expected);
    QTest::qWait(3000);
    const bool last = !loaded.isEmpty() && loaded.last().value(0).toString() == expected;
    const double after = treePssMb();
    std::printf("50 rapid turns: slider on page %d, shown %s (%s), last load %s\n", slider->value() + 1,
                qPrintable(QFileInfo(player->movie()).fileName()), arrived ? "loaded" : "NOT loaded",
                last ? "is that page" : "is ANOTHER page");
    std::printf("memory (PSS of the process tree): %.0f MB before, %.0f MB after (%+.1f %%)\n", before, after,
                (after - before) / before * 100.0);
    return 0;
}
