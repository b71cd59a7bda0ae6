// The class table read from pupil folders written here, as the shell leaves them.

#include "attemptlog.h"
#include "classexport.h"
#include "classresults.h"
#include "classtablemodel.h"
#include "classtableproxy.h"
#include "markbookmodel.h"
#include "teacherkey.h"
#include "treemodel.h"
#include "writefile.h"

#include <QBrush>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray contents = R"(<content caption="Азбука">
    <chapter caption="Глава 1" id="1" startpage="1">
        <chapter caption="Раздел" id="11" startpage="1">
            <object caption="Тест А" type="con" id="con_a" path=""/>
            <object caption="Игра" type="igr" id="igr_a" path=""/>
        </chapter>
        <object caption="Тест Б; с точкой с запятой" type="con" id="con_b" path=""/>
    </chapter>
    <chapter caption="Глава 2" id="2" startpage="2">
        <object caption="Тест В" type="con" id="con_c" path=""/>
    </chapter>
</content>
)";

QByteArray markbook(const QString &a, const QString &b, const QString &c)
{
    return QStringLiteral("<markbook><chapter caption=\"Глава 1\"><chapter caption=\"Раздел\">"
                          "<object caption=\"Тест А\" mark=\"%1\" id=\"con_a\"/></chapter>"
                          "<object caption=\"Тест Б\" mark=\"%2\" id=\"con_b\"/></chapter>"
                          "<chapter caption=\"Глава 2\"><object caption=\"Тест В\" mark=\"%3\" id=\"con_c\"/>"
                          "</chapter></markbook>")
        .arg(a, b, c)
        .toUtf8();
}

QColor tintOf(const QModelIndex &cell)
{
    return cell.data(Qt::BackgroundRole).value<QBrush>().color();
}

bool sameHue(const QColor &a, MarkbookModel::Band band)
{
    const QColor b = MarkbookModel::bandTint(band);
    return a.red() == b.red() && a.green() == b.green() && a.blue() == b.blue();
}

} // namespace

class TestClassResults : public QObject
{
    Q_OBJECT

private slots:
    void classTableShowsMarksTintsAndAverages();
    void attemptsAndCsvKeepEveryCharacter();
    void teacherPasswordIsKeptAsASlowKey();
};

