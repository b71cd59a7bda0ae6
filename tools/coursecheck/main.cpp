// pellora-coursecheck DIR: checks a course folder as the shell reads it. See README.md,
// "Checking a course".

#include "coursecheck.h"
#include "moviereport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

namespace {

bool writeHtml(const QString &path, const QString &html, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(html.toUtf8()) < 0 || !file.flush() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

int reportMovies(const QString &folder, QStringList movies, const QString &htmlPath)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    CourseCheck course(folder);
    const bool wholeCourse = movies.isEmpty();
    if (wholeCourse)
        movies = course.moviePaths();
    MovieReport report(folder);
    bool allRead = true;
    const QString root = QFileInfo(folder).absoluteFilePath();
    for (const QString &movie : std::as_const(movies)) {
        // The course's own movies are named from the course folder, as the checker names them.
        const QString shown = wholeCourse ? QDir::cleanPath(folder + QLatin1Char('/') + QDir(root).relativeFilePath(movie)) : movie;
        allRead = report.add(movie, shown) && allRead;
    }
    out << report.text();
    out.flush();
    if (!htmlPath.isEmpty()) {
        QString error;
        if (!writeHtml(htmlPath, report.html(), &error)) {
            err << "pellora-coursecheck: " << htmlPath << ": " << error << '\n';
            return 2;
        }
    }
    return allRead ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Checks a course folder (the folder that holds data/) as the shell reads it and lists each problem as "
        "FILE:LINE: MESSAGE. Exit status: 0 sound, 1 problems found, 2 could not run."));
    parser.addHelpOption();
    const QCommandLineOption movies(QStringLiteral("movies"), QStringLiteral(
        "Instead of checking, report on each movie (those given, else all of the course): header, what it asks "
        "of its host, what the pinned Ruffle plays only in part."));
    const QCommandLineOption html(QStringLiteral("html"), QStringLiteral("Also write the movie report as one HTML page."),
                                  QStringLiteral("file"));
    parser.addOptions({movies, html});
    parser.addPositionalArgument(QStringLiteral("DIR"), QStringLiteral("The course folder."));
    parser.addPositionalArgument(QStringLiteral("MOVIE"), QStringLiteral("Movies to report on (with --movies)."),
                                 QStringLiteral("[MOVIE...]"));
    parser.process(app);

    QStringList arguments = parser.positionalArguments();
    if (arguments.isEmpty()) {
        err << "pellora-coursecheck: name the course folder (see --help)\n";
        return 2;
    }
    const QString folder = arguments.takeFirst();
    if (!QFileInfo(folder).isDir()) {
        err << "pellora-coursecheck: " << folder << ": not a folder\n";
        return 2;
    }
    if (parser.isSet(movies) || parser.isSet(html))
        return reportMovies(folder, arguments, parser.value(html));
    if (!arguments.isEmpty()) {
        err << "pellora-coursecheck: movies are named only with --movies\n";
        return 2;
    }

    QTextStream out(stdout);
    const QStringList problems = CourseCheck(folder).run();
    for (const QString &problem : problems)
        out << problem << '\n';
    return problems.isEmpty() ? 0 : 1;
}
