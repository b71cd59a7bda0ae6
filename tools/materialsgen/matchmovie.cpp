#include "matchmovie.h"

#include "canvas.h"
#include "gamestage.h"
#include "picturebook.h"
#include "shapes.h"

using Op = SwfActions::Op;

namespace {
constexpr double rowHeight = 106;
constexpr double top = 96;
constexpr double pictureSide = 96;
constexpr double wordWidth = 220;
constexpr double wordHeight = 64;
const QColor againColor(140, 205, 110);

QImage frame(const QSizeF &size, const QColor &fill, const QColor &outline, const QString &picture = QString())
{
    Canvas canvas(QSize(qCeil(size.width()), qCeil(size.height())));
    canvas.fill(Shapes::rounded(QRectF(2, 2, size.width() - 4, size.height() - 4), 14), fill, outline, 3);
    if (!picture.isEmpty())
        PictureBook::paint(canvas.painter(), QRectF(6, 6, size.width() - 12, size.height() - 12), picture);
    return canvas.finish();
}
} // namespace

MatchMovie::MatchMovie(const SourceElement &element)
    : m_element(element)
{
    for (const SourceElement &pair : element.children(QStringLiteral("pair")))
        m_pairs.append({pair.picture(QStringLiteral("picture")), pair.content()});
    if (m_pairs.size() < 2 || m_pairs.size() > 4)
        element.error(QStringLiteral("%1 pairs; a matching game has two to four").arg(m_pairs.size()));
    m_pairs = m_pairs.mid(0, 4);
}

QPointF MatchMovie::pictureAt(int row) const
{
    return QPointF(120, top + row * rowHeight);
}

QPointF MatchMovie::wordAt(int row) const
{
    return QPointF(480, top + row * rowHeight + (pictureSide - wordHeight) / 2);
}

int MatchMovie::wordRow(int pair) const
{
    // The words stand one row further down, the last at the top: never beside their picture.
    return (pair + 1) % int(m_pairs.size());
}

quint16 MatchMovie::defineChoice(GameStage &stage, const QImage &face, const QImage &chosen, const QImage &joined,
                                 const QString &text, const QString &function) const
{
    // Frame 1 a button, frame 2 chosen (a button still), frame 3 joined (no button).
    StageKit &kit = stage.kit();
    SwfActions click;
    click.getVariable(QStringLiteral("index")).pushPath(QStringLiteral("_root")).callMethodOnStack(function, 1).op(Op::Pop);
    const auto button = [&](const QImage &image) {
        SwfButton b;
        b.records.append({kit.picture(image), 1, SwfButton::Up | SwfButton::Over | SwfButton::Down | SwfButton::HitTest, QTransform()});
        b.actions.append({SwfButton::Release, click});
        return stage.movie().defineButton(b);
    };
    SwfTimeline clip;
    SwfActions stop;
    stop.op(Op::Stop);
    clip.placeObject(button(face), 1);
    quint16 label = 0;
    if (!text.isEmpty()) {
        StageKit::Text t;
        t.rect = QRectF(6, (face.height() - 42) / 2.0, face.width() - 12, 42);
        t.size = 28;
        t.text = text;
        label = kit.text(t);
        clip.placeObject(label, 2);
    }
    clip.doAction(stop);
    clip.showFrame();
    clip.removeObject(1);
    clip.placeObject(button(chosen), 1);
    clip.showFrame();
    clip.removeObject(1);
    clip.placeObject(kit.picture(joined), 1);
    clip.showFrame();
    return stage.movie().defineSprite(clip);
}

