// chmc [--add FOLDER]... PROJECT.hhp OUTPUT.chm: compiles a help project into an
// uncompressed Microsoft HTML Help file, replacing OUTPUT whole or not at all.

#include "chmproject.h"
#include "chmwriter.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Compiles a help project into a .chm file."));
    parser.addHelpOption();
    const QCommandLineOption add(QStringLiteral("add"), QStringLiteral("Adds the files of <folder> at the help's root."),
                                 QStringLiteral("folder"));
    parser.addOption(add);
    parser.addPositionalArgument(QStringLiteral("project"), QStringLiteral("The .hhp project file."));
    parser.addPositionalArgument(QStringLiteral("output"), QStringLiteral("The .chm file to write."));
    parser.process(app);
    QTextStream err(stderr);
    if (parser.positionalArguments().size() != 2) {
        err << parser.helpText();
        return 2;
    }

    ChmProject project(parser.positionalArguments().at(0));
    for (const QString &folder : parser.values(add))
        project.addFolder(folder);
    ChmWriter writer;
    QString error;
    if (!project.compile(&writer)) {
        for (const QString &message : project.errors())
            err << message << '\n';
        return 1;
    }
    if (!writer.save(parser.positionalArguments().at(1), &error)) {
        err << parser.positionalArguments().at(1) << ": " << error << '\n';
        return 1;
    }
    return 0;
}
