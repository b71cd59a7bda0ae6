// The class's back-up: saved, restored elsewhere and over a class, and a hostile copy.

#include "classbackup.h"
#include "writefile.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>

#include <archive.h>
#include <archive_entry.h>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Every file and folder below `root`, by relative name; folders map to "<dir>".
QMap<QString, QByteArray> tree(const QString &root)
{
    QMap<QString, QByteArray> result;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        result.insert(QDir(root).relativeFilePath(info.filePath()), info.isDir() ? QByteArray("<dir>") : readFile(info.filePath()));
    }
    return result;
}

QByteArray allBytes()
{
    QByteArray bytes;
    for (int i = 0; i < 3 * 256; ++i)
        bytes.append(char(i * 7 % 256));
    return bytes;
}

struct HostileEntry
{
    QByteArray name;
    int type;
    QByteArray link;
};

// A ZIP written as an attacker would, with a harmless pupil before the hostile entry.
void writeZip(const QString &file, const HostileEntry &hostile)
{
    archive *a = archive_write_new();
    archive_write_set_format_zip(a);
    archive_write_set_options(a, "zip:hdrcharset=UTF-8");
    QCOMPARE(archive_write_open_filename(a, QFile::encodeName(file).constData()), ARCHIVE_OK);
    const QList<HostileEntry> entries = {{QString("pupils/Оля/pupil.keys").toUtf8(), AE_IFREG, {}}, hostile};
    for (const HostileEntry &e : entries) {
        archive_entry *entry = archive_entry_new();
        archive_entry_set_pathname_utf8(entry, e.name.constData());
        archive_entry_set_filetype(entry, e.type);
        archive_entry_set_perm(entry, 0644);
        if (!e.link.isEmpty())
            archive_entry_set_symlink(entry, e.link.constData());
        const QByteArray data = e.type == AE_IFREG ? QByteArray("owned\n") : QByteArray();
        archive_entry_set_size(entry, data.size());
        QCOMPARE(archive_write_header(a, entry), ARCHIVE_OK);
        archive_write_data(a, data.constData(), size_t(data.size()));
        archive_entry_free(entry);
    }
    archive_write_close(a);
    archive_write_free(a);
}

} // namespace

class TestClassBackup : public QObject
{
    Q_OBJECT

private slots:
    // As on a school computer whose locale was never set: Cyrillic names must still come back.
    void initTestCase() { std::setlocale(LC_ALL, "C"); }
    void classComesBackByteForByteAndAsksBeforeReplacing();
    void hostileCopyWritesNothing_data();
    void hostileCopyWritesNothing();
};

