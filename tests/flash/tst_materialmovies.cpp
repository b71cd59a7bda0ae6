// The demo course's generated movies in Ruffle, played from the installation folder as the
// shell plays them: the test template reads a question file and is answered with the mouse at
// the places QuizLayout documents; an animation moves; two movies of one material talk through
// the shell (relayed here as the shell relays).

#include "waitfor.h"
#include "flashplayer.h"
#include "quizdriver.h"
#include "quizlayout.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>
#include <QWebEngineView>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

using namespace QuizDriver;

// The flash variables as the material viewer writes them: every value percent-encoded UTF-8.
QString flashVars(const QList<QPair<QString, QString>> &pairs)
{
    QStringList parts;
    for (const auto &pair : pairs)
        parts << QString::fromLatin1(QUrl::toPercentEncoding(pair.first) + '=' + QUrl::toPercentEncoding(pair.second));
    return parts.join(QLatin1Char('&'));
}

bool isDark(const QColor &c)
{
    return c.red() < 140 && c.green() < 140 && c.blue() < 140;
}

int darkPixels(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += isDark(image.pixelColor(x, y)) ? 1 : 0;
    }
    return count;
}

int differingPixels(const QImage &a, const QImage &b)
{
    int count = 0;
    for (int y = 0; y < qMin(a.height(), b.height()); y += 2) {
        for (int x = 0; x < qMin(a.width(), b.width()); x += 2)
            count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    }
    return count;
}

const char *questions =
    "<test caption=\"Проверка\">\n"
    "    <question text=\"Сколько слогов в слове «мама»?\">\n"
    "        <answer>один</answer>\n"
    "        <answer right=\"true\">два</answer>\n"
    "        <answer>три</answer>\n"
    "    </question>\n"
    "    <question text=\"Кто это?\" picture=\"cat\">\n"
    "        <answer picture=\"dog\">собака</answer>\n"
    "        <answer picture=\"cow\">корова</answer>\n"
    "        <answer picture=\"bird\">птица</answer>\n"
    "        <answer picture=\"cat\" right=\"true\">кошка</answer>\n"
    "    </question>\n"
    "    <question text=\"Какой звук гласный?\">\n"
    "        <answer right=\"true\">[а]</answer>\n"
    "        <answer>[м]</answer>\n"
    "    </question>\n"
    "    <question text=\"Какая это буква?\" picture=\"letter-К\">\n"
    "        <answer>Н</answer>\n"
    "        <answer right=\"true\">К</answer>\n"
    "        <answer>С</answer>\n"
    "    </question>\n"
    "    <question text=\"«Кот спит». Сколько слов?\">\n"
    "        <answer>одно</answer>\n"
    "        <answer>три</answer>\n"
    "        <answer right=\"true\">два</answer>\n"
    "    </question>\n"
    "</test>\n";

} // namespace

class TestMaterialMovies : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void testAnsweredWithTheMouseReportsItsResult();
    void testShowsTheHistoryTheShellSends();
    void exerciseLetsThePupilTryAgainAndThenSwitchesToTheCartoon();
    void animationMoves();
    void cartoonButtonOpensTheExerciseInANewWindow();
    void wordListTurnsTheBoardThroughTheShell();

private:
    QString saveMessage(const QSignalSpy &calls) const;
    void startTest(FlashPlayer &player, const QString &history);

    QScopedPointer<QTemporaryDir> m_folder;
    QString m_questionFile;
};

