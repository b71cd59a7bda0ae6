#ifndef QUIZLAYOUT_H
#define QUIZLAYOUT_H

#include <QPointF>
#include <QRect>
#include <QSize>
#include <QSizeF>

// Where the quiz movies (the test template testContener.swf, the exercise template
// choiceAnswer.swf and every exercise built from a question file) put what a pupil clicks.
// Positions are stage pixels. Tests that click with the mouse take them from here.
//
// A question shows its answers top to bottom in answer slots 0…3, in the order of the
// question file; a question with fewer answers hides the slots it does not use. The whole
// slot is the click target. After the last question the slots hide and the "again" button
// (start over) shows.
namespace QuizLayout {

constexpr QSize stage(800, 600);
constexpr int answerSlots = 4;

inline QRect answerSlot(int slot)
{
    return QRect(120, 292 + slot * 74, 560, 64);
}

inline QRect againButton()
{
    return QRect(250, 470, 300, 64);
}

// The button some exercises show after their last question, to open another material.
inline QRect linkButton()
{
    return QRect(250, 392, 300, 64);
}

// The question's picture and the question text beside it (or across the stage when the
// question has no picture).
inline QRect picture()
{
    return QRect(40, 100, 180, 180);
}

// Where a stage point shows in a player of `widget` size: the movie is scaled to fit,
// keeping its proportions, and centred.
inline QPointF toWidget(const QPointF &stagePoint, const QSizeF &widget)
{
    const double scale = qMin(widget.width() / stage.width(), widget.height() / stage.height());
    const QPointF offset((widget.width() - stage.width() * scale) / 2, (widget.height() - stage.height() * scale) / 2);
    return offset + stagePoint * scale;
}

} // namespace QuizLayout

#endif
