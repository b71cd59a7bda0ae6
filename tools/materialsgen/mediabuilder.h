#ifndef MEDIABUILDER_H
#define MEDIABUILDER_H

#include <QDir>
#include <QString>
#include <QStringList>

class MaterialFolder;
class SourceElement;

// Makes the media a material description (material.xml) asks for, into the material's
// built folder. Each child of <material> names the kind of medium and its file:
//   <picture>    a still picture (Scene)                  <animation>  a cartoon (AnimationMovie)
//   <exercise>   questions from a question file, asked by a quiz movie that has them built in
//   <test>       the test movie that reads its questions from the file the shell gives it
//   <wordpair>   a word list and a picture board that talk through the shell (WordPairMovies)
//   <cards>, <assemble>, <columns>, <select>, <write>, <match>, <dragword>: the games
//   <scheme>     a workbook drawing (SchemePainter)      <stylesheet> the course's page style
class MediaBuilder
{
public:
    MediaBuilder(const QDir &sourceFolder, MaterialFolder &out);

    void build(const QString &descriptionPath);
    QStringList errors() const;

private:
    void buildElement(const SourceElement &element);
    void buildPicture(const SourceElement &element);
    void buildAnimation(const SourceElement &element);
    void buildExercise(const SourceElement &element);
    void buildTest(const SourceElement &element);
    void buildWordPair(const SourceElement &element);
    void buildGame(const SourceElement &element);

    QDir m_source;
    MaterialFolder &m_out;
    QStringList m_errors;
};

#endif