void TestMaterialMovies::initTestCase()
{
    // The working folder is the installation folder the build filled; movies and the files
    // they read must lie inside it.
    QVERIFY(QFile::exists(QStringLiteral("data/templates/testContener.swf")));
    m_folder.reset(new QTemporaryDir(QDir::current().filePath(QStringLiteral("materialtest-XXXXXX"))));
    QVERIFY(m_folder->isValid());
    m_questionFile = m_folder->filePath(QStringLiteral("questions.xml"));
    QFile file(m_questionFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(questions);
}

QString TestMaterialMovies::saveMessage(const QSignalSpy &calls) const
{
    for (const QList<QVariant> &call : calls) {
        const QString message = firstString(call.at(0).toString());
        if (message.startsWith(QLatin1String("<shell action=\"save\">")))
            return message;
    }
    return QString();
}

void TestMaterialMovies::startTest(FlashPlayer &player, const QString &history)
{
    // As a test material gives it: the full path of its question file with "\" separators.
    const QString param = QDir::cleanPath(QFileInfo(m_questionFile).absoluteFilePath()).replace(QLatin1Char('/'), QLatin1Char('\\'));
    player.SetFlashVars(flashVars({{QStringLiteral("bgcolor"), QStringLiteral("#ffffff")},
                                   {QStringLiteral("param"), param},
                                   {QStringLiteral("history"), history},
                                   {QStringLiteral("type"), QStringLiteral("con")},
                                   {QStringLiteral("caption"), QStringLiteral("Проверочная работа")},
                                   {QStringLiteral("user"), QStringLiteral("Маша")}}));
    player.SetMovie(QDir::current().filePath(QStringLiteral("data/templates/testContener.swf")));
}

void TestMaterialMovies::testAnsweredWithTheMouseReportsItsResult()
{
    // Not the stage's proportions: the clicks go through the documented scaling.
    FlashPlayer player;
    player.setFixedSize(700, 560);
    player.show();
    QVERIFY(QTest::qWaitForWindowExposed(&player));
    QSignalSpy calls(&player, &FlashPlayer::FlashCall);
    startTest(player, QString());
    QVERIFY2(waitFor([&] { return slotsShow(player); }), "the questions never showed");

    QFile file(m_questionFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<int> right = rightAnswers(file.readAll());
    QCOMPARE(right.size(), 5);
    // Four right, the third wrong (its other answer).
    for (int i = 0; i < right.size(); ++i)
        click(player, slotPoint(player, i == 2 ? 1 - right[i] : right[i]));
    QVERIFY(waitFor([&] { return !saveMessage(calls).isEmpty(); }, 5000));
    QCOMPARE(saveMessage(calls), QStringLiteral("<shell action=\"save\"><result mark=\"0.8\">4/5</result></shell>"));

    // Once more from the start, all right this time.
    calls.clear();
    click(player, stagePoint(player, QuizLayout::againButton().center()));
    QVERIFY(waitFor([&] { return slotsShow(player); }, 5000));
    for (int answer : right)
        click(player, slotPoint(player, answer));
    QVERIFY(waitFor([&] { return !saveMessage(calls).isEmpty(); }, 5000));
    QCOMPARE(saveMessage(calls), QStringLiteral("<shell action=\"save\"><result mark=\"1\">5/5</result></shell>"));
    int saves = 0;
    for (const QList<QVariant> &call : calls)
        saves += firstString(call.at(0).toString()).startsWith(QLatin1String("<shell action=\"save\">")) ? 1 : 0;
    QCOMPARE(saves, 1);
}

void TestMaterialMovies::testShowsTheHistoryTheShellSends()
{
    // "Last time" sits in the line below the caption: empty without a history, written when
    // the shell sends one (as it does each time the material shows).
    FlashPlayer player;
    player.setFixedSize(QuizLayout::stage);
    player.show();
    QVERIFY(QTest::qWaitForWindowExposed(&player));
    startTest(player, QString());
    QVERIFY(waitFor([&] { return slotsShow(player); }));
    const QRect lastTimeLine(200, 48, 400, 22);
    QCOMPARE(darkPixels(player.grab().toImage(), lastTimeLine), 0);

    player.CallFunction(QStringLiteral("<invoke name=\"send2flash\" returntype=\"xml\"><arguments><string>"
                                       "<![CDATA[<flash action=\"history\">3/5</flash>]]></string></arguments></invoke>"));
    QVERIFY2(waitFor([&] { return darkPixels(player.grab().toImage(), lastTimeLine) > 30; }, 10000), "no history shown");

    player.CallFunction(QStringLiteral("<invoke name=\"send2flash\" returntype=\"xml\"><arguments><string>"
                                       "<![CDATA[<flash action=\"history\"></flash>]]></string></arguments></invoke>"));
    QVERIFY(waitFor([&] { return darkPixels(player.grab().toImage(), lastTimeLine) == 0; }, 10000));

    // Given as a flash variable, it shows from the start.
    startTest(player, QStringLiteral("4/5"));
    QVERIFY(waitFor([&] { return slotsShow(player) && darkPixels(player.grab().toImage(), lastTimeLine) > 30; }));
}

void TestMaterialMovies::exerciseLetsThePupilTryAgainAndThenSwitchesToTheCartoon()
{
    // pra_03_bukva_a: its questions are built in, from the exercise.xml beside its layout.
    QFile file(QStringLiteral(PROJECT_ROOT "/course/objects/pra_03_bukva_a/exercise.xml"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<int> right = rightAnswers(file.readAll());
    QVERIFY(right.size() >= 2);

    FlashPlayer player;
    player.setFixedSize(QuizLayout::stage);
    player.show();
    QVERIFY(QTest::qWaitForWindowExposed(&player));
    QSignalSpy calls(&player, &FlashPlayer::FlashCall);
    player.SetMovie(QDir::current().filePath(QStringLiteral("data/objects/pra_03_bukva_a/exercise.swf")));
    QVERIFY(waitFor([&] { return slotsShow(player); }));

    // A wrong answer fades and the question stays: the right one still leads on.
    const int wrong = right[0] == 0 ? 1 : 0;
    const QPoint wrongPoint = slotPoint(player, wrong);
    click(player, wrongPoint);
    QVERIFY(waitFor([&] { return player.grab().toImage().pixelColor(wrongPoint).red() > 200; }, 3000));
    const QImage faded = player.grab().toImage();
    click(player, wrongPoint);
    runFor(1200);
    QCOMPARE(differingPixels(faded, player.grab().toImage()), 0);

    for (int i = 0; i < right.size(); ++i) {
        if (i > 0) // a new question shows its slots fresh, none faded
            QVERIFY(waitFor([&] { return slotsShow(player); }, 5000));
        click(player, slotPoint(player, right[i]));
        runFor(1100); // the praise shows a moment before the next question
    }
    // After the last question: no result for the markbook, and a button that switches the
    // window to the cartoon.
    click(player, stagePoint(player, QuizLayout::linkButton().center()));
    QVERIFY(waitFor([&] { return !calls.isEmpty(); }, 5000));
    QCOMPARE(firstString(calls.constLast().at(0).toString()), QStringLiteral("<shell action=\"load\">ani_03_bukva_a</shell>"));
    QVERIFY(saveMessage(calls).isEmpty());
}

void TestMaterialMovies::animationMoves()
{
    FlashPlayer player;
    player.setFixedSize(640, 420);
    player.show();
    QVERIFY(QTest::qWaitForWindowExposed(&player));
    QSignalSpy loaded(&player, &FlashPlayer::movieLoaded);
    player.SetMovie(QDir::current().filePath(QStringLiteral("data/objects/ani_03_bukva_a/aist.swf")));
    QVERIFY(loaded.wait(30000));
    runFor(700);
    const QImage first = player.grab().toImage();
    runFor(1200);
    const QImage second = player.grab().toImage();
    runFor(1200);
    const QImage third = player.grab().toImage();
    // The stork walks in: a good part of the picture changes from one moment to the next.
    QVERIFY2(differingPixels(first, second) > 500, qPrintable(QString::number(differingPixels(first, second))));
    QVERIFY2(differingPixels(second, third) > 500, qPrintable(QString::number(differingPixels(second, third))));
}

void TestMaterialMovies::cartoonButtonOpensTheExerciseInANewWindow()
{
    FlashPlayer player;
    player.setFixedSize(640, 420);
    player.show();
    QVERIFY(QTest::qWaitForWindowExposed(&player));
    QSignalSpy loaded(&player, &FlashPlayer::movieLoaded);
    QSignalSpy calls(&player, &FlashPlayer::FlashCall);
    player.SetMovie(QDir::current().filePath(QStringLiteral("data/objects/ani_03_bukva_a/aist.swf")));
    QVERIFY(loaded.wait(30000));
    runFor(700);
    QVERIFY(calls.isEmpty());
    click(player, QPoint(560, 380)); // the button in the bottom right corner
    QVERIFY(waitFor([&] { return !calls.isEmpty(); }, 5000));
    QCOMPARE(firstString(calls.first().at(0).toString()), QStringLiteral("<shell action=\"jump\">pra_03_bukva_a</shell>"));
}

void TestMaterialMovies::wordListTurnsTheBoardThroughTheShell()
{
    // slv_02_bukva_n: a click in the list goes to the shell, which passes the message to both
    // movies of the material; only then does the board show the word.
    FlashPlayer list;
    FlashPlayer board;
    list.setFixedSize(300, 420);
    board.setFixedSize(420, 420);
    list.show();
    board.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QVERIFY(QTest::qWaitForWindowExposed(&board));
    QSignalSpy listLoaded(&list, &FlashPlayer::movieLoaded);
    QSignalSpy boardLoaded(&board, &FlashPlayer::movieLoaded);
    QSignalSpy calls(&list, &FlashPlayer::FlashCall);
    list.SetMovie(QDir::current().filePath(QStringLiteral("data/objects/slv_02_bukva_n/words.swf")));
    board.SetMovie(QDir::current().filePath(QStringLiteral("data/objects/slv_02_bukva_n/board.swf")));
    QVERIFY(listLoaded.wait(30000));
    QVERIFY(boardLoaded.count() > 0 || boardLoaded.wait(30000));
    runFor(800);

    // The board's picture of "небо" is a blue sky over the middle of its upper half.
    const QPoint sky(210, 60);
    const auto boardShowsSky = [&] {
        const QColor c = board.grab().toImage().pixelColor(sky);
        return c.blue() > 220 && c.red() < 160;
    };
    QVERIFY(!boardShowsSky());
    click(list, QPoint(150, 150)); // the second word, "небо"
    QVERIFY(waitFor([&] { return !calls.isEmpty(); }, 5000));
    const QString message = firstString(calls.first().at(0).toString());
    QCOMPARE(message, QStringLiteral("<flash action=\"send\"><word index=\"1\">небо</word></flash>"));
    runFor(500);
    QVERIFY2(!boardShowsSky(), "the board must wait for the shell");

    const QString relay = QStringLiteral("<invoke name=\"send2flash\" returntype=\"xml\"><arguments><string><![CDATA[%1]]></string>"
                                         "</arguments></invoke>").arg(message);
    list.CallFunction(relay);
    board.CallFunction(relay);
    QVERIFY2(waitFor(boardShowsSky, 10000), "the board did not turn to the word");
}

QTEST_MAIN(TestMaterialMovies)
#include "tst_materialmovies.moc"
