// What the player does without a web engine: the invoke XML both ways, the flash
// variables, and which URLs and files its pages may have.

#include "flashfiles.h"
#include "flashinvoke.h"
#include "flashvars.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

class TestFlashProtocol : public QObject
{
    Q_OBJECT
private slots:
    void movieCallsAreWrittenLikeTheFlashControl();
    void hostCallsAreReadWithEveryArgumentKind();
    void malformedHostCallsAreRejected();
    void stringsKeepEveryCharacterBothWays();
    void flashVariablesDecodeLikeTheControl_data();
    void flashVariablesDecodeLikeTheControl();
    void filesMapOnlyInsideTheInstallationFolder();
    void onlyOwnOriginAndInPageDataMayBeRequested();
    void movieLoadsResolveInsideTheInstallationOnly();
    void typesLetRuffleStreamItsWasm();
};

void TestFlashProtocol::movieCallsAreWrittenLikeTheFlashControl()
{
    const QJsonArray arguments = {
        QJsonArray{QStringLiteral("s"), QStringLiteral("<b>&\"ё\"")},
        QJsonArray{QStringLiteral("n"), QStringLiteral("1.5")},
        QJsonArray{QStringLiteral("t")},
        QJsonArray{QStringLiteral("f")},
        QJsonArray{QStringLiteral("null")},
        QJsonArray{QStringLiteral("u")},
        QJsonArray{QStringLiteral("a"), QJsonArray{QJsonArray{QStringLiteral("s"), QStringLiteral("x")}}},
        QJsonArray{QStringLiteral("o"), QJsonArray{QJsonArray{QStringLiteral("k&"), QJsonArray{QStringLiteral("n"), QStringLiteral("2")}}}},
        QJsonArray{QStringLiteral("s"), QString::fromUtf16(u"bell\x07 kept\xDC00 out\xFFFE")},
    };
    QCOMPARE(FlashInvoke(QStringLiteral("say \"hi\""), arguments).toXml(),
             QStringLiteral("<invoke name=\"say &quot;hi&quot;\" returntype=\"xml\"><arguments>"
                            "<string>&lt;b&gt;&amp;&quot;ё&quot;</string><number>1.5</number><true/><false/><null/><undefined/>"
                            "<array><property id=\"0\"><string>x</string></property></array>"
                            "<object><property id=\"k&amp;\"><number>2</number></property></object>"
                            "<string>bell kept out</string></arguments></invoke>"));
    QCOMPARE(FlashInvoke(QStringLiteral("ready"), {}).toXml(),
             QStringLiteral("<invoke name=\"ready\" returntype=\"xml\"><arguments></arguments></invoke>"));
}

void TestFlashProtocol::hostCallsAreReadWithEveryArgumentKind()
{
    const FlashInvoke call = FlashInvoke::fromXml(QStringLiteral(
        "<invoke name=\"send2flash\" returntype=\"xml\"><arguments>"
        "<string><![CDATA[<flash action=\"history\">a&b</flash>]]></string><number> 3.25 </number><true/><null/>"
        "<array><property id=\"0\"><false/></property></array>"
        "<object><property id=\"mark\"><string>5</string></property></object><undefined/><unknown/>"
        "</arguments></invoke>"));
    QVERIFY(call.isValid());
    QCOMPARE(call.name(), QStringLiteral("send2flash"));
    const QJsonArray expected = {
        QJsonArray{QStringLiteral("s"), QStringLiteral("<flash action=\"history\">a&b</flash>")},
        QJsonArray{QStringLiteral("n"), QStringLiteral("3.25")},
        QJsonArray{QStringLiteral("t")},
        QJsonArray{QStringLiteral("null")},
        QJsonArray{QStringLiteral("a"), QJsonArray{QJsonArray{QStringLiteral("f")}}},
        QJsonArray{QStringLiteral("o"), QJsonArray{QJsonArray{QStringLiteral("mark"), QJsonArray{QStringLiteral("s"), QStringLiteral("5")}}}},
        QJsonArray{QStringLiteral("u")},
        QJsonArray{QStringLiteral("u")},
    };
    QCOMPARE(call.arguments(), expected);
    // What it reads it writes back the same way.
    QCOMPARE(FlashInvoke::fromXml(call.toXml()).arguments(), expected);
}

