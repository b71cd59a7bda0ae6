#include "quizmovie.h"

#include "picturebook.h"
#include "quizlayout.h"
#include "stagekit.h"

namespace {
const QColor paper(255, 248, 233);
const QColor paperDeep(251, 234, 200);
const QColor slotColor(150, 215, 245);
const QColor againColor(140, 205, 110);
const QColor linkColor(255, 180, 100);
const QColor softInk(122, 98, 80);

constexpr int pictureSide = 180;
constexpr int iconSide = 56;

enum Depth { Background = 1, Caption, LastTime, Counter, Feedback, QuestionWide, QuestionNarrow, Picture,
             FirstSlot = 10, Again = 20, Link };
} // namespace

QuizMovie::QuizMovie(QuizScript::Mode mode)
    : m_mode(mode)
{
}

void QuizMovie::setBuiltIn(const Quiz &quiz)
{
    m_builtIn = quiz;
}

void QuizMovie::addPictures(const QStringList &names)
{
    m_pictures += names;
}

void QuizMovie::setLink(const QString &text, const QString &action, const QString &materialId)
{
    m_linkText = text;
    m_linkAction = action;
    m_linkTarget = materialId;
}

QStringList QuizMovie::pictures() const
{
    QStringList names = m_pictures;
    names << QStringLiteral("owl"); // the result screen's
    for (const Quiz::Question &question : m_builtIn.questions) {
        names << question.picture;
        for (const Quiz::Answer &answer : question.answers)
            names << answer.picture;
    }
    names.removeAll(QString());
    names.removeDuplicates();
    return names;
}

quint16 QuizMovie::defineLibrary(StageKit &kit) const
{
    // One frame per picture, labelled with its name; the first, "none", is empty.
    SwfTimeline library;
    SwfActions stop;
    stop.op(SwfActions::Stop);
    library.frameLabel(QStringLiteral("none"));
    library.doAction(stop);
    library.showFrame();
    bool placed = false;
    for (const QString &name : pictures()) {
        const quint16 shape = kit.picture(PictureBook::image(name, pictureSide));
        if (placed)
            library.removeObject(1);
        library.placeObject(shape, 1);
        placed = true;
        library.frameLabel(name);
        library.showFrame();
    }
    return kit.movie().defineSprite(library);
}

quint16 QuizMovie::defineSlot(StageKit &kit, quint16 library) const
{
    const QRect slot = QuizLayout::answerSlot(0);
    SwfTimeline clip;
    clip.placeObject(kit.button(QRectF(QPointF(), slot.size()), slotColor, QuizScript::slotClick()), 1);
    const double iconScale = double(iconSide) / pictureSide;
    clip.placeObject(library, 2, QTransform::fromScale(iconScale, iconScale) * QTransform::fromTranslate(8, 4),
                     QStringLiteral("icon"));
    StageKit::Text label;
    label.rect = QRectF(72, 12, slot.width() - 144, 44);
    label.size = 28;
    label.variable = QStringLiteral("answer");
    clip.placeObject(kit.text(label), 3);
    clip.showFrame();
    return kit.movie().defineSprite(clip);
}

void QuizMovie::placeTexts(StageKit &kit) const
{
    SwfMovie &movie = kit.movie();
    const auto place = [&](int depth, const StageKit::Text &text, const QString &name = QString()) {
        movie.placeObject(kit.text(text), depth, QTransform(), name);
    };
    StageKit::Text caption;
    caption.rect = QRectF(20, 8, 760, 40);
    caption.size = 28;
    caption.variable = QStringLiteral("caption_text");
    place(Caption, caption);

    StageKit::Text last;
    last.rect = QRectF(20, 46, 760, 26);
    last.size = 18;
    last.color = softInk;
    last.variable = QStringLiteral("last_text");
    place(LastTime, last);

    StageKit::Text counter;
    counter.rect = QRectF(40, 72, 300, 26);
    counter.size = 20;
    counter.color = softInk;
    counter.align = SwfTextField::Left;
    counter.variable = QStringLiteral("counter_text");
    place(Counter, counter);

    StageKit::Text feedback;
    feedback.rect = QRectF(340, 68, 420, 32);
    feedback.size = 24;
    feedback.align = SwfTextField::Right;
    feedback.variable = QStringLiteral("feedback_text");
    place(Feedback, feedback, QStringLiteral("feedback"));

    const QRect picture = QuizLayout::picture();
    StageKit::Text wide;
    wide.rect = QRectF(40, picture.top() + 10, 720, picture.height() - 10);
    wide.size = 30;
    wide.multiline = true;
    wide.variable = QStringLiteral("question_wide");
    place(QuestionWide, wide);

    StageKit::Text narrow = wide;
    narrow.rect = QRectF(picture.right() + 20, picture.top() + 10, 760 - picture.right() - 20, picture.height() - 10);
    narrow.align = SwfTextField::Left;
    narrow.variable = QStringLiteral("question_narrow");
    place(QuestionNarrow, narrow);
}

QByteArray QuizMovie::build() const
{
    SwfMovie movie(QuizLayout::stage, 12);
    movie.setBackgroundColor(paper);
    StageKit kit(movie);
    movie.placeObject(kit.background(paper, paperDeep), Background);
    placeTexts(kit);

    const quint16 library = defineLibrary(kit);
    movie.placeObject(library, Picture, QTransform::fromTranslate(QuizLayout::picture().x(), QuizLayout::picture().y()),
                      QStringLiteral("picture"));
    const quint16 slot = defineSlot(kit, library);
    for (int i = 0; i < QuizLayout::answerSlots; ++i) {
        const QPoint at = QuizLayout::answerSlot(i).topLeft();
        movie.placeObject(slot, FirstSlot + i, QTransform::fromTranslate(at.x(), at.y()), QStringLiteral("slot%1").arg(i));
    }
    const QRect again = QuizLayout::againButton();
    movie.placeObject(kit.textButton(again.size(), againColor, QStringLiteral("Ещё раз"), QuizScript::againClick()), Again, QTransform::fromTranslate(again.x(), again.y()), QStringLiteral("again"));
    const bool hasLink = !m_linkTarget.isEmpty();
    if (hasLink) {
        const QRect link = QuizLayout::linkButton();
        movie.placeObject(kit.textButton(link.size(), linkColor, m_linkText, StageKit::openMaterial(m_linkAction, m_linkTarget)), Link,
                          QTransform::fromTranslate(link.x(), link.y()), QStringLiteral("link"));
    }

    QuizScript script(m_mode, m_builtIn, QuizLayout::answerSlots, hasLink);
    movie.doAction(script.firstFrame());
    movie.showFrame();
    return movie.toBytes();
}
