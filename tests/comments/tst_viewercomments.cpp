#include "environment.h"
#include "materialprinter.h"
#include "viewercomments.h"

#include <QDomDocument>
#include <algorithm>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

namespace {

QByteArray readFile(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList commentTexts(const QString &fileName)
{
    QDomDocument document;
    if (!document.setContent(readFile(fileName)))
        return {QStringLiteral("<unreadable>")};
    QStringList texts;
    for (QDomElement e = document.documentElement().firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        QTextDocument html;
        html.setHtml(e.text());
        texts.append(html.toPlainText());
    }
    return texts;
}

QTabWidget *tabs(ViewerComments *panel)
{
    return panel->findChild<QTabWidget *>();
}

QTextEdit *editor(ViewerComments *panel, int index)
{
    return qobject_cast<QTextEdit *>(tabs(panel)->widget(index));
}

QStringList titles(ViewerComments *panel)
{
    QStringList result;
    for (int i = 0; i < tabs(panel)->count(); ++i)
        result.append(tabs(panel)->tabText(i));
    return result;
}

// Typed as the keyboard would (QTest::keyClicks takes Latin-1 only).
void type(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// A new comment tab with `text` typed into it, as a child would.
void writeComment(ViewerComments *panel, const QString &text)
{
    panel->appendComment();
    tabs(panel)->setCurrentIndex(tabs(panel)->count() - 1);
    type(editor(panel, tabs(panel)->count() - 1), text);
}

void click(ViewerComments *panel, const char *button)
{
    panel->findChild<QPushButton *>(QLatin1String(button))->click();
}

// The character format of the first fragment holding `text` in the editor's document.
QTextCharFormat formatOf(QTextEdit *edit, const QString &text)
{
    for (QTextBlock block = edit->document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().text().contains(text))
                return it.fragment().charFormat();
    return {};
}

} // namespace

class TestViewerComments : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void formattedCyrillicCommentComesBack();
    void removingAMiddleCommentRenumbersAndSaves();
    void unreadableFileIsKeptBesideOlderKeptOnes();
    void typingIsSavedAfterAPause();
    void secondPanelHearsEverySaveAndKeepsItsOwnText();
    void printsTheTextThenEachCommentOnPagesOfTheirOwn();

private:
    QString fileOf(const QString &id) { return m_pupil->filePath(QStringLiteral("comments/%1.cmt").arg(id)); }
    std::unique_ptr<QTemporaryDir> m_pupil;
};

void TestViewerComments::init()
{
    m_pupil = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_pupil->path()).mkpath(QStringLiteral("comments")));
    pupilDir = QDir(m_pupil->path());
}

