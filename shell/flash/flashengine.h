#ifndef FLASHENGINE_H
#define FLASHENGINE_H

#include "flashfiles.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

class FlashPage;
class QWebEngineProfile;
class QWebEngineUrlRequestJob;

// What every Flash player of the process shares: the web profile with its serving and
// request filter, and a warm spare page. Ruffle compiles its 14 MB of wasm once per page
// (about a second here), so a new player takes the spare, whose compile was paid while
// the user was idle, and a page turn reuses the player's own page.
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
    // For measuring tools; players need nothing from it.
    QWebEngineProfile *profile() const;
    // Players report what they do; the spare is rebuilt only after a quiet spell.
    void noteActivity();
    // Builds the spare page now, before any player exists: the first player then starts on
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
    void answerMovieCall(QWebEngineUrlRequestJob *job);
    FlashPage *pageWithToken(const QString &token) const;
    FlashPage *createPage();
    void buildSpare();
    bool isAnyPageLoading() const;
    void considerSelfTest(FlashPage *page);
    void selfTestTimedOut();
    void selfTestFinished(const QStringList &failedChecks);

    FlashFiles m_files;
    bool m_available = false;
    QString m_renderer;
    QWebEngineProfile *m_profile = nullptr;
    QPointer<FlashPage> m_spare;
    bool m_spareWarm = false;
    QList<QPointer<FlashPage>> m_pages;
    QTimer m_idle;
    QString m_storageSpace;

    enum class SelfTest { NotRun, Running, Passed, Failed };
    SelfTest m_selfTest = SelfTest::NotRun;
    QPointer<FlashPage> m_selfTestPage;
    QTimer m_selfTestTimeout;

    static FlashEngine *s_instance;
};

#endif