void TestFlashProtocol::malformedHostCallsAreRejected()
{
    QVERIFY(!FlashInvoke::fromXml(QString()).isValid());
    QVERIFY(!FlashInvoke::fromXml(QStringLiteral("<invoke name=\"f\"><arguments>")).isValid());
    QVERIFY(!FlashInvoke::fromXml(QStringLiteral("<flash action=\"send\"/>")).isValid());
    QVERIFY(!FlashInvoke::fromXml(QStringLiteral("<invoke returntype=\"xml\"><arguments/></invoke>")).isValid());
    QVERIFY(FlashInvoke::fromXml(QStringLiteral("<invoke name=\"f\"/>")).arguments().isEmpty());
}

void TestFlashProtocol::stringsKeepEveryCharacterBothWays()
{
    // A carriage return between CDATA sections, white space alone: XML readers lose both
    // unless they are read as they stand.
    const FlashInvoke call = FlashInvoke::fromXml(QStringLiteral(
        "<invoke name=\"send2flash\"><arguments><string><![CDATA[a]]>&#13;<![CDATA[\nb]]></string>"
        "<string> </string><string><![CDATA[ ]]></string><string>x\r\ny</string></arguments></invoke>"));
    const QJsonArray expected = {QJsonArray{QStringLiteral("s"), QStringLiteral("a\r\nb")},
                                 QJsonArray{QStringLiteral("s"), QStringLiteral(" ")},
                                 QJsonArray{QStringLiteral("s"), QStringLiteral(" ")},
                                 QJsonArray{QStringLiteral("s"), QStringLiteral("x\ny")}};
    QCOMPARE(call.arguments(), expected);

    const QJsonArray sent = {QJsonArray{QStringLiteral("s"), QStringLiteral("line\r\nline\r")},
                             QJsonArray{QStringLiteral("s"), QStringLiteral("\r")},
                             QJsonArray{QStringLiteral("s"), QStringLiteral("\t\n ")}};
    const QString written = FlashInvoke(QStringLiteral("f"), sent).toXml();
    QVERIFY2(written.contains(QStringLiteral("<string>line&#13;\nline&#13;</string><string>&#13;</string>")),
             qPrintable(written));
    QCOMPARE(FlashInvoke::fromXml(written).arguments(), sent);
}

void TestFlashProtocol::flashVariablesDecodeLikeTheControl_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QJsonObject>("vars");
    QTest::newRow("page view") << QStringLiteral("likeFlash=I%20like%20Flash")
                               << QJsonObject{{QStringLiteral("likeFlash"), QStringLiteral("I like Flash")}};
    QTest::newRow("material, plus kept") << QStringLiteral("bgcolor=%23ffffff&param=a+b%2Bc&history=&user=%D0%98%D0%B2%D0%B0%D0%BD")
                                         << QJsonObject{{QStringLiteral("bgcolor"), QStringLiteral("#ffffff")},
                                                        {QStringLiteral("param"), QStringLiteral("a+b+c")},
                                                        {QStringLiteral("history"), QString()},
                                                        {QStringLiteral("user"), QStringLiteral("Иван")}};
    QTest::newRow("separators inside values") << QStringLiteral("q=x%26y%3Dz&k%3D1=v")
                                              << QJsonObject{{QStringLiteral("q"), QStringLiteral("x&y=z")},
                                                             {QStringLiteral("k=1"), QStringLiteral("v")}};
    QTest::newRow("unencoded text, bare name, empty pairs, last wins")
        << QStringLiteral("?a=Ёж=ок&&flag&a=2&=lost")
        << QJsonObject{{QStringLiteral("a"), QStringLiteral("2")}, {QStringLiteral("flag"), QString()}};
}

void TestFlashProtocol::flashVariablesDecodeLikeTheControl()
{
    QFETCH(QString, query);
    QFETCH(QJsonObject, vars);
    QCOMPARE(FlashVars::parse(query), vars);
}

