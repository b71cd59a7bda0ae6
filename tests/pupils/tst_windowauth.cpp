#include "environment.h"
#include "nofilewrites.h"
#include "pupilfolders.h"
#include "pupilkeys.h"
#include "pupillist.h"
#include "pupillock.h"
#include "windowauth.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// Vectors computed with md5sum while writing this test, not by the code under test:
// md5("секрет"), md5("Секрет"), md5("rz_keep_" + md5("секрет")).
static const QByteArray kSecretHash = QByteArray::fromHex("2c22d5c2ed37ea03db53ff931e7a9cf6");
static const QByteArray kCapitalSecretHash = QByteArray::fromHex("7a793ceaa00f5a17a5f94b06ed4876e2");
static const QByteArray kSecretToken = QByteArray::fromHex("c34f52a853e5c7bd5d65460558967156");
// md5("новый"), md5("rz_keep_" + md5("новый")).
static const QByteArray kNewHash = QByteArray::fromHex("814e21af03ab9e03888437ba5aede54f");
static const QByteArray kNewToken = QByteArray::fromHex("140d933275d3b411f9220eec50fefb26");

static void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

static QByteArray readBytes(const QString &fileName)
{
    QFile f(fileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Drives one sign-in window and collects the error boxes it shows.
class SignIn
{
public:
    SignIn()
        : window(new WindowAuth)
    {
        window->show();
    }
    ~SignIn() { delete window; }

    QComboBox *name() const { return window->findChild<QComboBox *>("uname"); }
    QLineEdit *password() const { return window->findChild<QLineEdit *>("lineedit_password"); }
    QLineEdit *confirm() const { return window->findChild<QLineEdit *>("lineedit_confirm"); }
    QCheckBox *remember() const { return window->findChild<QCheckBox *>("checkbox_remember"); }

    void typeName(const QString &text)
    {
        name()->lineEdit()->clear();
        typeText(name()->lineEdit(), text);
    }
    // Picks a name in the drop-down list, as a child does with the mouse or the keys.
    void choose(const QString &text)
    {
        name()->showPopup();
        QAbstractItemView *list = name()->view();
        list->setCurrentIndex(list->model()->index(name()->findText(text), 0));
        QTest::keyClick(list, Qt::Key_Return);
    }
    // Presses the enter button; returns the text of the error box it caused, if any.
    QString enter()
    {
        const QString &message = answerNextBox();
        window->findChild<QPushButton *>("button_enter")->click();
        return message;
    }
    // Answers the next message box (within a second) with Ok; its title and text are in the
    // string returned once it was shown.
    static const QString &answerNextBox()
    {
        static QString message;
        message.clear();
        auto *poll = new QTimer(qApp);
        auto *clock = new QElapsedTimer;
        clock->start();
        QObject::connect(poll, &QTimer::timeout, poll, [poll, clock] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (box) {
                message = box->windowTitle() + ": " + box->text();
                box->button(QMessageBox::Ok)->click();
            }
            if (box || clock->elapsed() > 1000) {
                poll->deleteLater();
                delete clock;
                poll->stop();
            }
        });
        poll->start(5);
        return message;
    }
    bool signedIn() const { return window->result() == QDialog::Accepted; }

    WindowAuth *window;
};

class TestWindowAuth : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void newPupilIsCreatedAndSignedIn();
    void emptyCourseStartsInNewPupilMode();
    void knownPupilWithWrongAndRightPassword();
    void rememberGrowsAndShrinksTheRecord();
    void confirmationMismatchLeavesUnlistedFolder();
    void unsafeNamesAreRefused_data();
    void unsafeNamesAreRefused();
    void failedPupilFolderIsReportedAndNotListed();
    void failedKeysWriteIsReported();
    void existingRecordIsNeverReplacedByANewPupil();
    void dotNamesAreListedAndListIsSortedStartingWithTheLast();
    void missingPupilsFolderIsShownOverTheWindowAndBlocksSignIn();
    void wrongPasswordIsSelectedAndFailedForgettingKeepsTheWindow();
    void resetPasswordIsChosenAgainAndHerFilesStay();
    void pupilAtWorkElsewhereIsRefusedUntilReleased();
    void schoolNamesTheFolderOfThePupils();

private:
    QString pupils() const { return courseDataPath() + "/pupils"; }
    void makePupil(const QString &name, const QByteArray &keys);

    QTemporaryDir *m_home = nullptr;
};

