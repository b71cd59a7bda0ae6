// The player with real movies playing in Ruffle. One player (one web page) serves most
// cases, as a page view does: each case sets a new movie on it.

#include "waitfor.h"
#include "firstframecover.h"
#include "firstframepictures.h"
#include "flashengine.h"
#include "flashpage.h"
#include "flashplayer.h"
#include "flashvars.h"
#include "pagemoviebuilder.h"
#include "pagesources.h"
#include "testmovies.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

namespace {

const QSize stage(400, 300);

QString invoke(const QString &name, const QString &arguments)
{
    return QStringLiteral("<invoke name=\"%1\" returntype=\"xml\"><arguments>%2</arguments></invoke>").arg(name, arguments);
}

QStringList texts(const QSignalSpy &spy)
{
    QStringList result;
    for (const QList<QVariant> &signal : spy)
        result.append(signal.at(0).toString());
    return result;
}

QStringList callsNamed(const QSignalSpy &spy, const QString &name)
{
    const QString head = QStringLiteral("<invoke name=\"%1\"").arg(name);
    QStringList result;
    for (const QString &text : texts(spy)) {
        if (text.startsWith(head))
            result.append(text);
    }
    return result;
}

// Runs `script` in the player's page and returns its value.
QVariant evaluate(FlashPlayer &player, const QString &script)
{
    auto result = std::make_shared<QVariant>();
    auto answered = std::make_shared<bool>(false);
    player.findChild<QWebEngineView *>()->page()->runJavaScript(script, [result, answered](const QVariant &v) {
        *result = v;
        *answered = true;
    });
    waitFor([&] { return *answered; }, 10000);
    return *result;
}

// What the page's picture overlay showed for `url`, compared with what the movie's canvas
// shows now, over the page's stage colour: the share of pixels that differ (-1 when no
// picture of `url` was shown).
double pictureAgainstMovie(FlashPlayer &player, const QUrl &url)
{
    return evaluate(player, QStringLiteral(R"js((function () {
        const overlay = document.getElementById("preview");
        if (overlay.dataset.url !== "%1" || !Number(overlay.dataset.shown || 0))
            return -1;
        const player = document.querySelector("#stage > :not(.retired):not(.standby)");
        const canvas = player.shadowRoot.querySelector("canvas");
        const width = canvas.width, height = canvas.height;
        function pixels(source, background) {
            const context = new OffscreenCanvas(width, height).getContext("2d");
            context.fillStyle = background;
            context.fillRect(0, 0, width, height);
            context.drawImage(source, 0, 0, width, height);
            return context.getImageData(0, 0, width, height).data;
        }
        const background = getComputedStyle(document.body).backgroundColor;
        const a = pixels(overlay, "#000"), b = pixels(canvas, background);
        let differing = 0;
        for (let i = 0; i < a.length; i += 4) {
            if (Math.max(Math.abs(a[i] - b[i]), Math.abs(a[i + 1] - b[i + 1]), Math.abs(a[i + 2] - b[i + 2])) > 16)
                ++differing;
        }
        return differing / (a.length / 4);
    })())js").arg(url.toString(QUrl::FullyEncoded))).toDouble();
}

// The share of pixels of `picture` that differ from the movie's canvas as it shows now, over
// the page's stage colour.
double pictureAgainstCanvas(FlashPlayer &player, const QImage &picture)
{
    const QString png = evaluate(player, QStringLiteral(R"js((function () {
        const player = document.querySelector("#stage > :not(.retired):not(.standby)");
        const canvas = player.shadowRoot.querySelector("canvas");
        const copy = document.createElement("canvas");
        copy.width = canvas.width;
        copy.height = canvas.height;
        const context = copy.getContext("2d");
        context.fillStyle = getComputedStyle(document.body).backgroundColor;
        context.fillRect(0, 0, copy.width, copy.height);
        context.drawImage(canvas, 0, 0);
        return copy.toDataURL("image/png");
    })())js")).toString();
    const QImage live = QImage::fromData(QByteArray::fromBase64(png.section(u',', 1).toLatin1()), "PNG")
                            .scaled(picture.size())
                            .convertToFormat(QImage::Format_RGB32);
    const QImage shown = picture.convertToFormat(QImage::Format_RGB32);
    if (live.isNull() || shown.isNull())
        return -1;
    qint64 differing = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb a = shown.pixel(x, y), b = live.pixel(x, y);
            if (qMax(qMax(qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b))), qAbs(qBlue(a) - qBlue(b))) > 16)
                ++differing;
        }
    }
    return double(differing) / (shown.width() * shown.height());
}

