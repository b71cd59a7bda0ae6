#ifndef MATERIALEXPORT_H
#define MATERIALEXPORT_H

#include <QString>
#include <QStringList>

// Copies a material out of the course into a folder of the user's choice: a new folder named
// after the material id, with the material's own files side by side; an exercise also gets
// the media its description names (and their style sheets), a test the test templates. All or
// nothing: a copy that fails takes the half-made folder away again.
class MaterialExport
{
public:
    enum Outcome { Done, NotExportable, NoSource, TargetExists, CopyFailed };

    struct Result
    {
        Outcome outcome = NoSource;
        QString folder;   // the folder made (or that was in the way)
        QString detail;   // what failed
    };

    static bool isExportable(const QString &type);
    static Result run(const QString &id, const QString &type, const QString &targetFolder);
    // One sentence for the pupil or teacher.
    static QString message(const Result &result);

    // The test templates a test takes with it, relative to the installation folder.
    static const QStringList &templates();

private:
    static QStringList filesToCopy(const QString &source, const QString &type);
    static QStringList mediaOfExercise(const QString &source);
};

#endif