void TestClassResults::classTableShowsMarksTintsAndAverages()
{
    QTemporaryDir course;
    const QDir pupils(course.filePath("pupils"));
    writeFile(course.filePath("content.xml"), contents);
    for (const char *name : {"Аня", "Борис", "Вера"})
        writeFile(pupils.filePath(QString::fromUtf8(name) + "/pupil.keys"), QByteArray(16, 'k'));
    writeFile(pupils.filePath("Аня/markbook.xml"), markbook("1", "0.8", "-1.0"));
    writeFile(pupils.filePath("Борис/markbook.xml"), markbook("0.5", "NaN", "1"));
    // Вера has taken nothing and has no markbook yet.
    const QDateTime first(QDate(2026, 12, 1), QTime(9, 15));
    QVERIFY(AttemptLog::append(QDir(pupils.filePath("Аня")), {AttemptLog::dateText(first), "con_a", "0.5", "1/2"}));
    QVERIFY(AttemptLog::append(QDir(pupils.filePath("Аня")), {AttemptLog::dateText(first.addDays(2)), "con_a", "1", "2/2"}));

    const TreeModel course_(course.filePath("content.xml"));
    ClassTableModel table;
    table.setResults(ClassResults::read(pupils, course_.rootItem()));
    QCOMPARE(table.rowCount(), 4);    // three pupils and the averages
    QCOMPARE(table.columnCount(), 5); // names, three tests in contents order, averages
    QCOMPARE(table.headerData(1, Qt::Horizontal).toString(), QString("Тест А"));
    QCOMPARE(table.headerData(3, Qt::Horizontal).toString(), QString("Тест В"));

    const auto text = [&](int row, int column) { return table.index(row, column).data().toString(); };
    QCOMPARE(QStringList({text(0, 0), text(0, 1), text(0, 2), text(0, 3), text(0, 4)}),
             QStringList({"Аня", "100 %", "80 %", "—", "90 %"}));
    QCOMPARE(QStringList({text(1, 1), text(1, 2), text(1, 3), text(1, 4)}),
             QStringList({"50 %", "0 %", "100 %", "50 %"}));
    QCOMPARE(QStringList({text(2, 1), text(2, 4)}), QStringList({"—", "—"}));
    QCOMPARE(QStringList({text(3, 0), text(3, 1), text(3, 2), text(3, 3), text(3, 4)}),
             QStringList({"Среднее по классу", "75 %", "40 %", "100 %", "66 %"}));

    QVERIFY(sameHue(tintOf(table.index(0, 1)), MarkbookModel::Excellent));
    QVERIFY(sameHue(tintOf(table.index(0, 2)), MarkbookModel::Good));
    QVERIFY(sameHue(tintOf(table.index(1, 2)), MarkbookModel::NeedsWork)); // "NaN" is no excellent mark
    QVERIFY(!table.index(0, 3).data(Qt::BackgroundRole).isValid());
    const QString attempts = table.index(0, 1).data(Qt::ToolTipRole).toString();
    QVERIFY2(attempts.contains("Попыток: 2") && attempts.contains("2026-12-01 09:15:00 — 50 %")
                 && attempts.contains("2026-12-03 09:15:00 — 100 %"),
             qPrintable(attempts));

    // Sorted by a test, either way, the averages stay last.
    ClassTableProxy sorted;
    sorted.setSourceModel(&table);
    sorted.sort(1, Qt::DescendingOrder);
    QCOMPARE(sorted.index(0, 0).data().toString(), QString("Аня"));
    QCOMPARE(sorted.index(3, 0).data().toString(), QString("Среднее по классу"));
    sorted.sort(1, Qt::AscendingOrder);
    QCOMPARE(sorted.index(3, 0).data().toString(), QString("Среднее по классу"));

    // One chapter: its tests only, and averages over them.
    table.setChapter(1);
    QCOMPARE(table.columnCount(), 3);
    QCOMPARE(QStringList({text(0, 1), text(0, 2), text(1, 2)}), QStringList({"—", "—", "100 %"}));

    table.setChapter(-1);
    const QByteArray csv = ClassExport::csv(table);
    QVERIFY(csv.startsWith("\xEF\xBB\xBF" "Ученик;Тест А;\"Тест Б; с точкой с запятой\";Тест В;Среднее\r\n"));
    QVERIFY2(csv.contains("\r\nАня;100;80;;90\r\n"), csv.constData());
    QVERIFY2(csv.endsWith("\r\nСреднее по классу;75;40;100;66\r\n"), csv.constData());
}

void TestClassResults::attemptsAndCsvKeepEveryCharacter()
{
    QTemporaryDir pupil;
    const QDir folder(pupil.path());
    const QString awkward = "3/5; \"почти\"\nвторая строка";
    const QDateTime when(QDate(2026, 12, 8), QTime(10, 0, 5));
    QVERIFY(AttemptLog::append(folder, {AttemptLog::dateText(when), "con_01_slog", "0.6", awkward}));
    QVERIFY(AttemptLog::append(folder, {AttemptLog::dateText(when.addSecs(60)), "con_02_zvuki", "1", ""}));
    const QList<AttemptLog::Attempt> read = AttemptLog::read(folder);
    QCOMPARE(read.size(), 2);
    QCOMPARE(AttemptLog::dateTime(read.at(0).when), when);
    QCOMPARE(read.at(0).history, awkward);
    QCOMPARE(read.at(1).test, QString("con_02_zvuki"));
    QCOMPARE(read.at(1).mark, QString("1"));
}

void TestClassResults::teacherPasswordIsKeptAsASlowKey()
{
    QTemporaryDir course;
    const QDir folder(course.path());
    QVERIFY(!TeacherKey::isSet(folder));
    QVERIFY(!TeacherKey::check(folder, ""));
    QVERIFY(TeacherKey::set(folder, "Учитель-2026"));
    QVERIFY(TeacherKey::isSet(folder));
    QVERIFY(TeacherKey::check(folder, "Учитель-2026"));
    QVERIFY(!TeacherKey::check(folder, "учитель-2026"));

    QFile file(folder.filePath(TeacherKey::fileName()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray record = file.readAll();
    file.close();
    QVERIFY(!record.contains("2026") || record.startsWith("pbkdf2-sha256\n"));
    QVERIFY(!record.contains(QString("Учитель").toUtf8()));
    // A file asking for endless rounds is refused instead of freezing the window.
    QList<QByteArray> lines = record.split('\n');
    lines[1] = "2000000000";
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(lines.join('\n'));
    file.close();
    QVERIFY(!TeacherKey::check(folder, "Учитель-2026"));
}

QTEST_MAIN(TestClassResults)
#include "tst_classresults.moc"
