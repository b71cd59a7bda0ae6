#include "benchsupport.h"

#include "flashplayer.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>
#include <algorithm>
#include <unistd.h>

namespace bench {

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
// animation frame whose movie canvas shows the wanted pixel at its centre (or, without a
// wanted colour, in which a new page shows: a new canvas with pixels or the page's picture).
static const char *watcherScript = R"js(
window.benchWatch = function (target, anyPlayer) {
    document.title = "";
    function moviePlayer() {
        return document.querySelector("#stage > :not(.retired):not(.standby)") || document.querySelector("ruffle-player");
    }
    function movieCanvas() {
        const player = moviePlayer();
        return player && player.shadowRoot && player.shadowRoot.querySelector("canvas");
    }
    // Without a colour to wait for, only a new canvas counts (every Ruffle instance draws
    // into a canvas of its own, whether the page made a new player or reused one).
    const previous = target || anyPlayer ? null : movieCanvas();
    // A picture of the page, shown at once while its movie starts behind it, is shown too.
    const preview = document.getElementById("preview");
    const previewsBefore = preview ? Number(preview.dataset.shown || 0) : 0;
    function check() {
        if (!target && preview && preview.style.display === "block" && Number(preview.dataset.shown || 0) > previewsBefore) {
            document.title = "shown " + (performance.timeOrigin + performance.now());
            return;
        }
        const canvas = movieCanvas();
        if (canvas && canvas !== previous && canvas.width > 0) {
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
double waitShown(QWebEnginePage *page, double t0, int timeoutMs)
{
    double shown = -1;
    const auto read = [&](const QString &title) {
        if (title.startsWith(QLatin1String("shown ")))
            shown = title.mid(6).toDouble();
    };
    // A page shown from its picture may say so before the caller starts waiting.
    read(page->title());
    const QMetaObject::Connection c = QObject::connect(page, &QWebEnginePage::titleChanged, read);
    waitUntil([&] { return shown > 0; }, timeoutMs);
    QObject::disconnect(c);
    return shown > 0 ? shown - t0 : -1;
}

void arm(QWebEnginePage *page, const QColor &target, bool anyCanvas)
{
    bool armed = false;
    const QString rgb = target.isValid() ? QStringLiteral("[%1,%2,%3]").arg(target.red()).arg(target.green()).arg(target.blue())
                                         : QStringLiteral("null");
    // A page loaded before the watcher was installed gets it now.
    const QString define = QStringLiteral("if (!window.benchWatch) { %1 }").arg(QString::fromUtf8(watcherScript));
    page->runJavaScript(define + QStringLiteral("; window.benchWatch(%1, %2)").arg(rgb, anyCanvas ? "true" : "false"),
                        [&armed](const QVariant &) { armed = true; });
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

static QString processName(int pid)
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
                if (parts)
                    parts->append(QStringLiteral("%1 %2").arg(processName(pid)).arg(own / 1024.0, 0, 'f', 0));
            }
        }
    }
    return kb / 1024.0;
}

static QHash<int, double> ticksByProcess()
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

} // namespace bench
