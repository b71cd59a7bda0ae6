#include "environment.h"
#include "nofilewrites.h"
#include "pupillock.h"
#include "shellstartup.h"
#include "singleinstance.h"
#include "windowauth.h"
#include "windowmain.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QLockFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSysInfo>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <sys/stat.h>

// md5("секрет" as UTF-8), computed with md5sum.
static const QByteArray kSecretHash = QByteArray::fromHex("2c22d5c2ed37ea03db53ff931e7a9cf6");

// Runs the action once the condition holds, polling the event loops that are running then.
static void when(std::function<bool()> condition, std::function<void()> action)
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        if (!condition())
            return;
        timer->stop();
        timer->deleteLater();
        action();
    });
    timer->start(20);
}

// QTest::keyClicks only knows Latin-1 keys; pupils type Cyrillic.
static void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

static WindowAuth *signInWindow()
{
    return qobject_cast<WindowAuth *>(QApplication::activeModalWidget());
}

static QByteArray readBytes(const QString &fileName)
{
    QFile f(fileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

static ino_t inodeOf(const QString &fileName)
{
    struct stat st;
    return ::stat(QFile::encodeName(fileName).constData(), &st) == 0 ? st.st_ino : 0;
}

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void closingSignInEndsWithoutTouchingPupils();
    void newPupilExitWritesTwoSettingBytes();
    void knownPupilKeepsSecondSettingByte();
    void settingsWriteIsAtomicAndFailuresAreReported();
    void unwritablePupilFolderIsToldOnce();
    void silentHolderOfTheLockIsTold();
    void missingSchoolFolderIsToldAndNotMade();
    void styleSheetStopsAtZeroByte();
    void groupTables();
    void courseNamesItsOwnPupilsFolderInsideTheDataFolder();
    void folderWithoutCourseIsToldAndNotEntered();

private:
    QString pupilFolder(const QString &name) const { return courseDataPath() + "/pupils/" + name; }
    void makePupil(const QString &name, const QByteArray &keys, const QByteArray &settings);
    int runAnsweringBox(QString *box);

    QTemporaryDir *m_home = nullptr;
    QTemporaryDir *m_install = nullptr;
    QString m_oldCwd;
};

void TestStartup::init()
{
    m_home = new QTemporaryDir;
    m_install = new QTemporaryDir;
    qputenv("HOME", m_home->path().toUtf8());
    qputenv("XDG_DATA_HOME", (m_home->path() + "/share").toUtf8());
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_install->path());
    courseTitle = QObject::tr("Веларин");
    firstScreenVisible = false;
    flashSetting2 = 0;
    flashSettingsFile.setFileName(QString());
}

void TestStartup::cleanup()
{
    QDir::setCurrent(m_oldCwd);
    delete m_home;
    delete m_install;
}

void TestStartup::makePupil(const QString &name, const QByteArray &keys, const QByteArray &settings)
{
    QVERIFY(QDir().mkpath(pupilFolder(name) + "/comments"));
    QFile k(pupilFolder(name) + "/pupil.keys");
    QVERIFY(k.open(QIODevice::WriteOnly));
    k.write(keys);
    k.close();
    QFile s(pupilFolder(name) + "/flash.cfg");
    QVERIFY(s.open(QIODevice::WriteOnly));
    s.write(settings);
}

// Runs the shell, answering a message box with Ok (its title and text go to box) and closing
// a sign-in window, which these starts must not reach.
int TestStartup::runAnsweringBox(QString *box)
{
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, this, [box] {
        if (auto *shown = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            *box = shown->windowTitle() + ": " + shown->text();
            shown->button(QMessageBox::Ok)->click();
        } else if (signInWindow()) {
            signInWindow()->findChild<QPushButton *>("button_window_close")->click();
        }
    });
    watcher.start(20);
    return ShellStartup().run();
}

