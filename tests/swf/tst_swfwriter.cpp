// Byte-level checks of the SWF writer where a slip would still give a file Ruffle opens
// but that means something else.

#include "swfmovie.h"
#include "swftagreader.h"

#include <QtEndian>
#include <QtTest>

namespace {
enum { ShowFrameTag = 1, DoActionTag = 12, PlaceObject2Tag = 26, DefineButton2Tag = 34, DefineBitsLossless2Tag = 36,
       DefineEditTextTag = 37, DefineSpriteTag = 39, FrameLabelTag = 43, FileAttributesTag = 69 };

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

QByteArray inflate(const QByteArray &zlib, int size)
{
    QByteArray prefixed(4, '\0');
    qToBigEndian<quint32>(quint32(size), prefixed.data());
    return qUncompress(prefixed + zlib);
}
} // namespace

class TestSwfWriter : public QObject
{
    Q_OBJECT
private slots:
    void headerMatchesTheFormat();
    void compressedAndPlainHoldTheSameMovie();
    void valuesArePushedInAvm1Layout();
    void branchesLandOnTheirLabels();
    void bitmapsArePremultipliedArgb();
    void buttonActionsAreChained();
    void textFieldsCarryUtf8TextAndTheirVariable();
    void spritesHoldTheirOwnTimeline();
    void framesCarryTheirLabels();
    void movesKeepTheCharacterAndMayFade();
    void shorthandsDoTheStackDances();
    void methodsGetThisInTheFirstRegister();
    void appendedProgramsKeepTheirBranches();
    void roundOutlinesStayInsideTheirBox();
};

void TestSwfWriter::headerMatchesTheFormat()
{
    SwfMovie movie(QSize(550, 400), 12);
    const QByteArray file = movie.toBytes(false);
    QCOMPARE(file.left(4), QByteArray("FWS\x08"));
    QCOMPARE(qFromLittleEndian<quint32>(file.constData() + 4), quint32(file.size()));
    // The classic 550 × 400 stage rectangle, 12 frames a second, one frame.
    QCOMPARE(file.mid(8, 13), hex("7800055f00000fa000000c0100"));
    const QList<SwfTagReader::Tag> tags = SwfTagReader(file).tags();
    QCOMPARE(tags.first().code, int(FileAttributesTag)); // SWF 8 wants it first
    QCOMPARE(tags.first().body, hex("00000000"));
    QCOMPARE(tags.at(tags.size() - 2).code, int(ShowFrameTag));
    QCOMPARE(tags.last().code, 0);
}

void TestSwfWriter::compressedAndPlainHoldTheSameMovie()
{
    SwfMovie movie(QSize(400, 300), 24);
    SwfShape shape;
    shape.addRect(QRectF(10, 10, 100, 50), shape.addSolidFill(Qt::red));
    movie.placeObject(movie.defineShape(shape), 1);
    movie.showFrame();
    movie.showFrame();
    const SwfTagReader compressed(movie.toBytes(true));
    QCOMPARE(compressed.signature(), QByteArray("CWS"));
    QVERIFY(compressed.isValid());
    QCOMPARE(compressed.uncompressed(), movie.toBytes(false));
    QCOMPARE(compressed.stageTwips(), QRect(0, 0, 8000, 6000));
    QCOMPARE(compressed.frameRate(), 24.0);
    QCOMPARE(compressed.frameCount(), 2);
}

void TestSwfWriter::valuesArePushedInAvm1Layout()
{
    SwfActions actions;
    actions.push(1.5).push(7).push(-1).push("ё").push(true).pushNull().pushUndefined().pushRegister(2);
    QCOMPARE(actions.code(), hex("9609000600" "00f83f00000000"   // a double: high half first
                                 "96050007" "07000000"
                                 "96050007" "ffffffff"
                                 "9604000" "0d19100"             // UTF-8, NUL-terminated
                                 "9602000501" "96010002" "96010003" "960200" "0402"));
}

void TestSwfWriter::branchesLandOnTheirLabels()
{
    SwfActions actions;
    actions.label("top").ifTrue("end").push("a").label("end").jump("top");
    // If: 6 bytes ahead (over the push); Jump: 16 bytes back to the start.
    QCOMPARE(actions.code(), hex("9d02000600" "960300006100" "990200f0ff"));
    QCOMPARE(actions.program(), actions.code() + QByteArray(1, '\0'));
}

