// Movies play in our player as they do in a bare page of the same Ruffle: each movie here
// traces what it sees, and its trace must be the same in a FlashPlayer (with every hook the
// player page adds: the first-frame clock, the quiet frames, the wasm loader, the storage of
// each pupil, the call bridge, the pictures of neighbouring pages) and in a page that loads
// Ruffle's ruffle.js over loopback HTTP and nothing else, in the same process.

#include "flashengine.h"
#include "flashinvoke.h"
#include "flashplayer.h"
#include "loopbackserver.h"
#include "swfmovie.h"
#include "waitfor.h"

#include <functional>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QFileInfo>
#include <QUuid>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QtTest>

namespace {

const QString endLine = QStringLiteral("end");

// trace(label + " " + typeof v + " " + v) of the value on the stack.
SwfActions &traceValue(SwfActions &actions, const QString &label)
{
    return actions.storeRegister(0)
        .op(SwfActions::Pop)
        .push(label + QLatin1Char(' '))
        .pushRegister(0)
        .op(SwfActions::TypeOf)
        .op(SwfActions::Add2)
        .push(" ")
        .op(SwfActions::Add2)
        .pushRegister(0)
        .op(SwfActions::Add2)
        .op(SwfActions::Trace);
}

SwfActions &traceEnd(SwfActions &actions)
{
    return actions.push(endLine).op(SwfActions::Trace).op(SwfActions::Stop);
}

// setInterval(function () { trace(label); clearInterval(name); }, 375): fires once.
SwfActions &startTimer(SwfActions &actions, const QString &name, const QString &label)
{
    SwfActions tick;
    tick.push(label).op(SwfActions::Trace).getVariable(name).callFunction(QStringLiteral("clearInterval"), 1)
        .op(SwfActions::Pop);
    return actions.push(375).defineFunction2(QString(), {}, 1, tick).callFunction(QStringLiteral("setInterval"), 2)
        .setVariable(name);
}

// Something to draw: a box over the middle of the stage, so that the first frame shows.
void placeBox(SwfMovie &movie, const QColor &colour)
{
    SwfShape shape;
    shape.addRect(QRectF(100, 75, 200, 150), shape.addSolidFill(colour));
    movie.placeObject(movie.defineShape(shape), 1);
}

// Four frames a second, six frames, each tracing its number and how many enterFrame events
// came before it. Frames 1 to 4 each start a timer that fires once, one and a half frames
// later (half-way between two frames, and before the last).
QByteArray clockMovie()
{
    SwfMovie movie(QSize(400, 300), 4);
    placeBox(movie, Qt::darkGreen);
    SwfActions first;
    first.push("entered").push(0).op(SwfActions::SetVariable);
    first.pushPath(QStringLiteral("_root"))
        .push("onEnterFrame")
        .defineFunction2(QString(), {}, 1,
                         SwfActions().push("entered").push("entered").op(SwfActions::GetVariable)
                             .op(SwfActions::Increment).op(SwfActions::SetVariable))
        .op(SwfActions::SetMember);
    first.pushPath(QStringLiteral("flash.external.ExternalInterface")).getMember(QStringLiteral("available"));
    traceValue(first, QStringLiteral("available"));
    for (int frame = 1; frame <= 6; ++frame) {
        SwfActions actions = frame == 1 ? first : SwfActions();
        if (frame <= 4)
            startTimer(actions, QStringLiteral("timer%1").arg(frame), QStringLiteral("tick set in frame %1").arg(frame));
        actions.push("frame ").getVariable(QStringLiteral("_currentframe")).op(SwfActions::Add2)
            .push(" after ").op(SwfActions::Add2).getVariable(QStringLiteral("entered")).op(SwfActions::Add2)
            .op(SwfActions::Trace);
        if (frame == 6)
            traceEnd(actions);
        movie.doAction(actions);
        movie.showFrame();
    }
    return movie.toBytes();
}

// so = SharedObject.getLocal(_root.key): traces what the last run left in it, writes values
// of every kind, flushes.
QByteArray storingMovie()
{
    SwfMovie movie(QSize(400, 300), 12);
    placeBox(movie, Qt::darkBlue);
    SwfActions actions;
    actions.getVariable(QStringLiteral("key")).callMethod(QStringLiteral("SharedObject"), QStringLiteral("getLocal"), 1)
        .setVariable(QStringLiteral("so"));
    const auto data = [&] { return &actions.getVariable(QStringLiteral("so")).getMember(QStringLiteral("data")); };
    for (const char *member : {"n", "s", "e", "b", "a"})
        traceValue(data()->getMember(QString::fromLatin1(member)), QStringLiteral("read ") + QLatin1String(member));
    traceValue(data()->getMember(QStringLiteral("o")).getMember(QStringLiteral("x")), QStringLiteral("read o.x"));
    data()->push(2.5).setMember(QStringLiteral("n"));
    data()->push("Ёж & <b>").setMember(QStringLiteral("s"));
    data()->push("").setMember(QStringLiteral("e"));
    data()->push(true).setMember(QStringLiteral("b"));
    data()->push("два").push(1).initArray(2).setMember(QStringLiteral("a"));
    data()->push("x").push(-3).push(1).op(SwfActions::InitObject).setMember(QStringLiteral("o"));
    actions.getVariable(QStringLiteral("so")).callMethodOnStack(QStringLiteral("flush"), 0);
    traceValue(actions, QStringLiteral("flushed"));
    traceEnd(actions);
    movie.doAction(actions);
    movie.showFrame();
    return movie.toBytes();
}

// Registers "poke" (traces its argument, returns "back:" + it), then traces the host's
// answer to "answer" for values of every kind.
QByteArray askingMovie()
{
    SwfMovie movie(QSize(400, 300), 12);
    SwfActions poke;
    poke.pushRegister(1);
    traceValue(poke, QStringLiteral("poked"));
    poke.push("back:").pushRegister(1).op(SwfActions::Add2).op(SwfActions::Return);
    SwfActions actions;
    actions.defineFunction2(QString(), {QStringLiteral("value")}, 2, poke).addExternalCallback(QStringLiteral("poke"));
    traceValue(actions, QStringLiteral("added"));
    const QList<std::function<void(SwfActions &)>> values = {
        [](SwfActions &a) { a.push("Привет <&> \"'"); },
        [](SwfActions &a) { a.push(""); },
        [](SwfActions &a) { a.push(" "); },
        [](SwfActions &a) { a.push(2.5); },
        [](SwfActions &a) { a.push(-0.1); },
        [](SwfActions &a) { a.push(true); },
        [](SwfActions &a) { a.pushNull(); },
        [](SwfActions &a) { a.pushUndefined(); },
        [](SwfActions &a) { a.push("два").push(1).initArray(2); },
    };
    for (const auto &value : values) {
        value(actions);
        traceValue(actions.externalCall(QStringLiteral("answer"), 1), QStringLiteral("answer"));
    }
    actions.push("k").push("v").push(1).op(SwfActions::InitObject).externalCall(QStringLiteral("answer"), 1)
        .getMember(QStringLiteral("k"));
    traceValue(actions, QStringLiteral("answer .k"));
    traceEnd(actions);
    movie.doAction(actions);
    movie.showFrame();
    return movie.toBytes();
}

// Ruffle embedded as its own documentation shows, with script access for ExternalInterface,
// and the host functions our test's FlashCall handler offers, answering as it answers.
const char barePageText[] = R"html(<!DOCTYPE html><html><head><meta charset="utf-8">
<style>html,body{margin:0;height:100%;overflow:hidden} #stage{position:fixed;inset:0} #stage>*{width:100%;height:100%;display:block}</style>
<script>window.RufflePlayer = {config: {polyfills: false}};</script><script src="/ruffle/ruffle.js"></script></head>
<body><div id="stage"></div><script>
window.answer = function (value) { return value; };
let player = null;
let traces = [];
function play(url, vars) {
  if (player)
    player.remove();
  const mine = [];
  traces = mine;
  player = window.RufflePlayer.newest().createPlayer();
  document.getElementById("stage").appendChild(player);
  player.ruffle().load({url: url, parameters: vars, allowScriptAccess: true, autoplay: "on",
                        unmuteOverlay: "hidden", splashScreen: false}).then(function () {
    player.ruffle().traceObserver = function (message) { mine.push(String(message)); };
  });
  return true;
}
</script></body></html>)html";