QColor pixel(FlashPlayer &player, const QPoint &at)
{
    return player.grab().toImage().pixelColor(at);
}

} // namespace

class TestFlashPlayer : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void clickOnHitzoneCallsWithItsMaterial();
    void callsWaitForTheCallbackAndKeepTheirOrder();
    void callsOutwaitALongIntro();
    void aCallbackNeverRegisteredHoldsUpNoOther();
    void argumentsSurviveTheRoundTrip_data();
    void argumentsSurviveTheRoundTrip();
    void unregisteredCallNameArrives();
    void flashVariablesArriveIntact();
    void renderedImageShowsTheMovie();
    void backgroundColourChangesWhilePlaying();
    void requestsOutsideTheInstallationAreRefused();
    void secondPlayerPlaysFromTheSpare();
    void callsToAFrozenHiddenPlayerAreNotLost();
    void movieSaysShownOnlyOnceOnScreen();
    void burstOfMoviesEndsOnTheLastAndLeavesNoneBehind();
    void movieStartedAheadKnowsItsAddressAndVariables();
    void pageRememberingAnotherWasmStillPlays();
    void firstFramePicturesStandInTrulyAndForOnePupilOnly();

private:
    QString write(const QString &name, const QByteArray &bytes);
    QString pageMovie();
    bool load(const QString &movie);
    bool loadEcho();
    QString fetchFromPage(const QString &url);

    QScopedPointer<QTemporaryDir> m_folder;
    QScopedPointer<FlashPlayer> m_player;
};

void TestFlashPlayer::initTestCase()
{
    // Movies must lie inside the installation folder, the current directory.
    QVERIFY(QDir::setCurrent(QStringLiteral(INSTALLATION_FOLDER)));
    m_folder.reset(new QTemporaryDir(QDir::current().filePath(QStringLiteral("flashtest-XXXXXX"))));
    QVERIFY(m_folder->isValid());

    m_player.reset(new FlashPlayer);
    m_player->setFixedSize(stage);
    m_player->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_player.data()));
    QVERIFY(m_player->isPlaying());
}

void TestFlashPlayer::cleanupTestCase()
{
    m_player.reset();
}

