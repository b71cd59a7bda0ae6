#include "animationmovie.h"

#include "canvas.h"
#include "picturebook.h"
#include "scene.h"
#include "shapes.h"
#include "stagekit.h"

#include <QFontMetricsF>
#include <QtMath>

namespace {
enum Depth { Background = 1, Title = 2, FirstActor = 10, FirstSay = 100, Link = 200 };
const QColor linkColor(255, 180, 100);

double lerp(double a, double b, double t)
{
    return a + (b - a) * t;
}

// Tall enough for the lines the text wraps into; the player's sans is about as wide as DejaVu Sans.
double bubbleHeight(const QString &text, double fontSize, double width)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qRound(fontSize));
    const QFontMetricsF metrics(font);
    const QRectF box = metrics.boundingRect(QRectF(0, 0, width - 34, 10000), Qt::TextWordWrap, text);
    return box.height() * 1.08 + 28;
}

QImage bubble(const QSizeF &size)
{
    Canvas canvas(QSize(qCeil(size.width()), qCeil(size.height()) + 18));
    QPainterPath path = Shapes::rounded(QRectF(2, 2, size.width() - 4, size.height() - 4), 18);
    path = path.united(Shapes::triangle(QPointF(30, size.height() - 6), QPointF(60, size.height() - 6),
                                        QPointF(22, size.height() + 16)));
    canvas.fill(path, Qt::white, QColor(60, 40, 30), 2);
    return canvas.finish();
}
} // namespace

bool AnimationMovie::Pose::operator==(const Pose &other) const
{
    return centre == other.centre && angle == other.angle && scale == other.scale && visible == other.visible;
}

AnimationMovie::AnimationMovie(const SourceElement &element)
{
    m_size = QSize(int(element.number(QStringLiteral("width"), 640)), int(element.number(QStringLiteral("height"), 400)));
    m_seconds = qBound(1.0, element.number(QStringLiteral("seconds"), 6), 60.0);
    m_background = element.text(QStringLiteral("background"), QStringLiteral("sky"));
    if (!Scene::isBackground(m_background)) {
        element.error(QStringLiteral("there is no background \"%1\"").arg(m_background));
        m_background = QStringLiteral("sky");
    }
    for (const SourceElement &child : element.children()) {
        const QString tag = child.tagName();
        if (tag == QLatin1String("item")) {
            const double size = child.number(QStringLiteral("size"), 100);
            m_scenery.append({child.picture(QStringLiteral("picture")),
                              QRectF(child.number(QStringLiteral("x"), 0), child.number(QStringLiteral("y"), 0), size, size)});
        } else if (tag == QLatin1String("title")) {
            m_title = child.content();
        } else if (tag == QLatin1String("actor")) {
            Actor actor;
            actor.picture = child.picture(QStringLiteral("picture"));
            if (actor.picture.isEmpty())
                child.error(QStringLiteral("an actor needs a picture"));
            actor.size = qBound(8.0, child.number(QStringLiteral("size"), 100), 1000.0);
            actor.from = child.point(QStringLiteral("from"), QPointF(m_size.width() / 2.0, m_size.height() / 2.0));
            actor.to = child.point(QStringLiteral("to"), actor.from);
            actor.start = child.number(QStringLiteral("start"), 0);
            actor.end = child.number(QStringLiteral("end"), m_seconds);
            actor.stay = child.text(QStringLiteral("stay")) == QLatin1String("true");
            actor.hop = child.number(QStringLiteral("hop"), 0);
            actor.hops = child.number(QStringLiteral("hops"), 4);
            actor.turns = child.number(QStringLiteral("turns"), 0);
            actor.swing = child.number(QStringLiteral("swing"), 0);
            actor.swings = child.number(QStringLiteral("swings"), 4);
            const QPointF scale = child.point(QStringLiteral("scale"), QPointF(1, 1));
            actor.scaleFrom = scale.x();
            actor.scaleTo = scale.y();
            if (actor.end <= actor.start)
                child.error(QStringLiteral("the actor ends before it starts"));
            m_actors.append(actor);
        } else if (tag == QLatin1String("say")) {
            Say say;
            say.text = child.content();
            say.size = child.number(QStringLiteral("size"), 24);
            const double width = child.number(QStringLiteral("width"), 240);
            say.rect = QRectF(child.number(QStringLiteral("x"), 20), child.number(QStringLiteral("y"), 20), width,
                              bubbleHeight(say.text, say.size, width));
            say.start = child.number(QStringLiteral("start"), 0);
            say.end = child.number(QStringLiteral("end"), m_seconds);
            m_says.append(say);
        } else if (tag == QLatin1String("link")) {
            m_linkText = child.content();
            m_linkAction = child.text(QStringLiteral("action"), QStringLiteral("jump"));
            m_linkTarget = child.required(QStringLiteral("material"));
            if (m_linkAction != QLatin1String("jump") && m_linkAction != QLatin1String("load"))
                child.error(QStringLiteral("action=\"%1\": a link jumps (new window) or loads (in place)").arg(m_linkAction));
        } else {
            child.error(QStringLiteral("<%1> has no place in an animation").arg(tag));
        }
    }
}