SwfActions MatchMovie::script(bool hasLink) const
{
    const int n = int(m_pairs.size());
    // choosePicture(k): r1 k.
    SwfActions choosePicture;
    choosePicture.push("p").pushRegister(1).op(Op::Add2).op(Op::GetVariable).getMember(QStringLiteral("_currentframe"));
    choosePicture.push(3).op(Op::Equals2).ifTrue(QStringLiteral("done"));
    choosePicture.getVariable(QStringLiteral("chosen")).push(0).op(Op::Less2).ifTrue(QStringLiteral("fresh"));
    choosePicture.push(1).push("p").getVariable(QStringLiteral("chosen")).op(Op::Add2).op(Op::GetVariable);
    choosePicture.callMethodOnStack(QStringLiteral("gotoAndStop"), 1).op(Op::Pop);
    choosePicture.label(QStringLiteral("fresh"));
    choosePicture.pushRegister(1).setVariable(QStringLiteral("chosen"));
    choosePicture.push(2).push("p").pushRegister(1).op(Op::Add2).op(Op::GetVariable);
    choosePicture.callMethodOnStack(QStringLiteral("gotoAndStop"), 1).op(Op::Pop);
    GameStage::say(choosePicture, QStringLiteral("Теперь нажми на слово."), GameStage::green());
    choosePicture.label(QStringLiteral("done"));

    // chooseWord(k): r1 the word's pair, r2 the picture clip, r3 the word clip, r4 the lines clip.
    SwfActions chooseWord;
    chooseWord.push("w").pushRegister(1).op(Op::Add2).op(Op::GetVariable).storeRegister(3).op(Op::Pop);
    chooseWord.pushRegister(3).getMember(QStringLiteral("_currentframe")).push(3).op(Op::Equals2).ifTrue(QStringLiteral("done"));
    chooseWord.getVariable(QStringLiteral("chosen")).push(0).op(Op::Less2).ifFalse(QStringLiteral("picked"));
    GameStage::say(chooseWord, QStringLiteral("Сначала нажми на картинку."), GameStage::red());
    chooseWord.op(Op::Return);
    chooseWord.label(QStringLiteral("picked"));
    chooseWord.push("p").getVariable(QStringLiteral("chosen")).op(Op::Add2).op(Op::GetVariable).storeRegister(2).op(Op::Pop);
    chooseWord.pushRegister(1).getVariable(QStringLiteral("chosen")).op(Op::Equals2).ifTrue(QStringLiteral("pair"));
    GameStage::say(chooseWord, QStringLiteral("Не подходит. Попробуй ещё!"), GameStage::red());
    chooseWord.push(1).pushRegister(2).callMethodOnStack(QStringLiteral("gotoAndStop"), 1).op(Op::Pop);
    chooseWord.push(-1).setVariable(QStringLiteral("chosen"));
    chooseWord.op(Op::Return);
    chooseWord.label(QStringLiteral("pair"));
    for (int reg : {2, 3})
        chooseWord.push(3).pushRegister(reg).callMethodOnStack(QStringLiteral("gotoAndStop"), 1).op(Op::Pop);
    chooseWord.pushPath(QStringLiteral("lines")).storeRegister(4).op(Op::Pop);
    chooseWord.push(100).push(0x2e8b3a).push(5).pushRegister(4).callMethodOnStack(QStringLiteral("lineStyle"), 3).op(Op::Pop);
    chooseWord.pushRegister(2).getMember(QStringLiteral("_y")).push(pictureSide / 2).op(Op::Add2);
    chooseWord.pushRegister(2).getMember(QStringLiteral("_x")).push(pictureSide).op(Op::Add2);
    chooseWord.pushRegister(4).callMethodOnStack(QStringLiteral("moveTo"), 2).op(Op::Pop);
    chooseWord.pushRegister(3).getMember(QStringLiteral("_y")).push(wordHeight / 2).op(Op::Add2);
    chooseWord.pushRegister(3).getMember(QStringLiteral("_x"));
    chooseWord.pushRegister(4).callMethodOnStack(QStringLiteral("lineTo"), 2).op(Op::Pop);
    chooseWord.push(-1).setVariable(QStringLiteral("chosen"));
    chooseWord.getVariable(QStringLiteral("joined")).push(1).op(Op::Add2).setVariable(QStringLiteral("joined"));
    GameStage::say(chooseWord, QStringLiteral("Верно!"), GameStage::green());
    chooseWord.getVariable(QStringLiteral("joined")).push(n).op(Op::Less2).ifTrue(QStringLiteral("done"));
    GameStage::say(chooseWord, QStringLiteral("Молодец! Все пары найдены."), GameStage::green());
    chooseWord.pushPath(QStringLiteral("again")).push(true).setMember(QStringLiteral("_visible"));
    if (hasLink)
        chooseWord.pushPath(QStringLiteral("link")).push(true).setMember(QStringLiteral("_visible"));
    chooseWord.label(QStringLiteral("done"));

    SwfActions restart;
    for (int i = 0; i < n; ++i) {
        for (const QString &clip : {QStringLiteral("p%1").arg(i), QStringLiteral("w%1").arg(i)}) {
            restart.pushPath(clip).push(i).setMember(QStringLiteral("index"));
            restart.push(1).pushPath(clip).callMethodOnStack(QStringLiteral("gotoAndStop"), 1).op(Op::Pop);
        }
    }
    restart.pushPath(QStringLiteral("lines")).callMethodOnStack(QStringLiteral("clear"), 0).op(Op::Pop);
    restart.push(-1).setVariable(QStringLiteral("chosen"));
    restart.push(0).setVariable(QStringLiteral("joined"));
    GameStage::say(restart, QString(), GameStage::green());
    restart.pushPath(QStringLiteral("again")).push(false).setMember(QStringLiteral("_visible"));
    if (hasLink)
        restart.pushPath(QStringLiteral("link")).push(false).setMember(QStringLiteral("_visible"));

    SwfActions a;
    a.op(Op::Stop);
    a.push(100).push("lines").pushPath(QStringLiteral("_root")).callMethodOnStack(QStringLiteral("createEmptyMovieClip"), 2).op(Op::Pop);
    a.defineFunction2(QStringLiteral("choosePicture"), {QStringLiteral("k")}, 2, choosePicture);
    a.defineFunction2(QStringLiteral("chooseWord"), {QStringLiteral("k")}, 5, chooseWord);
    a.defineFunction2(QStringLiteral("restart"), {}, 1, restart);
    a.callFunction(QStringLiteral("restart"), 0).op(Op::Pop);
    return a;
}

