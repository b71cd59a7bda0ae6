#include "viewercomments.h"

#include "atomicfile.h"
#include "environment.h"
#include "materialid.h"
#include "materialprinter.h"
#include "treemodel.h"
#include "xmltext.h"

#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

constexpr int SaveAfterTypingMs = 2000;

QByteArray readAll(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The comments a file holds; false when it holds something that is not a comment file.
// An empty file (earlier versions made one to watch it) holds no comments. QDom has no
// nesting limit and takes minutes over a deep enough file: the tree readers' check of
// well-formedness and depth refuses it first.
bool parseComments(const QByteArray &bytes, QStringList *comments)
{
    if (bytes.trimmed().isEmpty())
        return true;
    if (TreeModel::documentElementName(bytes) != QLatin1String("comments"))
        return false;
    QDomDocument document;
    if (!document.setContent(bytes, true) || document.documentElement().tagName() != QLatin1String("comments"))
        return false;
    for (QDomElement comment = document.documentElement().firstChildElement(QStringLiteral("comment"));
         !comment.isNull(); comment = comment.nextSiblingElement(QStringLiteral("comment")))
        comments->append(comment.text());
    return true;
}

QByteArray commentsXml(const QStringList &comments)
{
    QDomDocument document;
    QDomElement root = document.createElement(QStringLiteral("comments"));
    document.appendChild(root);
    for (const QString &html : comments) {
        QDomElement comment = document.createElement(QStringLiteral("comment"));
        comment.appendChild(document.createTextNode(XmlText::withoutInvalidCharacters(html)));
        root.appendChild(comment);
    }
    return document.toByteArray(4);
}

} // namespace

ViewerComments::ViewerComments(const QString &id, int, const QString &text, QWidget *parent)
    : QWidget(parent)
    , m_id(id)
    , m_file(commentFile(id))
    , m_header(themed(QStringLiteral("theme/other/header.png")))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_tabWidget = new QTabWidget(this);
    layout->addWidget(m_tabWidget);
    connect(m_tabWidget, &QTabWidget::currentChanged, this, &ViewerComments::updateButtons);
    m_tabWidget->setCornerWidget(makeCommentButtons(), Qt::TopRightCorner);
    m_tabWidget->setCornerWidget(makeFormatButtons(), Qt::TopLeftCorner);

    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(SaveAfterTypingMs);
    connect(&m_saveTimer, &QTimer::timeout, this, &ViewerComments::save);

    addTab(text);
    loadComments();
    m_tabWidget->setCurrentIndex(0);

    if (m_file.isEmpty())
        return;
    if (!commentsWatcher)
        commentsWatcher = new QFileSystemWatcher;
    // The first panel on a material (again after all of them closed) starts watching it.
    // A file not written yet cannot be watched, and an empty one would only litter the
    // pupil's folder: its folder is watched until another panel writes it.
    int &open = commentsOpen[m_id];
    if (open == 0 && QFile::exists(m_file))
        commentsWatcher->addPath(m_file);
    ++open;
    watchFolder();
    connect(commentsWatcher, &QFileSystemWatcher::fileChanged, this, &ViewerComments::updateComments);
    connect(commentsWatcher, &QFileSystemWatcher::directoryChanged, this, &ViewerComments::folderChanged);
}

ViewerComments::~ViewerComments()
{
    if (!m_file.isEmpty() && --commentsOpen[m_id] == 0)
        commentsWatcher->removePath(m_file);
    save();
}

QString ViewerComments::commentFile(const QString &id)
{
    if (!MaterialId::isSafe(id))
        return {};
    return pupilDir.filePath(QStringLiteral("comments/%1.cmt").arg(id));
}

QWidget *ViewerComments::makeCommentButtons()
{
    auto *corner = new QWidget(this);
    auto *box = new QHBoxLayout(corner);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->addSpacing(14);
    QPushButton *append = makeButton("button_append_comment", tr("добавить комментарий"), {18, 32}, false);
    QPushButton *remove = makeButton("button_remove_comment", tr("удалить комментарий"), {18, 32}, false);
    connect(append, &QPushButton::clicked, this, &ViewerComments::appendComment);
    connect(remove, &QPushButton::clicked, this, &ViewerComments::removeComment);
    box->addWidget(append);
    box->addWidget(remove);
    return corner;
}

QWidget *ViewerComments::makeFormatButtons()
{
    auto *corner = new QWidget(this);
    auto *box = new QHBoxLayout(corner);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    const QSize size(21, 29);
    m_bold = makeButton("button_bold", tr("жирный"), size, true);
    m_italic = makeButton("button_italic", tr("курсив"), size, true);
    m_underline = makeButton("button_underline", tr("подчеркивание"), size, true);
    m_upper = makeButton("button_upper", tr("верхний индекс"), size, true);
    m_under = makeButton("button_under", tr("нижний индекс"), size, true);
    connect(m_bold, &QPushButton::clicked, this, &ViewerComments::bold);
    connect(m_italic, &QPushButton::clicked, this, &ViewerComments::italic);
    connect(m_underline, &QPushButton::clicked, this, &ViewerComments::underline);
    connect(m_upper, &QPushButton::clicked, this, &ViewerComments::upper);
    connect(m_under, &QPushButton::clicked, this, &ViewerComments::under);
    for (QPushButton *button : {m_bold, m_italic, m_underline, m_upper, m_under})
        box->addWidget(button);
    return corner;
}