QString TestFlashPlayer::write(const QString &name, const QByteArray &bytes)
{
    QFile file(m_folder->filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return file.fileName();
}

bool TestFlashPlayer::load(const QString &movie)
{
    QSignalSpy loaded(m_player.data(), &FlashPlayer::movieLoaded);
    m_player->SetMovie(movie);
    return loaded.wait(30000);
}

bool TestFlashPlayer::loadEcho()
{
    QSignalSpy calls(m_player.data(), &FlashPlayer::FlashCall);
    m_player->SetMovie(write(QStringLiteral("echo.swf"), TestMovies::echo(1)));
    return waitFor([&] { return !callsNamed(calls, QStringLiteral("registered")).isEmpty(); });
}

QString TestFlashPlayer::pageMovie()
{
    // An L-shaped hitzone round the top-left corner and a rectangle on the right.
    QImage image(stage, QImage::Format_RGB32);
    image.fill(QColor(250, 245, 230));
    QPainter(&image).fillRect(QRect(220, 40, 160, 220), QColor(120, 200, 120));
    image.save(m_folder->filePath(QStringLiteral("page.png")));
    write(QStringLiteral("page.xml"), "<doublepage file=\"data/pages/page.png\">\n"
                                      "    <hitzone number=\"1\">20,20,180,20,180,80,80,80,80,180,20,180</hitzone>\n"
                                      "    <hitzone number=\"2\">220,40,380,40,380,260,220,260</hitzone>\n"
                                      "</doublepage>\n");
    write(QStringLiteral("page.map"), "1 = zone_one\n2 = zone_two\n");
    PageSources sources;
    if (!sources.load(m_folder->filePath(QStringLiteral("page.png")), m_folder->filePath(QStringLiteral("page.xml")),
                      m_folder->filePath(QStringLiteral("page.map"))))
        return QString();
    return write(QStringLiteral("002-003.swf"), PageMovieBuilder(sources).build());
}

void TestFlashPlayer::clickOnHitzoneCallsWithItsMaterial()
{
    const QString movie = pageMovie();
    QVERIFY(!movie.isEmpty());
    QVERIFY(load(movie));
    QWidget *surface = m_player->findChild<QWebEngineView *>()->focusProxy();
    QVERIFY(surface);
    runFor(500); // the first frame, with its buttons, follows the metadata; then it is held still

    QSignalSpy calls(m_player.data(), &FlashPlayer::FlashCall);
    const auto click = [&](const QPoint &at) {
        QTest::mouseMove(surface, at);
        runFor(50);
        QTest::mouseClick(surface, Qt::LeftButton, Qt::NoModifier, at);
    };
    click(QPoint(300, 150));
    QVERIFY(calls.wait(5000));
    runFor(500);
    QCOMPARE(texts(calls), QStringList{invoke(PageMovieBuilder::callName(), QStringLiteral("<string>zone_two</string>"))});

    calls.clear();
    click(QPoint(50, 140)); // in the L's upright
    QVERIFY(calls.wait(5000));
    QCOMPARE(texts(calls), QStringList{invoke(PageMovieBuilder::callName(), QStringLiteral("<string>zone_one</string>"))});

    calls.clear();
    click(QPoint(140, 140)); // inside the L's bounding box, outside the L
    click(QPoint(200, 280)); // outside everything
    QVERIFY(!calls.wait(1500));

    // A page movie declares itself still: the player stops running its frames, and the
    // clicks above were answered all the same.
    bool playing = true;
    bool answered = false;
    m_player->findChild<QWebEngineView *>()->page()->runJavaScript(
        QStringLiteral("document.querySelector('#stage > *').ruffle().isPlaying"), [&](const QVariant &v) {
            playing = v.toBool();
            answered = true;
        });
    QVERIFY(waitFor([&] { return answered; }, 5000));
    QVERIFY(!playing);
}

void TestFlashPlayer::callsWaitForTheCallbackAndKeepTheirOrder()
{
    // The movie registers its callback only on frame 8, two thirds of a second after it
    // starts; the calls are made at once, while the page is still fetching the movie.
    QSignalSpy calls(m_player.data(), &FlashPlayer::FlashCall);
    m_player->SetMovie(write(QStringLiteral("late.swf"), TestMovies::echo(8)));
    QStringList expected;
    for (int i = 1; i <= 20; ++i) {
        const QString argument = QStringLiteral("<string>вызов %1 &amp; &lt;ok&gt;</string>").arg(i);
        m_player->CallFunction(invoke(QStringLiteral("echo"), argument));
        expected.append(invoke(QStringLiteral("echoed"), argument));
    }
    QVERIFY(waitFor([&] { return callsNamed(calls, QStringLiteral("echoed")).size() >= 20; }));
    runFor(300);
    QCOMPARE(callsNamed(calls, QStringLiteral("echoed")), expected);
}

void TestFlashPlayer::callsOutwaitALongIntro()
{
    // A test whose intro plays 15 s before it registers its callback still gets what the
    // shell sent it at the start, in order.
    QSignalSpy calls(m_player.data(), &FlashPlayer::FlashCall);
    m_player->SetMovie(write(QStringLiteral("intro.swf"), TestMovies::echo(12 * 15 + 1)));
    m_player->CallFunction(invoke(QStringLiteral("echo"), QStringLiteral("<string>first</string>")));
    m_player->CallFunction(invoke(QStringLiteral("echo"), QStringLiteral("<string>second</string>")));
    QVERIFY(waitFor([&] { return callsNamed(calls, QStringLiteral("echoed")).size() >= 2; }, 30000));
    QCOMPARE(callsNamed(calls, QStringLiteral("echoed")),
             QStringList({invoke(QStringLiteral("echoed"), QStringLiteral("<string>first</string>")),
                          invoke(QStringLiteral("echoed"), QStringLiteral("<string>second</string>"))}));
}

void TestFlashPlayer::aCallbackNeverRegisteredHoldsUpNoOther()
{
    // A material movie that registers getFirstScreenVisible but never send2flash: the shell's
    // message to send2flash waits for good, and must not hold up the answer to the movie's
    // question, whether it is sent from inside the movie's call or on its own.
    const QString question = QStringLiteral("<shell action=\"getFirstScreenVisible\" />");
    const QString answer = invoke(QStringLiteral("getFirstScreenVisible"), QStringLiteral("<string>1</string>"));
    QSignalSpy calls(m_player.data(), &FlashPlayer::FlashCall);
    auto handler = connect(m_player.data(), &FlashPlayer::FlashCall, this, [&](const QString &request) {
        if (request.startsWith(QLatin1String("<invoke name=\"flashCall\"")))
            m_player->CallFunction(answer);
    });
    m_player->SetMovie(write(QStringLiteral("asking.swf"),
                             TestMovies::bridge({}, {QStringLiteral("getFirstScreenVisible")}, {question})));
    m_player->CallFunction(invoke(QStringLiteral("send2flash"), QStringLiteral("<string>resize</string>")));
    QVERIFY(waitFor([&] { return !callsNamed(calls, QStringLiteral("echoed")).isEmpty(); }));
    disconnect(handler);
    QCOMPARE(m_player->CallFunction(answer), QStringLiteral("<undefined/>"));
    const QString echoed = invoke(QStringLiteral("echoed"),
                                  QStringLiteral("<string>getFirstScreenVisible</string><string>1</string>"));
    QCOMPARE(callsNamed(calls, QStringLiteral("echoed")), QStringList({echoed, echoed}));

    // The next movie does register send2flash: the old message is not for it.
    calls.clear();
    m_player->SetMovie(write(QStringLiteral("listening.swf"), TestMovies::bridge({}, {QStringLiteral("send2flash")})));
    m_player->CallFunction(invoke(QStringLiteral("send2flash"), QStringLiteral("<string>next</string>")));
    QVERIFY(waitFor([&] { return !callsNamed(calls, QStringLiteral("echoed")).isEmpty(); }));
    runFor(300);
    QCOMPARE(callsNamed(calls, QStringLiteral("echoed")),
             QStringList{invoke(QStringLiteral("echoed"), QStringLiteral("<string>send2flash</string><string>next</string>"))});
}

void TestFlashPlayer::argumentsSurviveTheRoundTrip_data()
{
    QTest::addColumn<QString>("sent");
    QTest::addColumn<QString>("echoed");
    const auto same = [](const char *name, const QString &xml) { QTest::newRow(name) << xml << xml; };
    same("string with markup", QStringLiteral("<string>&lt;b&gt;Ёлка&lt;/b&gt; &amp; &quot;дом&quot;</string>"));
    QTest::newRow("CDATA string") << QStringLiteral("<string><![CDATA[<flash action=\"history\">1</flash>]]></string>")
                                  << QStringLiteral("<string>&lt;flash action=&quot;history&quot;&gt;1&lt;/flash&gt;</string>");
    same("fraction", QStringLiteral("<number>1.5</number>"));
    same("whole number", QStringLiteral("<number>42</number>"));
    same("true", QStringLiteral("<true/>"));
    same("false", QStringLiteral("<false/>"));
    same("null", QStringLiteral("<null/>"));
    same("undefined", QStringLiteral("<undefined/>"));
    same("array", QStringLiteral("<array><property id=\"0\"><string>a</string></property>"
                                 "<property id=\"1\"><number>2</number></property></array>"));
    same("object", QStringLiteral("<object><property id=\"mark\"><string>4.5</string></property></object>"));
}

void TestFlashPlayer::argumentsSurviveTheRoundTrip()
{
    QFETCH(QString, sent);
    QFETCH(QString, echoed);
    QVERIFY(loadEcho());
    QSignalSpy calls(m_player.data(), &FlashPlayer::FlashCall);
    m_player->CallFunction(invoke(QStringLiteral("echo"), sent));
    QVERIFY(waitFor([&] { return !callsNamed(calls, QStringLiteral("echoed")).isEmpty(); }));
    QCOMPARE(callsNamed(calls, QStringLiteral("echoed")).first(), invoke(QStringLiteral("echoed"), echoed));
}

void TestFlashPlayer::unregisteredCallNameArrives()
{
    // Nothing in the page defines this name, and it is not even a JavaScript expression.
    const QString name = QStringLiteral("no such function: <\"тест\"> & co");
    QSignalSpy calls(m_player.data(), &FlashPlayer::FlashCall);
    m_player->SetMovie(write(QStringLiteral("unregistered.swf"), TestMovies::echo(1, name)));
    QVERIFY(waitFor([&] { return !callsNamed(calls, QStringLiteral("registered")).isEmpty(); }));
    QVERIFY(texts(calls).contains(QStringLiteral("<invoke name=\"no such function: &lt;&quot;тест&quot;&gt; &amp; co\" "
                                                 "returntype=\"xml\"><arguments><string>x</string></arguments></invoke>")));
}

void TestFlashPlayer::flashVariablesArriveIntact()
{
    QSignalSpy calls(m_player.data(), &FlashPlayer::FlashCall);
    // Encoded as the material viewer does: UTF-8 percent-encoded, "+" left as it is.
    m_player->SetFlashVars(QStringLiteral("a=%D0%9F%D1%80%D0%B8%D0%B2%D0%B5%D1%82%20%D0%BC%D0%B8%D1%80"
                                          "&b=x%26y%3Dz&c=1+2"));
    m_player->SetMovie(write(QStringLiteral("vars.swf"), TestMovies::echo(1)));
    QVERIFY(waitFor([&] { return !callsNamed(calls, QStringLiteral("vars")).isEmpty(); }));
    QCOMPARE(callsNamed(calls, QStringLiteral("vars")).first(),
             invoke(QStringLiteral("vars"),
                    QStringLiteral("<string>Привет мир</string><string>x&amp;y=z</string><string>1+2</string>")));
    m_player->SetFlashVars(QString());
}

void TestFlashPlayer::renderedImageShowsTheMovie()
{
    const QColor blue(20, 60, 200);
    QVERIFY(load(write(QStringLiteral("still.swf"), TestMovies::still(QColor(230, 230, 230), blue))));
    // Printing renders the widget into an image; the movie must be in it, not a blank page.
    QImage image;
    QVERIFY(waitFor([&] {
        image = QImage(m_player->size(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        m_player->render(&image);
        return image.pixelColor(200, 150) == blue;
    }));
    QCOMPARE(image.pixelColor(20, 20), QColor(230, 230, 230));
}

void TestFlashPlayer::backgroundColourChangesWhilePlaying()
{
    const QColor blue(20, 60, 200);
    QVERIFY(load(write(QStringLiteral("still.swf"), TestMovies::still(QColor(230, 230, 230), blue))));
    QVERIFY(waitFor([&] { return pixel(*m_player, QPoint(200, 150)) == blue; }));
    m_player->SetBGColor(QStringLiteral("#ff8000"));
    QVERIFY(waitFor([&] {
        const QImage image = m_player->grab().toImage();
        return image.pixelColor(20, 20) == QColor(255, 128, 0) && image.pixelColor(200, 150) == blue;
    }, 5000));
    m_player->SetBGColor(QStringLiteral("#ffffff"));
}

QString TestFlashPlayer::fetchFromPage(const QString &url)
{
    // The page's fetch() is what Ruffle loads everything with.
    QWebEnginePage *page = m_player->findChild<QWebEngineView *>()->page();
    page->runJavaScript(QStringLiteral("window.fetchOutcome = '';"
                                       "fetch('%1').then(r => r.text()).then(t => { window.fetchOutcome = 'read:' + t; },"
                                       " e => { window.fetchOutcome = 'refused'; });")
                            .arg(url));
    // The answers outlive this call when it gives up: they must not write into its frame.
    auto outcome = std::make_shared<QString>();
    for (int attempt = 0; attempt < 200 && outcome->isEmpty(); ++attempt) {
        auto answered = std::make_shared<bool>(false);
        page->runJavaScript(QStringLiteral("window.fetchOutcome"), [outcome, answered](const QVariant &v) {
            *outcome = v.toString();
            *answered = true;
        });
        waitFor([answered] { return *answered; }, 5000);
        runFor(20);
    }
    return *outcome;
}

void TestFlashPlayer::requestsOutsideTheInstallationAreRefused()
{
    QVERIFY(loadEcho());
    QTemporaryDir outside;
    QFile secret(outside.filePath(QStringLiteral("secret.txt")));
    QVERIFY(secret.open(QIODevice::WriteOnly));
    secret.write("secret");
    secret.close();
    QVERIFY(QFile::link(secret.fileName(), m_folder->filePath(QStringLiteral("link.txt"))));
    write(QStringLiteral("inside.txt"), "inside");
    const QString folder = QDir(QStringLiteral(INSTALLATION_FOLDER)).relativeFilePath(m_folder->path());

    QCOMPARE(fetchFromPage(QStringLiteral("/%1/inside.txt").arg(folder)), QStringLiteral("read:inside"));
    QCOMPARE(fetchFromPage(QStringLiteral("/%1/link.txt").arg(folder)), QStringLiteral("refused"));
    QCOMPARE(fetchFromPage(QStringLiteral("/%1/..%2F..%2F..%2F..%2F..%2F..%2Fetc%2Fpasswd").arg(folder)),
             QStringLiteral("refused"));
    QCOMPARE(fetchFromPage(QStringLiteral("file://%1").arg(secret.fileName())), QStringLiteral("refused"));
    QCOMPARE(fetchFromPage(QStringLiteral("http://127.0.0.1:9/")), QStringLiteral("refused"));
    QCOMPARE(fetchFromPage(QStringLiteral("https://example.com/")), QStringLiteral("refused"));

    QSignalSpy failed(m_player.data(), &FlashPlayer::movieFailed);
    QFile outsideMovie(outside.filePath(QStringLiteral("movie.swf")));
    QVERIFY(outsideMovie.open(QIODevice::WriteOnly));
    outsideMovie.write(TestMovies::echo(1));
    outsideMovie.close();
    m_player->SetMovie(outsideMovie.fileName());
    QCOMPARE(failed.size(), 1);
}

void TestFlashPlayer::secondPlayerPlaysFromTheSpare()
{
    // A material window opening over the textbook: its player takes a warm spare page, and
    // the spare is replaced once its movie shows.
    QVERIFY(waitFor([] { return FlashEngine::instance()->warmSpareCount() == 2; }, 30000));
    FlashPlayer material;
    QCOMPARE(FlashEngine::instance()->warmSpareCount(), 1);
    material.setFixedSize(stage);
    material.show();
    QSignalSpy materialCalls(&material, &FlashPlayer::FlashCall);
    QSignalSpy pageCalls(m_player.data(), &FlashPlayer::FlashCall);
    material.SetMovie(write(QStringLiteral("material.swf"), TestMovies::echo(1)));
    material.CallFunction(invoke(QStringLiteral("echo"), QStringLiteral("<string>to the material</string>")));
    QVERIFY(waitFor([&] { return !callsNamed(materialCalls, QStringLiteral("echoed")).isEmpty(); }));
    QCOMPARE(callsNamed(materialCalls, QStringLiteral("echoed")).first(),
             invoke(QStringLiteral("echoed"), QStringLiteral("<string>to the material</string>")));
    QVERIFY(pageCalls.isEmpty());
    QVERIFY(waitFor([] { return FlashEngine::instance()->warmSpareCount() == 2; }, 30000));

    // With four players open the one spare kept has Ruffle's wasm, but no movie has run in
    // its document: all of a page's Ruffle instances share one wasm memory that never
    // shrinks, and the spare would keep the warm-up movie's until it is handed out.
    FlashPlayer third;
    FlashPlayer fourth;
    QVERIFY(waitFor([] { return FlashEngine::instance()->warmSpareCount() == 1; }, 30000));
    QCOMPARE(FlashEngine::instance()->sparesKept(), 1);
    QString loaded;   // outlives the page, which answers waiting scripts as it goes
    QScopedPointer<QWebEnginePage> spare(FlashEngine::instance()->takePage());
    QVERIFY(waitFor([&] {
        spare->runJavaScript(QStringLiteral("performance.getEntriesByType('resource').map(e => e.name)"
                                            ".concat(['movies:' + PelloraPlayer.state.loads]).join(' ')"),
                             [&](const QVariant &v) { loaded = v.toString(); });
        return loaded.contains(QLatin1String(".wasm"));
    }, 10000));
    QVERIFY2(loaded.endsWith(QLatin1String("movies:0")), qPrintable(loaded));
}

void TestFlashPlayer::callsToAFrozenHiddenPlayerAreNotLost()
{
    // A page under a material window is frozen once the web engine recommends it; what the
    // shell sends it meanwhile must still reach the movie (the web engine lets the channel's
    // messages through to a frozen page).
    QVERIFY(loadEcho());
    m_player->hide();
    QWebEnginePage *page = m_player->findChild<QWebEngineView *>()->page();
    QVERIFY(waitFor([&] { return !page->isVisible(); }, 5000));
    page->setLifecycleState(QWebEnginePage::LifecycleState::Frozen);
    QCOMPARE(page->lifecycleState(), QWebEnginePage::LifecycleState::Frozen);
    QSignalSpy calls(m_player.data(), &FlashPlayer::FlashCall);
    m_player->CallFunction(invoke(QStringLiteral("echo"), QStringLiteral("<string>while hidden</string>")));
    runFor(500);
    m_player->show();
    QVERIFY(waitFor([&] { return !callsNamed(calls, QStringLiteral("echoed")).isEmpty(); }));
    QCOMPARE(callsNamed(calls, QStringLiteral("echoed")),
             QStringList{invoke(QStringLiteral("echoed"), QStringLiteral("<string>while hidden</string>"))});
}

void TestFlashPlayer::movieSaysShownOnlyOnceOnScreen()
{
    // What waits for a drawn page (the spare pages, the textbook under the contents) relies
    // on this: a hidden player draws nothing and must not claim it did.
    FlashPlayer material;
    material.setFixedSize(stage);
    QSignalSpy shown(&material, &FlashPlayer::movieShown);
    const QString movie = write(QStringLiteral("shown.swf"), TestMovies::echo(1));
    material.SetMovie(movie);
    runFor(1500);
    QVERIFY(shown.isEmpty());
    material.show();
    QVERIFY(waitFor([&] { return !shown.isEmpty(); }, 10000));
    runFor(300);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().value(0).toString(), QDir::current().absoluteFilePath(movie));
}

void TestFlashPlayer::burstOfMoviesEndsOnTheLastAndLeavesNoneBehind()
{
    // Pages turned as fast as a key repeats. A Ruffle player taken off the page while its
    // instance is still being built gets that instance afterwards and plays on unseen, for
    // ever: every movie here says on each frame who it is, so such a leftover would be heard.
    QStringList movies;
    for (int i = 0; i < 8; ++i)
        movies.append(write(QStringLiteral("ticker%1.swf").arg(i), TestMovies::ticker(QStringLiteral("movie %1").arg(i))));
    QSignalSpy loaded(m_player.data(), &FlashPlayer::movieLoaded);
    QSignalSpy calls(m_player.data(), &FlashPlayer::FlashCall);
    for (int i = 0; i < 40; ++i) {
        m_player->SetMovie(movies[i % movies.size()]);
        runFor(5);
    }
    const QString last = movies[39 % movies.size()];
    const QString lastTick = invoke(QStringLiteral("tick"), QStringLiteral("<string>movie 7</string>"));
    QVERIFY(waitFor([&] { return texts(calls).contains(lastTick); }));
    QCOMPARE(m_player->movie(), last);
    QCOMPARE(texts(loaded).constLast(), last);
    QVERIFY2(loaded.size() < 10, "a burst of movies must not start every one of them");

    runFor(300);
    calls.clear();
    runFor(1000);
    QVERIFY(calls.size() >= 10);
    QStringList heard = texts(calls);
    heard.removeDuplicates();
    QCOMPARE(heard, QStringList{lastTick});
}

void TestFlashPlayer::movieStartedAheadKnowsItsAddressAndVariables()
{
    // A player that has turned a page builds the next Ruffle instance ahead, with a stand-in
    // address; the movie that instance finally plays must see its own address and variables.
    m_player->SetFlashVars(QStringLiteral("a=%D1%81%D1%82%D1%80%D0%B0%D0%BD%D0%B8%D1%86%D0%B0"));
    QVERIFY(load(write(QStringLiteral("first.swf"), TestMovies::still(Qt::white, Qt::gray))));
    QVERIFY(load(write(QStringLiteral("second.swf"), TestMovies::still(Qt::white, Qt::black))));
    QWebEnginePage *page = m_player->findChild<QWebEngineView *>()->page();
    int standbys = 0;
    QVERIFY(waitFor([&] {
        page->runJavaScript(QStringLiteral("document.querySelectorAll('#stage > .standby').length"),
                            [&](const QVariant &v) { standbys = v.toInt(); });
        return standbys == 1;
    }, 5000));
    runFor(500);

    QSignalSpy calls(m_player.data(), &FlashPlayer::FlashCall);
    const QString movie = write(QStringLiteral("where.swf"), TestMovies::whereAmI());
    m_player->SetMovie(movie);
    QVERIFY(waitFor([&] { return !callsNamed(calls, QStringLiteral("where")).isEmpty(); }));
    const QString url = FlashEngine::instance()->files().urlForFile(movie).toString(QUrl::FullyEncoded);
    QCOMPARE(callsNamed(calls, QStringLiteral("where")),
             QStringList{invoke(QStringLiteral("where"),
                                QStringLiteral("<string>%1</string><string>страница</string>").arg(url))});
    m_player->SetFlashVars(QString());
}

void TestFlashPlayer::pageRememberingAnotherWasmStillPlays()
{
    // A new page starts compiling the wasm Ruffle read last time before Ruffle asks for it.
    // After an upgrade that file is gone (or is not wasm at all): the page must then give
    // Ruffle what it does ask for.
    for (const QString &remembered : {QStringLiteral("/ruffle/gone.wasm"), QStringLiteral("/ruffle/ruffle.js")}) {
        QWebEnginePage *page = m_player->findChild<QWebEngineView *>()->page();
        // The page's own notes, not a movie's: `localStorage` itself is the pupil's view.
        bool stored = false;
        page->runJavaScript(QStringLiteral("PelloraPlayer.realStorage.setItem(\"pellora: Ruffle's wasm\", \"%1\"); true").arg(remembered),
                            [&](const QVariant &ok) { stored = ok.toBool(); });
        QVERIFY(waitFor([&] { return stored; }));
        FlashPlayer spare;   // takes the warm spare, if there is one, so that the next page is new
        FlashPlayer fresh;
        fresh.setFixedSize(stage);
        fresh.show();
        QSignalSpy calls(&fresh, &FlashPlayer::FlashCall);
        fresh.SetMovie(write(QStringLiteral("fresh.swf"), TestMovies::echo(1)));
        fresh.CallFunction(invoke(QStringLiteral("echo"), QStringLiteral("<string>%1</string>").arg(remembered)));
        QVERIFY2(waitFor([&] { return !callsNamed(calls, QStringLiteral("echoed")).isEmpty(); }, 30000),
                 qPrintable(remembered));
    }
}

void TestFlashPlayer::firstFramePicturesStandInTrulyAndForOnePupilOnly()
{
    // A material's player shows the picture of its movie's first frame kept from the last
    // showing while the movie starts beneath, in a new window (a new page) each time.
    const FirstFramePictures pictures;
    QDir(FirstFramePictures::defaultRoot()).removeRecursively();
    const QColor grey(230, 230, 230), blue(20, 60, 200);
    const QString movie = write(QStringLiteral("material.swf"), TestMovies::still(grey, blue));
    const QUrl url = FlashEngine::instance()->files().urlForFile(movie);
    const QString vars = QStringLiteral("history=%D1%82%D1%80%D0%B8");
    const QString pupilOne = QStringLiteral("one"), pupilTwo = QStringLiteral("two");
    const QString fileOne = pictures.fileName(pupilOne, url, FlashVars::parse(vars), stage);
    // What Qt painted over the player from the kept picture (null when nothing).
    QImage painted;
    const auto open = [&](FlashPlayer &player) {
        player.setFirstFramePictures(true);
        player.setFixedSize(stage);
        player.show();
        painted = QImage();
        QSignalSpy shown(&player, &FlashPlayer::movieShown);
        connect(&player, &FlashPlayer::pictureShown, &player, [&] {
            if (auto *cover = player.findChild<FirstFrameCover *>(); cover && cover->isVisible())
                painted = cover->grab().toImage();
        }, Qt::QueuedConnection);
        player.SetFlashVars(vars);
        player.SetMovie(movie);
        return waitFor([&] { return !shown.isEmpty(); }, 30000);
    };
    const auto uncovered = [](FlashPlayer &player) {
        auto *cover = player.findChild<FirstFrameCover *>();
        return waitFor([&] { return !cover || cover->isHidden(); });
    };
    const auto centreOf = [](const QString &file) {
        const QImage image(file);
        return image.isNull() ? QColor() : image.pixelColor(stage.width() / 2, stage.height() / 2);
    };

    FlashEngine::instance()->setStorageSpace(pupilOne);
    {
        // First showing: no picture yet; the one the page takes is kept for this pupil.
        FlashPlayer first;
        QVERIFY(open(first));
        QCOMPARE(pictureAgainstMovie(first, url), -1.0);
        QVERIFY(painted.isNull());
        QVERIFY(waitFor([&] { return centreOf(fileOne) == blue; }));
    }
    {
        // Next showing: the picture stands in, and it is the frame the movie draws.
        FlashPlayer again;
        QVERIFY(open(again));
        const double differing = pictureAgainstMovie(again, url);
        QVERIFY2(differing >= 0 && differing < 0.002, qPrintable(QString::number(differing)));
        // Qt showed it too, over the web view, until the movie had drawn its frame.
        QVERIFY(!painted.isNull());
        const double differingInQt = pictureAgainstCanvas(again, painted);
        QVERIFY2(differingInQt >= 0 && differingInQt < 0.002, qPrintable(QString::number(differingInQt)));
        QVERIFY(uncovered(again));
    }
    {
        // A picture that is not the movie's frame shows once, and is then replaced by a true one.
        QImage wrong(stage, QImage::Format_RGB32);
        wrong.fill(Qt::red);
        QVERIFY(wrong.save(fileOne, "PNG"));
        FlashPlayer lied;
        QVERIFY(open(lied));
        QVERIFY(pictureAgainstMovie(lied, url) > 0.2);
        QVERIFY(pictureAgainstCanvas(lied, painted) > 0.2);
        QVERIFY(uncovered(lied));
        QVERIFY(waitFor([&] { return centreOf(fileOne) == blue; }));
        QCOMPARE(centreOf(fileOne), blue);
        QCOMPARE(QImage(fileOne).pixelColor(5, 5), grey);
    }
    // Another pupil never sees the first one's picture; hers are kept apart.
    FlashEngine::instance()->setStorageSpace(pupilTwo);
    {
        FlashPlayer other;
        QVERIFY(open(other));
        QCOMPARE(pictureAgainstMovie(other, url), -1.0);
        const QString fileTwo = pictures.fileName(pupilTwo, url, FlashVars::parse(vars), stage);
        QVERIFY(QFileInfo(fileTwo).path() != QFileInfo(fileOne).path());
        QVERIFY(waitFor([&] { return centreOf(fileTwo) == blue; }));
    }
    FlashEngine::instance()->setStorageSpace(QString());
}

QTEST_MAIN(TestFlashPlayer)
#include "tst_flashplayer.moc"
