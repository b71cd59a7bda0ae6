#ifndef CHMWRITER_H
#define CHMWRITER_H

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

class ChmCodePage;
struct ChmEntry;

// Writes a Microsoft HTML Help file (an ITSF container) with every file stored as it
// is: one uncompressed content section and no LZX one, which chmlib (and with it xchm)
// reads as it reads any other help file. Besides the files it writes what a viewer
// needs to present them: #SYSTEM (title, start page, contents file, language), the
// topic tables, and the section names.
class ChmWriter
{
public:
    // Names are paths inside the help, '/'-separated and relative ("pictures/cat.png").
    void addFile(const QString &name, const QByteArray &bytes);
    // A page's title, for the topic tables viewers name found pages by.
    void addTopic(const QString &name, const QString &title);

    void setTitle(const QString &title) { m_title = title; }
    void setDefaultTopic(const QString &name) { m_defaultTopic = name; }
    void setContentsFile(const QString &name) { m_contentsFile = name; }
    // A Windows language id (0x0419 Russian); it also fixes the code page of the texts.
    void setLanguage(quint32 language) { m_language = language; }
    void setTimestamp(const QDateTime &time) { m_timestamp = time; }

    // Empty, with `error` set, when the files or settings cannot make a help file.
    QByteArray build(QString *error) const;
    // Replaces `fileName` whole or not at all.
    bool save(const QString &fileName, QString *error) const;

    // Longest name (in UTF-8 bytes, with the leading '/') chmlib accepts.
    static constexpr int LongestName = 512;

private:
    struct File
    {
        QString name;
        QByteArray bytes;
    };
    struct Topic
    {
        QString name;
        QString title;
    };

    bool check(QString *error) const;
    bool checkNames(QString *error) const;
    bool checkName(const QString &name, QString *error) const;
    bool checkReferences(QString *error) const;
    QByteArray systemFile(const QByteArray &title) const;
    QByteArray languageRecord() const;
    bool topicFiles(const ChmCodePage &codePage, QList<File> *files, QString *error) const;
    static QByteArray nameList();
    QByteArray pack(const QList<File> &files) const;
    QByteArray assemble(const QList<ChmEntry> &entries, const QByteArray &content) const;

    QList<File> m_files;
    QList<Topic> m_topics;
    QString m_title;
    QString m_defaultTopic;
    QString m_contentsFile;
    quint32 m_language = 0x0409;
    QDateTime m_timestamp = QDateTime::currentDateTimeUtc();
};

#endif
