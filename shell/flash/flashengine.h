#ifndef FLASHENGINE_H
#define FLASHENGINE_H

#include "flashfiles.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

class FlashPage;
class FlashWasmServer;
class QWebEngineProfile;
class QWebEngineUrlRequestJob;

// What every Flash player of the process shares: the web profile with its serving and
// request filter, the loopback server for Ruffle's wasm, and warm spare pages. Ruffle compiles its 14 MB of wasm once per page
// (about a second here), so a new player takes a spare, whose compile was paid while the
// user was idle, and a page turn reuses the player's own page. Two spares are kept: a
// material with two movies, or a second material opened at once, also starts on warm
// pages; a spare taken is replaced as soon as the taker's movie shows. While three players
// are open, one spare is enough.
class FlashEngine : public QObject
{
    Q_OBJECT
public:
    // Created on first use with the current directory as the installation folder.
    static FlashEngine *instance();

    bool isAvailable() const;
    const FlashFiles &files() const;
    // A ready-or-loading player page (the warm spare when there is one); the caller owns it.
    // Null when Ruffle is missing.
    FlashPage *takePage();
    // Whether the next player starts on a page that has compiled Ruffle already.
    bool hasWarmSpare() const;
    // How many of the next players do, and how many spares are kept now.
    int warmSpareCount() const;
    int sparesKept() const;
    // For measuring tools; players need nothing from it.
    QWebEngineProfile *profile() const;
    // The profile of the materials' web pages (see FlashFiles); null when Ruffle is missing.
    QWebEngineProfile *materialPageProfile();
    // Players report what they do; the spare is rebuilt only after a quiet spell.
    void noteActivity();
    // Builds the spare pages now, before any player exists: the first player then starts on
    // a page that has compiled Ruffle already, or is compiling it.
    void warmUp();
    // A movie of some page waits for the host's answer to its call.
    bool isAnyMovieWaiting() const;
    // Movies keep local data (SharedObjects) apart for each space: one per pupil.
    void setStorageSpace(const QString &space);

private:
    explicit FlashEngine(QObject *parent = nullptr);
    ~FlashEngine() override;
    static void destroyInstance();

    void createProfile();
    // What both profiles keep to: nothing cached on disk, no cookies kept, no spelling, no
    // windows, no WebRTC interfaces.
    static void lockDown(QWebEngineProfile *profile);
    void answerMovieCall(QWebEngineUrlRequestJob *job);
    FlashPage *pageWithToken(const QString &token) const;
    FlashPage *createPage();
    void buildSpare();
    void refillSoon();
    void forgetDeletedSpares();
    void collectGarbage();
    bool isRendererBusy() const;
    void considerSelfTest(FlashPage *page);
    void selfTestTimedOut();
    void selfTestFinished(const QStringList &failedChecks);

    FlashFiles m_files;
    bool m_available = false;
    QString m_renderer;
    QWebEngineProfile *m_profile = nullptr;
    QWebEngineProfile *m_pagesProfile = nullptr;
    FlashWasmServer *m_wasmServer = nullptr;
    struct Spare
    {
        QPointer<FlashPage> page;
        bool warm = false;
        bool lean = false;   // started over without Ruffle's wasm instance (see buildSpare)
    };
    Spare *spareOf(const FlashPage *page);
    void spareWarm(Spare *spare);
    QList<Spare> m_spares;
    int m_sparesKept;
    QList<QPointer<FlashPage>> m_pages;
    QTimer m_idle;
    QTimer m_collect;
    QString m_storageSpace;

    enum class SelfTest { NotRun, Running, Passed, Failed };
    SelfTest m_selfTest = SelfTest::NotRun;
    QPointer<FlashPage> m_selfTestPage;
    QTimer m_selfTestTimeout;

    static FlashEngine *s_instance;
};

#endif
