// The Flash bridge of a material: what movies ask of the shell, what the shell tells them,
// the flash variables they start with, and printing, with real movies in Ruffle where the
// player matters.

#include "waitfor.h"
#include "environment.h"
#include "flashinvoke.h"
#include "flashplayer.h"
#include "flashrequest.h"
#include "markbookmodel.h"
#include "testmovies.h"
#include "treeitem.h"
#include "viewerflash.h"
#include "xmltext.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QStringList allVars = {QStringLiteral("bgcolor"), QStringLiteral("param"), QStringLiteral("history"),
                             QStringLiteral("type"), QStringLiteral("caption"), QStringLiteral("user")};
const QStringList callbacks = {QStringLiteral("send2flash"), QStringLiteral("getFirstScreenVisible")};

QString invoke(const QString &message)
{
    return QStringLiteral("<invoke name=\"flashCall\" returntype=\"xml\"><arguments><string>%1</string></arguments></invoke>")
        .arg(message.toHtmlEscaped());
}

// A call's arguments as text: strings as they are, anything else by its kind.
QStringList argumentsOf(const QString &call)
{
    QStringList values;
    for (const QJsonValue &argument : FlashInvoke::fromXml(call).arguments()) {
        const QJsonArray tagged = argument.toArray();
        values.append(tagged.at(0).toString() == QLatin1String("s") ? tagged.at(1).toString()
                                                                     : QLatin1Char('<') + tagged.at(0).toString() + QLatin1Char('>'));
    }
    return values;
}

QList<QStringList> callsNamed(const QSignalSpy &spy, const QString &name)
{
    QList<QStringList> calls;
    for (const QList<QVariant> &signal : spy) {
        const FlashInvoke call = FlashInvoke::fromXml(signal.at(0).toString());
        if (call.name() == name)
            calls.append(argumentsOf(signal.at(0).toString()));
    }
    return calls;
}

// What the movie's callback `callback` was given, in order.
QStringList echoes(const QSignalSpy &spy, const QString &callback)
{
    QStringList values;
    for (const QStringList &call : callsNamed(spy, QStringLiteral("echoed"))) {
        if (call.value(0) == callback)
            values.append(call.value(1));
    }
    return values;
}

// Every signal of the viewer as one line, in order.
class Signals
{
public:
    explicit Signals(ViewerFlash *viewer)
    {
        QObject::connect(viewer, &ViewerFlash::transfer, [this](const QString &r) { lines << "transfer(" + r + ")"; });
        QObject::connect(viewer, &ViewerFlash::test,
                         [this](const QString &mark, QString &history) { lines << "test(" + mark + ", " + history + ")"; });
        QObject::connect(viewer, &ViewerFlash::load, [this](const QString &id) { lines << "load(" + id + ")"; });
        QObject::connect(viewer, &ViewerFlash::jump, [this](const QString &id) { lines << "jump(" + id + ")"; });
    }
    QStringList lines;
};

} // namespace

class TestViewerFlash : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void requestsFromMovies_data();
    void requestsFromMovies();
    void flashVariablesAreEncoded_data();
    void flashVariablesAreEncoded();
    void messagesToTheMovieAreWrappedUnchanged_data();
    void messagesToTheMovieAreWrappedUnchanged();

    void movieLearnsWhoItIsAndWhatItReported();
    void materialWithoutMarkbookEntry();
    void messagesReachTheMovieUnchanged();
    void movieAsksAndSetsTheFirstScreenSwitch();
    void printShowsTheMovie();

private:
    QString write(const QString &name, const QByteArray &bytes);
    bool startMovie(ViewerFlash &viewer, QSignalSpy &calls, const QString &movie, const QString &id);

    QScopedPointer<QTemporaryDir> m_folder;
    QTemporaryDir m_pupils;
};

void TestViewerFlash::initTestCase()
{
    // Movies must lie inside the installation folder, the current directory.
    QVERIFY(QDir::setCurrent(QStringLiteral(INSTALLATION_FOLDER)));
    m_folder.reset(new QTemporaryDir(QDir::current().filePath(QStringLiteral("flashtest-XXXXXX"))));
    QVERIFY(m_folder->isValid());
    QVERIFY(QDir(m_pupils.path()).mkpath(QStringLiteral("Петя Иванов")));
    pupilDir = QDir(m_pupils.filePath(QStringLiteral("Петя Иванов")));
    QFile markbook(pupilDir.filePath(QStringLiteral("markbook.xml")));
    QVERIFY(markbook.open(QIODevice::WriteOnly));
    markbook.write("<markbook><chapter caption=\"Глава\">"
                   "<object caption=\"Слоги\" mark=\"0.5\" id=\"con_01_slog\">&lt;answers a=\"1\"/&gt;</object>"
                   "</chapter></markbook>");
    markbook.close();
}