void TestWindowAuth::init()
{
    m_home = new QTemporaryDir;
    qputenv("XDG_DATA_HOME", m_home->path().toUtf8());
    courseTitle = QStringLiteral("Веларин");
    flashSettingsFile.setFileName(QString());
    firstScreenVisible = false;
    flashSetting2 = 0;
}

void TestWindowAuth::cleanup()
{
    qunsetenv("PELLORA_COURSE_DATA");
    delete m_home;
}

void TestWindowAuth::makePupil(const QString &name, const QByteArray &keys)
{
    QVERIFY(QDir().mkpath(pupils() + "/" + name + "/comments"));
    QFile f(pupils() + "/" + name + "/pupil.keys");
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(keys);
    f.close();
    QFile s(pupils() + "/" + name + "/flash.cfg");
    QVERIFY(s.open(QIODevice::WriteOnly));
    s.write("\x01\x05", 2);
}

void TestWindowAuth::newPupilIsCreatedAndSignedIn()
{
    SignIn s;
    s.typeName("Маша Петрова");
    typeText(s.password(), "секрет");
    typeText(s.confirm(), "секрет");
    QCOMPARE(s.enter(), QString());
    QVERIFY(s.signedIn());
    const QString folder = pupils() + "/Маша Петрова";
    QCOMPARE(pupilDir, QDir(folder));
    QCOMPARE(readBytes(folder + "/pupil.keys"), kSecretHash);
    QCOMPARE(readBytes(folder + "/flash.cfg"), QByteArray("\x00\x64", 2));
    QVERIFY(QDir(folder + "/comments").exists());
    QCOMPARE(flashSettingsFile.fileName(), folder + "/flash.cfg");
    QCOMPARE(firstScreenVisible, false);
    QCOMPARE(flashSetting2, 100);
}

void TestWindowAuth::emptyCourseStartsInNewPupilMode()
{
    SignIn s;
    QCOMPARE(s.name()->count(), 0);
    QVERIFY(!s.confirm()->isHidden());
    QVERIFY(!s.remember()->isChecked());
    QVERIFY(QDir(pupils()).exists());
}

void TestWindowAuth::knownPupilWithWrongAndRightPassword()
{
    makePupil("Коля", kSecretHash);
    SignIn s;
    QCOMPARE(s.name()->currentText(), QString("Коля"));
    QVERIFY(s.confirm()->isHidden());

    // Typing one more letter makes an unknown name: new-pupil mode and an empty password.
    typeText(s.password(), "abc");
    typeText(s.name()->lineEdit(), "н");
    QVERIFY(!s.confirm()->isHidden());
    QVERIFY(s.password()->text().isEmpty());
    s.typeName("Коля");
    QVERIFY(s.confirm()->isHidden());

    typeText(s.password(), "Секрет"); // differs only in case
    QCOMPARE(s.enter(), QString("Ошибка: Неверный пароль"));
    QVERIFY(!s.signedIn());
    QCOMPARE(pupilDir, QDir(courseDataPath()));

    s.password()->clear();
    typeText(s.password(), "секрет");
    QCOMPARE(s.enter(), QString());
    QVERIFY(s.signedIn());
    QCOMPARE(flashSetting2, 5);
    QCOMPARE(firstScreenVisible, true);
    QCOMPARE(readBytes(pupils() + "/Коля/pupil.keys"), kSecretHash);
}

