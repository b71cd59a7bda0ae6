// Calls between a movie and the host, with answers, in one visible player:
//   movie -> host -> movie: a loop in the movie asks the host 1,000 times; the host answers
//                           each with SetReturnValue (time between two asks, and the total);
//   host -> movie -> host:  CallFunction of a callback that returns its argument (200 calls).
// Run from the build folder under an X server: xvfb-run -a ./bench/callbench

#include "benchsupport.h"
#include "flashinvoke.h"
#include "flashplayer.h"
#include "swfmovie.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
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

QString invoke(const QString &name, const QString &arguments)
{
    return QStringLiteral("<invoke name=\"%1\" returntype=\"xml\"><arguments>%2</arguments></invoke>").arg(name, arguments);
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
    return 0;
}