void TestFlashProtocol::filesMapOnlyInsideTheInstallationFolder()
{
    QTemporaryDir root;
    QTemporaryDir elsewhere;
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("data/textbook")));
    const QString movie = root.filePath(QStringLiteral("data/textbook/002-003 страница.swf"));
    QFile(movie).open(QIODevice::WriteOnly);
    const QString secret = elsewhere.filePath(QStringLiteral("secret.swf"));
    QFile(secret).open(QIODevice::WriteOnly);
    QVERIFY(QFile::link(secret, root.filePath(QStringLiteral("data/link.swf"))));
    QVERIFY(QFile::link(elsewhere.path(), root.filePath(QStringLiteral("data/linkdir"))));
    const FlashFiles files(root.path());

    const QUrl url = files.urlForFile(movie);
    QCOMPARE(url.scheme(), QStringLiteral("pellora"));
    QCOMPARE(files.fileForUrl(url), QFileInfo(movie).canonicalFilePath());
    QCOMPARE(files.fileForUrl(QUrl(url.toString(QUrl::FullyEncoded))), QFileInfo(movie).canonicalFilePath());

    QVERIFY(files.urlForFile(secret).isEmpty());
    QVERIFY(files.urlForFile(root.filePath(QStringLiteral("data/link.swf"))).isEmpty());
    QVERIFY(files.urlForFile(root.filePath(QStringLiteral("data/missing.swf"))).isEmpty());
    const QString up = QStringLiteral("pellora://app/data/textbook/../../../%1/secret.swf").arg(QFileInfo(elsewhere.path()).fileName());
    const QStringList refusedUrls = {QStringLiteral("pellora://app/data/link.swf"), QStringLiteral("pellora://app/data/linkdir/secret.swf"),
                                   QStringLiteral("pellora://app/%2E%2E/%2E%2E") + secret, up,
                                   QStringLiteral("pellora://app/data"), QStringLiteral("pellora://app/"),
                                   QStringLiteral("pellora://elsewhere/data/textbook/002-003%20страница.swf"),
                                   QStringLiteral("pellora://app/player/player.html"), QStringLiteral("file://") + movie};
    for (const QString &refused : refusedUrls)
        QVERIFY2(files.fileForUrl(QUrl(refused)).isEmpty(), qPrintable(refused));

    // Ruffle comes from the installation, never from a folder of that name the course brings.
    QTemporaryDir ruffle;
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("ruffle")));
    QFile(root.filePath(QStringLiteral("ruffle/ruffle.js"))).open(QIODevice::WriteOnly);
    QFile(ruffle.filePath(QStringLiteral("ruffle.js"))).open(QIODevice::WriteOnly);
    QVERIFY(QFile::link(secret, ruffle.filePath(QStringLiteral("link.js"))));
    const FlashFiles installed(root.path(), ruffle.path());
    QCOMPARE(installed.fileForUrl(QUrl(QStringLiteral("pellora://app/ruffle/ruffle.js"))),
             QFileInfo(ruffle.filePath(QStringLiteral("ruffle.js"))).canonicalFilePath());
    QCOMPARE(installed.fileForUrl(url), QFileInfo(movie).canonicalFilePath());
    QVERIFY(installed.missingRuffleFiles().contains(ruffle.filePath(QStringLiteral("*.wasm"))));
    QVERIFY(installed.fileForUrl(QUrl(QStringLiteral("pellora://app/ruffle/link.js"))).isEmpty());
}

void TestFlashProtocol::onlyOwnOriginAndInPageDataMayBeRequested()
{
    QTemporaryDir root;
    QFile(root.filePath(QStringLiteral("movie.swf"))).open(QIODevice::WriteOnly);
    const FlashFiles files(root.path());
    QVERIFY(files.mayRequest(QUrl(QStringLiteral("pellora://app/movie.swf"))));
    QVERIFY(files.mayRequest(FlashFiles::playerUrl(QStringLiteral("player.html"))));
    QVERIFY(files.mayRequest(QUrl(QStringLiteral("data:text/plain,x"))));
    QVERIFY(files.mayRequest(QUrl(QStringLiteral("blob:pellora://app/1234"))));
    for (const char *refused : {"pellora://app/absent.swf", "pellora://app:8080/movie.swf", "pellora://other/movie.swf",
                                "http://127.0.0.1/movie.swf", "https://example.com/", "ws://localhost/",
                                "file:///etc/passwd", "qrc:/flash/player.js", "ftp://example.com/movie.swf"})
        QVERIFY2(!files.mayRequest(QUrl(QString::fromLatin1(refused))), refused);
}