void TestWindowAuth::rememberGrowsAndShrinksTheRecord()
{
    makePupil("Оля", kCapitalSecretHash);
    makePupil("Дима", kSecretHash);
    {
        SignIn s;
        s.typeName("Дима");
        typeText(s.password(), "неверно");
        s.remember()->setChecked(true);
        QCOMPARE(s.enter(), QString("Ошибка: Неверный пароль"));
        QCOMPARE(readBytes(pupils() + "/Дима/pupil.keys"), kSecretHash);
        s.password()->clear();
        typeText(s.password(), "секрет");
        QCOMPARE(s.enter(), QString());
        QCOMPARE(readBytes(pupils() + "/Дима/pupil.keys"), kSecretToken + kSecretHash);
    }
    {
        // The window opens on him, but on a shared computer the next child must not get in
        // as him by pressing the button: his password waits until his name is picked.
        SignIn s;
        QCOMPARE(s.name()->currentText(), QString("Дима"));
        QVERIFY(s.password()->text().isEmpty());
        QVERIFY(s.confirm()->isHidden());
        QCOMPARE(s.enter(), QString("Ошибка: Неверный пароль"));
        QVERIFY(!s.signedIn());
        // Return in the name field is the same button, not a pick of the name in the list.
        const QString &shown = SignIn::answerNextBox();
        QTest::keyClick(s.name()->lineEdit(), Qt::Key_Return);
        QCOMPARE(shown, QString("Ошибка: Неверный пароль"));
        QVERIFY(!s.signedIn());
        QVERIFY(s.password()->text().isEmpty());
        // Picked in the list, he comes back with a filled password and a checked box; Return signs in.
        s.choose("Дима");
        QVERIFY(s.remember()->isChecked());
        QCOMPARE(s.password()->text(), PupilKeys::tokenText(kSecretToken));
        QTest::keyClick(s.password(), Qt::Key_Return);
        QVERIFY(s.signedIn());
        QCOMPARE(readBytes(pupils() + "/Дима/pupil.keys"), kSecretToken + kSecretHash);
    }
    {
        SignIn s;
        s.choose("Оля");
        QVERIFY(s.password()->text().isEmpty());
        s.choose("Дима");
        s.remember()->setChecked(false);
        QCOMPARE(s.enter(), QString());
        QVERIFY(s.signedIn());
        QCOMPARE(readBytes(pupils() + "/Дима/pupil.keys"), kSecretHash);
    }
    SignIn s;
    s.typeName("Дима");
    QVERIFY(s.password()->text().isEmpty());
    QVERIFY(!s.remember()->isChecked());
}

void TestWindowAuth::confirmationMismatchLeavesUnlistedFolder()
{
    {
        SignIn s;
        s.typeName("Вова");
        typeText(s.password(), "один");
        typeText(s.confirm(), "два");
        QCOMPARE(s.enter(), QString("Ошибка: Пароли не совпадают"));
        QVERIFY(!s.signedIn());
        QVERIFY(QDir(pupils() + "/Вова/comments").exists());
    }
    SignIn s;
    QCOMPARE(s.name()->findText("Вова"), -1);
}

void TestWindowAuth::unsafeNamesAreRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << QString();
    QTest::newRow("one space") << QString(" ");
    QTest::newRow("dot") << QString(".");
    QTest::newRow("dot dot") << QString("..");
    QTest::newRow("colon") << QString("a:b");
    QTest::newRow("slash") << QString("../x");
    QTest::newRow("backslash") << QString("a\\b");
    QTest::newRow("question") << QString("кто?");
    QTest::newRow("control") << QString("a\u0001b");
    QTest::newRow("leading space") << QString(" Аня");
    QTest::newRow("trailing space") << QString("Аня ");
    QTest::newRow("too long") << QString(128, QChar(0x0416)); // 256 bytes in UTF-8
}

