#include "assemblemovie.h"

#include "gamestage.h"
#include "picturebook.h"

using Op = SwfActions::Op;

namespace {
enum Depth { Picture = 10, Built = 11, FirstPart = 20, Final = 40, Again = 41, Link = 42 };
constexpr int maxParts = 5;
const QColor partColor(255, 205, 110);
const QColor againColor(140, 205, 110);

// A fixed shuffle: the same movie from the same sources, and never the answer's order.
QList<int> shuffled(int count)
{
    QList<int> order;
    for (int i = 0; i < count; ++i)
        order.append((i * 2 + 1) % count);
    if (count == 2 || std::is_sorted(order.cbegin(), order.cend()))
        std::reverse(order.begin(), order.end());
    return order;
}
} // namespace

AssembleMovie::AssembleMovie(const SourceElement &element)
    : m_element(element)
{
    for (const SourceElement &word : element.children(QStringLiteral("word"))) {
        const QStringList parts = word.content().split(QLatin1Char('-'), Qt::SkipEmptyParts);
        if (parts.size() < 2 || parts.size() > maxParts)
            word.error(QStringLiteral("\"%1\": write a word as two to %2 syllables joined by \"-\"").arg(word.content()).arg(maxParts));
        else
            m_words.append({word.picture(QStringLiteral("picture")), parts});
    }
    if (m_words.isEmpty())
        element.error(QStringLiteral("there is no word to put together"));
}

SwfActions AssembleMovie::functions() const
{
    // pick(s): r1 the syllable.
    SwfActions pick;
    const QString ignore = QStringLiteral("ignore");
    const QString wrong = QStringLiteral("wrong");
    pick.getVariable(QStringLiteral("busy")).ifTrue(ignore);
    pick.getVariable(QStringLiteral("built")).getMember(QStringLiteral("length")).pushRegister(1).getMember(QStringLiteral("length"));
    pick.op(Op::StackSwap).getVariable(QStringLiteral("target")).callMethodOnStack(QStringLiteral("substr"), 2);
    pick.pushRegister(1).op(Op::Equals2).ifFalse(wrong);
    pick.getVariable(QStringLiteral("built")).pushRegister(1).op(Op::Add2).setVariable(QStringLiteral("built"));
    pick.getVariable(QStringLiteral("built")).setVariable(QStringLiteral("built_text"));
    pick.getVariable(QStringLiteral("built")).getVariable(QStringLiteral("target")).op(Op::Equals2).ifFalse(ignore);
    GameStage::say(pick, QStringLiteral("Молодец! Получилось слово."), GameStage::green());
    pick.push(true).setVariable(QStringLiteral("busy"));
    pick.push(1300).getVariable(QStringLiteral("nextWord")).callFunction(QStringLiteral("setInterval"), 2).setVariable(QStringLiteral("timer"));
    pick.op(Op::Return);
    pick.label(wrong);
    GameStage::say(pick, QStringLiteral("Не так. Собери слово сначала!"), GameStage::red());
    pick.push("").setVariable(QStringLiteral("built"));
    pick.push("").setVariable(QStringLiteral("built_text"));
    pick.label(ignore);

    SwfActions next;
    next.getVariable(QStringLiteral("timer")).callFunction(QStringLiteral("clearInterval"), 1).op(Op::Pop);
    GameStage::say(next, QString(), GameStage::green());
    next.pushPath(QStringLiteral("_root")).callMethodOnStack(QStringLiteral("nextFrame"), 0).op(Op::Pop);

    SwfActions a;
    a.defineFunction2(QStringLiteral("pick"), {QStringLiteral("s")}, 2, pick);
    a.defineFunction2(QStringLiteral("nextWord"), {}, 1, next);
    return a;
}

QByteArray AssembleMovie::build() const
{
    GameStage stage(m_element);
    SwfMovie &movie = stage.movie();
    StageKit &kit = stage.kit();

    StageKit::Text built;
    built.rect = QRectF(300, 170, 460, 70);
    built.size = 52;
    built.variable = QStringLiteral("built_text");
    const quint16 builtField = kit.text(built);

    int lastParts = 0;
    for (int w = 0; w < m_words.size(); ++w) {
        const Word &word = m_words[w];
        SwfActions start;
        start.op(Op::Stop);
        if (w == 0)
            start.append(functions());
        start.push(word.parts.join(QString())).setVariable(QStringLiteral("target"));
        start.push("").setVariable(QStringLiteral("built"));
        start.push("").setVariable(QStringLiteral("built_text"));
        start.push(false).setVariable(QStringLiteral("busy"));

        if (w > 0) {
            movie.removeObject(Picture);
            for (int i = 0; i < lastParts; ++i)
                movie.removeObject(FirstPart + i);
        } else {
            movie.placeObject(builtField, Built);
        }
        movie.placeObject(kit.picture(PictureBook::image(word.picture, 200)), Picture, QTransform::fromTranslate(60, 110));
        const QList<int> order = shuffled(int(word.parts.size()));
        const double width = 130;
        const double left = (GameStage::width - order.size() * width - (order.size() - 1) * 20) / 2;
        for (int i = 0; i < order.size(); ++i) {
            const QString part = word.parts[order[i]];
            SwfActions click;
            click.push(part).pushPath(QStringLiteral("_root")).callMethodOnStack(QStringLiteral("pick"), 1).op(Op::Pop);
            movie.placeObject(kit.textButton(QSizeF(width, 70), partColor, part, click, 34), FirstPart + i,
                              QTransform::fromTranslate(left + i * (width + 20), 380));
        }
        lastParts = int(order.size());
        movie.doAction(start);
        movie.showFrame();
    }

    // The last screen: praise, start again, and the link when there is one.
    movie.removeObject(Picture);
    movie.removeObject(Built);
    for (int i = 0; i < lastParts; ++i)
        movie.removeObject(FirstPart + i);
    movie.placeObject(kit.picture(PictureBook::image(QStringLiteral("owl"), 200)), Picture, QTransform::fromTranslate(80, 150));
    StageKit::Text praise;
    praise.rect = QRectF(300, 190, 460, 120);
    praise.size = 36;
    praise.multiline = true;
    praise.text = QStringLiteral("Все слова собраны!\nМолодец!");
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
