// Help files as chmlib reads them, through its own tools (libchm-bin): the demo help.chm
// the build makes, and a directory big enough to need index chunks above its listings.

#include "chmwriter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Relative names of every file under `folder`.
QStringList filesUnder(const QString &folder)
{
    QStringList names;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        names.append(QDir(folder).relativeFilePath(it.next()));
    return names;
}

// #SYSTEM's records by code: a version word, then code, length and data each.
QMap<int, QByteArray> systemRecords(const QByteArray &system)
{
    QMap<int, QByteArray> records;
    for (qsizetype at = 4; at + 4 <= system.size();) {
        const int code = qFromLittleEndian<quint16>(system.constData() + at);
        const int length = qFromLittleEndian<quint16>(system.constData() + at + 2);
        records.insert(code, system.mid(at + 4, length));
        at += 4 + length;
    }
    return records;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString cp1251(const QByteArray &bytes)
{
    QStringDecoder decoder("windows-1251");
    return decoder.decode(bytes);
}

} // namespace

class TstChmc : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void demoHelpHoldsEveryPageAndPicture();
    void demoHelpTellsViewersItsTitleAndContents();
    void directoryOfThousandsOfFilesIsIndexed();
    void mistakesInTheSourcesKeepTheOldHelp();

private:
    QByteArray run(const QString &program, const QStringList &arguments);
    QStringList listing(const QString &chm);
    QString extracted(const QString &chm);

    QString m_enum;
    QString m_extract;
    QString m_lookup;
    QTemporaryDir m_temp;
};

void TstChmc::initTestCase()
{
    m_enum = QStandardPaths::findExecutable(QStringLiteral("enum_chmLib"));
    m_extract = QStandardPaths::findExecutable(QStringLiteral("extract_chmLib"));
    m_lookup = QStandardPaths::findExecutable(QStringLiteral("test_chmLib"));
    if (m_enum.isEmpty() || m_extract.isEmpty() || m_lookup.isEmpty())
        QFAIL("chmlib's tools (enum_chmLib, extract_chmLib, test_chmLib) are missing: install libchm-bin "
              "(tools/setup.sh does)");
    QVERIFY(m_temp.isValid());
    QVERIFY2(QFile::exists(QStringLiteral(HELP_CHM)), HELP_CHM " was not built");
}

QByteArray TstChmc::run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning() << program << arguments << "failed:" << process.readAllStandardError();
        return {};
    }
    return process.readAllStandardOutput();
}

// The names enum_chmLib lists: one a line, the last tab-separated field.
QStringList TstChmc::listing(const QString &chm)
{
    QStringList names;
    for (const QByteArray &line : run(m_enum, {chm}).split('\n')) {
        const QByteArray name = line.mid(line.lastIndexOf('\t') + 1);
        if (line.contains('\t') && name.startsWith('/'))
            names.append(QString::fromUtf8(name));
    }
    return names;
}

QString TstChmc::extracted(const QString &chm)
{
    const QString folder = m_temp.filePath(QFileInfo(chm).completeBaseName() + QStringLiteral("-extracted"));
    run(m_extract, {chm, folder});
    return folder;
}

void TstChmc::demoHelpHoldsEveryPageAndPicture()
{
    const QString chm = QStringLiteral(HELP_CHM);
    const QStringList listed = listing(chm);
    const QString folder = extracted(chm);
    QMap<QString, QString> sources; // name in the help -> file it came from
    for (const QString &name : filesUnder(QStringLiteral(HELP_SOURCES)))
        sources.insert(name, QDir(QStringLiteral(HELP_SOURCES)).filePath(name));
    const QStringList pictures = filesUnder(QStringLiteral(HELP_ART));
    QVERIFY2(pictures.size() >= 6, "the help's pictures were not drawn");
    for (const QString &name : pictures)
        sources.insert(name, QDir(QStringLiteral(HELP_ART)).filePath(name));
    sources.remove(QStringLiteral("help.hhp"));
    // The contents file is stored in the language's code page; the next test reads it.
    sources.remove(QStringLiteral("contents.hhc"));

    for (auto it = sources.cbegin(); it != sources.cend(); ++it) {
        QVERIFY2(listed.contains(u'/' + it.key()), qPrintable(it.key() + QStringLiteral(" is not listed")));
        QVERIFY2(readAll(QDir(folder).filePath(it.key())) == readAll(it.value()),
                 qPrintable(it.key() + QStringLiteral(" does not come back as it went in")));
    }
}

void TstChmc::demoHelpTellsViewersItsTitleAndContents()
{
    const QString folder = extracted(QStringLiteral(HELP_CHM));
    const QMap<int, QByteArray> system = systemRecords(readAll(QDir(folder).filePath(QStringLiteral("#SYSTEM"))));
    const QString project = QString::fromUtf8(readAll(QStringLiteral(HELP_SOURCES "/help.hhp")));
    const QString title = project.section(QStringLiteral("Title="), 1).section(u'\n', 0, 0).trimmed();
    QVERIFY(!title.isEmpty());
    QCOMPARE(cp1251(system.value(3)), title + QChar());
    QCOMPARE(system.value(2), QByteArray("index.html", 11));
    QCOMPARE(system.value(0), QByteArray("contents.hhc", 13));
    QCOMPARE(qFromLittleEndian<quint32>(system.value(4).constData()), 0x0419u);

    // Viewers decode the sitemap with the language's code page: the tree reads as written.
    QString source = QString::fromUtf8(readAll(QStringLiteral(HELP_SOURCES "/contents.hhc")));
    source.replace(QStringLiteral("charset=utf-8"), QStringLiteral("charset=windows-1251"));
    QCOMPARE(cp1251(readAll(QDir(folder).filePath(QStringLiteral("contents.hhc")))), source);
}