void TestSwfWriter::bitmapsArePremultipliedArgb()
{
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(255, 0, 0, 255));
    image.setPixel(1, 0, qRgba(0, 0, 255, 128));
    SwfMovie movie(QSize(2, 1));
    QCOMPARE(movie.defineBitmap(image), quint16(1));
    const QByteArray body = SwfTagReader(movie.toBytes()).tags(DefineBitsLossless2Tag).first().body;
    QCOMPARE(body.left(7), hex("0100" "05" "0200" "0100"));
    QCOMPARE(inflate(body.mid(7), 8), hex("ffff0000" "80000080"));
}

void TestSwfWriter::buttonActionsAreChained()
{
    SwfMovie movie(QSize(100, 100));
    SwfShape shape;
    shape.addRect(QRectF(0, 0, 50, 50), shape.addSolidFill(Qt::black));
    SwfButton button;
    button.records.append({movie.defineShape(shape), 1, SwfButton::HitTest, QTransform()});
    SwfActions first;
    first.push("pressed").op(SwfActions::Trace);
    SwfActions second;
    second.op(SwfActions::Stop);
    button.actions.append({SwfButton::Press, first});
    button.actions.append({SwfButton::Release, second});
    movie.defineButton(button);

    const QByteArray body = SwfTagReader(movie.toBytes()).tags(DefineButton2Tag).first().body;
    const int firstAction = 3 + qFromLittleEndian<quint16>(body.constData() + 3);
    const int firstSize = qFromLittleEndian<quint16>(body.constData() + firstAction);
    QCOMPARE(body.mid(firstAction + 2, 2), hex("0400"));
    QCOMPARE(body.mid(firstAction + 4, firstSize - 4), first.program());
    const int secondAction = firstAction + firstSize;
    QCOMPARE(body.mid(secondAction, 4), hex("0000" "0800")); // last: size 0, released inside
    QCOMPARE(body.mid(secondAction + 4), second.program());
}

void TestSwfWriter::textFieldsCarryUtf8TextAndTheirVariable()
{
    SwfMovie movie(QSize(200, 100));
    SwfTextField field;
    field.boundsPixels = QRectF(0, 0, 200, 30);
    field.fontId = movie.defineDeviceFont();
    field.text = QStringLiteral("Ёжик");
    field.variableName = QStringLiteral("caption");
    movie.defineTextField(field);
    const QByteArray body = SwfTagReader(movie.toBytes()).tags(DefineEditTextTag).first().body;
    QVERIFY(body.endsWith(QByteArray("caption\0", 8).append(QStringLiteral("Ёжик").toUtf8()).append(char(0))));
}

void TestSwfWriter::spritesHoldTheirOwnTimeline()
{
    SwfMovie movie(QSize(100, 100));
    SwfShape shape;
    shape.addRect(QRectF(0, 0, 10, 10), shape.addSolidFill(Qt::red));
    const quint16 shapeId = movie.defineShape(shape);
    SwfTimeline clip;
    clip.placeObject(shapeId, 1);
    clip.showFrame();
    clip.removeObject(1);
    clip.showFrame();
    QCOMPARE(movie.defineSprite(clip), quint16(2));
    movie.showFrame();

    const QByteArray body = SwfTagReader(movie.toBytes()).tags(DefineSpriteTag).first().body;
    QCOMPARE(body.left(4), hex("0200" "0200")); // its id, two frames
    // The sprite's own tags: place, show, remove, show, end; none of them reach the main timeline.
    QCOMPARE(body.mid(4), hex("8606" "06" "0100" "0100" "00" "4000" "0207" "0100" "4000" "0000"));
    QCOMPARE(SwfTagReader(movie.toBytes()).tags(PlaceObject2Tag).size(), 0);
}

void TestSwfWriter::framesCarryTheirLabels()
{
    SwfMovie movie(QSize(100, 100));
    movie.frameLabel(QStringLiteral("кот"));
    movie.showFrame();
    const QList<SwfTagReader::Tag> tags = SwfTagReader(movie.toBytes()).tags();
    QCOMPARE(tags.at(1).code, int(FrameLabelTag)); // before the frame it names
    QCOMPARE(tags.at(1).body, QStringLiteral("кот").toUtf8() + QByteArray(1, '\0'));
}

