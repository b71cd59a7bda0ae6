#include "flashengine.h"

#include "flashpage.h"
#include "flashrequestfilter.h"
#include "flashschemehandler.h"
#include "flashwasmserver.h"
#include "installation.h"
#include "swfmovie.h"

#include <QCoreApplication>
#include <algorithm>
#include <QDebug>
#include <QDir>
#include <QLoggingCategory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QUrlQuery>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif
#ifdef __GLIBC__
#include <malloc.h>
#endif

FlashEngine *FlashEngine::s_instance = nullptr;

namespace {

// Must match SELF_TEST_NAME in player.js. Not a valid JavaScript expression, so it can only
// arrive through the Function hook.
const QString selfTestName = QStringLiteral("pellora self-test (a name nobody registered)");
constexpr int idleMs = 2000;
// After a spare was taken: soon, but once the taker's movie is up (see buildSpare).
constexpr int refillMs = 150;
// PELLORA_FLASH_SPARES changes it (0 to 4): each spare costs memory (see the README).
constexpr int defaultSpares = 2;

int sparesWanted()
{
    bool ok = false;
    const int wanted = qEnvironmentVariableIntValue("PELLORA_FLASH_SPARES", &ok);
    return ok ? qBound(0, wanted, 4) : defaultSpares;
}
// After the last spare is warm: its page has read and compiled the wasm by then.
constexpr int collectAfterMs = 3000;
constexpr int selfTestDelayMs = 1500;
constexpr int selfTestLimitMs = 20000;

bool runningAsRoot()
{
#ifdef Q_OS_UNIX
    return geteuid() == 0;
#else
    return false;
#endif
}

// Every process of ours keeps freed memory in glibc's heap unless it is returned at once:
// - blocks of 32 KB and more (the wasm compilers' work areas, movies' bitmaps, decoded
//   pictures) are mapped on their own and go back to the system when freed. By default glibc
//   raises that threshold whenever such a block is freed, so they soon come from the heap,
//   which holds them: the players' process grew by about 100 MB in 20 page turns, and kept
//   some 35 MB of freed compiler memory with a threshold of 128 KB; the shell grew by 2-3 MB
//   with each material opened. Page turns and first frames measured as fast.
// - each thread of the web engine's processes that allocates (raster workers, the
//   compositor, wasm compilers) gets a heap of its own by default, and what one frees only
//   that one reuses: with a single heap the players' process held 20-40 MB less.
// The helpers take theirs from the environment; this process has its heap already.
void keepHeapsSmall()
{
#ifdef __GLIBC__
    constexpr int kMapThreshold = 32 * 1024;
    mallopt(M_MMAP_THRESHOLD, kMapThreshold);
    QByteArray tunables = qgetenv("GLIBC_TUNABLES");
    const QByteArray threshold = "glibc.malloc.mmap_threshold=" + QByteArray::number(kMapThreshold);
    for (const QByteArray &tunable : {threshold, QByteArray("glibc.malloc.arena_max=1")}) {
        if (tunables.contains(tunable.left(tunable.indexOf('=') + 1)))
            continue;
        if (!tunables.isEmpty())
            tunables += ':';
        tunables += tunable;
    }
    qputenv("GLIBC_TUNABLES", tunables);
#endif
}

// Chromium reads its switches, and the scheme registry locks, when the first web engine
// object appears; this runs as the application object is built, before any of that.
void prepareProcess()
{
    QWebEngineUrlScheme scheme(FlashFiles::scheme().toLatin1());
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme);
    QWebEngineUrlScheme::registerScheme(scheme);