void TstChmc::directoryOfThousandsOfFilesIsIndexed()
{
    // Long names and case-folded neighbours ("pictures/", "pictures2/", "PICTURES_old/")
    // whose order differs between byte and case-insensitive sorting: a lookup finds its
    // way down the index only if every level is sorted as readers compare.
    const QStringList folders = {QStringLiteral("pictures/"), QStringLiteral("PICTURES2/"), QStringLiteral("Pictures_old/")};
    const QString padding(120, u'x');
    QRandomGenerator random(7);
    ChmWriter writer;
    QMap<QString, QByteArray> files;
    for (int i = 0; i < 3000; ++i) {
        const QString name = folders.at(i % 3) + QStringLiteral("Page_%1-%2.bin").arg(i, 4, 10, QLatin1Char('0')).arg(padding);
        QByteArray bytes(int(random.bounded(1, 65)), '\0'); // test_chmLib fails on empty files
        for (char &byte : bytes)
            byte = char(random.bounded(256));
        files.insert(name, bytes);
        writer.addFile(name, bytes);
    }
    writer.setDefaultTopic(files.firstKey());
    const QString chm = m_temp.filePath(QStringLiteral("many.chm"));
    QString error;
    QVERIFY2(writer.save(chm, &error), qPrintable(error));

    const QByteArray bytes = readAll(chm);
    const qsizetype directory = qsizetype(qFromLittleEndian<quint64>(bytes.constData() + 0x48));
    QVERIFY2(qFromLittleEndian<qint32>(bytes.constData() + directory + 0x18) >= 3, "fewer than two index levels");

    const QStringList listed = listing(chm);
    const QString folder = extracted(chm);
    int n = 0;
    for (auto it = files.cbegin(); it != files.cend(); ++it, ++n) {
        QVERIFY2(listed.contains(u'/' + it.key()), qPrintable(it.key()));
        QVERIFY2(readAll(QDir(folder).filePath(it.key())) == it.value(), qPrintable(it.key()));
        if (n % 23 != 0 && n != files.size() - 1)
            continue;
        const QString out = m_temp.filePath(QStringLiteral("lookup.bin"));
        QFile::remove(out);
        run(m_lookup, {chm, u'/' + it.key(), out});
        QVERIFY2(QFile::exists(out) && readAll(out) == it.value(), qPrintable(QStringLiteral("lookup of ") + it.key()));
    }
}

void TstChmc::mistakesInTheSourcesKeepTheOldHelp()
{
    const QString project = m_temp.filePath(QStringLiteral("broken"));
    QVERIFY(writeFile(project + QStringLiteral("/help.hhp"),
                      "[OPTIONS]\nTitle=Справка\nDefault topic=index.html\nContents file=contents.hhc\nLanguage=0x419\n"));
    QVERIFY(writeFile(project + QStringLiteral("/index.html"),
                      "<html><head><title>Начало</title></head><body>\n"
                      "<img src=\"Pictures/Cat.png\" width=\"10\" height=\"10\">\n" // letter case does not matter
                      "<a href=\"http://example.org/\">out</a> <a href=\"#top\">up</a>\n"
                      "<img src=\"pictures/dog.png\">\n"
                      "<a href=\"../outside.html\">x</a>\n</body></html>\n"));
    QVERIFY(writeFile(project + QStringLiteral("/pictures/cat.png"), "png"));
    QVERIFY(writeFile(project + QStringLiteral("/contents.hhc"),
                      "<ul>\n<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"Начало\">"
                      "<param name=\"Local\" value=\"index.html\"></object>\n"
                      "<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"Ёлка 🎄\">"
                      "<param name=\"Local\" value=\"index.html\"></object>\n</ul>\n"));
    const QString output = m_temp.filePath(QStringLiteral("old.chm"));
    QVERIFY(writeFile(output, "the help of yesterday"));

    QProcess chmc;
    chmc.start(QStringLiteral(CHMC_PATH), {project + QStringLiteral("/help.hhp"), output});
    QVERIFY(chmc.waitForFinished(60000));
    QCOMPARE(chmc.exitCode(), 1);
    const QStringList errors = QString::fromUtf8(chmc.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
    const QStringList expected = {
        QStringLiteral("/contents.hhc:3: “🎄” cannot be stored in windows-1251"),
        QStringLiteral("/index.html:4: “pictures/dog.png” is not in the help"),
        QStringLiteral("/index.html:5: “../outside.html” is not in the help"),
    };
    QCOMPARE(errors.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QVERIFY2(errors.at(i).startsWith(project + expected.at(i)), qPrintable(errors.at(i)));
    QCOMPARE(readAll(output), QByteArray("the help of yesterday"));
}

QTEST_GUILESS_MAIN(TstChmc)
#include "tst_chmc.moc"
