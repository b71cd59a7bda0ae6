// Calls between a movie and the host, with answers, in one visible player:
//   movie -> host -> movie: a loop in the movie asks the host 1,000 times; the host answers
//                           each with SetReturnValue (time between two asks, and the total);
//   host -> movie -> host:  CallFunction of a callback that returns its argument (200 calls);
//   a flooding movie:       while a movie calls the host 250 times a second, and then as often
//                           as it can, how long a posted event and a real click (xdotool, on a
//                           button beside the player) wait before the window handles them.
// Run from the build folder under an X server: xvfb-run -a ./bench/callbench

#include "benchsupport.h"
#include "flashinvoke.h"
#include "flashplayer.h"
#include "swfmovie.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

namespace {

constexpr int askCount = 1000;
constexpr int giveCount = 200;

// Callback "ask"(n): for i in 0..n-1, ExternalInterface.call("ping", i); then "done".
// Callback "give"(v): returns v. Then "ready".
QByteArray callingMovie()
{
    SwfMovie movie(QSize(400, 300), 24);
    SwfActions loop;
    loop.push(0).storeRegister(2).op(SwfActions::Pop)
        .label(QStringLiteral("next"))
        .pushRegister(2).pushRegister(1).op(SwfActions::Less2)
        .ifFalse(QStringLiteral("end"))
        .pushRegister(2).externalCall(QStringLiteral("ping"), 1).op(SwfActions::Pop)
        .pushRegister(2).op(SwfActions::Increment).storeRegister(2).op(SwfActions::Pop)
        .jump(QStringLiteral("next"))
        .label(QStringLiteral("end"))
        .externalCall(QStringLiteral("done"), 0).op(SwfActions::Pop);
    SwfActions actions;
    actions.defineFunction2(QString(), {QStringLiteral("count")}, 3, loop)
        .addExternalCallback(QStringLiteral("ask"))
        .op(SwfActions::Pop)
        .defineFunction2(QString(), {QStringLiteral("value")}, 2, SwfActions().pushRegister(1).op(SwfActions::Return))
        .addExternalCallback(QStringLiteral("give"))
        .op(SwfActions::Pop)
        .externalCall(QStringLiteral("ready"), 0)
        .op(SwfActions::Pop)
        .op(SwfActions::Stop);
    movie.doAction(actions);
    movie.showFrame();
    return movie.toBytes();
}

// Registers "send2flash" (which does nothing), then calls "tick" `perFrame` times on every
// frame, for ever (two frames that loop).
QByteArray floodingMovie(int perFrame, double frameRate)
{
    SwfMovie movie(QSize(400, 300), frameRate);
    SwfActions listen;
    listen.defineFunction2(QString(), {QStringLiteral("message")}, 2, SwfActions())
        .addExternalCallback(QStringLiteral("send2flash"))
        .op(SwfActions::Pop);
    movie.doAction(listen);
    SwfActions burst;
    for (int i = 0; i < perFrame; ++i)
        burst.push(i).externalCall(QStringLiteral("tick"), 1).op(SwfActions::Pop);
    for (int frame = 0; frame < 2; ++frame) {
        movie.doAction(burst);
        movie.showFrame();
    }
    return movie.toBytes();
}

// Events handled in the GUI thread, timed from when they were posted or clicked.
class Latency : public QObject
{
public:
    QList<double> posted;
    QList<double> clicks;

    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        posted.append(bench::now() - static_cast<Posted *>(event)->at);
        return true;
    }

    void post() { QCoreApplication::postEvent(this, new Posted); }
    void clickStarted() { m_clicksStarted.append(bench::now()); }
    void clicked()
    {
        if (!m_clicksStarted.isEmpty())
            clicks.append(bench::now() - m_clicksStarted.takeFirst());
    }
    void forgetClicks() { m_clicksStarted.clear(); }

private:
    struct Posted : QEvent
    {
        Posted() : QEvent(QEvent::User), at(bench::now()) {}
        double at;
    };
    QList<double> m_clicksStarted;
};

QString figures(const QList<double> &values)
{
    if (values.isEmpty())
        return QStringLiteral("none handled");
    return QStringLiteral("%1, worst %2 ms").arg(bench::range(values)).arg(*std::max_element(values.begin(), values.end()), 0, 'f', 0);
}

QString invoke(const QString &name, const QString &arguments)
{
    return QStringLiteral("<invoke name=\"%1\" returntype=\"xml\"><arguments>%2</arguments></invoke>").arg(name, arguments);
}

