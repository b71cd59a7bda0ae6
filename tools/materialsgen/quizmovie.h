#ifndef QUIZMOVIE_H
#define QUIZMOVIE_H

#include "quiz.h"
#include "quizscript.h"

#include <QByteArray>
#include <QColor>
#include <QSize>
#include <QString>
#include <QStringList>

class StageKit;
class SwfTimeline;

// A quiz movie laid out as QuizLayout says, playing QuizScript: the test template, the
// exercise template and the exercises of the course.
class QuizMovie
{
public:
    explicit QuizMovie(QuizScript::Mode mode);

    // Questions the movie asks when no question file is given to it.
    void setBuiltIn(const Quiz &quiz);
    // The pictures questions may name; the built-in questions' pictures are always there.
    void addPictures(const QStringList &names);
    // A button shown after the last question that asks the shell to open another material:
    // action "jump" opens it in a new window, "load" in place of this one.
    void setLink(const QString &text, const QString &action, const QString &materialId);

    QByteArray build() const;

private:
    QStringList pictures() const;
    quint16 defineLibrary(StageKit &kit) const;
    quint16 defineSlot(StageKit &kit, quint16 library) const;
    void placeTexts(StageKit &kit) const;

    QuizScript::Mode m_mode;
    Quiz m_builtIn;
    QStringList m_pictures;
    QString m_linkText;
    QString m_linkAction;
    QString m_linkTarget;
};

#endif
