#include "writemovie.h"

#include "gamestage.h"
#include "picturebook.h"

using Op = SwfActions::Op;

namespace {
enum Depth { Picture = 10, Gapped = 11, Typed = 12, Check = 13, Final = 40, Again = 41, Link = 42 };
const QColor checkColor(150, 215, 245);
const QColor againColor(140, 205, 110);
}

WriteMovie::WriteMovie(const SourceElement &element)
    : m_element(element)
{
    for (const SourceElement &word : element.children(QStringLiteral("word"))) {
        const Word entry{word.picture(QStringLiteral("picture")), word.content(), int(word.number(QStringLiteral("missing"), 1))};
        if (entry.missing < 1 || entry.missing > entry.text.size())
            word.error(QStringLiteral("missing=\"%1\": the word has letters 1 to %2").arg(entry.missing).arg(entry.text.size()));
        else
            m_words.append(entry);
    }
    if (m_words.isEmpty())
        element.error(QStringLiteral("there is no word to write"));
}

SwfActions WriteMovie::functions() const
{
    SwfActions check;
    const QString wrong = QStringLiteral("wrong");
    const QString ignore = QStringLiteral("ignore");
    check.getVariable(QStringLiteral("busy")).ifTrue(ignore);
    check.getVariable(QStringLiteral("typed")).op(Op::ToString).callMethodOnStack(QStringLiteral("toLowerCase"), 0);
    check.getVariable(QStringLiteral("letter")).op(Op::Equals2).ifFalse(wrong);
    check.getVariable(QStringLiteral("word")).setVariable(QStringLiteral("gapped"));
    GameStage::say(check, QStringLiteral("Верно! Молодец!"), GameStage::green());
    check.push(true).setVariable(QStringLiteral("busy"));
    check.push(1300).getVariable(QStringLiteral("nextWord")).callFunction(QStringLiteral("setInterval"), 2).setVariable(QStringLiteral("timer"));
    check.op(Op::Return);
    check.label(wrong);
    GameStage::say(check, QStringLiteral("Попробуй ещё!"), GameStage::red());
    check.push("").setVariable(QStringLiteral("typed"));
    check.label(ignore);

    SwfActions next;
    next.getVariable(QStringLiteral("timer")).callFunction(QStringLiteral("clearInterval"), 1).op(Op::Pop);
    GameStage::say(next, QString(), GameStage::green());
    next.pushPath(QStringLiteral("_root")).callMethodOnStack(QStringLiteral("nextFrame"), 0).op(Op::Pop);

    SwfActions a;
    a.defineFunction2(QStringLiteral("check"), {}, 1, check);
    a.defineFunction2(QStringLiteral("nextWord"), {}, 1, next);
    return a;
}

QByteArray WriteMovie::build() const
{
    GameStage stage(m_element);
    SwfMovie &movie = stage.movie();
    StageKit &kit = stage.kit();

    StageKit::Text gapped;
    gapped.rect = QRectF(300, 150, 460, 70);
    gapped.size = 56;
    gapped.variable = QStringLiteral("gapped");
    StageKit::Text typed;
    typed.rect = QRectF(470, 260, 80, 76);
    typed.size = 52;
    typed.variable = QStringLiteral("typed");
    typed.editable = true;
    SwfActions check;
    check.pushPath(QStringLiteral("_root")).callMethodOnStack(QStringLiteral("check"), 0).op(Op::Pop);

    for (int w = 0; w < m_words.size(); ++w) {
        const Word &word = m_words[w];
        SwfActions start;
        start.op(Op::Stop);
        if (w == 0) {
            start.append(functions());
            movie.placeObject(kit.text(gapped), Gapped);
            movie.placeObject(kit.text(typed), Typed, QTransform(), QStringLiteral("input"));
            movie.placeObject(kit.textButton(QSizeF(220, 64), checkColor, QStringLiteral("Проверить"), check), Check,
                              QTransform::fromTranslate(410, 370));
        } else {
            movie.removeObject(Picture);
        }
        const QString letter = word.text.mid(word.missing - 1, 1).toLower();
        const QString shown = word.text.left(word.missing - 1) + QStringLiteral("_") + word.text.mid(word.missing);
        start.push(word.text).setVariable(QStringLiteral("word"));
        start.push(letter).setVariable(QStringLiteral("letter"));
        start.push(shown).setVariable(QStringLiteral("gapped"));
        start.push("").setVariable(QStringLiteral("typed"));
        start.push(false).setVariable(QStringLiteral("busy"));
        movie.placeObject(kit.picture(PictureBook::image(word.picture, 200)), Picture, QTransform::fromTranslate(60, 130));
        movie.doAction(start);
        movie.showFrame();
    }

    for (int depth : {Picture, Gapped, Typed, Check})
        movie.removeObject(depth);
    movie.placeObject(kit.picture(PictureBook::image(QStringLiteral("owl"), 200)), Picture, QTransform::fromTranslate(80, 150));
    StageKit::Text praise;
    praise.rect = QRectF(300, 190, 460, 120);
    praise.size = 36;
    praise.multiline = true;
    praise.text = QStringLiteral("Все слова написаны!\nМолодец!");
    movie.placeObject(kit.text(praise), Final);
    SwfActions again;
    again.push(1).pushPath(QStringLiteral("_root")).callMethodOnStack(QStringLiteral("gotoAndStop"), 1).op(Op::Pop);
    movie.placeObject(kit.textButton(QSizeF(260, 64), againColor, QStringLiteral("Ещё раз"), again), Again,
                      QTransform::fromTranslate(270, 400));
    stage.placeLink(Link);
    SwfActions stop;
    stop.op(Op::Stop);
    movie.doAction(stop);
    movie.showFrame();
    return movie.toBytes();
}