void TestSwfWriter::movesKeepTheCharacterAndMayFade()
{
    SwfMovie movie(QSize(10, 10));
    movie.moveObject(3, QTransform::fromTranslate(1, 2));
    movie.moveObject(3, QTransform(), 0.5);
    const QList<SwfTagReader::Tag> moves = SwfTagReader(movie.toBytes()).tags(PlaceObject2Tag);
    QCOMPARE(moves.size(), 2);
    // Move + matrix, no character: a translation of 20, 40 twips in 7-bit fields.
    QCOMPARE(moves[0].body, hex("05" "0300" "0e5140"));
    // Move + matrix + colour transform: multiply terms only, 1.0 for red, green and blue, 0.5 for alpha.
    QCOMPARE(moves[1].body, hex("0d" "0300" "00" "690040100200"));
}

void TestSwfWriter::shorthandsDoTheStackDances()
{
    SwfActions set;
    set.push("v").setVariable("x");
    QCOMPARE(set.code(), SwfActions().push("v").push("x").op(SwfActions::StackSwap).op(SwfActions::SetVariable).code());

    // object.method(arg): CallMethod wants the argument count below the object.
    SwfActions call;
    call.push("arg").push("obj").op(SwfActions::GetVariable).callMethodOnStack("go", 1);
    QCOMPARE(call.code(), SwfActions()
                              .push("arg").push("obj").op(SwfActions::GetVariable)
                              .push(1).op(SwfActions::StackSwap).push("go").op(SwfActions::CallMethod)
                              .code());
    SwfActions member;
    member.push("o").op(SwfActions::GetVariable).push(5).setMember("_x");
    QVERIFY(member.code().endsWith(SwfActions().push("_x").op(SwfActions::StackSwap).op(SwfActions::SetMember).code()));
    QCOMPARE(SwfActions().ifFalse("l").label("l").code(), hex("12" "9d020000" "00"));
}

void TestSwfWriter::methodsGetThisInTheFirstRegister()
{
    SwfActions body;
    body.op(SwfActions::Stop);
    SwfActions method;
    method.defineMethod("m", {"a"}, 3, body);
    // DefineFunction2: name, one parameter, 3 registers, preload this / suppress arguments and
    // super, the parameter in register 2, a one-byte body.
    QCOMPARE(method.code(), hex("8e0c00" "6d00" "0100" "03" "29" "00" "02" "6100" "0100" "07"));
    SwfActions function;
    function.defineFunction2("f", {"a"}, 2, body);
    QCOMPARE(function.code().mid(3 + 2 + 2 + 1, 4), hex("2a" "00" "01" "61"));
}

void TestSwfWriter::appendedProgramsKeepTheirBranches()
{
    SwfActions tail;
    tail.jump("end").push("skipped").label("end").op(SwfActions::Stop);
    SwfActions whole;
    whole.push("first").append(tail).jump("end");
    const QByteArray code = whole.code();
    const int first = int(SwfActions().push("first").code().size());
    const int skipped = int(SwfActions().push("skipped").code().size());
    // The appended jump still skips its push; the later one goes back to the same label.
    QCOMPARE(code.mid(first, 3), hex("990200"));
    QCOMPARE(qFromLittleEndian<qint16>(code.constData() + first + 3), qint16(skipped));
    const int end = first + 5 + skipped;
    QCOMPARE(quint8(code.at(end)), quint8(SwfActions::Stop));
    QCOMPARE(code.size(), end + 1 + 5);
    QCOMPARE(qFromLittleEndian<qint16>(code.constData() + code.size() - 2), qint16(end - code.size()));
}

void TestSwfWriter::roundOutlinesStayInsideTheirBox()
{
    SwfShape ellipse;
    ellipse.addEllipse(QRectF(10, 20, 100, 50), ellipse.addSolidFill(Qt::red));
    QCOMPARE(ellipse.boundsTwips(), QRect(200, 400, 2001, 1001));
    SwfShape rounded;
    rounded.addRoundedRect(QRectF(0, 0, 60, 30), 100, rounded.addSolidFill(Qt::red)); // radius capped at 15
    QCOMPARE(rounded.boundsTwips(), QRect(0, 0, 1201, 601));
}

QTEST_MAIN(TestSwfWriter)
#include "tst_swfwriter.moc"