void TestStartup::closingSignInEndsWithoutTouchingPupils()
{
    makePupil("Аня", kSecretHash, QByteArray("\x01\x07", 2));
    const QDateTime before = QFileInfo(pupilFolder("Аня") + "/flash.cfg").lastModified();

    bool mainWindowHadSheets = true;
    when([] { return signInWindow() != nullptr; }, [&] {
        mainWindowHadSheets = mainWindow && mainWindow->tabBar();
        signInWindow()->findChild<QPushButton *>("button_window_close")->click();
    });
    QCOMPARE(ShellStartup().run(), 0);

    QVERIFY(!mainWindowHadSheets);
    QVERIFY(!mainWindow);
    QCOMPARE(pupilDir, QDir(courseDataPath()));
    QCOMPARE(QDir(courseDataPath() + "/pupils").entryList(QDir::AllEntries | QDir::NoDotAndDotDot), {"Аня"});
    QCOMPARE(QDir(pupilFolder("Аня")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList({"comments", "flash.cfg", "pupil.keys"}));
    QCOMPARE(readBytes(pupilFolder("Аня") + "/flash.cfg"), QByteArray("\x01\x07", 2));
    QCOMPARE(QFileInfo(pupilFolder("Аня") + "/flash.cfg").lastModified(), before);
    QCOMPARE(readBytes(pupilFolder("Аня") + "/pupil.keys"), kSecretHash);
}

void TestStartup::newPupilExitWritesTwoSettingBytes()
{
    when([] { return signInWindow() != nullptr; }, [] {
        WindowAuth *auth = signInWindow();
        typeText(auth->findChild<QComboBox *>("uname")->lineEdit(), QString("Петя"));
        typeText(auth->findChild<QLineEdit *>("lineedit_password"), QString("секрет"));
        typeText(auth->findChild<QLineEdit *>("lineedit_confirm"), QString("секрет"));
        auth->findChild<QPushButton *>("button_enter")->click();
    });
    bool sheetsBuilt = false;
    QString holderAtWork;
    when([] { return !signInWindow() && mainWindow && mainWindow->tabBar(); }, [&] {
        sheetsBuilt = true;
        holderAtWork = PupilLock::holderOf(QDir(pupilFolder("Петя")));
        firstScreenVisible = true; // as a movie would set it
        qApp->quit();
    });
    QCOMPARE(ShellStartup().run(), 0);

    QVERIFY(sheetsBuilt);
    QCOMPARE(pupilDir, QDir(pupilFolder("Петя")));
    QCOMPARE(readBytes(pupilFolder("Петя") + "/pupil.keys"), kSecretHash);
    QCOMPARE(readBytes(pupilFolder("Петя") + "/flash.cfg"), QByteArray("\x01\x64", 2));
    // Held for the session, left free for her next sign-in at any computer.
    QCOMPARE(holderAtWork, QSysInfo::machineHostName());
    QCOMPARE(PupilLock::holderOf(QDir(pupilFolder("Петя"))), QString());
}

void TestStartup::knownPupilKeepsSecondSettingByte()
{
    makePupil("Оля", kSecretHash, QByteArray("\x00\xf0", 2));
    when([] { return signInWindow() != nullptr; }, [] {
        WindowAuth *auth = signInWindow();
        QVERIFY(auth->findChild<QLineEdit *>("lineedit_confirm")->isHidden());
        typeText(auth->findChild<QLineEdit *>("lineedit_password"), QString("секрет"));
        QTest::keyClick(auth->findChild<QLineEdit *>("lineedit_password"), Qt::Key_Return);
    });
    int settingSeen = 0;
    when([] { return !signInWindow() && mainWindow && mainWindow->tabBar(); }, [&] {
        settingSeen = flashSetting2;
        qApp->quit();
    });
    ShellStartup().run();
    QCOMPARE(settingSeen, -16);
    QCOMPARE(readBytes(pupilFolder("Оля") + "/flash.cfg"), QByteArray("\x00\xf0", 2));
}

void TestStartup::settingsWriteIsAtomicAndFailuresAreReported()
{
    QVERIFY(QDir().mkpath(pupilFolder("Ира")));
    const QString file = pupilFolder("Ира") + "/flash.cfg";
    QFile old(file);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("\x00\x64", 2);
    old.close();
    const ino_t oldInode = inodeOf(file);

    flashSettingsFile.setFileName(file);
    firstScreenVisible = true;
    flashSetting2 = 300; // only the low byte is stored
    QVERIFY(ShellStartup::writeFlashSettings());
    QCOMPARE(readBytes(file), QByteArray("\x01\x2c", 2));
    // Replaced by a new file, never rewritten in place: a crash mid-write cannot leave half a file.
    QVERIFY(inodeOf(file) != oldInode);

    flashSettingsFile.setFileName(m_home->path() + "/no/such/folder/flash.cfg");
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot write the Flash settings .*no/such/folder"));
    QVERIFY(!ShellStartup::writeFlashSettings());

    flashSettingsFile.setFileName(QString());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot write the Flash settings"));
    QVERIFY(!ShellStartup::writeFlashSettings());
}

void TestStartup::unwritablePupilFolderIsToldOnce()
{
    // The remember token and the new markbook both fail to be written (a full disk).
    makePupil("Оля", kSecretHash, QByteArray("\x00\x64", 2));
    std::unique_ptr<NoFileWrites> full;
    when([] { return signInWindow() != nullptr; }, [&full] {
        WindowAuth *auth = signInWindow();
        typeText(auth->findChild<QLineEdit *>("lineedit_password"), QString("секрет"));
        auth->findChild<QCheckBox *>("checkbox_remember")->setChecked(true);
        full.reset(new NoFileWrites);
        auth->findChild<QPushButton *>("button_enter")->click();
    });
    QStringList boxes;
    QString boxParent;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        boxes << box->windowTitle() + ": " + box->text();
        boxParent = box->parentWidget() ? box->parentWidget()->objectName() : QString();
        box->button(QMessageBox::Ok)->click();
        full.reset();
        QTimer::singleShot(500, qApp, &QApplication::quit); // a second box would come before
    });
    watcher.start(10);
    QCOMPARE(ShellStartup().run(), 0);

    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes.first().startsWith("Ошибка: Не могу записать файлы ученика в папку " + pupilFolder("Оля")),
             qPrintable(boxes.first()));
    QCOMPARE(boxParent, QString("window_main"));
    QCOMPARE(readBytes(pupilFolder("Оля") + "/pupil.keys"), kSecretHash);
}