void TestViewerComments::formattedCyrillicCommentComesBack()
{
    const QString file = fileOf(QStringLiteral("rzv_01"));
    {
        ViewerComments panel(QStringLiteral("rzv_01"), 0, QStringLiteral("<p>Текст <b>материала</b></p>"));
        panel.show();
        QCOMPARE(titles(&panel), QStringList{QStringLiteral("Исходный")});
        QVERIFY(panel.findChild<QPushButton *>(QStringLiteral("button_bold"))->isHidden());
        panel.removeComment(); // nothing to remove on the material's own text
        QCOMPARE(tabs(&panel)->count(), 1);

        // An empty comment tab is not a change, nor one taken away again: nothing is written,
        // not even an empty file (a preview would leave one for every material it showed).
        panel.appendComment();
        panel.hide();
        panel.show();
        tabs(&panel)->setCurrentIndex(1);
        type(editor(&panel, 1), QStringLiteral("передумал"));
        panel.removeComment();
        panel.hide();
        QVERIFY(!QFile::exists(file));
        QCOMPARE(QDir(m_pupil->filePath("comments")).entryList(QDir::Files), QStringList());
        panel.show();
        panel.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&panel));
        // "+" opens the new comment with the cursor in it.
        click(&panel, "button_append_comment");
        QCOMPARE(tabs(&panel)->currentIndex(), 1);
        QVERIFY(editor(&panel, 1)->hasFocus());
        QVERIFY(panel.findChild<QPushButton *>(QStringLiteral("button_bold"))->isVisible());
        QTextEdit *edit = editor(&panel, 1);
        const auto typeWith = [&](const char *button, const QString &text) {
            click(&panel, button);
            type(edit, text);
            click(&panel, button);
        };
        type(edit, QStringLiteral("Вода H"));
        typeWith("button_under", QStringLiteral("2"));
        type(edit, QStringLiteral("O, ёж "));
        typeWith("button_bold", QStringLiteral("жирный"));
        typeWith("button_italic", QStringLiteral(" наклонный"));
        typeWith("button_underline", QStringLiteral(" черта"));
        typeWith("button_upper", QStringLiteral("3"));
        panel.hide();
    }
    const QByteArray bytes = readFile(file);
    QVERIFY2(bytes.startsWith("<comments>\n    <comment>"), bytes.left(80).constData());
    QCOMPARE(commentTexts(file), QStringList{QStringLiteral("Вода H2O, ёж жирный наклонный черта3")});

    ViewerComments again(QStringLiteral("rzv_01"), 0, QString());
    QCOMPARE(titles(&again), (QStringList{QStringLiteral("Исходный"), QStringLiteral("Комментарий 1")}));
    QTextEdit *edit = editor(&again, 1);
    QCOMPARE(formatOf(edit, QStringLiteral("2")).verticalAlignment(), QTextCharFormat::AlignSubScript);
    QCOMPARE(formatOf(edit, QStringLiteral("3")).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    QCOMPARE(formatOf(edit, QStringLiteral("жирный")).fontWeight(), int(QFont::Bold));
    QVERIFY(formatOf(edit, QStringLiteral("наклонный")).fontItalic());
    QVERIFY(formatOf(edit, QStringLiteral("черта")).fontUnderline());
    QCOMPARE(formatOf(edit, QStringLiteral("ёж")).fontWeight(), int(QFont::Normal));
    QVERIFY(editor(&again, 0)->isReadOnly());
}

void TestViewerComments::removingAMiddleCommentRenumbersAndSaves()
{
    const QString file = fileOf(QStringLiteral("con_01"));
    ViewerComments panel(QStringLiteral("con_01"), 0, QString());
    panel.show();
    for (const char *text : {"один", "два", "три"})
        writeComment(&panel, QString::fromUtf8(text));
    tabs(&panel)->setCurrentIndex(2);
    panel.removeComment();
    QCOMPARE(titles(&panel), (QStringList{QStringLiteral("Исходный"), QStringLiteral("Комментарий 1"),
                                          QStringLiteral("Комментарий 2")}));
    panel.hide();
    QCOMPARE(commentTexts(file), (QStringList{QStringLiteral("один"), QStringLiteral("три")}));
}

void TestViewerComments::unreadableFileIsKeptBesideOlderKeptOnes()
{
    const QString file = fileOf(QStringLiteral("slv_02"));
    const QByteArray broken = "<comments>\n    <comment>&lt;p&gt;мой длинный расска";
    writeFile(file, broken);
    writeFile(file + QStringLiteral(".bak"), "older");
    {
        ViewerComments panel(QStringLiteral("slv_02"), 0, QString());
        panel.show();
        QCOMPARE(tabs(&panel)->count(), 1);
        panel.hide(); // nothing changed: the file stays where it is
        QCOMPARE(readFile(file), broken);
        panel.show();
        writeComment(&panel, QStringLiteral("новый"));
        panel.hide();
    }
    QCOMPARE(readFile(file + QStringLiteral(".bak")), QByteArray("older"));
    QCOMPARE(readFile(file + QStringLiteral(".bak.1")), broken);
    QCOMPARE(commentTexts(file), QStringList{QStringLiteral("новый")});

    // Nested deeper than any reader of the shell takes: refused as unreadable, not parsed
    // (200,000 levels took QDom minutes, again on every change of the file).
    const QString deepFile = fileOf(QStringLiteral("slv_03"));
    const QByteArray deep = "<comments><comment>" + QByteArray("<b>").repeated(5000) + "глубоко"
                          + QByteArray("</b>").repeated(5000) + "</comment></comments>";
    writeFile(deepFile, deep);
    {
        ViewerComments panel(QStringLiteral("slv_03"), 0, QString());
        panel.show();
        QCOMPARE(tabs(&panel)->count(), 1);
        writeComment(&panel, QStringLiteral("новый"));
        panel.hide();
    }
    QCOMPARE(readFile(deepFile + QStringLiteral(".bak")), deep);
    QCOMPARE(commentTexts(deepFile), QStringList{QStringLiteral("новый")});
}