// A movie that never stops calling the host: the window must keep answering the pupil.
void measureFlood(const QTemporaryDir &folder)
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *player = new FlashPlayer(&window);
    player->setFixedSize(400, 300);
    auto *button = new QPushButton(QStringLiteral("click"), &window);
    button->setFixedHeight(60);
    layout->addWidget(player);
    layout->addWidget(button);
    window.move(0, 0);
    window.show();
    Latency latency;
    QObject::connect(button, &QPushButton::pressed, &latency, [&latency] { latency.clicked(); });
    int ticks = 0;
    bool relay = false;
    QObject::connect(player, &FlashPlayer::FlashCall, [&ticks, &relay, player](const QString &) {
        ++ticks;
        player->SetReturnValue(QStringLiteral("<true/>"));
        // As a material window relays a movie's message to the movies of its material.
        if (relay)
            QMetaObject::invokeMethod(player, [player] {
                player->CallFunction(QStringLiteral("<invoke name=\"send2flash\" returntype=\"xml\"><arguments>"
                                                    "<string>message</string></arguments></invoke>"));
            }, Qt::QueuedConnection);
    });
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));

    const auto measure = [&](const QString &what) {
        latency.posted.clear();
        latency.clicks.clear();
        latency.forgetClicks();
        const int ticksBefore = ticks;
        const double start = bench::now();
        for (int i = 0; i < 40; ++i) {
            latency.post();
            if (!xdotool.isEmpty() && i % 4 == 0) {
                const QPoint at = button->mapToGlobal(button->rect().center());
                latency.clickStarted();
                QProcess::startDetached(xdotool, {QStringLiteral("mousemove"), QString::number(at.x()),
                                                  QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")});
            }
            bench::settle(250);
        }
        const double seconds = (bench::now() - start) / 1000;
        const int calls = ticks - ticksBefore;
        bench::settle(2000);   // for late clicks
        std::printf("%s: the movie called %.0f times a second; posted event %s; click %s\n", qPrintable(what),
                    calls / seconds, qPrintable(figures(latency.posted)), qPrintable(figures(latency.clicks)));
    };

    measure(QStringLiteral("no movie"));
    const struct { const char *name; int perFrame; double rate; } floods[] = {
        {"flood-250.swf", 10, 25},
        {"flood-max.swf", 400, 25},
    };
    for (const auto &flood : floods) {
        const QString path = folder.filePath(QString::fromLatin1(flood.name));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(floodingMovie(flood.perFrame, flood.rate)) < 0)
            return;
        file.close();
        player->SetMovie(path);
        if (!bench::waitUntil([&ticks] { return ticks > 0; }, 30000)) {
            std::printf("the flooding movie did not start\n");
            return;
        }
        bench::settle(1000);
        relay = false;
        measure(QStringLiteral("a movie asking %1 times a second").arg(flood.perFrame * flood.rate));
        relay = true;
        measure(QStringLiteral("the same, each call relayed back to it (send2flash)"));
        relay = false;
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir folder(QDir::current().filePath(QStringLiteral("callbench-XXXXXX")));
    const QString moviePath = folder.filePath(QStringLiteral("calls.swf"));
    QFile file(moviePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(callingMovie()) < 0)
        return 1;
    file.close();

    QElapsedTimer clock;   // the epoch clock counts whole milliseconds; calls take about one
    clock.start();
    const auto now = [&clock] { return clock.nsecsElapsed() / 1e6; };
    FlashPlayer player;
    player.resize(400, 300);
    player.show();
    QList<double> asks;
    bool ready = false, done = false;
    QObject::connect(&player, &FlashPlayer::FlashCall, [&](const QString &request) {
        const FlashInvoke call = FlashInvoke::fromXml(request);
        if (call.name() == QLatin1String("ping")) {
            asks.append(now());
            player.SetReturnValue(QStringLiteral("<number>%1</number>").arg(asks.size()));
        } else if (call.name() == QLatin1String("ready")) {
            ready = true;
        } else if (call.name() == QLatin1String("done")) {
            done = true;
        }
    });
    player.SetMovie(moviePath);
    if (!bench::waitUntil([&] { return ready; }, 30000)) {
        std::printf("the movie did not start\n");
        return 1;
    }
    bench::settle(500);

    const double start = now();
    player.CallFunction(invoke(QStringLiteral("ask"), QStringLiteral("<number>%1</number>").arg(askCount)));
    bench::waitUntil([&] { return done; }, 60000);
    const double total = now() - start;
    QList<double> gaps;
    for (int i = 1; i < asks.size(); ++i)
        gaps.append(asks[i] - asks[i - 1]);
    std::printf("movie -> host -> movie with an answer: %d calls, median %.2f ms, worst %.2f ms; %d in a row %.0f ms\n",
                int(asks.size()), bench::median(gaps), gaps.isEmpty() ? 0.0 : *std::max_element(gaps.begin(), gaps.end()),
                askCount, total);

    QList<double> gives;
    int wrong = 0;
    for (int i = 0; i < giveCount; ++i) {
        const QString value = QStringLiteral("<string>%1</string>").arg(i);
        const double before = now();
        if (player.CallFunction(invoke(QStringLiteral("give"), value)) != value)
            ++wrong;
        gives.append(now() - before);
    }
    std::printf("host -> movie -> host (CallFunction result): %d calls, median %.2f ms, worst %.2f ms, %d without the answer\n",
                giveCount, bench::median(gives), *std::max_element(gives.begin(), gives.end()), wrong);

    measureFlood(folder);
    return 0;
}
