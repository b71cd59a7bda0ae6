// The picture book the materials draw from: every name a source may use draws a picture
// (a forgotten painter would leave a blank card in a movie), and nothing else does.

#include "picturebook.h"
#include "questionfile.h"

#include <QTest>

namespace {

// Share of the square the picture covers.
double coverage(const QImage &image)
{
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            opaque += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
    }
    return double(opaque) / (image.width() * image.height());
}

} // namespace

class TestPictureBook : public QObject
{
    Q_OBJECT
private slots:
    void everyNameDrawsAPicture();
    void picturesDiffer();
    void unknownNamesDrawNothing_data();
    void unknownNamesDrawNothing();
    void questionFilesNameOnlyPicturesThatExist();
};

void TestPictureBook::everyNameDrawsAPicture()
{
    const QStringList names = PictureBook::names() + PictureBook::letterNames();
    QVERIFY(PictureBook::names().size() >= 30);
    QCOMPARE(PictureBook::letterNames().size(), 33);
    for (const QString &name : names) {
        QVERIFY2(PictureBook::has(name), qPrintable(name));
        const double covered = coverage(PictureBook::image(name, 100));
        QVERIFY2(covered > 0.08 && covered < 0.97, qPrintable(QStringLiteral("%1: %2").arg(name).arg(covered)));
    }
}

void TestPictureBook::picturesDiffer()
{
    // Two names drawing the same thing would be a copy-and-paste slip in the table.
    const QStringList names = PictureBook::names();
    QSet<QByteArray> seen;
    for (const QString &name : names) {
        const QImage image = PictureBook::image(name, 48);
        const QByteArray bytes(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes());
        QVERIFY2(!seen.contains(bytes), qPrintable(name));
        seen.insert(bytes);
    }
}

void TestPictureBook::unknownNamesDrawNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("unknown") << QStringLiteral("dragon");
    QTest::newRow("empty") << QString();
    QTest::newRow("Latin letter card") << QStringLiteral("letter-A");
    QTest::newRow("two letters") << QStringLiteral("letter-АБ");
    QTest::newRow("lower-case letter") << QStringLiteral("letter-а");
    QTest::newRow("case matters") << QStringLiteral("Cat");
}

void TestPictureBook::unknownNamesDrawNothing()
{
    QFETCH(QString, name);
    QVERIFY(!PictureBook::has(name));
    QCOMPARE(coverage(PictureBook::image(name, 40)), 0.0);
}

void TestPictureBook::questionFilesNameOnlyPicturesThatExist()
{
    QuestionFile file;
    QVERIFY2(file.parse("<test caption=\"Буквы\">\n"
                        "<question text=\"Какая буква?\" picture=\"letter-Ё\">\n"
                        "<answer picture=\"cat\">кот</answer><answer right=\"true\">Ё</answer>\n"
                        "</question>\n</test>\n", QStringLiteral("q.xml")),
             qPrintable(file.errors().join(QLatin1Char('\n'))));
    QCOMPARE(file.quiz().caption, QStringLiteral("Буквы"));
    QCOMPARE(file.quiz().questions.size(), 1);
    QCOMPARE(file.quiz().questions.first().right, 1);
    QCOMPARE(file.quiz().questions.first().answers.first().picture, QStringLiteral("cat"));

    QVERIFY(!file.parse("<test>\n<question text=\"?\" picture=\"letter-Q\">\n"
                        "<answer right=\"true\">а</answer><answer>б</answer>\n</question>\n</test>\n", QStringLiteral("q.xml")));
    QCOMPARE(file.errors(), QStringList{QStringLiteral("q.xml:2: there is no picture \"letter-Q\"")});
}

QTEST_MAIN(TestPictureBook)
#include "tst_picturebook.moc"