class BarePage
{
public:
    BarePage()
        : m_server(QDir::currentPath()), m_profile(new QWebEngineProfile), m_view(new QWebEngineView)
    {
        m_server.barePage = barePageText;
        m_profile->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
        m_view->setPage(new QWebEnginePage(m_profile, m_view));
        m_view->resize(400, 300);
        m_view->show();
    }

    ~BarePage()
    {
        delete m_view;
        delete m_profile;
    }

    bool open()
    {
        QSignalSpy loaded(m_view, &QWebEngineView::loadFinished);
        m_view->load(QUrl(m_server.url(QStringLiteral("bare.html"))));
        return waitFor([&] { return !loaded.isEmpty(); }) && loaded.first().first().toBool();
    }

    // The trace of `movie` until it says "end".
    QStringList play(const QString &movie, const QString &vars = QString())
    {
        run(QStringLiteral("play(%1, %2)").arg(quoted(m_server.url(QDir::current().relativeFilePath(movie))), quoted(vars)));
        return tracesUntil(endLine);
    }

    // Until a line starts with `last`.
    QStringList tracesUntil(const QString &last)
    {
        QStringList lines;
        waitFor([&] {
            lines = run(QStringLiteral("traces")).toStringList();
            return std::any_of(lines.cbegin(), lines.cend(), [&](const QString &line) { return line.startsWith(last); });
        });
        return lines;
    }