QString TestViewerFlash::write(const QString &name, const QByteArray &bytes)
{
    QFile file(m_folder->filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return file.fileName();
}

void TestViewerFlash::requestsFromMovies_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<QStringList>("emitted");
    QTest::addColumn<bool>("switchBefore");
    QTest::addColumn<bool>("switchAfter");

    const auto row = [](const char *name, const QString &request, const QStringList &emitted) {
        QTest::newRow(name) << request << emitted << false << false;
    };
    const QString send = QStringLiteral("<flash action=\"send\"><answer n=\"2\">да &amp; нет</answer></flash>");
    row("send relays the whole message", invoke(send), {"transfer(" + send + ")"});
    row("send in a namespace", invoke(QStringLiteral("<flash xmlns=\"urn:m\" action=\"send\"/>")),
        {"transfer(<flash xmlns=\"urn:m\" action=\"send\"/>)"});
    row("flash with another action", invoke(QStringLiteral("<flash action=\"resize\"/>")), {});
    row("flash not wrapped in invoke", QStringLiteral("<flash action=\"send\"/>"), {});
    row("save", invoke(QStringLiteral("<shell action=\"save\"><result mark=\"0.75\">&lt;h&gt;3/4&lt;/h&gt;</result></shell>")),
        {"test(0.75, <h>3/4</h>)"});
    row("save without a mark", invoke(QStringLiteral("<shell action=\"save\"><result>1/4</result></shell>")),
        {"test(0.0, 1/4)"});
    // Kept out of markbook.xml; with no markbook entry here, the history kept is empty.
    row("save with a history over 64 KB keeps only the mark",
        invoke(QStringLiteral("<shell action=\"save\"><result mark=\"0.9\">%1</result></shell>")
                   .arg(QString(ViewerFlash::MaxHistoryBytes / 2 + 1, QChar(u'я')))),
        {"test(0.9, )"});
    row("save after text", invoke(QStringLiteral("<shell action=\"save\">x<result mark=\"1.0\"/></shell>")),
        {"test(1.0, )"});
    row("save whose first child is not result",
        invoke(QStringLiteral("<shell action=\"save\"><note/><result mark=\"1.0\"/></shell>")), {});
    row("save without a child", invoke(QStringLiteral("<shell action=\"save\">1.0</shell>")), {});
    row("load switches in place", invoke(QStringLiteral("<shell action=\"load\">rzv_01_v_shkole</shell>")),
        {"jump(rzv_01_v_shkole)"});
    row("jump opens a window", invoke(QStringLiteral("<shell action=\"jump\">ani_01_rech</shell>")), {"load(ani_01_rech)"});
    row("an id the main window refuses is passed on", invoke(QStringLiteral("<shell action=\"jump\">../../etc</shell>")),
        {"load(../../etc)"});
    row("prefixed root read by its local name",
        invoke(QStringLiteral("<m:shell xmlns:m=\"urn:m\" action=\"load\">x</m:shell>")), {"jump(x)"});
    row("first string argument, not first argument",
        QStringLiteral("<invoke name=\"f\"><arguments><number>1</number><string>&lt;shell action=\"jump\"&gt;a&lt;/shell&gt;"
                       "</string><string>&lt;shell action=\"jump\"&gt;b&lt;/shell&gt;</string></arguments></invoke>"),
        {"load(a)"});
    row("another action", invoke(QStringLiteral("<shell action=\"print\"/>")), {});
    row("another root", invoke(QStringLiteral("<movie action=\"send\"/>")), {});
    row("message not well-formed", invoke(QStringLiteral("<shell action=\"jump\">a")), {});
    row("message undeclared prefix", invoke(QStringLiteral("<m:shell action=\"jump\">a</m:shell>")), {});
    row("request not well-formed", QStringLiteral("<invoke name=\"f\"><arguments><string>&lt;shell action=\"jump\"&gt;a"
                                                  "&lt;/shell&gt;</string></arguments>"), {});
    row("request without arguments", QStringLiteral("<invoke name=\"f\"/>"), {});
    row("request root not invoke", QStringLiteral("<call><arguments><string>&lt;shell action=\"jump\"&gt;a&lt;/shell&gt;"
                                                  "</string></arguments></call>"), {});
    row("empty", QString(), {});
    const auto nested = [](int depth) -> QString {
        return QStringLiteral("<flash action=\"send\">") + QStringLiteral("<a>").repeated(depth)
               + QStringLiteral("</a>").repeated(depth) + QStringLiteral("</flash>");
    };
    row("nested as deep as real messages go", invoke(nested(254)), {"transfer(" + nested(254) + ")"});
    // Refused before the DOM, which would take minutes over it.
    row("nested deeper", invoke(nested(100000)), {});

    const auto setSwitch = [](const char *name, const QString &text, bool before, bool after) {
        QTest::newRow(name) << invoke(QStringLiteral("<shell action=\"setFirstScreenVisible\">%1</shell>").arg(text))
                            << QStringList() << before << after;
    };
    setSwitch("switch on with 1", QStringLiteral("1"), false, true);
    setSwitch("switch on with -3", QStringLiteral("-3"), false, true);
    setSwitch("switch off with 0", QStringLiteral("0"), true, false);
    setSwitch("switch off with text", QStringLiteral("abc"), true, false);
    setSwitch("switch off with hexadecimal", QStringLiteral("0x1"), true, false);
    setSwitch("switch off with nothing", QString(), true, false);
    QTest::newRow("asking leaves the switch") << invoke(QStringLiteral("<shell action=\"getFirstScreenVisible\"/>"))
                                              << QStringList() << true << true;
}