QPushButton *ViewerComments::makeButton(const char *name, const QString &toolTip, QSize size, bool checkable)
{
    auto *button = new QPushButton(this);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(toolTip);
    button->setAccessibleName(toolTip);
    button->setFixedSize(size);
    button->setCheckable(checkable);
    // A click must leave the keys with the comment being written.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QTextEdit *ViewerComments::addTab(const QString &html)
{
    auto *editor = new QTextEdit(this);
    editor->setFrameShape(QFrame::NoFrame);
    connect(editor, &QTextEdit::currentCharFormatChanged, this, &ViewerComments::currentCharFormatChanged);
    QString title;
    if (m_tabWidget->count() == 0) {
        title = tr("Исходный");
        editor->setReadOnly(true);
    } else {
        title = tr("Комментарий %1").arg(m_tabWidget->count());
    }
    editor->setHtml(html);
    if (m_tabWidget->count() > 0)
        connect(editor, &QTextEdit::textChanged, &m_saveTimer, qOverload<>(&QTimer::start));
    m_tabWidget->addTab(editor, title);
    return editor;
}

void ViewerComments::loadComments()
{
    if (m_file.isEmpty())
        return;
    m_knownBytes = readAll(m_file);
    QStringList comments;
    if (!parseComments(m_knownBytes, &comments))
        return;
    for (const QString &html : std::as_const(comments))
        addTab(html);
}

void ViewerComments::print(QPrinter *printer)
{
    for (int i = 0; i < m_tabWidget->count(); ++i)
        MaterialPrinter::printDocument(printer, static_cast<QTextEdit *>(m_tabWidget->widget(i))->document());
}

void ViewerComments::appendComment()
{
    // A child who asks for a new comment starts writing it at once.
    QTextEdit *editor = addTab(QString());
    m_tabWidget->setCurrentWidget(editor);
    editor->setFocus();
}

void ViewerComments::removeComment()
{
    const int index = m_tabWidget->currentIndex();
    if (index <= 0)
        return;
    QWidget *editor = m_tabWidget->widget(index);
    m_tabWidget->removeTab(index);
    delete editor;
    const int current = m_tabWidget->currentIndex();
    if (current != 0) {
        for (int i = current; i < m_tabWidget->count(); ++i)
            m_tabWidget->setTabText(i, tr("Комментарий %1").arg(i));
    }
    m_commentsRemoved = true;
    m_saveTimer.start();
}

void ViewerComments::updateComments(QString path)
{
    // Only this panel's own file concerns it; a change to another material's comments
    // must not take the cursor away from a child who is writing here.
    if (m_file.isEmpty() || path != m_file)
        return;
    watch();
    const QByteArray bytes = readAll(m_file);
    if (bytes == m_knownBytes)
        return;
    // What this panel has not saved yet comes back after what the other panel wrote.
    const QStringList unsaved = unsavedComments();
    while (m_tabWidget->count() > 1)
        delete m_tabWidget->widget(1);
    m_commentsRemoved = false;
    loadComments();
    const int firstUnsaved = m_tabWidget->count();
    for (const QString &html : unsaved)
        addTab(html)->document()->setModified(true);
    if (unsaved.isEmpty()) {
        m_tabWidget->setCurrentIndex(0);
    } else {
        m_tabWidget->setCurrentIndex(firstUnsaved);
        m_saveTimer.start();
    }
}

QStringList ViewerComments::unsavedComments() const
{
    QStringList unsaved;
    for (int i = 1; i < m_tabWidget->count(); ++i) {
        const auto *editor = static_cast<QTextEdit *>(m_tabWidget->widget(i));
        if (editor->document()->isModified())
            unsaved.append(editor->toHtml());
    }
    return unsaved;
}

bool ViewerComments::commentsChanged() const
{
    return m_commentsRemoved || !unsavedComments().isEmpty();
}

void ViewerComments::save()
{
    m_saveTimer.stop();
    if (m_file.isEmpty() || !commentsChanged())
        return;
    // Comments taken away again before they were ever saved leave nothing to keep.
    if (m_tabWidget->count() == 1 && !QFile::exists(m_file)) {
        m_commentsRemoved = false;
        return;
    }
    // A file this panel could not read may still hold a child's writing: it goes aside,
    // never over something kept aside before.
    QStringList ignored;
    const QByteArray onDisk = readAll(m_file);
    if (!parseComments(onDisk, &ignored)) {
        QString error;
        const QString kept = AtomicFile::keepAside(m_file, QStringLiteral(".bak"), &error);
        if (kept.isEmpty()) {
            qWarning("Comments not saved: cannot keep the unreadable %s: %s", qPrintable(m_file), qPrintable(error));
            return;
        }
        qWarning("%s could not be read and is kept as %s", qPrintable(m_file), qPrintable(kept));
    }
    QStringList comments;
    QList<QTextDocument *> documents;
    for (int i = 1; i < m_tabWidget->count(); ++i) {
        const auto *editor = static_cast<QTextEdit *>(m_tabWidget->widget(i));
        comments.append(editor->toHtml());
        documents.append(editor->document());
    }
    const QByteArray bytes = commentsXml(comments);
    QString error;
    if (!AtomicFile::write(m_file, bytes, &error)) {
        qWarning("Comments not saved to %s: %s", qPrintable(m_file), qPrintable(error));
        return;
    }
    m_knownBytes = bytes;
    m_commentsRemoved = false;
    for (QTextDocument *document : std::as_const(documents))
        document->setModified(false);
    watch();
}

// A save replaces the file, and the system then stops watching the file that was replaced.
void ViewerComments::watch()
{
    if (commentsWatcher && commentsOpen.value(m_id) > 0 && !commentsWatcher->files().contains(m_file)
        && QFile::exists(m_file))
        commentsWatcher->addPath(m_file);
}

void ViewerComments::watchFolder()
{
    const QString folder = QFileInfo(m_file).absolutePath();
    if (!commentsWatcher->files().contains(m_file) && !commentsWatcher->directories().contains(folder))
        commentsWatcher->addPath(folder);
}

// The folder stays watched (one path for all materials). The panel that wrote a new file
// watches it before this is heard, so whether the file is watched tells nothing: a file
// that brings nothing new is left alone by updateComments().
void ViewerComments::folderChanged(const QString &folder)
{
    if (m_file.isEmpty() || folder != QFileInfo(m_file).absolutePath() || !QFile::exists(m_file))
        return;
    updateComments(m_file);
}

void ViewerComments::updateButtons()
{
    const int index = m_tabWidget->currentIndex();
    if (auto *editor = qobject_cast<QTextEdit *>(m_tabWidget->currentWidget()))
        currentCharFormatChanged(editor->textCursor().charFormat());
    for (QPushButton *button : {m_bold, m_italic, m_underline, m_upper, m_under})
        button->setVisible(index != 0);
}

QTextEdit *ViewerComments::commentEditor() const
{
    if (m_tabWidget->currentIndex() <= 0)
        return nullptr;
    return qobject_cast<QTextEdit *>(m_tabWidget->currentWidget());
}

void ViewerComments::mergeFormat(const QTextCharFormat &format)
{
    if (QTextEdit *editor = commentEditor()) {
        editor->mergeCurrentCharFormat(format);
        // The click gave the keys to the nearest parent that takes focus: the child goes on
        // writing here.
        editor->setFocus();
    }
}

void ViewerComments::bold()
{
    QTextCharFormat format;
    format.setFontWeight(m_bold->isChecked() ? QFont::Bold : QFont::Normal);
    mergeFormat(format);
}

void ViewerComments::italic()
{
    QTextCharFormat format;
    format.setFontItalic(m_italic->isChecked());
    mergeFormat(format);
}

void ViewerComments::underline()
{
    QTextCharFormat format;
    format.setFontUnderline(m_underline->isChecked());
    mergeFormat(format);
}

void ViewerComments::upper()
{
    QTextCharFormat format;
    format.setVerticalAlignment(m_upper->isChecked() ? QTextCharFormat::AlignSuperScript
                                                     : QTextCharFormat::AlignNormal);
    mergeFormat(format);
}

void ViewerComments::under()
{
    QTextCharFormat format;
    format.setVerticalAlignment(m_under->isChecked() ? QTextCharFormat::AlignSubScript
                                                     : QTextCharFormat::AlignNormal);
    mergeFormat(format);
}

void ViewerComments::currentCharFormatChanged(const QTextCharFormat &format)
{
    m_bold->setChecked(format.fontWeight() == QFont::Bold);
    m_italic->setChecked(format.fontItalic());
    m_underline->setChecked(format.fontUnderline());
    m_upper->setChecked(format.verticalAlignment() == QTextCharFormat::AlignSuperScript);
    m_under->setChecked(format.verticalAlignment() == QTextCharFormat::AlignSubScript);
}

void ViewerComments::paintEvent(QPaintEvent *)
{
    if (m_header.isNull())
        return;
    // The strip's rounded ends keep their shape; only its middle column stretches.
    QPainter painter(this);
    const int w = width();
    const int h = m_header.height();
    const int end = 11;
    painter.drawPixmap(QRect(0, 0, w, h), m_header);
    painter.drawPixmap(QRect(0, 0, end, h), m_header, QRect(0, 0, end, h));
    painter.drawPixmap(QRect(end, 0, w - 2 * end, h), m_header, QRect(end, 0, 1, h));
    painter.drawPixmap(QRect(w - end, 0, end, h), m_header, QRect(m_header.width() - end, 0, end, h));
}

void ViewerComments::hideEvent(QHideEvent *event)
{
    save();
    QWidget::hideEvent(event);
}