    QVariant run(const QString &script)
    {
        QVariant result;
        bool done = false;
        m_view->page()->runJavaScript(script, [&](const QVariant &value) {
            result = value;
            done = true;
        });
        waitFor([&] { return done; });
        return result;
    }

    static QString quoted(const QString &text)
    {
        return QLatin1Char('"') + QString(text).replace(QLatin1Char('\\'), QLatin1String("\\\\"))
                                      .replace(QLatin1Char('"'), QLatin1String("\\\"")) + QLatin1Char('"');
    }

private:
    LoopbackServer m_server;
    QWebEngineProfile *m_profile;
    QWebEngineView *m_view;
};

QString invoke(const QString &name, const QString &arguments)
{
    return QStringLiteral("<invoke name=\"%1\" returntype=\"xml\"><arguments>%2</arguments></invoke>").arg(name, arguments);
}

} // namespace

class TestFlashBare : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void framesAndTimersRunAsInABarePage();
    void localDataReadsBackAsInABarePage();
    void callsAreAnsweredAsInABarePage();

private:
    QString write(const QString &name, const QByteArray &bytes);
    QStringList play(const QString &movie, const QString &vars = QString());
    QStringList tracesUntil(const QString &last);
    QVariant runInPlayer(const QString &script);

    QScopedPointer<QTemporaryDir> m_folder;
    QScopedPointer<BarePage> m_bare;
    QScopedPointer<FlashPlayer> m_player;
    QScopedPointer<QSignalSpy> m_messages;
};

void TestFlashBare::initTestCase()
{
    qputenv("PELLORA_FLASH_TRACE", "1");
    QVERIFY(QDir::setCurrent(QStringLiteral(INSTALLATION_FOLDER)));
    m_folder.reset(new QTemporaryDir(QDir::current().filePath(QStringLiteral("flashbare-XXXXXX"))));
    QVERIFY(m_folder->isValid());
    m_bare.reset(new BarePage);
    QVERIFY(m_bare->open());
    m_player.reset(new FlashPlayer);
    m_player->setFixedSize(400, 300);
    m_player->move(420, 0);
    m_player->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_player.data()));
    QVERIFY(m_player->isPlaying());
    m_messages.reset(new QSignalSpy(m_player.data(), &FlashPlayer::movieMessage));
    // Our host answers "answer" with what it was given, as the bare page's function does.
    connect(m_player.data(), &FlashPlayer::FlashCall, this, [this](const QString &request) {
        const FlashInvoke call = FlashInvoke::fromXml(request);
        if (call.name() == QLatin1String("answer"))
            m_player->SetReturnValue(FlashInvoke::valueToXml(call.arguments().at(0)));
    });
}

void TestFlashBare::cleanupTestCase()
{
    m_messages.reset();
    m_player.reset();
    m_bare.reset();
}

