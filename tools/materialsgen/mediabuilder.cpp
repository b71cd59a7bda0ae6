#include "mediabuilder.h"

#include "animationmovie.h"
#include "gamemovies.h"
#include "materialfolder.h"
#include "picturebook.h"
#include "questionfile.h"
#include "quizmovie.h"
#include "pagestyle.h"
#include "scene.h"
#include "schemepainter.h"
#include "sourceelement.h"
#include "wordpairmovies.h"

#include <QDomDocument>
#include <QFile>

MediaBuilder::MediaBuilder(const QDir &sourceFolder, MaterialFolder &out)
    : m_source(sourceFolder), m_out(out)
{
}

QStringList MediaBuilder::errors() const
{
    return m_errors;
}

void MediaBuilder::build(const QString &descriptionPath)
{
    QFile file(descriptionPath);
    QDomDocument document;
    QString message;
    int line = 0;
    int column = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        m_errors.append(QStringLiteral("%1: %2").arg(descriptionPath, file.errorString()));
        return;
    }
    if (!document.setContent(&file, false, &message, &line, &column)) {
        m_errors.append(QStringLiteral("%1:%2: %3").arg(descriptionPath).arg(line).arg(message));
        return;
    }
    const SourceElement root(document.documentElement(), descriptionPath, &m_errors);
    if (root.tagName() != QLatin1String("material")) {
        root.error(QStringLiteral("the root element must be <material>, not <%1>").arg(root.tagName()));
        return;
    }
    for (const SourceElement &element : root.children())
        buildElement(element);
}

void MediaBuilder::buildElement(const SourceElement &element)
{
    const QString file = element.fileName();
    if (file.isEmpty())
        return;
    if (m_out.contains(file)) {
        element.error(QStringLiteral("\"%1\" is made twice").arg(file));
        return;
    }
    const QString tag = element.tagName();
    if (tag == QLatin1String("picture"))
        buildPicture(element);
    else if (tag == QLatin1String("animation"))
        buildAnimation(element);
    else if (tag == QLatin1String("exercise"))
        buildExercise(element);
    else if (tag == QLatin1String("test"))
        buildTest(element);
    else if (tag == QLatin1String("wordpair"))
        buildWordPair(element);
    else if (tag == QLatin1String("scheme"))
        m_out.writeImage(file, SchemePainter(element).paint());
    else if (tag == QLatin1String("stylesheet"))
        m_out.writeBytes(file, PageStyle::css());
    else if (GameMovies::kinds().contains(tag))
        buildGame(element);
    else
        element.error(QStringLiteral("there is no medium <%1>").arg(tag));
}

void MediaBuilder::buildPicture(const SourceElement &element)
{
    const QString file = element.fileName();
    if (!file.endsWith(QLatin1String(".png")) && !file.endsWith(QLatin1String(".jpg"))) {
        element.error(QStringLiteral("a picture is a .png or .jpg file"));
        return;
    }
    m_out.writeImage(file, Scene::read(element, QSize(400, 300)).paint());
}

void MediaBuilder::buildAnimation(const SourceElement &element)
{
    const AnimationMovie movie(element);
    m_out.writeBytes(element.fileName(), movie.build());
}

void MediaBuilder::buildExercise(const SourceElement &element)
{
    const QString questions = element.fileName(QStringLiteral("questions"));
    if (questions.isEmpty())
        return;
    QuestionFile file;
    if (!file.read(m_source.filePath(questions))) {
        m_errors += file.errors();
        return;
    }
    QuizMovie movie(QuizScript::Exercise);
    movie.setBuiltIn(file.quiz());
    // An exercise that may be given other question files when it plays needs every picture.
    if (element.text(QStringLiteral("pictures")) == QLatin1String("all"))
        movie.addPictures(PictureBook::names() + PictureBook::letterNames());
    for (const SourceElement &link : element.children(QStringLiteral("link")))
        movie.setLink(link.content(), link.text(QStringLiteral("action"), QStringLiteral("jump")), link.required(QStringLiteral("material")));
    m_out.writeBytes(element.fileName(), movie.build());
}

void MediaBuilder::buildTest(const SourceElement &element)
{
    // The question file comes when the movie plays, so every picture a file may name is in it.
    QuizMovie movie(QuizScript::Test);
    movie.addPictures(PictureBook::names() + PictureBook::letterNames());
    m_out.writeBytes(element.fileName(), movie.build());
}

void MediaBuilder::buildWordPair(const SourceElement &element)
{
    const QString board = element.fileName(QStringLiteral("board"));
    if (board.isEmpty())
        return;
    if (m_out.contains(board) || board == element.fileName()) {
        element.error(QStringLiteral("\"%1\" is made twice").arg(board));
        return;
    }
    const WordPairMovies movies(element);
    m_out.writeBytes(element.fileName(), movies.list());
    m_out.writeBytes(board, movies.board());
}

void MediaBuilder::buildGame(const SourceElement &element)
{
    m_out.writeBytes(element.fileName(), GameMovies::build(element));
}
