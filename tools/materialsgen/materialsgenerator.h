#ifndef MATERIALSGENERATOR_H
#define MATERIALSGENERATOR_H

#include "coursematerials.h"

#include <QDir>
#include <QString>
#include <QStringList>

class MaterialFolder;

// Lays the demo course's materials into the installation folder:
//   course/objects/<id>/    -> data/objects/<id>/   for every material of course/content.xml
//   course/templates/       -> data/templates/      the test templates
// A material folder holds its layout normal.xml (and preview.xml), files copied as they are
// (pages, texts, question files, style sheets) and material.xml, which is not copied but
// says which pictures and movies to make (MediaBuilder). Every layout is then checked
// against what was built; question files that movies read are checked as the test reads them.
class MaterialsGenerator
{
public:
    MaterialsGenerator(const QString &projectRoot, const QString &installationFolder);

    bool run();
    QStringList errors() const;

    // The test templates every installation has, in the order an export copies them.
    static QStringList templateNames();
    static QString descriptionName();

private:
    void generateTemplates();
    void generateMaterial(const CourseMaterials::Material &material);
    void fillFolder(const QDir &source, MaterialFolder &out);
    void checkLayout(const QDir &source, const QString &layoutName, const QDir &built, bool required);
    void checkQuestionFile(const QString &sourcePath, const QString &builtPath);
    void reportStrayFolders(const CourseMaterials &course);

    QDir m_course;
    QDir m_data;
    QStringList m_errors;
};

#endif