void TestStartup::silentHolderOfTheLockIsTold()
{
    // A live process holds the lock but never listens (hung, or not a shell at all).
    QVERIFY(QDir().mkpath(courseDataPath()));
    QLockFile held(SingleInstance::lockFileName(courseDataPath()));
    QVERIFY(held.tryLock(0));
    QString box;
    QCOMPARE(runAnsweringBox(&box), 0); // a sign-in window here: the pupil would get a second shell
    QVERIFY2(box.startsWith("Ошибка: Программа уже запущена, но не отвечает"), qPrintable(box));
    QVERIFY(!mainWindow);
}

void TestStartup::missingSchoolFolderIsToldAndNotMade()
{
    // The school's network folder, not connected: its mount point is there, the folder is not.
    const QString school = m_home->path() + "/mnt/school/pellora";
    qputenv("PELLORA_COURSE_DATA", school.toUtf8());
    QString box;
    const int result = runAnsweringBox(&box);
    qunsetenv("PELLORA_COURSE_DATA");
    QCOMPARE(result, 0);
    QVERIFY2(box.startsWith("Ошибка: Папка учеников " + school + " недоступна"), qPrintable(box));
    QVERIFY(box.contains("PELLORA_COURSE_DATA"));
    QVERIFY(!QFileInfo::exists(m_home->path() + "/mnt"));
    QVERIFY(!mainWindow);
}

void TestStartup::styleSheetStopsAtZeroByte()
{
    QCOMPARE(ShellStartup::styleSheetText(QByteArray("QLabel { color: red; }\0garbage", 30)),
             QString("QLabel { color: red; }"));
    QCOMPARE(ShellStartup::styleSheetText(QByteArray("a\xe9")), QString::fromLatin1("a\xe9"));
    QCOMPARE(ShellStartup::styleSheetText(QByteArray()), QString());
}

void TestStartup::groupTables()
{
    fillGroupTables();
    QCOMPARE(groupCaptions.size(), 7);
    QCOMPARE(groupCaptions.value("con"), QString("Проверочные работы"));
    QCOMPARE(groupIconsBig.size(), 9);
    QVERIFY(groupIconsBig.contains("folder_expanded"));
    QVERIFY(groupIconsBig.contains("folder_collapsed"));
    QVERIFY(!groupIconsSmall.contains("folder_expanded"));
    QCOMPARE(groupIconsSmall.size(), 7);
}

void TestStartup::courseNamesItsOwnPupilsFolderInsideTheDataFolder()
{
    const QString base = m_home->path() + "/share/pellora/";
    auto pupilsFolderOf = [](const QByteArray &contents) {
        QDir().mkpath("data");
        QFile file("data/content.xml");
        file.open(QIODevice::WriteOnly);
        file.write(contents);
        file.close();
        ShellStartup::applyLook();
        return courseDataPath();
    };
    QCOMPARE(pupilsFolderOf("<content caption=\"Азбука. 1 класс\" title=\"Веларин\" code=\"01\"/>"), base + "Веларин/01");
    QCOMPARE(pupilsFolderOf("<content caption=\"Математика. 1 класс\"/>"), base + "Математика. 1 класс/01");
    // A course folder is not to be trusted: its names stay one folder level each.
    QCOMPARE(pupilsFolderOf("<content title=\"../../..\" code=\"../x/y\"/>"), base + "_.._/_x_y");
    QCOMPARE(pupilsFolderOf("<content title=\"..\\a:b\" code=\" . \"/>"), base + "_a_b/01");
    QCOMPARE(pupilsFolderOf("not xml"), base + "Веларин/01");
}

void TestStartup::folderWithoutCourseIsToldAndNotEntered()
{
    QVERIFY(QDir().mkpath("course/theme"));
    QStringList boxes;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, this, [&boxes] {
        if (auto *shown = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            boxes << shown->windowTitle() + ": " + shown->text();
            shown->button(QMessageBox::Ok)->click();
        }
    });
    watcher.start(20);
    const QString here = QDir::currentPath();
    QVERIFY(!ShellStartup::enterCourse({"shell", "--course", "course"}));
    QVERIFY(!ShellStartup::enterCourse({"shell", "--course", here + "/nowhere"}));
    QCOMPARE(QDir::currentPath(), here);
    QCOMPARE(boxes, QStringList({"Ошибка: Папка " + here + "/course не содержит курса: в ней нет файла " + here
                                     + "/course/data/content.xml.",
                                 "Ошибка: Папка курса " + here + "/nowhere не найдена."}));

    QVERIFY(QDir().mkpath("course/data"));
    QFile("course/data/content.xml").open(QIODevice::WriteOnly);
    QVERIFY(ShellStartup::enterCourse({"shell", "--course", "course"}));
    QCOMPARE(QDir::currentPath(), here + "/course");
    QCOMPARE(boxes.size(), 2);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