QString TestFlashBare::write(const QString &name, const QByteArray &bytes)
{
    const QString path = m_folder->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

QStringList TestFlashBare::tracesUntil(const QString &last)
{
    QStringList lines;
    waitFor([&] {
        lines.clear();
        for (const QList<QVariant> &message : std::as_const(*m_messages)) {
            if (message.at(0).toString() == QLatin1String("trace"))
                lines << message.at(1).toString();
        }
        return std::any_of(lines.cbegin(), lines.cend(), [&](const QString &line) { return line.startsWith(last); });
    });
    return lines;
}

QStringList TestFlashBare::play(const QString &movie, const QString &vars)
{
    m_messages->clear();
    m_player->SetFlashVars(vars);
    m_player->SetMovie(QString());
    m_player->SetMovie(movie);
    return tracesUntil(endLine);
}

QVariant TestFlashBare::runInPlayer(const QString &script)
{
    QVariant result;
    bool done = false;
    m_player->findChild<QWebEngineView *>()->page()->runJavaScript(script, [&](const QVariant &value) {
        result = value;
        done = true;
    });
    waitFor([&] { return done; });
    return result;
}

void TestFlashBare::framesAndTimersRunAsInABarePage()
{
    // Our page runs the first frame at once and slows its animation frames down while a held
    // movie waits: neither may change which frames run, in what order, with which timers.
    // Each timer fires half a frame away from the nearest frame; a machine busy for longer
    // than that moves it across a frame in either player, so a run whose traces differ is
    // played again, both sides, before it counts.
    const QString movie = write(QStringLiteral("clock.swf"), clockMovie());
    const auto compare = [&](const std::function<QStringList()> &playOurs) {
        QStringList bare, ours;
        for (int attempt = 0; attempt < 3 && (attempt == 0 || ours != bare); ++attempt) {
            bare = m_bare->play(movie);
            ours = playOurs();
        }
        QCOMPARE(bare.last(), endLine);
        QCOMPARE(ours, bare);
    };
    compare([&] { return play(movie); });
    if (QTest::currentTestFailed())
        return;

    compare([&] {
        m_messages->clear();
        m_player->setHeld(true);
        m_player->SetMovie(QString());
        m_player->SetMovie(movie);
        // A held page that shows its movie is quiet: its animation frames are put off.
        const bool quiet = waitFor([&] { return runInPlayer(QStringLiteral("requestAnimationFrame(function () {}) < 0")).toBool(); });
        m_player->setHeld(false);
        return quiet ? tracesUntil(endLine) : QStringList{QStringLiteral("the held page never went quiet")};
    });
    if (QTest::currentTestFailed())
        return;

    // The next page is painted while the movie plays: the painter's first frame is hurried,
    // the shown movie's clock must not be.
    compare([&] {
        const QString next = write(QUuid::createUuid().toString(QUuid::Id128) + QStringLiteral(".swf"), clockMovie());
        m_player->setNeighbourMovies({next});
        const QStringList lines = play(movie);
        const bool painted = runInPlayer(QStringLiteral("PelloraPlayer.hasPreview(PelloraPlayer.state.movieUrl.replace(/[^/]*$/, '%1'))")
                                             .arg(QFileInfo(next).fileName()))
                                 .toBool();
        m_player->setNeighbourMovies({});
        return painted ? lines : QStringList{QStringLiteral("the next page was not painted while the movie played")};
    });
}

void TestFlashBare::localDataReadsBackAsInABarePage()
{
    // Each pupil's data lives under a prefix of the page's local storage, and a later run of
    // the same movie (from the instance built ahead, here) reads back what the first wrote.
    FlashEngine::instance()->setStorageSpace(QStringLiteral("Аня"));
    const QString movie = write(QStringLiteral("storing.swf"), storingMovie());
    const QString vars = QStringLiteral("key=") + QUuid::createUuid().toString(QUuid::Id128);
    const QStringList bareFirst = m_bare->play(movie, vars);
    const QStringList bareAgain = m_bare->play(movie, vars);
    QVERIFY(bareFirst != bareAgain);
    QCOMPARE(play(movie, vars), bareFirst);
    QCOMPARE(play(movie, vars), bareAgain);

    // A neighbouring page is painted ahead by an instance of its own, which runs the movie's
    // first frame: that must leave the movie's data as it was when the movie is then shown.
    const QString other = QStringLiteral("key=") + QUuid::createUuid().toString(QUuid::Id128);
    play(write(QStringLiteral("clock-too.swf"), clockMovie()), other);
    m_player->setNeighbourMovies({movie});
    QVERIFY(waitFor([&] {
        return runInPlayer(QStringLiteral("PelloraPlayer.hasPreview(PelloraPlayer.state.movieUrl.replace(/[^/]*$/, 'storing.swf'))"))
            .toBool();
    }));
    m_messages->clear();
    m_player->SetMovie(movie);
    const QStringList shown = tracesUntil(endLine);
    FlashEngine::instance()->setStorageSpace(QString());
    QCOMPARE(shown, bareFirst);
}

void TestFlashBare::callsAreAnsweredAsInABarePage()
{
    QStringList movies = {write(QStringLiteral("asking.swf"), askingMovie())};
#ifdef AS3_MOVIES
    QFile seer(QStringLiteral(AS3_MOVIES "/seer.swf"));
    QVERIFY(seer.open(QIODevice::ReadOnly));
    movies << write(QStringLiteral("seer.swf"), seer.readAll());
#else
    qWarning("haxe was not installed when this was built: ActionScript 3 movies are not compared");
#endif
    for (const QString &movie : std::as_const(movies)) {
        // The movie's trace up to its callback's, then what the callback returned to the host.
        const QString vars = QStringLiteral("key=") + QUuid::createUuid().toString(QUuid::Id128);
        m_bare->play(movie, vars);
        const QString bareGot =
            m_bare->run(QStringLiteral("player.ruffle().callExternalInterface('poke', 'из хоста')")).toString();
        QStringList bare = m_bare->tracesUntil(QStringLiteral("poked"));
        bare << bareGot;

        play(movie, vars);
        const QJsonValue ourGot = FlashInvoke::valueFromXml(
            m_player->CallFunction(invoke(QStringLiteral("poke"), QStringLiteral("<string>из хоста</string>"))));
        QStringList ours = tracesUntil(QStringLiteral("poked"));
        ours << ourGot.toArray().at(1).toString();
        QCOMPARE(ours, bare);
    }
}

QTEST_MAIN(TestFlashBare)
#include "tst_flashbare.moc"
