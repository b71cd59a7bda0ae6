#ifndef QUIZSCRIPT_H
#define QUIZSCRIPT_H

#include "quiz.h"
#include "swfactions.h"

// The program behind the quiz movies, run once on the first frame. It finds on the stage,
// by instance name, the answer slots "slot0"… (movie clips holding a button, a picture clip
// "icon" and a text bound to "answer"), the question's picture clip "picture" (a frame per
// picture, labelled with its name, "none" first), the text instance "feedback", the button
// clips "again" and, when there is one, "link"; and it writes the texts bound to
// caption_text, last_text, counter_text, feedback_text, question_wide and question_narrow.
//
// Questions come from the file the `param` variable names (loaded as XML when the movie
// starts) or, without one, are the built-in ones. In a test every answer counts once and the
// result goes to the shell at the end; in an exercise a wrong answer fades and the pupil tries
// again, a right one leads on to the next question.
class QuizScript
{
public:
    enum Mode { Test, Exercise };

    QuizScript(Mode mode, const Quiz &builtIn, int slotCount, bool hasLink);

    SwfActions firstFrame();

    // What the slots' buttons do: choose the answer of the slot they sit in.
    static SwfActions slotClick();
    static SwfActions againClick();


private:
    QString label(const QString &base);
    SwfActions lastTimeFunction();
    SwfActions showQuestionFunction();
    SwfActions chooseFunction();
    SwfActions advanceFunction();
    SwfActions finishFunction();
    SwfActions restartFunction();
    SwfActions parseFunction();
    SwfActions receiveFunction();
    SwfActions loadFromFile();
    void pushBuiltIn(SwfActions &a) const;
    void pushAnswers(SwfActions &a, const Quiz::Question &question) const;
    void orEmpty(SwfActions &a);
    void gotoPicture(SwfActions &a, const QString &clipPath);
    void setVisible(SwfActions &a, const QString &clip, bool visible);
    void setFeedback(SwfActions &a, const QString &text, quint32 rgb);

    Mode m_mode;
    Quiz m_builtIn;
    int m_slots;
    bool m_hasLink;
    int m_labels = 0;
};

#endif
