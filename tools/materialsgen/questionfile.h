#ifndef QUESTIONFILE_H
#define QUESTIONFILE_H

#include "quiz.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// A question file as an author writes it (the quiz movies read the same file when they play):
//
//   <test caption="Слог и ударение">
//       <question text="Сколько слогов в слове «мама»?" picture="cat">
//           <answer>один</answer>
//           <answer right="true">два</answer>
//           <answer picture="fish">три</answer>
//       </question>
//   </test>
//
// Every question has a text or a picture, two to four answers (each a text, a picture or
// both) and exactly one answer marked right="true". Pictures are picture book names.
class QuestionFile
{
public:
    static constexpr int maxQuestions = 10;

    // False when the file cannot be read or breaks a rule; errors() then says where.
    bool read(const QString &path);
    bool parse(const QByteArray &xml, const QString &fileName);

    Quiz quiz() const;
    QStringList errors() const;

private:
    void readTest(class QXmlStreamReader &reader);
    void readQuestion(class QXmlStreamReader &reader);
    void checkQuestion(const Quiz::Question &question, qint64 line);
    void checkPicture(const QString &name, qint64 line);
    void error(qint64 line, const QString &message);

    QString m_fileName;
    Quiz m_quiz;
    QStringList m_errors;
};

#endif