void TestFlashProtocol::movieLoadsResolveInsideTheInstallationOnly()
{
    // What Ruffle asks for is the movie's path joined to the movie's folder (pellora://app/…):
    // a relative path lands under the folder, an absolute one ("/" or "\\") replaces the whole path.
    QTemporaryDir root;
    QTemporaryDir elsewhere;
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("data/objects/con_01")));
    const QString questions = root.filePath(QStringLiteral("data/objects/con_01/вопросы.xml"));
    QFile(questions).open(QIODevice::WriteOnly);
    const QString secret = elsewhere.filePath(QStringLiteral("secret.xml"));
    QFile(secret).open(QIODevice::WriteOnly);
    QVERIFY(QFile::link(secret, root.filePath(QStringLiteral("data/link.xml"))));
    const FlashFiles files(root.path());
    const QString canonical = QFileInfo(questions).canonicalFilePath();
    const QString inside = files.installationFolder();

    using Load = FlashFiles::Load;
    const struct {
        QString requested;
        Load::Outcome outcome;
        QString asked;
    } cases[] = {
        {QStringLiteral("pellora://app/data/objects/con_01/%D0%B2%D0%BE%D0%BF%D1%80%D0%BE%D1%81%D1%8B.xml"), Load::Found, canonical},
        {QStringLiteral("pellora://app") + inside + QStringLiteral("/data/objects/con_01/вопросы.xml"), Load::Found, canonical},
        {QStringLiteral("pellora://app") + inside + QStringLiteral("\\data\\objects\\con_01\\вопросы.xml"), Load::Found, canonical},
        {QStringLiteral("pellora://app/data/objects/con_01/../con_01/вопросы.xml"), Load::Found, canonical},
        {QStringLiteral("file://") + questions, Load::Found, canonical},
        {QStringLiteral("pellora://app/data/objects/con_01/missing.xml"), Load::Missing,
         inside + QStringLiteral("/data/objects/con_01/missing.xml")},
        {QStringLiteral("pellora://app") + inside + QStringLiteral("/missing.xml"), Load::Missing, inside + QStringLiteral("/missing.xml")},
        {QStringLiteral("pellora://app") + secret, Load::Outside, secret},
        {QStringLiteral("pellora://app/data/link.xml"), Load::Outside, inside + QStringLiteral("/data/link.xml")},
        {QStringLiteral("pellora://app/data/objects"), Load::Outside, inside + QStringLiteral("/data/objects")},
        {QStringLiteral("pellora://app/../../../..") + secret, Load::Outside, secret},
        {QStringLiteral("pellora://app/../../data/objects/con_01/вопросы.xml"), Load::Found, canonical},
        {QStringLiteral("file://") + secret, Load::Outside, secret},
        {QStringLiteral("c:\\Windows\\win.ini"), Load::Outside, QStringLiteral("C:/Windows/win.ini")},
        {QStringLiteral("https://example.com/questions.xml"), Load::NotAFile, QStringLiteral("https://example.com/questions.xml")},
        {QStringLiteral("pellora://other/data/objects/con_01/вопросы.xml"), Load::NotAFile,
         QStringLiteral("pellora://other/data/objects/con_01/вопросы.xml")},
        {QStringLiteral("pellora://app/player/player.js"), Load::NotAFile, QStringLiteral("pellora://app/player/player.js")},
    };
    for (const auto &c : cases) {
        const Load load = files.fileForLoad(c.requested);
        QVERIFY2(load.outcome == c.outcome, qPrintable(c.requested));
        QCOMPARE(load.asked, c.asked);
        QCOMPARE(load.file, c.outcome == Load::Found ? canonical : QString());
    }
}

void TestFlashProtocol::typesLetRuffleStreamItsWasm()
{
    QCOMPARE(FlashFiles::mimeType(QStringLiteral("ruffle/826bb0938097485a2c9d.wasm")), QStringLiteral("application/wasm"));
    QCOMPARE(FlashFiles::mimeType(QStringLiteral("ruffle/ruffle.js")), QStringLiteral("text/javascript"));
    QCOMPARE(FlashFiles::mimeType(QStringLiteral("data/textbook/002-003.SWF")), QStringLiteral("application/x-shockwave-flash"));
}

QTEST_MAIN(TestFlashProtocol)
#include "tst_flashprotocol.moc"