    // One renderer for all player pages: V8 then shares the compiled wasm between them and
    // three players cost about half the memory.
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    flags += " --process-per-site";
    // Ruffle's sound plays as well from an audio service inside the program, and a process
    // less saves about 20 MB.
    flags += " --disable-features=AudioServiceOutOfProcess";
    // Every page turn leaves a Ruffle instance's memory behind until V8 next collects; the
    // pages ask for a collection once things are quiet (player.js), which keeps three
    // players and the spare near 450 MB instead of anywhere up to 530.
    // Ruffle's wasm is compiled function by function as it is first called: most of its
    // 14 MB is never run by a course's movies, and compiling all of it made the first movie
    // wait 0.4 s longer and kept some 30 MB of machine code. What runs often is still
    // optimised, only later than by default, so that the optimising compiler does not take
    // the cores from the first movie's start.
    flags += " --js-flags=--expose-gc,--wasm-lazy-compilation,--wasm-tiering-budget=18000000";
    // Neither movies nor the course's pages have anyone to talk to: WebRTC, whose UDP passes
    // by the request filters, gets no interface to send from.
    flags += " --force-webrtc-ip-handling-policy=disable_non_proxied_udp";
    if (runningAsRoot()) {
        flags += " --no-sandbox";
        qDebug() << "Flash player: running as root, so Chromium's sandbox is switched off";
    }
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());

    keepHeapsSmall();

    // Without a GPU, Qt Quick on OpenGL costs a visible player about 60 % of a core; the
    // software scene graph about 25 %.
    if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND")) {
        qputenv("QT_QUICK_BACKEND", "software");
        // Nothing then draws with OpenGL in this process, yet on X11 Qt would load the GL
        // driver (with Mesa's LLVM, some 30 MB) for a context the web engine never uses.
        if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
            qputenv("QT_XCB_GL_INTEGRATION", "none");
    }
}
Q_COREAPP_STARTUP_FUNCTION(prepareProcess)

QByteArray warmupMovie()
{
    SwfMovie movie(QSize(550, 400), 12);
    movie.setBackgroundColor(Qt::white);
    // Every way a movie reaches its host that the page hooks into Ruffle for (player.js,
    // selfTest): a callback, fscommand, a call and its answer, trace.
    SwfActions first;
    first.defineFunction2(QString(), {}, 1, SwfActions().push("pellora").op(SwfActions::Return))
        .addExternalCallback(QStringLiteral("pelloraSelfTest"))
        .op(SwfActions::Pop)
        .getUrl(QStringLiteral("FSCommand:pellora self-test"), QStringLiteral("fscommand"))
        .push("call")
        .externalCall(selfTestName, 1)
        .setVariable(QStringLiteral("answer"));
    movie.doAction(first);
    movie.showFrame();
    SwfActions second;
    second.push("pellora self-test").op(SwfActions::Trace);
    second.push("answer").op(SwfActions::GetVariable).push("answer").externalCall(selfTestName, 2).op(SwfActions::Pop);
    second.op(SwfActions::Stop);
    movie.doAction(second);
    movie.showFrame();
    return movie.toBytes(false);
}

} // namespace

FlashEngine *FlashEngine::instance()
{
    if (!s_instance)
        s_instance = new FlashEngine;
    return s_instance;
}

void FlashEngine::destroyInstance()
{
    delete s_instance;
    s_instance = nullptr;
}

FlashEngine::FlashEngine(QObject *parent)
    : QObject(parent),
      m_files(QDir::currentPath(), Installation::ruffleFolder()),
      m_renderer(qEnvironmentVariable("PELLORA_FLASH_RENDERER", QStringLiteral("canvas"))),
      m_sparesKept(sparesWanted())
{
    const QStringList missing = m_files.missingRuffleFiles();
    if (!missing.isEmpty()) {
        qWarning().noquote() << "Flash player: Ruffle is missing, no movie will play. Not found:"
                             << missing.join(QStringLiteral(", "));
        return;
    }
    m_available = true;
    createProfile();

    m_idle.setSingleShot(true);
    m_idle.setInterval(idleMs);
    connect(&m_idle, &QTimer::timeout, this, &FlashEngine::buildSpare);
    m_collect.setSingleShot(true);
    m_collect.setInterval(collectAfterMs);
    connect(&m_collect, &QTimer::timeout, this, &FlashEngine::collectGarbage);
    m_selfTestTimeout.setSingleShot(true);
    m_selfTestTimeout.setInterval(selfTestLimitMs);
    connect(&m_selfTestTimeout, &QTimer::timeout, this, &FlashEngine::selfTestTimedOut);
}

