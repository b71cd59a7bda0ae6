#include "swfhostcalls.h"
#include "swfmovie.h"
#include "swfreader.h"

#include <QFile>
#include <QtTest>

// The reader against the writer's movies, the three compressions and an ActionScript 3 movie
// from another compiler; damaged movies are the fuzzer's (tests/fuzz).
class TestSwfReader : public QObject
{
    Q_OBJECT

private slots:
    void followsWhatTheCodeAsksOfItsHost();
    void readsEveryCompressionAlike();
    void findsActionScript3();
};

namespace {

QByteArray corpus(const char *name)
{
    QFile file(QStringLiteral(FUZZ_CORPUS_DIR "/swf/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

SwfHostCalls scan(const SwfReader &swf)
{
    SwfHostCalls calls;
    for (const QByteArray &program : swf.actionPrograms())
        calls.scan(program);
    return calls;
}

// One line per call, unknown values as "?": easy to compare whole.
QStringList describe(const SwfHostCalls &calls)
{
    static const char *const kinds[] = {"call", "callback", "fscommand", "getURL", "loadMovie", "loadVariables"};
    QStringList lines;
    for (const SwfHostCalls::Call &call : calls.calls()) {
        QStringList values{call.name.known ? call.name.text : QStringLiteral("?")};
        if (call.target.known)
            values << call.target.text;
        for (const SwfHostCalls::Value &argument : call.arguments)
            values << (argument.known ? argument.text : QStringLiteral("?"));
        lines << QLatin1String(kinds[call.kind]) + QLatin1Char(' ') + values.join(QLatin1Char('|'));
    }
    return lines;
}

} // namespace

void TestSwfReader::followsWhatTheCodeAsksOfItsHost()
{
    SwfMovie movie(QSize(320, 240), 30);
    SwfActions frame;
    frame.push("second").push("ani_01").externalCall(QStringLiteral("openMaterial"), 2).op(SwfActions::Pop);
    frame.push(1).getVariable(QStringLiteral("score")).op(SwfActions::Add2).externalCall(QStringLiteral("report"), 1).op(SwfActions::Pop);
    SwfActions echo;
    echo.pushRegister(1).op(SwfActions::Return);
    frame.defineFunction2(QString(), {QStringLiteral("x")}, 2, echo).addExternalCallback(QStringLiteral("echo")).op(SwfActions::Pop);
    frame.getUrl(QStringLiteral("FSCommand:quit"), QStringLiteral("now"));
    frame.getUrl(QStringLiteral("help.htm"), QStringLiteral("_blank"));
    frame.getUrl(QStringLiteral("next.swf"), QStringLiteral("_level1"));
    frame.push("words.txt").push("_root").getUrl2(2);
    movie.doAction(frame);

    SwfButton button;
    SwfActions click;
    click.push("ani_02").externalCall(QStringLiteral("openMaterial"), 1).op(SwfActions::Pop);
    button.actions.append({SwfButton::Release, click});
    SwfTimeline inner;
    SwfActions innerFrame;
    innerFrame.push("ani_03").externalCall(QStringLiteral("openMaterial"), 1).op(SwfActions::Pop);
    inner.doAction(innerFrame);
    inner.showFrame();
    movie.placeObject(movie.defineButton(button), 1);
    movie.placeObject(movie.defineSprite(inner), 2);
    movie.showFrame();

    SwfReader swf;
    QVERIFY2(swf.read(movie.toBytes(true)), qPrintable(swf.error()));
    QCOMPARE(swf.compression(), SwfReader::Compression::Zlib);
    QCOMPARE(swf.version(), 8);
    QCOMPARE(swf.stageTwips(), QRect(0, 0, 320 * 20, 240 * 20));
    QCOMPARE(swf.frameRate(), 30.0);
    QVERIFY(!swf.isAvm2());
    // The frame's own code first, then the button's and the sprite's as their tags come.
    QCOMPARE(describe(scan(swf)), QStringList({
        "call openMaterial|ani_01|second",
        "call report|?",            // computed at run time: not guessed
        "callback echo",
        "fscommand quit|now",
        "getURL help.htm|_blank",
        "loadMovie next.swf|_level1",
        "getURL words.txt|_root",
        "call openMaterial|ani_02",
        "call openMaterial|ani_03",
    }));
    QVERIFY(scan(swf).calls().at(6).posts);
}

void TestSwfReader::readsEveryCompressionAlike()
{
    // The same hand-made movie (clip events, a button, a sprite, a constant pool) three ways.
    SwfReader plain;
    QVERIFY2(plain.read(corpus("handmade-fws.swf")), qPrintable(plain.error()));
    const QStringList expected = describe(scan(plain));
    QCOMPARE(expected, QStringList({"call openMaterial|ani_01", "fscommand quit|", "loadVariables data/vars.txt|_root"}));
    QVERIFY(scan(plain).strings().contains(QStringLiteral("hitArea"))); // from the clip event
    QVERIFY(scan(plain).strings().contains(QStringLiteral("inner")));   // from the sprite

    for (const char *name : {"handmade-cws.swf", "handmade-zws.swf"}) {
        SwfReader packed;
        QVERIFY2(packed.read(corpus(name)), qPrintable(packed.error()));
        QCOMPARE(describe(scan(packed)), expected);
        QCOMPARE(packed.tags().size(), plain.tags().size());
    }

    // A body that unpacks far beyond its declared length, one cut short, one claiming 4 GB.
    for (const char *name : {"bomb-cws.swf", "truncated-cws.swf", "wrong-length-fws.swf"}) {
        SwfReader refused;
        QVERIFY2(!refused.read(corpus(name)), name);
        QVERIFY(!refused.error().isEmpty());
    }

    // A sprite whose last tag takes its long length from the bytes after the sprite.
    QByteArray escaping = QByteArray::fromHex("465753" "0a" "00000000" "00" "0018" "0100"
                                              "c609" "0100" "0100" "ff09" // DefineSprite, 6 bytes
                                              "40000000" "0000");
    escaping[4] = char(escaping.size());
    SwfReader refused;
    QVERIFY(!refused.read(escaping));
}

void TestSwfReader::findsActionScript3()
{
#ifndef AS3_MOVIE
    QSKIP("haxe is not installed: no ActionScript 3 movie was built");
#else
    QFile file(QStringLiteral(AS3_MOVIE));
    QVERIFY(file.open(QIODevice::ReadOnly));
    SwfReader swf;
    QVERIFY2(swf.read(file.readAll()), qPrintable(swf.error()));
    QVERIFY(swf.isAvm2());
    QVERIFY(swf.hasAbc());
    QVERIFY(swf.actionPrograms().isEmpty());
    for (const char *name : {"ExternalInterface", "addCallback", "parrot", "ready", "as3"})
        QVERIFY2(swf.abcStrings().contains(QLatin1String(name)), name);
#endif
}

QTEST_GUILESS_MAIN(TestSwfReader)
#include "tst_swfreader.moc"