void TestViewerFlash::requestsFromMovies()
{
    QFETCH(QString, request);
    QFETCH(QStringList, emitted);
    QFETCH(bool, switchBefore);
    QFETCH(bool, switchAfter);
    ViewerFlash viewer;
    Signals spy(&viewer);
    firstScreenVisible = switchBefore;
    // As the player delivers a movie's call.
    emit viewer.player()->FlashCall(request);
    QCOMPARE(spy.lines, emitted);
    QCOMPARE(firstScreenVisible, switchAfter);
}

void TestViewerFlash::flashVariablesAreEncoded_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("encoded");
    QTest::newRow("space and backslash") << "param" << "C:\\Курс Данные\\q.xml" << "param=C:%5C%D0%9A%D1%83%D1%80%D1%81%20"
                                                                                  "%D0%94%D0%B0%D0%BD%D0%BD%D1%8B%D0%B5%5Cq.xml";
    QTest::newRow("separators inside") << "a=b&c" << "x=1&y=2" << "a%3Db%26c=x%3D1%26y%3D2";
    QTest::newRow("kept as they are") << "k" << "az-._~!$'()*+,;:/?@09" << "k=az-._~!$'()*+,;:/?@09";
    QTest::newRow("encoded") << "k" << "#%[]\"<>^`{|}\t\n" << "k=%23%25%5B%5D%22%3C%3E%5E%60%7B%7C%7D%09%0A";
    QTest::newRow("Cyrillic letter outside the BMP") << "caption" << QString::fromUtf8("Ёж \xF0\x9F\x90\xBB")
                                                     << "caption=%D0%81%D0%B6%20%F0%9F%90%BB";
    QTest::newRow("empty value") << "history" << "" << "history=";
}

void TestViewerFlash::flashVariablesAreEncoded()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(QString, encoded);
    QCOMPARE(FlashRequest::flashVars({{name, value}}), encoded);
    // Pairs keep their order and each keeps its own name.
    QCOMPARE(FlashRequest::flashVars({{QStringLiteral("first"), QStringLiteral("1")}, {name, value}, {name, value}}),
             QStringLiteral("first=1&") + encoded + QLatin1Char('&') + encoded);
}

void TestViewerFlash::messagesToTheMovieAreWrappedUnchanged_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("wrapped");
    const QString head = QStringLiteral("<invoke name=\"send2flash\" returntype=\"xml\"><arguments><string><![CDATA[");
    const QString tail = QStringLiteral("]]></string></arguments></invoke>");
    QTest::newRow("markup as is") << "<flash action=\"history\"><a b='&amp;'>x</a></flash>"
                                  << head + "<flash action=\"history\"><a b='&amp;'>x</a></flash>" + tail;
    QTest::newRow("end of CDATA") << "a]]>b" << head + "a]]]]><![CDATA[>b" + tail;
    QTest::newRow("ends of CDATA in a row") << "]]>]]]>" << head + "]]]]><![CDATA[>]]]]]><![CDATA[>" + tail;
    QTest::newRow("CDATA inside") << "<![CDATA[x]]>" << head + "<![CDATA[x]]]]><![CDATA[>" + tail;
    QTest::newRow("empty") << "" << head + tail;
    QTest::newRow("carriage returns") << "a\r\nb\r" << head + "a]]>&#13;<![CDATA[\nb]]>&#13;<![CDATA[" + tail;
    // Left out rather than making the whole call unreadable.
    QTest::newRow("character XML cannot hold") << "a\x01]]>b" << head + "a]]]]><![CDATA[>b" + tail;
}