FlashEngine::~FlashEngine()
{
    for (const Spare &spare : std::as_const(m_spares))
        delete spare.page;
    // A profile deleted under a live page takes the page down with it; a player that
    // outlives the application object (a leaked window) keeps the profile instead.
    const bool pagesLeft = std::any_of(m_pages.cbegin(), m_pages.cend(),
                                       [](const QPointer<FlashPage> &page) { return !page.isNull(); });
    if (!pagesLeft)
        delete m_profile;
}

void FlashEngine::createProfile()
{
    // The engine describes its set-up (GL, surfaces, switches) when it starts; someone who
    // starts the program from a terminal should see nothing unless something is wrong.
    // QT_LOGGING_RULES="qt.webenginecontext.info=true" brings it back.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    // A named, disk-backed profile: Flash local storage lives in the origin's local storage
    // and must survive restarts.
    m_profile = new QWebEngineProfile(QStringLiteral("pellora-flash"));
    auto *handler = new FlashSchemeHandler(m_files, FlashRequestFilter::Pages::Players, warmupMovie(), m_profile);
    connect(handler, &FlashSchemeHandler::movieCallWaiting, this, &FlashEngine::answerMovieCall);
    connect(handler, &FlashSchemeHandler::loadRefused, this, [this](const QString &token, const QString &text) {
        if (FlashPage *page = pageWithToken(token))
            emit page->movieMessage(QStringLiteral("warning"), text);
        else
            qDebug().noquote() << "Flash player:" << text;
    });
    m_profile->installUrlSchemeHandler(FlashFiles::scheme().toLatin1(), handler);
    m_wasmServer = new FlashWasmServer(m_files.ruffleFolder(), this);
    m_profile->setUrlRequestInterceptor(
        new FlashRequestFilter(m_files, FlashRequestFilter::Pages::Players, m_wasmServer, m_profile));
    lockDown(m_profile);

    // The web engine tears itself down in a post routine; ours is added later, so runs first.
    qAddPostRoutine(&FlashEngine::destroyInstance);
}

void FlashEngine::lockDown(QWebEngineProfile *profile)
{
    profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile->setSpellCheckEnabled(false);
    QWebEngineSettings *settings = profile->settings();
    // Otherwise audio starts suspended and Ruffle holds every movie back 200 ms waiting for it.
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    settings->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    settings->setAttribute(QWebEngineSettings::WebRTCPublicInterfacesOnly, true);
}

QWebEngineProfile *FlashEngine::materialPageProfile()
{
    if (!m_available)
        return nullptr;
    if (!m_pagesProfile) {
        // Off the record and apart from the players' profile: a course's web page runs script
        // of its own, and must not reach the pupils' movie data in the players' local storage,
        // nor keep anything of one pupil for the next.
        m_pagesProfile = new QWebEngineProfile(this);
        m_pagesProfile->installUrlSchemeHandler(
            FlashFiles::scheme().toLatin1(),
            new FlashSchemeHandler(m_files, FlashRequestFilter::Pages::MaterialPages, {}, m_pagesProfile));
        m_pagesProfile->setUrlRequestInterceptor(
            new FlashRequestFilter(m_files, FlashRequestFilter::Pages::MaterialPages, nullptr, m_pagesProfile));
        lockDown(m_pagesProfile);
    }
    return m_pagesProfile;
}

bool FlashEngine::isAvailable() const
{
    return m_available;
}

const FlashFiles &FlashEngine::files() const
{
    return m_files;
}

FlashPage *FlashEngine::takePage()
{
    if (!m_available)
        return nullptr;
    forgetDeletedSpares();
    refillSoon();
    if (m_spares.isEmpty())
        return createPage();
    // A warm one first; of those still compiling, the oldest is the nearest to ready.
    const auto warm = std::find_if(m_spares.begin(), m_spares.end(), [](const Spare &s) { return s.warm; });
    FlashPage *page = (warm != m_spares.end() ? *warm : m_spares.first()).page;
    m_spares.erase(warm != m_spares.end() ? warm : m_spares.begin());
    return page;
}

bool FlashEngine::hasWarmSpare() const
{
    return warmSpareCount() > 0;
}

int FlashEngine::warmSpareCount() const
{
    return int(std::count_if(m_spares.cbegin(), m_spares.cend(), [](const Spare &s) { return s.page && s.warm; }));
}