void TestClassBackup::classComesBackByteForByteAndAsksBeforeReplacing()
{
    QTemporaryDir work;
    const QDir course(work.filePath("course"));
    writeFile(course.filePath("pupils/Маша Ёлкина/pupil.keys"), "keys\n");
    writeFile(course.filePath("pupils/Маша Ёлкина/markbook.xml"), "<markbook/>\n");
    writeFile(course.filePath("pupils/Маша Ёлкина/flash.cfg"), allBytes());
    writeFile(course.filePath("pupils/Маша Ёлкина/comments/con_а.cmt"), QByteArray("\0\x01\xff\r\n", 5));
    QDir().mkpath(course.filePath("pupils/Маша Ёлкина/пустая"));
    writeFile(course.filePath("pupils/Петя/pupil.keys"), "keys2\n");
    writeFile(course.filePath("pupils/Петя/attempts.csv"), "con_a;2026-12-08;80\n");
    writeFile(course.filePath("removed/Вася/pupil.keys"), "keys3\n");
    writeFile(course.filePath("teacher.ini"), "[General]\nclass=1 «А»\n");
    writeFile(course.filePath("lastpupil"), "Петя\n");
    writeFile(course.filePath("teacher.key"), "secret\n");
    QMap<QString, QByteArray> expected = tree(course.path());
    expected.remove("teacher.key");

    const QString copy = work.filePath("копия класса.zip");
    ClassBackup::Result saved = ClassBackup::save(course, copy);
    QVERIFY2(saved.ok, qPrintable(saved.error));
    QCOMPARE(saved.pupils, 3);
    // Never inside the pupils' own folders: the copy would take in itself.
    QVERIFY(!ClassBackup::save(course, course.filePath("pupils/Петя/копия.zip")).ok);
    QVERIFY(!QFileInfo::exists(course.filePath("pupils/Петя/копия.zip")));

    QStringList asked;
    QMap<QString, ClassBackup::Answer> answers;
    const auto ask = [&](const QString &folder, const QString &) {
        asked.append(folder);
        return answers.value(folder, ClassBackup::Answer::Replace);
    };
    const QDir restored(work.filePath("elsewhere/course"));
    ClassBackup::Result result = ClassBackup::restore(copy, restored, ask);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.pupils, 3);
    QVERIFY(asked.isEmpty());
    QCOMPARE(tree(restored.path()), expected);

    // Over a class that has moved on: Маша's work is kept when the teacher says so, Петя's
    // folder is replaced whole (nothing of the newer folder stays), and a cancel changes nothing.
    writeFile(restored.filePath("pupils/Маша Ёлкина/markbook.xml"), "<markbook>newer</markbook>\n");
    writeFile(restored.filePath("pupils/Петя/stray.txt"), "newer\n");
    writeFile(restored.filePath("lastpupil"), "Маша Ёлкина\n");
    const QMap<QString, QByteArray> before = tree(restored.path());
    answers["pupils/Маша Ёлкина"] = ClassBackup::Answer::Cancel;
    result = ClassBackup::restore(copy, restored, ask);
    QVERIFY(result.cancelled && !result.ok);
    QCOMPARE(tree(restored.path()), before);

    asked.clear();
    answers["pupils/Маша Ёлкина"] = ClassBackup::Answer::Skip;
    result = ClassBackup::restore(copy, restored, ask);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(asked, QStringList({"pupils/Маша Ёлкина", "pupils/Петя", "removed/Вася"}));
    QCOMPARE(result.skipped, 1);
    QCOMPARE(result.pupils, 2);
    QMap<QString, QByteArray> now = expected;
    now["pupils/Маша Ёлкина/markbook.xml"] = "<markbook>newer</markbook>\n";
    now["lastpupil"] = "Маша Ёлкина\n";
    QCOMPARE(tree(restored.path()), now);
}

void TestClassBackup::hostileCopyWritesNothing_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("link");
    QTest::newRow("up and out") << QByteArray("../../../../x") << int(AE_IFREG) << QByteArray();
    QTest::newRow("up from a pupil") << QByteArray("pupils/Оля/../../../../../../x") << int(AE_IFREG) << QByteArray();
    QTest::newRow("absolute") << QByteArray("@ABS@/x") << int(AE_IFREG) << QByteArray();
    QTest::newRow("symlink") << QByteArray("pupils/Оля/comments") << int(AE_IFLNK) << QByteArray("@ABS@");
    QTest::newRow("not the class's") << QByteArray("autostart/x") << int(AE_IFREG) << QByteArray();
}

void TestClassBackup::hostileCopyWritesNothing()
{
    QFETCH(QByteArray, name);
    QFETCH(int, type);
    QFETCH(QByteArray, link);
    QTemporaryDir work;
    const QString outside = work.filePath("outside");
    QDir().mkpath(outside);
    name.replace("@ABS@", QFile::encodeName(outside));
    link.replace("@ABS@", QFile::encodeName(outside));
    const QString copy = work.filePath("copy.zip");
    writeZip(copy, {name, type, link});
    if (QTest::currentTestFailed())
        return;
    const QDir course(work.filePath("a/course"));

    int asked = 0;
    const ClassBackup::Result result = ClassBackup::restore(copy, course, [&](const QString &, const QString &) {
        ++asked;
        return ClassBackup::Answer::Replace;
    });
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(QString::fromUtf8(name)), qPrintable(result.error));
    QCOMPARE(asked, 0);
    QCOMPARE(tree(course.path()), (QMap<QString, QByteArray>()));
    QCOMPARE(tree(work.path()).keys(), QStringList({"a", "a/course", "copy.zip", "outside"}));
}

QTEST_GUILESS_MAIN(TestClassBackup)
#include "tst_classbackup.moc"
