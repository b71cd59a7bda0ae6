#include "selectmovie.h"

#include "canvas.h"
#include "gamestage.h"
#include "shapes.h"

using Op = SwfActions::Op;

namespace {
constexpr double chipHeight = 64;
constexpr double chipGap = 18;
const QColor plainColor(150, 215, 245);
const QColor rightColor(140, 210, 110);
const QColor wrongColor(245, 140, 130);
const QColor againColor(140, 205, 110);

double chipWidth(int columns)
{
    return qMin(260.0, (GameStage::width - 80 - (columns - 1) * chipGap) / columns);
}

QImage chip(const QSizeF &size, const QColor &color)
{
    Canvas canvas(QSize(qCeil(size.width()), qCeil(size.height()) + 4));
    const QPainterPath outline = Shapes::rounded(QRectF(1, 1, size.width() - 2, size.height() - 3), 18);
    canvas.shadow(outline, QPointF(0, 2.5), 50);
    canvas.glossy(outline, color, color.darker(150));
    return canvas.finish();
}
} // namespace

SelectMovie::SelectMovie(const SourceElement &element)
    : m_element(element)
{
    m_columns = qBound(1, int(element.number(QStringLiteral("columns"), 3)), 4);
    int right = 0;
    for (const SourceElement &word : element.children(QStringLiteral("word"))) {
        m_words.append({word.content(), word.text(QStringLiteral("right")) == QLatin1String("true")});
        right += m_words.last().right ? 1 : 0;
    }
    if (m_words.size() < 2 || m_words.size() > 12)
        element.error(QStringLiteral("%1 words; a word choice has two to twelve").arg(m_words.size()));
    if (right == 0)
        element.error(QStringLiteral("no word is marked right=\"true\""));
    m_words = m_words.mid(0, 12);
}

quint16 SelectMovie::defineWord(GameStage &stage, const QString &text) const
{
    // Frame 1 a button, frame 2 green (found), frame 3 red (wrong, still clickable).
    StageKit &kit = stage.kit();
    const QSizeF size(chipWidth(m_columns), chipHeight);
    SwfActions pick;
    pick.getVariable(QStringLiteral("index")).pushPath(QStringLiteral("_root")).callMethodOnStack(QStringLiteral("pick"), 1).op(Op::Pop);
    const quint16 plain = kit.button(QRectF(QPointF(), size), plainColor, pick);
    const quint16 wrong = kit.button(QRectF(QPointF(), size), wrongColor, pick);
    const quint16 found = kit.picture(chip(size, rightColor));
    StageKit::Text label;
    label.rect = QRectF(6, (chipHeight - 42) / 2, size.width() - 12, 42);
    label.size = 28;
    label.text = text;
    const quint16 labelId = kit.text(label);

    SwfTimeline clip;
    SwfActions stop;
    stop.op(Op::Stop);
    clip.placeObject(plain, 1);
    clip.placeObject(labelId, 2);
    clip.doAction(stop);
    clip.showFrame();
    clip.removeObject(1);
    clip.placeObject(found, 1);
    clip.showFrame();
    clip.removeObject(1);
    clip.placeObject(wrong, 1);
    clip.showFrame();
    return stage.movie().defineSprite(clip);
}