int FlashEngine::sparesKept() const
{
    // Three players are the textbook and a material with two movies, or two materials: one
    // more opening on top of those is rare, and the second spare would cost the renderer
    // some 15 MB for as long as they stay open.
    const auto players = std::count_if(m_pages.cbegin(), m_pages.cend(), [this](const QPointer<FlashPage> &page) {
        return page && std::none_of(m_spares.cbegin(), m_spares.cend(), [&page](const Spare &s) { return s.page == page; });
    });
    return players >= 3 ? qMin(m_sparesKept, 1) : m_sparesKept;
}

QWebEngineProfile *FlashEngine::profile() const
{
    return m_profile;
}

void FlashEngine::noteActivity()
{
    if (!m_available)
        return;
    // A refill already due is not put off by a page turn.
    if (!m_idle.isActive() || m_idle.remainingTime() > refillMs)
        m_idle.start(idleMs);
}

void FlashEngine::forgetDeletedSpares()
{
    m_spares.erase(std::remove_if(m_spares.begin(), m_spares.end(), [](const Spare &s) { return !s.page; }),
                   m_spares.end());
}

void FlashEngine::refillSoon()
{
    m_idle.start(refillMs);
}

void FlashEngine::warmUp()
{
    if (m_available)
        buildSpare();
}

void FlashEngine::setStorageSpace(const QString &space)
{
    m_storageSpace = space;
    for (const QPointer<FlashPage> &page : std::as_const(m_pages)) {
        if (page)
            page->setStorageSpace(space);
    }
}

bool FlashEngine::isAnyMovieWaiting() const
{
    return std::any_of(m_pages.cbegin(), m_pages.cend(),
                       [](const QPointer<FlashPage> &page) { return page && page->isMovieWaiting(); });
}

FlashPage *FlashEngine::pageWithToken(const QString &token) const
{
    for (const QPointer<FlashPage> &page : m_pages) {
        if (page && page->token() == token)
            return page;
    }
    return nullptr;
}

void FlashEngine::answerMovieCall(QWebEngineUrlRequestJob *job)
{
    for (const QPointer<FlashPage> &page : std::as_const(m_pages)) {
        if (page)
            page->noteMovieCall();
    }
    if (FlashPage *page = pageWithToken(QUrlQuery(job->requestUrl()).queryItemValue(QStringLiteral("page"))))
        page->answerMovieCall(job);
    else
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
}

FlashPage *FlashEngine::createPage()
{
    auto *page = new FlashPage(m_profile, m_renderer, m_wasmServer->baseUrl());
    page->setStorageSpace(m_storageSpace);
    m_pages.removeAll(nullptr);
    m_pages.append(page);
    connect(page, &FlashPage::movieLoaded, this, [this, page] { considerSelfTest(page); });
    connect(page, &FlashPage::selfTestFinished, this, &FlashEngine::selfTestFinished);
    // A player closing may leave room for a spare again.
    connect(page, &QObject::destroyed, this, [this] { m_idle.start(idleMs); });
    return page;
}

// A page loading its movie, or a spare compiling Ruffle: the renderer all pages share is busy.
bool FlashEngine::isRendererBusy() const
{
    return std::any_of(m_pages.cbegin(), m_pages.cend(),
                       [](const QPointer<FlashPage> &page) { return page && page->isStarting(); })
           || std::any_of(m_spares.cbegin(), m_spares.cend(), [](const Spare &s) { return !s.warm; });
}

