// The teacher's changes to pupils' folders, and the teacher's password at the sign-in.

#include "flashspace.h"
#include "pupilfolders.h"
#include "pupillist.h"
#include "teacherkey.h"
#include "teachersignin.h"
#include "writefile.h"

#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Every file and folder below `root`, by relative path, with its bytes.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        files.insert(QDir(root).relativeFilePath(path), file.open(QIODevice::ReadOnly) ? file.readAll() : "<folder>");
    }
    return files;
}

void makePupil(const QDir &course, const QString &name, const QByteArray &flavour)
{
    const QString folder = course.filePath("pupils/" + name);
    writeFile(folder + "/pupil.keys", QByteArray(16, 'k'));
    writeFile(folder + "/flash.cfg", QByteArray("\x01\x05", 2));
    writeFile(folder + "/markbook.xml", "<markbook>" + flavour + "</markbook>");
    writeFile(folder + "/favorites.xml", "<favorites/>");
    writeFile(folder + "/comments/igr_a.cmt", "Комментарий " + flavour);
    writeFile(folder + "/.hidden", flavour);
    QVERIFY(QDir(folder).mkpath("empty"));
}

void type(QLineEdit *field, const QString &text)
{
    field->clear();
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

class TestPupilFolders : public QObject
{
    Q_OBJECT

private slots:
    void removedPupilIsRestoredWhole();
    void renameRefusesTakenAndUnsafeNames();
    void teacherPasswordIsSetThenAskedForAndGuessingWaits();
};

void TestPupilFolders::removedPupilIsRestoredWhole()
{
    QTemporaryDir home;
    const QDir course(home.path());
    makePupil(course, "Аня", "первая");
    makePupil(course, "Боря", "его");
    const auto before = snapshot(course.filePath("pupils/Аня"));
    PupilFolders folders(course);

    QCOMPARE(folders.remove("Аня"), QString("Аня"));
    QCOMPARE(folders.pupils(), QStringList({"Боря"}));
    QCOMPARE(folders.removed(), QStringList({"Аня"}));

    // A new pupil took her name meanwhile: she is not brought back over him.
    makePupil(course, "Аня", "вторая");
    QString error;
    QVERIFY(!folders.restore("Аня", &error));
    QVERIFY2(error.contains("занято"), qPrintable(error));
    QVERIFY(snapshot(course.filePath("pupils/Аня")).value("markbook.xml").contains("вторая"));

    // He is removed too, beside her, not over her.
    QCOMPARE(folders.remove("Аня"), QString("Аня (2)"));
    QCOMPARE(folders.removed(), QStringList({"Аня", "Аня (2)"}));
    QVERIFY(folders.restore("Аня", &error));
    QCOMPARE(folders.pupils(), QStringList({"Аня", "Боря"}));
    QCOMPARE(snapshot(course.filePath("pupils/Аня")), before);
    QCOMPARE(folders.removed(), QStringList({"Аня (2)"}));

    // Names that are no pupil's never reach outside the course's folders.
    QVERIFY(folders.remove("../pupils/Боря").isEmpty());
    QVERIFY(!folders.restore("..", &error));
    QCOMPARE(folders.pupils(), QStringList({"Аня", "Боря"}));
}

void TestPupilFolders::renameRefusesTakenAndUnsafeNames()
{
    QTemporaryDir home;
    const QDir course(home.path());
    makePupil(course, "Аня", "её");
    makePupil(course, "Боря", "его");
    // A folder without a record is no pupil, but somebody's files may be in it.
    QVERIFY(course.mkpath("pupils/Вова/comments"));
    QVERIFY(PupilList::setLastPupil(course, "Аня"));
    // Her movie data is kept under the name she worked under before such names were kept.
    QCOMPARE(FlashSpace::forPupil(QDir(course.filePath("pupils/Аня"))), QString("Аня"));
    const auto before = snapshot(course.filePath("pupils/Аня"));
    PupilFolders folders(course);

    QString error;
    QVERIFY(!folders.rename("Аня", "Боря", &error));
    QVERIFY2(error.contains("занято"), qPrintable(error));
    QVERIFY(!folders.rename("Аня", "Вова", &error));
    QVERIFY(!folders.rename("Аня", "../Анна", &error));
    QVERIFY(!folders.rename("Аня", " Анна", &error));
    QCOMPARE(folders.pupils(), QStringList({"Аня", "Боря"}));
    // Боря is at work at another computer: his folder stays where his shell writes.
    writeFile(course.filePath("pupils/Боря/pupil.lock"), "4711\nshell\nklass-7\n");
    QCOMPARE(folders.workingAt("Боря"), QString("klass-7"));
    QVERIFY(!folders.rename("Боря", "Борис", &error));
    QVERIFY2(error.contains("klass-7"), qPrintable(error));
    QVERIFY(folders.remove("Боря", &error).isEmpty());
    QVERIFY(folders.releaseLock("Боря", &error));
    QVERIFY(folders.workingAt("Боря").isEmpty());

    QVERIFY(folders.rename("Аня", "Анна Иванова", &error));
    QCOMPARE(folders.pupils(), QStringList({"Анна Иванова", "Боря"}));
    QCOMPARE(snapshot(course.filePath("pupils/Анна Иванова")), before);
    // The sign-in window opens on her under her new name.
    QCOMPARE(PupilList::lastPupil(course), QString("Анна Иванова"));
    // Her saved games go with her; a new pupil who takes her old name starts with none of them.
    QCOMPARE(FlashSpace::forPupil(QDir(course.filePath("pupils/Анна Иванова"))), QString("Аня"));
    QVERIFY(!folders.remove("Анна Иванова", &error).isEmpty());
    QVERIFY(course.mkpath("pupils/Аня"));
    const QString newcomer = FlashSpace::forPupil(QDir(course.filePath("pupils/Аня")));
    QVERIFY(newcomer != "Аня" && newcomer != "Анна Иванова");
    QCOMPARE(FlashSpace::forPupil(QDir(course.filePath("pupils/Аня"))), newcomer);
}

void TestPupilFolders::teacherPasswordIsSetThenAskedForAndGuessingWaits()
{
    QTemporaryDir home;
    const QDir course(home.path());
    {
        TeacherSignIn first(course);
        auto *password = first.findChild<QLineEdit *>("lineedit_teacher_password");
        auto *confirm = first.findChild<QLineEdit *>("lineedit_teacher_confirm");
        auto *message = first.findChild<QLabel *>("label_teacher_message");
        auto *enter = first.findChild<QPushButton *>("button_teacher_enter");
        first.show();
        QVERIFY(first.isSettingPassword());
        QVERIFY(confirm->isVisible());
        enter->click();
        QCOMPARE(message->text(), QString("Пароль не может быть пустым"));
        type(password, "Учитель-1");
        type(confirm, "Учитель-2");
        enter->click();
        QCOMPARE(message->text(), QString("Пароли не совпадают"));
        QVERIFY(!TeacherKey::isSet(course));
        type(confirm, "Учитель-1");
        enter->click();
        QCOMPARE(first.result(), int(QDialog::Accepted));
        QVERIFY(TeacherKey::check(course, "Учитель-1"));
    }
    TeacherSignIn later(course);
    auto *password = later.findChild<QLineEdit *>("lineedit_teacher_password");
    auto *message = later.findChild<QLabel *>("label_teacher_message");
    later.show();
    QVERIFY(!later.isSettingPassword());
    QVERIFY(later.findChild<QLineEdit *>("lineedit_teacher_confirm")->isHidden());
    const auto guess = [&](const QString &text) {
        type(password, text);
        QTest::keyClick(password, Qt::Key_Return);
    };
    guess("учитель-1");
    QCOMPARE(message->text(), QString("Неверный пароль"));
    guess("Учитель-2");
    QVERIFY(password->isEnabled());
    guess("Учитель-3");
    QVERIFY(!password->isEnabled());
    QCOMPARE(later.result(), int(QDialog::Rejected));
    // Closing and opening the sign-in again does not end the wait.
    later.restart();
    QVERIFY(!password->isEnabled());
}

QTEST_MAIN(TestPupilFolders)
#include "tst_pupilfolders.moc"
