#include "materialsgenerator.h"

#include "layoutchecker.h"
#include "materialfolder.h"
#include "mediabuilder.h"
#include "questionfile.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

MaterialsGenerator::MaterialsGenerator(const QString &projectRoot, const QString &installationFolder)
    : m_course(QDir(projectRoot).filePath(QStringLiteral("course"))),
      m_data(QDir(installationFolder).filePath(QStringLiteral("data")))
{
}

QStringList MaterialsGenerator::templateNames()
{
    return {QStringLiteral("testContener.swf"), QStringLiteral("test_character1.swf"), QStringLiteral("choiceAnswer.swf"),
            QStringLiteral("connectionLines.swf"), QStringLiteral("dragToColumns.swf"), QStringLiteral("dragWord.swf"),
            QStringLiteral("selectWord.swf"), QStringLiteral("writeWord.swf")};
}

QString MaterialsGenerator::descriptionName()
{
    return QStringLiteral("material.xml");
}

QStringList MaterialsGenerator::errors() const
{
    return m_errors;
}

bool MaterialsGenerator::run()
{
    CourseMaterials course;
    if (!course.read(m_course.filePath(QStringLiteral("content.xml")))) {
        m_errors += course.errors();
        return false;
    }
    generateTemplates();
    for (const CourseMaterials::Material &material : course.materials())
        generateMaterial(material);
    reportStrayFolders(course);
    return m_errors.isEmpty();
}

void MaterialsGenerator::fillFolder(const QDir &source, MaterialFolder &out)
{
    const QStringList files = source.entryList(QDir::Files, QDir::Name);
    for (const QString &name : files) {
        if (name != descriptionName())
            out.copyFile(source.filePath(name));
    }
    if (files.contains(descriptionName())) {
        MediaBuilder builder(source, out);
        builder.build(source.filePath(descriptionName()));
        m_errors += builder.errors();
    }
}

void MaterialsGenerator::generateTemplates()
{
    const QDir source(m_course.filePath(QStringLiteral("templates")));
    MaterialFolder out(m_data.filePath(QStringLiteral("templates")));
    fillFolder(source, out);
    for (const QString &name : templateNames()) {
        if (!out.contains(name))
            m_errors.append(QStringLiteral("%1: makes no %2, which every installation has").arg(source.filePath(descriptionName()), name));
    }
    out.removeLeftovers();
    m_errors += out.errors();
}

void MaterialsGenerator::generateMaterial(const CourseMaterials::Material &material)
{
    const QDir source(m_course.filePath(QStringLiteral("objects/") + material.id));
    if (!source.exists()) {
        m_errors.append(QStringLiteral("%1: the material %2 of content.xml has no folder here").arg(source.path(), material.id));
        return;
    }
    MaterialFolder out(m_data.filePath(QStringLiteral("objects/") + material.id));
    fillFolder(source, out);
    m_errors += out.errors();
    const QDir built(out.path());
    checkLayout(source, QStringLiteral("normal.xml"), built, true);
    checkLayout(source, QStringLiteral("preview.xml"), built, false);
    out.removeLeftovers();
}

void MaterialsGenerator::checkLayout(const QDir &source, const QString &layoutName, const QDir &built, bool required)
{
    const QString sourcePath = source.filePath(layoutName);
    if (!QFileInfo::exists(sourcePath)) {
        if (required)
            m_errors.append(QStringLiteral("%1: the material has no layout").arg(sourcePath));
        return;
    }
    LayoutChecker checker(sourcePath, built);
    checker.check();
    m_errors += checker.errors();
    for (const QString &file : checker.movieFiles())
        checkQuestionFile(source.filePath(file), built.filePath(file));
}

void MaterialsGenerator::checkQuestionFile(const QString &sourcePath, const QString &builtPath)
{
    // A movie may read other files; a <test> file is read by the test movie, which trusts it.
    QFile file(builtPath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray xml = file.readAll();
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("test"))
        return;
    QuestionFile questions;
    if (!questions.parse(xml, sourcePath))
        m_errors += questions.errors();
}

void MaterialsGenerator::reportStrayFolders(const CourseMaterials &course)
{
    const QDir objects(m_course.filePath(QStringLiteral("objects")));
    for (const QString &name : objects.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (!course.contains(name))
            m_errors.append(QStringLiteral("%1: no material of content.xml has the id \"%2\"").arg(objects.filePath(name), name));
    }
}