void TestViewerFlash::messagesToTheMovieAreWrappedUnchanged()
{
    QFETCH(QString, message);
    QFETCH(QString, wrapped);
    QCOMPARE(FlashRequest::send2flash(message), wrapped);
    // What the player reads out of it is the message itself.
    const FlashInvoke call = FlashInvoke::fromXml(wrapped);
    QCOMPARE(call.name(), QStringLiteral("send2flash"));
    QCOMPARE(argumentsOf(wrapped), QStringList{XmlText::withoutInvalidCharacters(message)});
}

bool TestViewerFlash::startMovie(ViewerFlash &viewer, QSignalSpy &calls, const QString &movie, const QString &id)
{
    viewer.setFixedSize(400, 300);
    viewer.loadMovie(movie, QStringLiteral("C:\\Курс\\data\\objects\\%1\\q 1.xml").arg(id), id, QStringLiteral("con"),
                     QStringLiteral("Слоги & звуки = 1"), QStringLiteral("#ffffff"));
    viewer.show();
    return QTest::qWaitForWindowExposed(&viewer)
           && waitFor([&] { return !callsNamed(calls, QStringLiteral("registered")).isEmpty(); });
}

void TestViewerFlash::movieLearnsWhoItIsAndWhatItReported()
{
    ViewerFlash viewer;
    QSignalSpy calls(viewer.player(), &FlashPlayer::FlashCall);
    QVERIFY(startMovie(viewer, calls, write(QStringLiteral("test.swf"), TestMovies::bridge(allVars, callbacks)),
                       QStringLiteral("con_01_slog")));
    const QStringList vars = {"#ffffff", "C:\\Курс\\data\\objects\\con_01_slog\\q 1.xml", "<answers a=\"1\"/>", "con",
                              "Слоги & звуки = 1", "Петя Иванов"};
    QCOMPARE(callsNamed(calls, QStringLiteral("vars")), QList<QStringList>{vars});

    // Shown and sized: the movie hears its last result again (as it is, markup included) and the resize.
    const QString history = QStringLiteral("<flash action=\"history\"><answers a=\"1\"/></flash>");
    const QString resize = QStringLiteral("<flash action=\"resize\" />");
    QVERIFY(waitFor([&] { return echoes(calls, QStringLiteral("send2flash")).contains(history); }));
    QVERIFY(echoes(calls, QStringLiteral("send2flash")).contains(resize));

    // A result saved since: the next show tells the movie the new history.
    ensureMarkbookModel();
    TreeItem *test = markbookModel->findObject(QStringLiteral("con_01_slog"), markbookModel->rootItem());
    QVERIFY(test);
    test->setData(4, QStringLiteral("<answers a=\"2\"/>"));
    calls.clear();
    viewer.hide();
    viewer.show();
    const QString newHistory = QStringLiteral("<flash action=\"history\"><answers a=\"2\"/></flash>");
    QVERIFY(waitFor([&] { return echoes(calls, QStringLiteral("send2flash")).contains(newHistory); }));
    calls.clear();
    viewer.setFixedSize(420, 300);
    QVERIFY(waitFor([&] { return echoes(calls, QStringLiteral("send2flash")) == QStringList{resize}; }));
}

void TestViewerFlash::materialWithoutMarkbookEntry()
{
    ViewerFlash viewer;
    QSignalSpy calls(viewer.player(), &FlashPlayer::FlashCall);
    QVERIFY(startMovie(viewer, calls, write(QStringLiteral("exercise.swf"), TestMovies::bridge(allVars, callbacks)),
                       QStringLiteral("pra_01")));
    // The history pair is there, empty (a missing variable would arrive as undefined).
    QCOMPARE(callsNamed(calls, QStringLiteral("vars")).value(0).value(2), QString());
    runFor(500);
    QCOMPARE(echoes(calls, QStringLiteral("send2flash")), QStringList{QStringLiteral("<flash action=\"resize\" />")});
}

void TestViewerFlash::messagesReachTheMovieUnchanged()
{
    ViewerFlash viewer;
    QSignalSpy calls(viewer.player(), &FlashPlayer::FlashCall);
    QVERIFY(startMovie(viewer, calls, write(QStringLiteral("relay.swf"), TestMovies::bridge({}, callbacks)),
                       QStringLiteral("pra_02")));
    // (Text of white space alone reaches a version 8 movie as "null", as it did in Flash.)
    const QStringList messages = {QStringLiteral("<flash action=\"send\"><![CDATA[a]]> & ]]]]> <b>]]></flash>"),
                                  QStringLiteral("<flash action=\"send\">строка 1\r\nстрока 2\r</flash>"),
                                  QStringLiteral("\r\n]]>\r")};
    for (const QString &message : messages)
        viewer.request(message);
    const auto relayed = [&] {
        QStringList echoed = echoes(calls, QStringLiteral("send2flash"));
        echoed.removeAll(QStringLiteral("<flash action=\"resize\" />"));
        return echoed;
    };
    QVERIFY(waitFor([&] { return relayed().size() >= messages.size(); }));
    QCOMPARE(relayed(), messages);
}