void FlashEngine::buildSpare()
{
    forgetDeletedSpares();
    const bool leanToMend = sparesKept() == m_sparesKept
                            && std::any_of(m_spares.cbegin(), m_spares.cend(), [](const Spare &s) { return s.lean; });
    if (m_spares.size() >= sparesKept() && !leanToMend)
        return;
    // Every page shares one renderer: a spare compiling beside a page that is still loading
    // its movie held that movie back for many seconds, and one built while a movie draws
    // its first frame holds that frame back. Wait until every page shows its movie, and
    // build one spare at a time.
    if (isRendererBusy()) {
        if (!m_idle.isActive())
            m_idle.start(refillMs);
        return;
    }
    if (sparesKept() == m_sparesKept) {
        const auto lean = std::find_if(m_spares.begin(), m_spares.end(), [](const Spare &s) { return s.lean; });
        if (lean != m_spares.end()) {
            lean->lean = false;
            lean->warm = false;
            lean->page->loadMovie(FlashFiles::playerUrl(QStringLiteral("warmup.swf")), {});
            return;
        }
    }
    // A page without a view renders nothing, but loading a movie makes Ruffle compile its
    // wasm, and compile what starting a movie runs. All Ruffle instances of a page live in
    // one wasm instance, whose memory (some 25 MB) never shrinks, and which a new player
    // would otherwise make when its movie starts (70-140 ms here). A spare keeps it, unless
    // three players are open: then the page starts over as a new document, which finds the
    // compiled module in the renderer, and is made whole again once fewer are open.
    FlashPage *spare = createPage();
    m_spares.append({spare, false, false});
    connect(spare, &FlashPage::movieLoaded, this, [this, spare] {
        Spare *s = spareOf(spare);
        if (!s || s->warm)
            return;
        if (sparesKept() < m_sparesKept) {
            s->lean = true;
            spare->startOver();
            return;
        }
        spare->unloadMovie();
        spareWarm(s);
    });
    connect(spare, &FlashPage::ready, this, [this, spare] {
        Spare *s = spareOf(spare);
        if (s && s->lean && !s->warm)
            spareWarm(s);
    });
    spare->loadMovie(FlashFiles::playerUrl(QStringLiteral("warmup.swf")), {});
}

void FlashEngine::collectGarbage()
{
    forgetDeletedSpares();
    if (isRendererBusy()) {
        m_collect.start();
        return;
    }
    // Documents that spares started over from, and the instances the warm-up movies left,
    // keep their memory until V8 next collects, which it did not for a long while (the
    // renderer held 40-70 MB more). One collection in any page collects for all of them.
    if (!m_spares.isEmpty())
        m_spares.constLast().page->collectGarbage();
}

void FlashEngine::spareWarm(Spare *spare)
{
    spare->warm = true;
    m_collect.start();
    buildSpare();
}

FlashEngine::Spare *FlashEngine::spareOf(const FlashPage *page)
{
    const auto it = std::find_if(m_spares.begin(), m_spares.end(), [page](const Spare &s) { return s.page == page; });
    return it != m_spares.end() ? &*it : nullptr;
}

void FlashEngine::considerSelfTest(FlashPage *page)
{
    if (m_selfTest != SelfTest::NotRun || !page->isVisible())
        return;
    m_selfTest = SelfTest::Running;
    m_selfTestPage = page;
    QTimer::singleShot(selfTestDelayMs, this, [this] {
        if (m_selfTest != SelfTest::Running)
            return;
        if (!m_selfTestPage) {
            m_selfTest = SelfTest::NotRun;
            return;
        }
        m_selfTestPage->runSelfTest(FlashFiles::playerUrl(QStringLiteral("warmup.swf")));
        m_selfTestTimeout.start();
    });
}

void FlashEngine::selfTestFinished(const QStringList &failedChecks)
{
    if (m_selfTest != SelfTest::Running)
        return;
    m_selfTestTimeout.stop();
    m_selfTest = failedChecks.isEmpty() ? SelfTest::Passed : SelfTest::Failed;
    if (!failedChecks.isEmpty())
        qWarning().noquote() << "Flash player: SELF-TEST FAILED - this Ruffle does not behave as the player page"
                                " expects (was it upgraded?):"
                             << failedChecks.join(QStringLiteral("; "));
}

void FlashEngine::selfTestTimedOut()
{
    if (m_selfTest != SelfTest::Running)
        return;
    // A hidden page runs no frames: that is no verdict, try again with the next movie.
    if (!m_selfTestPage || !m_selfTestPage->isVisible()) {
        m_selfTest = SelfTest::NotRun;
        return;
    }
    m_selfTest = SelfTest::Failed;
    qWarning() << "Flash player: SELF-TEST FAILED - a movie's ExternalInterface.call of a name the page does not"
                  " define did not reach the shell. Ruffle's way of running those calls has changed (was it"
                  " upgraded?); movie calls to the shell may be lost.";
}
