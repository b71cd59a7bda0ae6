#ifndef QUIZDRIVER_H
#define QUIZDRIVER_H

// Answers the demo course's quiz movies (tests and exercises) with the mouse, as a pupil
// would, at the places QuizLayout documents.

#include "flashplayer.h"
#include "quizlayout.h"
#include "waitfor.h"

#include <QDomDocument>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>
#include <QXmlStreamReader>

namespace QuizDriver {

inline QPoint stagePoint(const FlashPlayer &player, const QPoint &stage)
{
    return QuizLayout::toWidget(stage, player.size()).toPoint();
}

inline QPoint slotPoint(const FlashPlayer &player, int slot)
{
    // Off the middle, where an answer's picture or text would be: the whole slot is the target.
    const QRect rect = QuizLayout::answerSlot(slot);
    return stagePoint(player, QPoint(rect.right() - 30, rect.center().y()));
}

inline void click(FlashPlayer &player, const QPoint &at)
{
    QWidget *surface = player.findChild<QWebEngineView *>()->focusProxy();
    QTest::mouseMove(surface, at);
    runFor(60);
    QTest::mouseClick(surface, Qt::LeftButton, Qt::NoModifier, at);
    runFor(250);
}

// The slots are light blue buttons; they show once the questions are read.
inline bool slotsShow(FlashPlayer &player)
{
    const QColor c = player.grab().toImage().pixelColor(slotPoint(player, 0));
    return c.blue() > 200 && c.red() < 200;
}

// Which answer of each question is right, read from the question file as an author wrote it.
inline QList<int> rightAnswers(const QByteArray &questionFile)
{
    QList<int> right;
    QDomDocument document;
    document.setContent(questionFile);
    for (QDomElement q = document.documentElement().firstChildElement(QStringLiteral("question")); !q.isNull();
         q = q.nextSiblingElement(QStringLiteral("question"))) {
        int index = 0;
        for (QDomElement a = q.firstChildElement(QStringLiteral("answer")); !a.isNull();
             a = a.nextSiblingElement(QStringLiteral("answer")), ++index) {
            if (a.attribute(QStringLiteral("right")) == QLatin1String("true"))
                right.append(index);
        }
    }
    return right;
}

// The first string argument of a FlashCall request, unescaped.
inline QString firstString(const QString &request)
{
    QXmlStreamReader xml(request);
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("string"))
            return xml.readElementText();
    }
    return QString();
}

} // namespace QuizDriver

#endif
