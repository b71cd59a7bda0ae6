#include "gamestage.h"

namespace {
const QColor paper(255, 248, 233);
const QColor paperDeep(251, 234, 200);
const QColor softInk(122, 98, 80);
const QColor linkColor(255, 180, 100);
}

GameStage::GameStage(const SourceElement &element, double frameRate)
    : m_movie(QSize(width, height), frameRate), m_kit(m_movie)
{
    m_movie.setBackgroundColor(paper);
    m_movie.placeObject(m_kit.background(paper, paperDeep), 1);
    m_title = element.text(QStringLiteral("title"));

    StageKit::Text title;
    title.rect = QRectF(20, 8, width - 40, 40);
    title.size = 28;
    title.text = m_title;
    m_movie.placeObject(m_kit.text(title), 2);

    StageKit::Text task;
    task.rect = QRectF(20, 50, width - 40, 30);
    task.size = 20;
    task.color = softInk;
    task.text = element.text(QStringLiteral("task"));
    m_movie.placeObject(m_kit.text(task), 3);

    StageKit::Text feedback;
    feedback.rect = QRectF(20, height - 56, width - 340, 40);
    feedback.size = 26;
    feedback.align = SwfTextField::Left;
    feedback.variable = QStringLiteral("feedback_text");
    m_movie.placeObject(m_kit.text(feedback), 4, QTransform(), QStringLiteral("feedback"));

    for (const SourceElement &link : element.children(QStringLiteral("link"))) {
        m_linkText = link.content();
        m_linkAction = link.text(QStringLiteral("action"), QStringLiteral("jump"));
        m_linkTarget = link.required(QStringLiteral("material"));
        if (m_linkAction != QLatin1String("jump") && m_linkAction != QLatin1String("load"))
            link.error(QStringLiteral("action=\"%1\": a link jumps (new window) or loads (in place)").arg(m_linkAction));
    }
}

QRectF GameStage::linkRect()
{
    return QRectF(width - 310, height - 66, 290, 56);
}

bool GameStage::placeLink(int depth)
{
    if (m_linkTarget.isEmpty())
        return false;
    const QRectF rect = linkRect();
    m_movie.placeObject(m_kit.textButton(rect.size(), linkColor, m_linkText, StageKit::openMaterial(m_linkAction, m_linkTarget), 22),
                        depth, QTransform::fromTranslate(rect.x(), rect.y()), QStringLiteral("link"));
    return true;
}

void GameStage::say(SwfActions &a, const QString &text, quint32 rgb)
{
    // Through _root: the script may run in a clip's button, whose own variables are not the stage's.
    a.pushPath(QStringLiteral("_root")).push(text).setMember(QStringLiteral("feedback_text"));
    a.pushPath(QStringLiteral("_root.feedback")).push(int(rgb)).setMember(QStringLiteral("textColor"));
}