void TestWindowAuth::unsafeNamesAreRefused()
{
    QFETCH(QString, name);
    SignIn s;
    s.name()->setEditText(name);
    typeText(s.password(), "x");
    typeText(s.confirm(), "x");
    QCOMPARE(s.enter(), QString("Ошибка: Недопустимые символы в имени пользователя"));
    QVERIFY(!s.signedIn());
    QCOMPARE(pupilDir, QDir(courseDataPath()));
    QCOMPARE(QDir(pupils()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    QVERIFY(!QFile::exists(courseDataPath() + "/pupil.keys"));
}

void TestWindowAuth::failedPupilFolderIsReportedAndNotListed()
{
    // A plain file where the pupil's folder should go: the folder cannot be made, even as root.
    QVERIFY(QDir().mkpath(pupils()));
    QFile blocker(pupils() + "/Лена");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    {
        SignIn s;
        s.typeName("Лена");
        typeText(s.password(), "x");
        typeText(s.confirm(), "x");
        QVERIFY(s.enter().startsWith("Ошибка: Не могу сохранить данные ученика «Лена»"));
        QVERIFY(!s.signedIn());
        QVERIFY(s.window->isVisible());
        QCOMPARE(pupilDir, QDir(courseDataPath()));
    }
    SignIn s;
    QCOMPARE(s.name()->findText("Лена"), -1);
}

void TestWindowAuth::failedKeysWriteIsReported()
{
    {
        SignIn s;
        s.typeName("Лена");
        typeText(s.password(), "x");
        typeText(s.confirm(), "x");
        QString message;
        {
            NoFileWrites full;
            message = s.enter();
        }
        QVERIFY(message.startsWith("Ошибка: Не могу сохранить данные ученика"));
        QVERIFY(!s.signedIn());
    }
    QVERIFY(!QFile::exists(pupils() + "/Лена/pupil.keys"));
    SignIn s;
    QCOMPARE(s.name()->findText("Лена"), -1);
}

void TestWindowAuth::existingRecordIsNeverReplacedByANewPupil()
{
    // A folder the list does not show (another spelling on a case-insensitive disk, or made
    // since the window opened) already holds a pupil's record.
    SignIn s;
    s.typeName("Петя");
    QVERIFY(!s.confirm()->isHidden());
    makePupil("Петя", kSecretHash);
    typeText(s.password(), "чужой");
    typeText(s.confirm(), "чужой");
    QCOMPARE(s.enter(), QString("Ошибка: Ученик «Петя» уже есть. Введите его пароль."));
    QVERIFY(!s.signedIn());
    QCOMPARE(readBytes(pupils() + "/Петя/pupil.keys"), kSecretHash);
    // Now a known pupil: the password is asked for, and only the right one opens the account.
    QVERIFY(s.confirm()->isHidden());
    QVERIFY(s.password()->text().isEmpty());
    typeText(s.password(), "чужой");
    QCOMPARE(s.enter(), QString("Ошибка: Неверный пароль"));
    s.password()->clear();
    typeText(s.password(), "секрет");
    QCOMPARE(s.enter(), QString());
    QVERIFY(s.signedIn());
    QCOMPARE(readBytes(pupils() + "/Петя/pupil.keys"), kSecretHash);

    // Typing such a name switches to known-pupil mode at once.
    SignIn again;
    makePupil("Вера", kSecretHash);
    again.typeName("Вера");
    QVERIFY(again.confirm()->isHidden());
}

void TestWindowAuth::dotNamesAreListedAndListIsSortedStartingWithTheLast()
{
    QLocale::setDefault(QLocale(QLocale::Russian));
    makePupil("Яна", kSecretHash);
    makePupil("аня", kSecretHash);
    makePupil("Борис", kSecretHash);
    {
        SignIn s;
        QStringList listed;
        for (int i = 0; i < s.name()->count(); ++i)
            listed << s.name()->itemText(i);
        QCOMPARE(listed, QStringList({"аня", "Борис", "Яна"}));
        QCOMPARE(s.name()->currentText(), QString("аня")); // nobody signed in here yet

        s.typeName(".Точка");
        typeText(s.password(), "секрет");
        typeText(s.confirm(), "секрет");
        QCOMPARE(s.enter(), QString());
        QVERIFY(s.signedIn());
    }
    {
        // The pupil with the dot is listed the next day, and the list starts with her.
        SignIn s;
        QCOMPARE(s.name()->findText(".Точка"), 0);
        QCOMPARE(s.name()->currentText(), QString(".Точка"));
        QVERIFY(s.confirm()->isHidden());
        s.typeName("Яна");
        typeText(s.password(), "секрет");
        QCOMPARE(s.enter(), QString());
    }
    SignIn s;
    QCOMPARE(s.name()->currentText(), QString("Яна"));
}

void TestWindowAuth::missingPupilsFolderIsShownOverTheWindowAndBlocksSignIn()
{
    // A plain file where the pupils folder should be: it cannot be made, even by root.
    QVERIFY(QDir().mkpath(courseDataPath()));
    QFile blocker(pupils());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    const QString &shown = SignIn::answerNextBox();
    SignIn s;
    QTRY_COMPARE(shown, QString("Ошибка: Не могу создать каталог pupils"));
    s.typeName("Аня");
    typeText(s.password(), "x");
    typeText(s.confirm(), "x");
    QCOMPARE(s.enter(), QString("Ошибка: Не могу создать каталог pupils"));
    QVERIFY(!s.signedIn());
    QCOMPARE(pupilDir, QDir(courseDataPath()));
    QCOMPARE(QDir(courseDataPath()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList({"pupils"}));

    // Once the folder can be made, the same window signs the pupil in.
    QVERIFY(QFile::remove(pupils()));
    QCOMPARE(s.enter(), QString());
    QVERIFY(s.signedIn());
    QCOMPARE(pupilDir, QDir(pupils() + "/Аня"));
}

void TestWindowAuth::wrongPasswordIsSelectedAndFailedForgettingKeepsTheWindow()
{
    makePupil("Дима", kSecretToken + kSecretHash);
    SignIn s;
    s.typeName("Дима");
    QVERIFY(s.remember()->isChecked());
    s.password()->clear();
    typeText(s.password(), "неверно");
    QCOMPARE(s.enter(), QString("Ошибка: Неверный пароль"));
    QCOMPARE(s.password()->selectedText(), QString("неверно"));

    // Unchecked "remember", but the record cannot be shrunk: the password would stay
    // remembered for whoever sits down next, so nobody is signed in.
    s.password()->clear();
    typeText(s.password(), "секрет");
    s.remember()->setChecked(false);
    QString message;
    {
        NoFileWrites full;
        message = s.enter();
    }
    QVERIFY2(message.startsWith("Ошибка: Не могу забыть пароль"), qPrintable(message));
    QVERIFY(!s.signedIn());
    QCOMPARE(readBytes(pupils() + "/Дима/pupil.keys"), kSecretToken + kSecretHash);
    QCOMPARE(s.enter(), QString());
    QVERIFY(s.signedIn());
    QCOMPARE(readBytes(pupils() + "/Дима/pupil.keys"), kSecretHash);
}

void TestWindowAuth::resetPasswordIsChosenAgainAndHerFilesStay()
{
    makePupil("Коля", kSecretToken + kSecretHash);
    const QString folder = pupils() + "/Коля";
    {
        QFile markbook(folder + "/markbook.xml");
        QVERIFY(markbook.open(QIODevice::WriteOnly));
        markbook.write("<markbook/>");
    }
    QVERIFY(PupilList::setLastPupil(QDir(courseDataPath()), "Коля"));
    QVERIFY(PupilFolders(QDir(courseDataPath())).resetPassword("Коля"));
    QCOMPARE(readBytes(folder + "/pupil.keys"), QByteArray());
    {
        // The window opens on him; neither the old password nor no password opens his account.
        SignIn s;
        QCOMPARE(s.name()->currentText(), QString("Коля"));
        QVERIFY(!s.confirm()->isHidden());
        QCOMPARE(s.enter(), QString("Ошибка: Придумайте новый пароль и повторите его"));
        s.choose("Коля");
        QVERIFY(s.password()->text().isEmpty());
        QVERIFY(!s.remember()->isChecked());
        typeText(s.password(), "секрет");
        typeText(s.confirm(), "новый");
        QCOMPARE(s.enter(), QString("Ошибка: Пароли не совпадают"));
        QVERIFY(!s.signedIn());
        QCOMPARE(readBytes(folder + "/pupil.keys"), QByteArray());

        s.password()->clear();
        s.confirm()->clear();
        typeText(s.password(), "новый");
        typeText(s.confirm(), "новый");
        s.remember()->setChecked(true);
        QCOMPARE(s.enter(), QString());
        QVERIFY(s.signedIn());
        QCOMPARE(pupilDir, QDir(folder));
        QCOMPARE(readBytes(folder + "/pupil.keys"), kNewToken + kNewHash);
        // His settings are his own still, not a new pupil's.
        QCOMPARE(readBytes(folder + "/flash.cfg"), QByteArray("\x01\x05", 2));
        QCOMPARE(flashSetting2, 5);
        QCOMPARE(readBytes(folder + "/markbook.xml"), QByteArray("<markbook/>"));
        QVERIFY(QDir(folder + "/comments").exists());
    }
    // The new password is remembered as any other.
    SignIn s;
    s.choose("Коля");
    QCOMPARE(s.password()->text(), PupilKeys::tokenText(kNewToken));
    QCOMPARE(s.enter(), QString());
    QVERIFY(s.signedIn());
}

void TestWindowAuth::pupilAtWorkElsewhereIsRefusedUntilReleased()
{
    makePupil("Коля", kSecretHash);
    const QDir folder(pupils() + "/Коля");
    {
        // As a shell on another computer of the school leaves it: process id, program, computer.
        QFile lock(folder.filePath("pupil.lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write("4711\nshell\nklass-7\n");
        QVERIFY(lock.flush());
        // A child may work for hours: an old lock is no sign that its computer is off.
        QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-3 * 3600), QFileDevice::FileModificationTime));
    }
    QCOMPARE(PupilLock::holderOf(folder), QString("klass-7"));
    SignIn s;
    typeText(s.password(), "секрет");
    QCOMPARE(s.enter(), QString("Ошибка: Ученик уже работает на компьютере klass-7."));
    QVERIFY(!s.signedIn());
    QCOMPARE(pupilDir, QDir(courseDataPath()));

    // The teacher releases what a switched-off computer left; the same press now signs in.
    QVERIFY(PupilLock::release(folder));
    QCOMPARE(PupilLock::holderOf(folder), QString());
    QCOMPARE(s.enter(), QString());
    QVERIFY(s.signedIn());
    QCOMPARE(PupilLock::holderOf(folder), QSysInfo::machineHostName());

    // Her session holds the folder against another shell, and against a release, until it ends.
    std::unique_ptr<PupilLock> session = s.window->takePupilLock();
    QVERIFY(session);
    QVERIFY(!PupilLock::release(folder));
    SignIn other;
    typeText(other.password(), "секрет");
    QCOMPARE(other.enter(), QString("Ошибка: Ученик уже работает на компьютере %1.").arg(QSysInfo::machineHostName()));
    QVERIFY(!other.signedIn());
    session.reset();
    QVERIFY(!QFile::exists(folder.filePath("pupil.lock")));
    QCOMPARE(other.enter(), QString());
    QVERIFY(other.signedIn());
}

void TestWindowAuth::schoolNamesTheFolderOfThePupils()
{
    // The system-wide setting, as a school would leave it in /etc/xdg.
    QTemporaryDir school;
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, school.path() + "/etc");
    QSettings(QSettings::SystemScope, "pellora", "shell").setValue("courseData", QString(school.path() + "/server"));
    QVERIFY(QDir().mkpath(school.path() + "/server"));
    QCOMPARE(courseDataSetting(), school.path() + "/etc/pellora/shell.conf");
    {
        SignIn s;
        s.typeName("Аня");
        typeText(s.password(), "секрет");
        typeText(s.confirm(), "секрет");
        QCOMPARE(s.enter(), QString());
    }
    QCOMPARE(readBytes(school.path() + "/server/pupils/Аня/pupil.keys"), kSecretHash);

    // The variable, set for one computer or one session, goes before the system-wide setting.
    qputenv("PELLORA_COURSE_DATA", (school.path() + "/other").toUtf8());
    QCOMPARE(courseDataSetting(), QString("PELLORA_COURSE_DATA"));
    SignIn s;
    QCOMPARE(s.name()->count(), 0);
    s.typeName("Вова");
    typeText(s.password(), "секрет");
    typeText(s.confirm(), "секрет");
    QCOMPARE(s.enter(), QString());
    QCOMPARE(pupilDir, QDir(school.path() + "/other/pupils/Вова"));
    QCOMPARE(readBytes(school.path() + "/other/pupils/Вова/pupil.keys"), kSecretHash);
    QVERIFY(!QFileInfo::exists(m_home->path() + "/pellora"));
}

QTEST_MAIN(TestWindowAuth)
#include "tst_windowauth.moc"
