#include "cardsmovie.h"

#include "canvas.h"
#include "gamestage.h"
#include "picturebook.h"
#include "shapes.h"

using Op = SwfActions::Op;

namespace {
constexpr double cardWidth = 210;
constexpr double cardHeight = 210;
constexpr double pictureSide = 140;
const QColor againColor(140, 205, 110);

QImage cardFace(const QString &picture, bool open)
{
    Canvas canvas(QSize(int(cardWidth), int(cardHeight) + 4));
    const QPainterPath outline = Shapes::rounded(QRectF(2, 2, cardWidth - 4, cardHeight - 4), 16);
    canvas.shadow(outline, QPointF(0, 2.5), 50);
    canvas.fill(outline, open ? QColor(255, 250, 215) : Qt::white, open ? QColor(230, 160, 40) : QColor(150, 130, 110), open ? 3 : 1.5);
    PictureBook::paint(canvas.painter(), QRectF((cardWidth - pictureSide) / 2, 12, pictureSide, pictureSide), picture);
    return canvas.finish();
}

QPointF cardPosition(int index, int count)
{
    const int columns = qMin(count, 3);
    const int rows = (count + 2) / 3;
    const int row = index / 3;
    const int inRow = row == rows - 1 ? count - row * 3 : columns;
    const double gap = 30;
    const double left = (GameStage::width - inRow * cardWidth - (inRow - 1) * gap) / 2;
    const double top = rows == 1 ? 180 : 95 + row * (cardHeight + 20);
    return QPointF(left + (index % 3) * (cardWidth + gap), top);
}
} // namespace

CardsMovie::CardsMovie(const SourceElement &element)
    : m_element(element)
{
    for (const SourceElement &card : element.children(QStringLiteral("card")))
        m_cards.append({card.picture(QStringLiteral("picture")), card.content()});
    if (m_cards.isEmpty() || m_cards.size() > 6)
        element.error(QStringLiteral("%1 cards; a card game has one to six").arg(m_cards.size()));
    m_cards = m_cards.mid(0, 6);
}

QByteArray CardsMovie::build() const
{
    GameStage stage(m_element);
    SwfMovie &movie = stage.movie();
    StageKit &kit = stage.kit();
    int depth = GameStage::firstFreeDepth;

    // Each card is a clip: frame 1 the closed card (a button), frame 2 the card with its word.
    SwfActions open;
    open.gotoFrame(1).op(Op::Stop);
    open.pushPath(QStringLiteral("_root")).callMethodOnStack(QStringLiteral("cardOpened"), 0).op(Op::Pop);
    for (int i = 0; i < m_cards.size(); ++i) {
        const Card &card = m_cards[i];
        SwfButton button;
        const quint16 closed = kit.picture(cardFace(card.picture, false));
        button.records.append({closed, 1, SwfButton::Up | SwfButton::Over | SwfButton::Down | SwfButton::HitTest, QTransform()});
        button.actions.append({SwfButton::Release, open});
        SwfTimeline clip;
        SwfActions stop;
        stop.op(Op::Stop);
        clip.placeObject(movie.defineButton(button), 1);
        clip.doAction(stop);
        clip.showFrame();
        clip.removeObject(1);
        clip.placeObject(kit.picture(cardFace(card.picture, true)), 1);
        StageKit::Text word;
        word.rect = QRectF(6, pictureSide + 16, cardWidth - 12, 48);
        word.size = 34;
        word.text = card.word;
        clip.placeObject(kit.text(word), 2);
        clip.showFrame();
        const QPointF at = cardPosition(i, int(m_cards.size()));
        movie.placeObject(movie.defineSprite(clip), depth++, QTransform::fromTranslate(at.x(), at.y()), QStringLiteral("card%1").arg(i));
    }

    SwfActions again;
    again.pushPath(QStringLiteral("_root")).callMethodOnStack(QStringLiteral("restart"), 0).op(Op::Pop);
    const QRectF againRect(GameStage::width - 230, GameStage::height - 66, 210, 56);
    movie.placeObject(kit.textButton(againRect.size(), againColor, QStringLiteral("Ещё раз"), again, 22), depth++,
                      QTransform::fromTranslate(againRect.x(), againRect.y()), QStringLiteral("again"));

    SwfActions script;
    script.op(Op::Stop);
    SwfActions opened;
    const QString notYet = QStringLiteral("notyet");
    opened.getVariable(QStringLiteral("opened")).push(1).op(Op::Add2).setVariable(QStringLiteral("opened"));
    opened.getVariable(QStringLiteral("opened")).push(int(m_cards.size())).op(Op::Less2).ifTrue(notYet);
    GameStage::say(opened, QStringLiteral("Молодец! Ты прочитал все слова."), GameStage::green());
    opened.pushPath(QStringLiteral("again")).push(true).setMember(QStringLiteral("_visible"));
    opened.label(notYet);
    script.defineFunction2(QStringLiteral("cardOpened"), {}, 1, opened);

    SwfActions restart;
    for (int i = 0; i < m_cards.size(); ++i)
        restart.push(1).pushPath(QStringLiteral("card%1").arg(i)).callMethodOnStack(QStringLiteral("gotoAndStop"), 1).op(Op::Pop);
    restart.push(0).setVariable(QStringLiteral("opened"));
    GameStage::say(restart, QString(), GameStage::green());
    restart.pushPath(QStringLiteral("again")).push(false).setMember(QStringLiteral("_visible"));
    script.defineFunction2(QStringLiteral("restart"), {}, 1, restart);
    script.callFunction(QStringLiteral("restart"), 0).op(Op::Pop);
    movie.doAction(script);
    movie.showFrame();
    return movie.toBytes();
}