void TestViewerComments::typingIsSavedAfterAPause()
{
    const QString file = fileOf(QStringLiteral("pra_01"));
    ViewerComments panel(QStringLiteral("pra_01"), 0, QString());
    panel.show();
    writeComment(&panel, QStringLiteral("пишу и пишу"));
    QTRY_COMPARE_WITH_TIMEOUT(commentTexts(file), QStringList{QStringLiteral("пишу и пишу")}, 10000);
    QVERIFY(panel.isVisible());
}

void TestViewerComments::secondPanelHearsEverySaveAndKeepsItsOwnText()
{
    const QString id = QStringLiteral("ani_01");
    ViewerComments first(id, 0, QString());
    ViewerComments second(id, 0, QString());
    first.show();
    second.show();
    const auto texts = [](ViewerComments *panel) {
        QStringList result;
        for (int i = 1; i < tabs(panel)->count(); ++i)
            result.append(editor(panel, i)->toPlainText());
        std::sort(result.begin(), result.end());
        return result;
    };

    writeComment(&first, QStringLiteral("первый"));
    first.hide();
    QTRY_COMPARE(texts(&second), QStringList{QStringLiteral("первый")});

    // That save replaced the file; the next one is heard all the same.
    first.show();
    writeComment(&first, QStringLiteral("второй"));
    first.hide();
    QTRY_COMPARE(texts(&second), (QStringList{QStringLiteral("второй"), QStringLiteral("первый")}));

    // Text the second panel has not saved yet survives a reload and is saved after it.
    writeComment(&second, QStringLiteral("своё"));
    first.show();
    writeComment(&first, QStringLiteral("третий"));
    first.hide();
    const QStringList all{QStringLiteral("второй"), QStringLiteral("первый"), QStringLiteral("своё"),
                          QStringLiteral("третий")};
    QTRY_COMPARE(texts(&second), all);
    second.hide();
    QStringList saved = commentTexts(fileOf(id));
    std::sort(saved.begin(), saved.end());
    QCOMPARE(saved, all);
}

void TestViewerComments::printsTheTextThenEachCommentOnPagesOfTheirOwn()
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    // Long enough that the material's text takes two pages.
    QString text;
    for (int i = 1; i <= 120; ++i)
        text += QStringLiteral("<p>Строка %1 рассказа</p>").arg(i);
    ViewerComments panel(QStringLiteral("rzv_03"), 0, text);
    panel.show();
    writeComment(&panel, QStringLiteral("первый"));
    writeComment(&panel, QStringLiteral("второй"));
    const QString pdf = m_pupil->filePath(QStringLiteral("out.pdf"));
    {
        MaterialPrinter printer(QPrinter::ScreenResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        panel.print(&printer);
    }
    QProcess read;
    read.start(pdftotext, {pdf, QStringLiteral("-")});
    QVERIFY(read.waitForFinished(30000));
    const QStringList pages = QString::fromUtf8(read.readAllStandardOutput()).split(u'\f', Qt::SkipEmptyParts);
    const qsizetype n = pages.size();
    QVERIFY(n >= 4);
    QVERIFY(pages[0].contains(QStringLiteral("Строка 1 рассказа")));
    QVERIFY(pages[n - 3].contains(QStringLiteral("Строка 120 рассказа")));
    QCOMPARE(pages[n - 2].trimmed(), QStringLiteral("первый"));
    QCOMPARE(pages[n - 1].trimmed(), QStringLiteral("второй"));
}

QTEST_MAIN(TestViewerComments)
#include "tst_viewercomments.moc"
