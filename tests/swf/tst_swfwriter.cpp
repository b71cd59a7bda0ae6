// Byte-level checks of the SWF writer where a slip would still give a file Ruffle opens
// but that means something else.

#include "swfmovie.h"
#include "swftagreader.h"

#include <QtEndian>
#include <QtTest>

namespace {
enum { ShowFrameTag = 1, DoActionTag = 12, DefineButton2Tag = 34, DefineBitsLossless2Tag = 36,
       DefineEditTextTag = 37, FileAttributesTag = 69 };

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

QTEST_MAIN(TestSwfWriter)
#include "tst_swfwriter.moc"