int AnimationMovie::frameCount() const
{
    return qMax(1, qRound(m_seconds * frameRate));
}

AnimationMovie::Pose AnimationMovie::pose(const Actor &actor, double seconds) const
{
    Pose pose;
    const double t = qBound(0.0, (seconds - actor.start) / (actor.end - actor.start), 1.0);
    pose.visible = seconds >= actor.start && (seconds < actor.end || actor.stay);
    pose.centre = QPointF(lerp(actor.from.x(), actor.to.x(), t), lerp(actor.from.y(), actor.to.y(), t));
    pose.centre.ry() -= actor.hop * qAbs(qSin(M_PI * actor.hops * t));
    pose.angle = 360.0 * actor.turns * t + actor.swing * qSin(2 * M_PI * actor.swings * t);
    pose.scale = lerp(actor.scaleFrom, actor.scaleTo, t);
    return pose;
}

QImage AnimationMovie::scenery() const
{
    QImage image = Scene::background(m_background, m_size);
    QPainter painter(&image);
    for (const auto &item : m_scenery)
        PictureBook::paint(painter, item.second, item.first);
    return image;
}

QByteArray AnimationMovie::build() const
{
    SwfMovie movie(m_size, frameRate);
    movie.setBackgroundColor(Qt::white);
    StageKit kit(movie);
    movie.placeObject(kit.picture(scenery()), Background);
    if (!m_title.isEmpty()) {
        StageKit::Text title;
        title.rect = QRectF(10, 6, m_size.width() - 20, 40);
        title.size = 28;
        title.text = m_title;
        movie.placeObject(kit.text(title), Title);
    }

    QList<quint16> actorShapes;
    for (const Actor &actor : m_actors)
        actorShapes.append(kit.picture(PictureBook::image(actor.picture, qRound(actor.size))));
    QList<QPair<quint16, quint16>> sayCharacters;
    for (const Say &say : m_says) {
        StageKit::Text text;
        text.rect = say.rect.adjusted(12, 10, -12, -6);
        text.size = say.size;
        text.multiline = true;
        text.text = say.text;
        sayCharacters.append({kit.picture(bubble(say.rect.size()), say.rect.topLeft()), kit.text(text)});
    }
    if (!m_linkTarget.isEmpty()) {
        const QSizeF size(qMin(300.0, m_size.width() * 0.45), 56);
        const QPointF at(m_size.width() - size.width() - 12, m_size.height() - size.height() - 12);
        movie.placeObject(kit.textButton(size, linkColor, m_linkText, StageKit::openMaterial(m_linkAction, m_linkTarget), 22),
                          Link, QTransform::fromTranslate(at.x(), at.y()));
    }

    QList<Pose> last(m_actors.size());
    for (int frame = 0; frame < frameCount(); ++frame) {
        const double seconds = frame / frameRate;
        for (int i = 0; i < m_actors.size(); ++i) {
            const Pose now = pose(m_actors[i], seconds);
            if (frame > 0 && now == last[i])
                continue;
            last[i] = now;
            const double half = m_actors[i].size / 2;
            QTransform transform;
            transform.translate(now.centre.x(), now.centre.y());
            transform.rotate(now.angle);
            transform.scale(now.scale, now.scale);
            transform.translate(-half, -half);
            if (frame == 0)
                movie.placeObject(actorShapes[i], FirstActor + i, transform);
            movie.moveObject(FirstActor + i, transform, now.visible ? 1.0 : 0.0);
        }
        for (int i = 0; i < m_says.size(); ++i) {
            const int startFrame = qRound(m_says[i].start * frameRate);
            const int endFrame = qRound(m_says[i].end * frameRate);
            if (frame == startFrame) {
                movie.placeObject(sayCharacters[i].first, FirstSay + 2 * i);
                movie.placeObject(sayCharacters[i].second, FirstSay + 2 * i + 1);
            } else if (frame == endFrame) {
                movie.removeObject(FirstSay + 2 * i);
                movie.removeObject(FirstSay + 2 * i + 1);
            }
        }
        movie.showFrame();
    }
    return movie.toBytes();
}
