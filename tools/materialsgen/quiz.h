#ifndef QUIZ_H
#define QUIZ_H

#include <QList>
#include <QString>

// Questions a pupil answers by clicking one of a few answers: a test or an exercise.
struct Quiz
{
    struct Answer {
        QString text;
        QString picture;   // a picture book name, or empty
    };
    struct Question {
        QString text;
        QString picture;
        int right = -1;    // index into answers
        QList<Answer> answers;
    };

    QString caption;
    QList<Question> questions;
};

#endif