QByteArray SelectMovie::build() const
{
    GameStage stage(m_element);
    SwfMovie &movie = stage.movie();
    int depth = GameStage::firstFreeDepth;
    const double width = chipWidth(m_columns);
    const int rows = (int(m_words.size()) + m_columns - 1) / m_columns;
    const double top = 100 + qMax(0.0, (400 - rows * (chipHeight + chipGap)) / 2);
    const double left = (GameStage::width - m_columns * width - (m_columns - 1) * chipGap) / 2;
    int rightCount = 0;
    for (int i = 0; i < m_words.size(); ++i) {
        const QPointF at(left + (i % m_columns) * (width + chipGap), top + (i / m_columns) * (chipHeight + chipGap));
        movie.placeObject(defineWord(stage, m_words[i].text), depth++, QTransform::fromTranslate(at.x(), at.y()),
                          QStringLiteral("w%1").arg(i));
        rightCount += m_words[i].right ? 1 : 0;
    }
    SwfActions again;
    again.pushPath(QStringLiteral("_root")).callMethodOnStack(QStringLiteral("restart"), 0).op(Op::Pop);
    const QRectF againRect(GameStage::width - 230, GameStage::height - 66, 210, 56);
    movie.placeObject(stage.kit().textButton(againRect.size(), againColor, QStringLiteral("Ещё раз"), again, 22), depth++,
                      QTransform::fromTranslate(againRect.x(), againRect.y()), QStringLiteral("again"));
    const bool hasLink = stage.placeLink(depth++);

    // pick(k): r1 the index, r2 the word's clip.
    SwfActions pick;
    const QString wrong = QStringLiteral("wrong");
    const QString done = QStringLiteral("done");
    pick.push("w").pushRegister(1).op(Op::Add2).op(Op::GetVariable).storeRegister(2).op(Op::Pop);
    pick.getVariable(QStringLiteral("finished")).ifTrue(done);
    pick.pushRegister(2).getMember(QStringLiteral("right")).ifFalse(wrong);
    pick.pushRegister(2).getMember(QStringLiteral("_currentframe")).push(2).op(Op::Equals2).ifTrue(done);
    pick.push(2).pushRegister(2).callMethodOnStack(QStringLiteral("gotoAndStop"), 1).op(Op::Pop);
    pick.getVariable(QStringLiteral("found")).push(1).op(Op::Add2).setVariable(QStringLiteral("found"));
    GameStage::say(pick, QStringLiteral("Верно!"), GameStage::green());
    pick.getVariable(QStringLiteral("found")).push(rightCount).op(Op::Less2).ifTrue(done);
    pick.push(true).setVariable(QStringLiteral("finished"));
    GameStage::say(pick, QStringLiteral("Молодец! Все слова найдены."), GameStage::green());
    pick.pushPath(QStringLiteral("again")).push(true).setMember(QStringLiteral("_visible"));
    if (hasLink)
        pick.pushPath(QStringLiteral("link")).push(true).setMember(QStringLiteral("_visible"));
    pick.jump(done);
    pick.label(wrong);
    pick.push(3).pushRegister(2).callMethodOnStack(QStringLiteral("gotoAndStop"), 1).op(Op::Pop);
    GameStage::say(pick, QStringLiteral("Нет, подумай ещё!"), GameStage::red());
    pick.label(done);

    SwfActions restart;
    for (int i = 0; i < m_words.size(); ++i) {
        const QString clip = QStringLiteral("w%1").arg(i);
        restart.pushPath(clip).push(i).setMember(QStringLiteral("index"));
        restart.pushPath(clip).push(m_words[i].right).setMember(QStringLiteral("right"));
        restart.push(1).pushPath(clip).callMethodOnStack(QStringLiteral("gotoAndStop"), 1).op(Op::Pop);
    }
    restart.push(0).setVariable(QStringLiteral("found"));
    restart.push(false).setVariable(QStringLiteral("finished"));
    GameStage::say(restart, QString(), GameStage::green());
    restart.pushPath(QStringLiteral("again")).push(false).setMember(QStringLiteral("_visible"));
    if (hasLink)
        restart.pushPath(QStringLiteral("link")).push(false).setMember(QStringLiteral("_visible"));

    SwfActions script;
    script.op(Op::Stop);
    script.defineFunction2(QStringLiteral("pick"), {QStringLiteral("k")}, 3, pick);
    script.defineFunction2(QStringLiteral("restart"), {}, 1, restart);
    script.callFunction(QStringLiteral("restart"), 0).op(Op::Pop);
    movie.doAction(script);
    movie.showFrame();
    return movie.toBytes();
}