QByteArray MatchMovie::build() const
{
    GameStage stage(m_element);
    SwfMovie &movie = stage.movie();
    int depth = GameStage::firstFreeDepth;
    const QSizeF pictureSize(pictureSide, pictureSide);
    const QSizeF wordSize(wordWidth, wordHeight);
    for (int i = 0; i < m_pairs.size(); ++i) {
        const QString picture = m_pairs[i].picture;
        const quint16 pictureClip = defineChoice(stage, frame(pictureSize, Qt::white, QColor(150, 130, 110), picture),
                                                 frame(pictureSize, QColor(255, 245, 200), QColor(240, 150, 30), picture),
                                                 frame(pictureSize, QColor(225, 245, 215), QColor(46, 139, 58), picture),
                                                 QString(), QStringLiteral("choosePicture"));
        const QPointF at = pictureAt(i);
        movie.placeObject(pictureClip, depth++, QTransform::fromTranslate(at.x(), at.y()), QStringLiteral("p%1").arg(i));
        const quint16 wordClip = defineChoice(stage, frame(wordSize, QColor(200, 235, 250), QColor(90, 150, 190)),
                                              frame(wordSize, QColor(255, 245, 200), QColor(240, 150, 30)),
                                              frame(wordSize, QColor(225, 245, 215), QColor(46, 139, 58)),
                                              m_pairs[i].word, QStringLiteral("chooseWord"));
        const QPointF wordPoint = wordAt(wordRow(i));
        movie.placeObject(wordClip, depth++, QTransform::fromTranslate(wordPoint.x(), wordPoint.y()), QStringLiteral("w%1").arg(i));
    }
    SwfActions again;
    again.pushPath(QStringLiteral("_root")).callMethodOnStack(QStringLiteral("restart"), 0).op(Op::Pop);
    const QRectF againRect(GameStage::width - 230, GameStage::height - 66, 210, 56);
    movie.placeObject(stage.kit().textButton(againRect.size(), againColor, QStringLiteral("Ещё раз"), again, 22), depth++,
                      QTransform::fromTranslate(againRect.x(), againRect.y()), QStringLiteral("again"));
    const bool hasLink = stage.placeLink(depth++);
    movie.doAction(script(hasLink));
    movie.showFrame();
    return movie.toBytes();
}
