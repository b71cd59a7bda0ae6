// Start of the shell to its first painted windows, as a pupil sees it: the themed main window and
// the sign-in window on top of it; then a new pupil's sign-in to the painted table of contents,
// the textbook's first page drawn under it, and the page on screen once the contents close.
// Run from the build folder under an X server:
//   xvfb-run -a ./bench/startupbench        (spawns itself 15 times and prints medians)
#include "benchsupport.h"
#include "environment.h"
#include "flashplayer.h"
#include "sheettextbook.h"
#include "shellstartup.h"
#include "viewerpage.h"
#include "windowauth.h"
#include "viewercontent.h"
#include "windowmain.h"

#include <QApplication>
#include <QWebEnginePage>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

// Milliseconds since the kernel started this process, so library loading counts too.
static double processAgeMs()
{
    QFile stat(QStringLiteral("/proc/self/stat")), uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray s = stat.readAll();
    const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble();
    const double up = uptime.readAll().split(' ').value(0).toDouble();
    return (up - startTicks / double(sysconf(_SC_CLK_TCK))) * 1000.0;
}

static bool hasPicture(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 1; y < 16; ++y) {
        for (int x = 1; x < 16; ++x)
            colours.insert(image.pixel(image.width() * x / 16, image.height() * y / 16));
    }
    return colours.size() >= 3;
}

class PaintProbe : public QObject
{
public:
    QElapsedTimer clock;
    double mainPainted = -1, signInPainted = -1, contentsPainted = -1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            if (mainPainted < 0 && qobject_cast<WindowMain *>(watched))
                mainPainted = clock.nsecsElapsed() / 1e6;
            if (signInPainted < 0 && qobject_cast<WindowAuth *>(watched))
                signInPainted = clock.nsecsElapsed() / 1e6;
            if (contentsPainted < 0 && qobject_cast<ViewerContent *>(watched))
                contentsPainted = clock.nsecsElapsed() / 1e6;
        }
        return false;
    }
};

static int runOnce(int argc, char **argv)
{
    PaintProbe probe;
    probe.clock.start();
    const double beforeMain = processAgeMs();
    QTemporaryDir pupils; // a new pupil every run
    qputenv("XDG_DATA_HOME", pupils.path().toUtf8());
    QApplication app(argc, argv);
    app.installEventFilter(&probe);
    ShellStartup::applyLook();
    ShellStartup::fillTables();
    WindowMain *window = ShellStartup::createMainWindow();
    auto *auth = new WindowAuth(window);
    ShellStartup::warmUpPlayerAfterPaint(auth);
    double accepted = -1;
    QObject::connect(auth, &QDialog::accepted, [&] {
        accepted = probe.clock.nsecsElapsed() / 1e6;
        window->setupSheets();
    });
    auth->open();
    // The time a pupil takes to type a name and a password.
    const int typingMs = qEnvironmentVariableIntValue("PELLORA_BENCH_TYPING_MS");
    QTimer poll;
    QEventLoop untilContents;
    bool signingIn = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!signingIn && probe.signInPainted >= 0 && probe.mainPainted >= 0
            && probe.clock.nsecsElapsed() / 1e6 > probe.signInPainted + typingMs) {
            signingIn = true;
            auth->findChild<QComboBox *>(QStringLiteral("uname"))->setEditText(QStringLiteral("Бенч"));
            auth->findChild<QLineEdit *>(QStringLiteral("lineedit_password"))->setText(QStringLiteral("1"));
            auth->findChild<QLineEdit *>(QStringLiteral("lineedit_confirm"))->setText(QStringLiteral("1"));
            auth->findChild<QPushButton *>(QStringLiteral("button_enter"))->click();
        }
        if (probe.contentsPainted >= 0 || probe.clock.elapsed() > 20000)
            untilContents.quit();
    });
    poll.start(1);
    // Not the application's loop: quitting that closes every window.
    untilContents.exec();
    poll.stop();

    // The pupil reads the contents a moment, then closes them.
    auto *textbook = qobject_cast<SheetTextbook *>(window->sheetStack(WindowMain::Textbook)->widget(0));
    double drawn = -1, onScreen = -1;
    if (textbook) {
        FlashPlayer *player = textbook->pageView()->player();
        QObject::connect(player, &FlashPlayer::movieShown, [&] {
            if (drawn < 0)
                drawn = probe.clock.nsecsElapsed() / 1e6 - accepted;
        });
        bench::waitUntil([&] { return drawn >= 0; }, 1000);
        const double t0 = bench::now();
        window->removeWidgetInSheet(window->sheetStack(WindowMain::Textbook)->currentWidget());
        // What Qt paints there: the page counts as shown once it has a picture of some colours
        // (the web engine hands Qt its frames; a page not drawn yet is one colour).
        if (bench::waitUntil([&] { return hasPicture(player->grab().toImage()); }, 10000))
            onScreen = bench::now() - t0;
        bench::waitUntil([&] { return drawn >= 0; }, 10000);
    }
    std::printf("%.1f %.1f %.1f %.1f %.1f\n", beforeMain + probe.mainPainted, beforeMain + probe.signInPainted,
                probe.contentsPainted - accepted, drawn, onScreen);
    delete window;
    return 0;
}

static double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--once") == 0)
        return runOnce(argc, argv);
    QCoreApplication app(argc, argv);
    const auto report = [](const char *what, std::vector<double> v) {
        std::printf("%s: median %.1f ms (min %.1f, max %.1f, n=%zu)\n", what, median(v), *std::min_element(v.begin(), v.end()),
                    *std::max_element(v.begin(), v.end()), v.size());
    };
    // Signed in at once, and after 3 s of typing (the engine starts once the window has painted).
    for (const int typingMs : {0, 3000}) {
        std::vector<double> mainTimes, signInTimes, contentsTimes, drawnTimes, onScreenTimes;
        for (int i = 0; i < (typingMs ? 5 : 15); ++i) {
            QProcess p;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("PELLORA_BENCH_TYPING_MS"), QString::number(typingMs));
            p.setProcessEnvironment(environment);
            p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--once")});
            p.waitForFinished(30000);
            const QList<QByteArray> f = p.readAllStandardOutput().trimmed().split(' ');
            if (f.size() == 5) {
                mainTimes.push_back(f[0].toDouble());
                signInTimes.push_back(f[1].toDouble());
                contentsTimes.push_back(f[2].toDouble());
                drawnTimes.push_back(f[3].toDouble());
                onScreenTimes.push_back(f[4].toDouble());
            }
        }
        if (mainTimes.empty())
            return 1;
        std::printf("signed in %d ms after the sign-in window painted:\n", typingMs);
        report("  process start -> main window painted", mainTimes);
        report("  process start -> sign-in window painted", signInTimes);
        report("  sign-in accepted -> table of contents painted", contentsTimes);
        report("  sign-in accepted -> textbook's first page drawn (-1: not while the contents are open)", drawnTimes);
        report("  contents closed (1 s after they painted, or once the page was drawn) -> page painted",
               onScreenTimes);
    }
    return 0;
}
