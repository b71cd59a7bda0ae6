#include "wordpairmovies.h"

#include "canvas.h"
#include "picturebook.h"
#include "shapes.h"
#include "stagekit.h"

using Op = SwfActions::Op;

namespace {
const QSize listStage(300, 420);
const QSize boardStage(420, 420);
constexpr double rowTop = 64;
constexpr double rowHeight = 58;
const QColor paper(255, 248, 233);
const QColor paperDeep(251, 234, 200);
const QColor wordColor(150, 215, 245);

QImage marker()
{
    Canvas canvas(QSize(listStage.width() - 20, int(rowHeight)));
    canvas.fill(Shapes::rounded(QRectF(2, 2, listStage.width() - 24, rowHeight - 4), 16), QColor(255, 222, 130),
                QColor(230, 150, 30), 3);
    return canvas.finish();
}
} // namespace

WordPairMovies::WordPairMovies(const SourceElement &element)
{
    m_title = element.text(QStringLiteral("title"));
    for (const SourceElement &word : element.children(QStringLiteral("word")))
        m_words.append({word.picture(QStringLiteral("picture")), word.content()});
    if (m_words.isEmpty() || m_words.size() > maxWords)
        element.error(QStringLiteral("%1 words; a word list has one to %2").arg(m_words.size()).arg(maxWords));
    m_words = m_words.mid(0, maxWords);
}

QString WordPairMovies::message(int index, const QString &word)
{
    return QStringLiteral("<flash action=\"send\"><word index=\"%1\">%2</word></flash>").arg(index).arg(word.toHtmlEscaped());
}

SwfActions WordPairMovies::receiver()
{
    // r1 the message, r2 its root, r3 the word element.
    SwfActions f;
    f.pushRegister(1).newObject(QStringLiteral("XML"), 1).getMember(QStringLiteral("firstChild")).storeRegister(2).op(Op::Pop);
    f.pushRegister(2).getMember(QStringLiteral("nodeName")).push("flash").op(Op::Equals2).ifFalse(QStringLiteral("ignore"));
    f.pushRegister(2).getMember(QStringLiteral("attributes")).getMember(QStringLiteral("action")).push("send").op(Op::Equals2).ifFalse(QStringLiteral("ignore"));
    f.pushRegister(2).getMember(QStringLiteral("firstChild")).storeRegister(3).op(Op::Pop);
    f.pushRegister(3).getMember(QStringLiteral("nodeName")).push("word").op(Op::Equals2).ifFalse(QStringLiteral("ignore"));
    f.pushRegister(3).getMember(QStringLiteral("attributes")).getMember(QStringLiteral("index")).op(Op::ToNumber);
    f.callFunction(QStringLiteral("react"), 1).op(Op::Pop);
    f.label(QStringLiteral("ignore"));
    return f;
}

QByteArray WordPairMovies::list() const
{
    SwfMovie movie(listStage, 12);
    movie.setBackgroundColor(paper);
    StageKit kit(movie);
    movie.placeObject(kit.background(paper, paperDeep), 1);
    StageKit::Text title;
    title.rect = QRectF(8, 10, listStage.width() - 16, 40);
    title.size = 24;
    title.text = m_title;
    movie.placeObject(kit.text(title), 2);
    movie.placeObject(kit.clip(kit.picture(marker())), 3, QTransform::fromTranslate(10, rowTop), QStringLiteral("marker"));
    const QSizeF size(listStage.width() - 40, rowHeight - 10);
    for (int i = 0; i < m_words.size(); ++i)
        movie.placeObject(kit.textButton(size, wordColor, m_words[i].text, StageKit::sendToMaterial(message(i, m_words[i].text)), 28),
                          10 + i, QTransform::fromTranslate(20, rowTop + 5 + i * rowHeight));

    SwfActions react;
    react.pushPath(QStringLiteral("marker")).pushRegister(1).push(rowHeight).op(Op::Multiply).push(rowTop).op(Op::Add2).setMember(QStringLiteral("_y"));
    react.pushPath(QStringLiteral("marker")).push(true).setMember(QStringLiteral("_visible"));
    SwfActions script;
    script.op(Op::Stop);
    script.pushPath(QStringLiteral("marker")).push(false).setMember(QStringLiteral("_visible"));
    script.defineFunction2(QStringLiteral("react"), {QStringLiteral("index")}, 2, react);
    script.defineFunction2(QString(), {QStringLiteral("message")}, 4, receiver()).addExternalCallback(QStringLiteral("send2flash")).op(Op::Pop);
    movie.doAction(script);
    movie.showFrame();
    return movie.toBytes();
}

QByteArray WordPairMovies::board() const
{
    // Frame 1 asks for a click; frame 2 + i shows word i.
    SwfMovie movie(boardStage, 12);
    movie.setBackgroundColor(paper);
    StageKit kit(movie);
    movie.placeObject(kit.background(QColor(235, 248, 255), QColor(205, 232, 250)), 1);
    StageKit::Text prompt;
    prompt.rect = QRectF(30, 150, boardStage.width() - 60, 120);
    prompt.size = 28;
    prompt.multiline = true;
    prompt.text = QStringLiteral("Нажми на слово в списке — и увидишь его здесь.");
    movie.placeObject(kit.text(prompt), 2);

    SwfActions react;
    react.pushRegister(1).push(2).op(Op::Add2).pushPath(QStringLiteral("_root")).callMethodOnStack(QStringLiteral("gotoAndStop"), 1).op(Op::Pop);
    SwfActions script;
    script.op(Op::Stop);
    script.defineFunction2(QStringLiteral("react"), {QStringLiteral("index")}, 2, react);
    script.defineFunction2(QString(), {QStringLiteral("message")}, 4, receiver()).addExternalCallback(QStringLiteral("send2flash")).op(Op::Pop);
    movie.doAction(script);
    movie.showFrame();

    movie.removeObject(2);
    for (int i = 0; i < m_words.size(); ++i) {
        if (i > 0) {
            movie.removeObject(3);
            movie.removeObject(4);
        }
        movie.placeObject(kit.picture(PictureBook::image(m_words[i].picture, 260)), 3, QTransform::fromTranslate(80, 20));
        StageKit::Text word;
        word.rect = QRectF(10, 300, boardStage.width() - 20, 80);
        word.size = 60;
        word.text = m_words[i].text;
        movie.placeObject(kit.text(word), 4);
        movie.showFrame();
    }
    return movie.toBytes();
}
