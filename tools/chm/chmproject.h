#ifndef CHMPROJECT_H
#define CHMPROJECT_H

#include <QMap>
#include <QString>
#include <QStringList>

class ChmWriter;

// A help project: a small .hhp file and every file in its folder (sub-folders included),
// plus any folders of files made elsewhere, such as pictures drawn at build time. The
// project file, UTF-8, has one section:
//
//   [OPTIONS]
//   Title=Справка
//   Default topic=index.html
//   Contents file=contents.hhc
//   Language=0x419 Russian
//
// Pages are UTF-8. The contents file is UTF-8 too and is stored in the language's code
// page, since that is how viewers read it. Every local link of a page or of the contents
// file (src, href, the sitemap's Local) must name a file of the help; a missing one is
// reported with its file and line.
class ChmProject
{
public:
    explicit ChmProject(const QString &projectFile);

    // Its files join the help under their paths relative to `folder`.
    void addFolder(const QString &folder);

    // Reads everything into `writer`; false, with errors(), when anything is wrong.
    bool compile(ChmWriter *writer);
    QStringList errors() const { return m_errors; }

private:
    struct Source
    {
        QString name; // in the help
        QString path; // on disk
    };

    bool readOptions();
    bool setOption(const QString &key, const QString &value);
    void collect(const QString &folder);
    void addSource(ChmWriter *writer, const Source &source);
    QByteArray storedContents(const Source &source, const QString &text);
    void checkLinks(const Source &source, const QString &text, bool sitemap);
    bool hasFile(const QString &name) const;
    void error(const QString &path, int line, const QString &message);

    QString m_projectFile;
    QStringList m_folders;
    QMap<QString, Source> m_sources; // by lower-case name: the help ignores letter case
    QString m_title;
    QString m_defaultTopic;
    QString m_contentsFile;
    quint32 m_language = 0x0409;
    QStringList m_errors;
};

#endif
