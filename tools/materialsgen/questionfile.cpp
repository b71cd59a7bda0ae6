#include "questionfile.h"

#include "picturebook.h"
#include "quizlayout.h"

#include <QFile>
#include <QXmlStreamReader>

bool QuestionFile::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_fileName = path;
        m_errors = QStringList{QStringLiteral("%1: %2").arg(path, file.errorString())};
        return false;
    }
    return parse(file.readAll(), path);
}

bool QuestionFile::parse(const QByteArray &xml, const QString &fileName)
{
    m_fileName = fileName;
    m_quiz = Quiz();
    m_errors.clear();
    QXmlStreamReader reader(xml);
    if (reader.readNextStartElement()) {
        if (reader.name() == QLatin1String("test"))
            readTest(reader);
        else
            error(reader.lineNumber(), QStringLiteral("the root element must be <test>, not <%1>").arg(reader.name()));
    }
    if (reader.hasError())
        error(reader.lineNumber(), reader.errorString());
    else if (m_errors.isEmpty() && m_quiz.questions.isEmpty())
        error(reader.lineNumber(), QStringLiteral("the test has no questions"));
    return m_errors.isEmpty();
}

void QuestionFile::readTest(QXmlStreamReader &reader)
{
    m_quiz.caption = reader.attributes().value(QLatin1String("caption")).toString();
    while (reader.readNextStartElement()) {
        if (reader.name() == QLatin1String("question")) {
            readQuestion(reader);
        } else {
            error(reader.lineNumber(), QStringLiteral("<%1> where a <question> belongs").arg(reader.name()));
            reader.skipCurrentElement();
        }
    }
    if (m_quiz.questions.size() > maxQuestions)
        error(reader.lineNumber(), QStringLiteral("%1 questions; a test has at most %2").arg(m_quiz.questions.size()).arg(maxQuestions));
}

void QuestionFile::readQuestion(QXmlStreamReader &reader)
{
    const qint64 line = reader.lineNumber();
    Quiz::Question question;
    question.text = reader.attributes().value(QLatin1String("text")).toString().trimmed();
    question.picture = reader.attributes().value(QLatin1String("picture")).toString();
    checkPicture(question.picture, line);
    int rightCount = 0;
    while (reader.readNextStartElement()) {
        if (reader.name() != QLatin1String("answer")) {
            error(reader.lineNumber(), QStringLiteral("<%1> where an <answer> belongs").arg(reader.name()));
            reader.skipCurrentElement();
            continue;
        }
        const qint64 answerLine = reader.lineNumber();
        // A copy: reading the element text below reuses the attributes' storage.
        const QString right = reader.attributes().value(QLatin1String("right")).toString();
        Quiz::Answer answer;
        answer.picture = reader.attributes().value(QLatin1String("picture")).toString();
        answer.text = reader.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        checkPicture(answer.picture, answerLine);
        if (answer.text.isEmpty() && answer.picture.isEmpty())
            error(answerLine, QStringLiteral("an answer needs a text or a picture"));
        if (right == QLatin1String("true")) {
            question.right = int(question.answers.size());
            ++rightCount;
        } else if (!right.isEmpty() && right != QLatin1String("false")) {
            error(answerLine, QStringLiteral("right=\"%1\": write right=\"true\" on the right answer only").arg(right));
        }
        question.answers.append(answer);
    }
    if (rightCount > 1)
        error(line, QStringLiteral("%1 answers are marked right; one must be").arg(rightCount));
    checkQuestion(question, line);
    m_quiz.questions.append(question);
}

void QuestionFile::checkQuestion(const Quiz::Question &question, qint64 line)
{
    if (question.text.isEmpty() && question.picture.isEmpty())
        error(line, QStringLiteral("a question needs a text or a picture"));
    if (question.answers.size() < 2 || question.answers.size() > QuizLayout::answerSlots)
        error(line, QStringLiteral("%1 answers; a question has 2 to %2").arg(question.answers.size()).arg(QuizLayout::answerSlots));
    if (question.right < 0)
        error(line, QStringLiteral("no answer is marked right=\"true\""));
}

void QuestionFile::checkPicture(const QString &name, qint64 line)
{
    if (!name.isEmpty() && !PictureBook::has(name))
        error(line, QStringLiteral("there is no picture \"%1\"").arg(name));
}

void QuestionFile::error(qint64 line, const QString &message)
{
    m_errors.append(QStringLiteral("%1:%2: %3").arg(m_fileName).arg(line).arg(message));
}

Quiz QuestionFile::quiz() const
{
    return m_quiz;
}

QStringList QuestionFile::errors() const
{
    return m_errors;
}