void TestViewerFlash::movieAsksAndSetsTheFirstScreenSwitch()
{
    // The movie asks, switches it off with text that is no number, asks again, then saves.
    const QStringList requests = {QStringLiteral("<shell action=\"getFirstScreenVisible\"/>"),
                                  QStringLiteral("<shell action=\"setFirstScreenVisible\">abc</shell>"),
                                  QStringLiteral("<shell action=\"getFirstScreenVisible\"/>"),
                                  QStringLiteral("<shell action=\"save\"><result mark=\"0.8\">4 &amp; 5</result></shell>")};
    firstScreenVisible = true;
    ViewerFlash viewer;
    Signals spy(&viewer);
    QSignalSpy calls(viewer.player(), &FlashPlayer::FlashCall);
    QVERIFY(startMovie(viewer, calls, write(QStringLiteral("switch.swf"), TestMovies::bridge({}, callbacks, requests)),
                       QStringLiteral("pra_03")));
    QVERIFY(waitFor([&] {
        return echoes(calls, QStringLiteral("getFirstScreenVisible")).size() >= 2 && !spy.lines.isEmpty();
    }));
    QCOMPARE(echoes(calls, QStringLiteral("getFirstScreenVisible")), QStringList({"1", "0"}));
    QVERIFY(!firstScreenVisible);
    QCOMPARE(spy.lines, QStringList{"test(0.8, 4 & 5)"});
    QCOMPARE(FlashRequest::firstScreenVisibleReply(true),
             QStringLiteral("<invoke name=\"getFirstScreenVisible\" returntype=\"xml\"><arguments><string>1</string>"
                            "</arguments></invoke>"));
}

void TestViewerFlash::printShowsTheMovie()
{
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        QSKIP("pdftoppm (poppler-utils) is not installed");
    const QColor blue(20, 60, 200);
    ViewerFlash viewer;
    viewer.setFixedSize(400, 300);
    QSignalSpy loaded(viewer.player(), &FlashPlayer::movieLoaded);
    viewer.loadMovie(write(QStringLiteral("still.swf"), TestMovies::still(QColor(230, 230, 230), blue)), QString(),
                     QStringLiteral("ani_01"), QStringLiteral("ani"), QString(), QStringLiteral("#ffffff"));
    viewer.show();
    QVERIFY(loaded.wait(30000));
    QVERIFY(waitFor([&] { return viewer.grab().toImage().pixelColor(200, 150) == blue; }));

    const QString pdf = m_folder->filePath(QStringLiteral("print.pdf"));
    {
        QPrinter printer(QPrinter::ScreenResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        viewer.print(&printer);
    }
    QProcess render;
    render.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("30"), QStringLiteral("-png"), QStringLiteral("-singlefile"),
                            pdf, m_folder->filePath(QStringLiteral("page"))});
    QVERIFY(render.waitForFinished(30000));
    QCOMPARE(render.exitCode(), 0);
    const QImage page(m_folder->filePath(QStringLiteral("page.png")));
    QVERIFY(!page.isNull());
    // The movie's shape and its stage fill the page's width, in the movie's proportions.
    int blueLeft = page.width(), blueRight = -1, blueTop = page.height(), blueBottom = -1;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (c.blue() > 150 && c.red() < 80) {
                blueLeft = qMin(blueLeft, x);
                blueRight = qMax(blueRight, x);
                blueTop = qMin(blueTop, y);
                blueBottom = qMax(blueBottom, y);
            }
        }
    }
    QVERIFY2(blueRight >= 0, "the printed page does not show the movie");
    const double width = blueRight - blueLeft + 1, height = blueBottom - blueTop + 1;
    QVERIFY2(qAbs(width / height - 200.0 / 150.0) < 0.1, qPrintable(QStringLiteral("%1 x %2").arg(width).arg(height)));
    QVERIFY2(width > page.width() * 0.4, qPrintable(QStringLiteral("%1 of %2").arg(width).arg(page.width())));
}

QTEST_MAIN(TestViewerFlash)
#include "tst_viewerflash.moc"
