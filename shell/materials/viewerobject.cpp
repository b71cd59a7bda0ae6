#include "viewerobject.h"

#include "contentmodel.h"
#include "environment.h"
#include "markbookmodel.h"
#include "materialid.h"
#include "materialprinter.h"
#include "pupilsettings.h"
#include "treeitem.h"
#include "viewercomments.h"
#include "viewerflash.h"
#include "viewerimage.h"
#include "viewerweb.h"
#include "windowfavorites.h"
#include "windowmain.h"

#include <QDebug>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QPrintDialog>

ViewerObject::ViewerObject(int mode, QWidget *parent)
    : QScrollArea(parent)
    , m_mode(mode)
{
    setWidgetResizable(true);
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(false);
}

QString ViewerObject::descriptionFile(const QDir &folder) const
{
    if (m_mode == Preview && folder.exists(QStringLiteral("preview.xml")))
        return folder.filePath(QStringLiteral("preview.xml"));
    return folder.filePath(QStringLiteral("normal.xml"));
}

// The id changes only with the media: a movie still playing after a failed load reports to
// the material it was loaded from, never to the one that could not be shown.
void ViewerObject::loadObject(const QString &id)
{
    const QString path = MaterialId::folder(id);
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return;
    const QDir folder(path);
    if (!folder.exists(QStringLiteral("normal.xml")))
        return;
    QFile file(descriptionFile(folder));
    if (!file.open(QIODevice::ReadOnly))
        return;
    MaterialDescription description;
    if (!description.read(file.readAll())) {
        showParseError(description, file.fileName());
        return;
    }
    if (!description.isObject())
        return;
    m_id = id;

    auto *media = new QWidget;
    auto *grid = new QGridLayout(media);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    for (const MaterialDescription::Medium &medium : description.media()) {
        QWidget *widget = createMedium(medium, folder, media);
        if (!widget)
            continue;
        place(grid, widget, medium);
        if (medium.printable)
            m_printable = true;
    }
    setWidget(media); // the previous media go with the widget they were on
}

void ViewerObject::showParseError(const MaterialDescription &description, const QString &file)
{
    // The file is named so that an author knows which of a course's descriptions to mend.
    QMessageBox::warning(this, QStringLiteral("DOM Parser"),
                         QStringLiteral("Parse error at line %1, column %2:\n%3\n%4")
                             .arg(description.errorLine())
                             .arg(description.errorColumn())
                             .arg(description.errorMessage(), QDir::toNativeSeparators(file)),
                         QMessageBox::Ok);
}

static bool isInside(const QString &path, const QString &folder)
{
    return path.startsWith(folder + QLatin1Char('/'));
}

QWidget *ViewerObject::createMedium(const MaterialDescription::Medium &medium, const QDir &folder, QWidget *parent)
{
    // A description comes with the course, but its paths must still stay in the data folder.
    const QString file = QDir::cleanPath(folder.absoluteFilePath(medium.file));
    const QString canonical = QFileInfo(file).canonicalFilePath();
    const QString data = QDir::current().absoluteFilePath(QStringLiteral("data"));
    const QString canonicalData = QFileInfo(data).canonicalFilePath();
    if (!isInside(file, data) || (!canonical.isEmpty() && !isInside(canonical, canonicalData))) {
        qDebug().noquote() << "material" << m_id << ": refused the medium" << medium.file << "outside the data folder";
        return nullptr;
    }
    const QString suffix = QFileInfo(medium.file).suffix();
    if (!MaterialDescription::isShownKind(suffix))
        return nullptr;
    QWidget *widget = nullptr;
    if (suffix == QLatin1String("swf")) {
        widget = createMovie(canonical.isEmpty() ? file : canonical, medium, folder, parent);
    } else if (suffix == QLatin1String("htm")) {
        auto *web = new ViewerWeb(parent);
        web->loadFile(file);
        connect(this, &ViewerObject::printObject, web, &ViewerWeb::print);
        widget = web;
    } else if (suffix == QLatin1String("jpg") || suffix == QLatin1String("png")) {
        auto *image = new ViewerImage(parent);
        image->setImage(file);
        connect(this, &ViewerObject::printObject, image, &ViewerImage::print);
        widget = image;
    } else if (suffix == QLatin1String("html")) {
        widget = createText(file, parent);
    }
    return widget;
}

QWidget *ViewerObject::createMovie(const QString &file, const MaterialDescription::Medium &medium,
                                   const QDir &folder, QWidget *parent)
{
    QString param;
    if (!medium.text.isEmpty())
        param = QDir::cleanPath(folder.absoluteFilePath(medium.text)).replace(QLatin1Char('/'), QLatin1Char('\\'));
    QString type, caption;
    ensureContentModel();
    if (const TreeItem *item = contentModel->findObject(m_id, contentModel->rootItem())) {
        type = item->data(1).toString();
        caption = item->data(0).toString();
    }
    auto *movie = new ViewerFlash(parent);
    connect(movie, &ViewerFlash::test, this, &ViewerObject::saveTestResult);
    if (mainWindow) {
        connect(movie, &ViewerFlash::load, mainWindow, &WindowMain::createWidgetInSheet, Qt::QueuedConnection);
        connect(movie, &ViewerFlash::jump, mainWindow, &WindowMain::changeWidgetInSheet, Qt::QueuedConnection);
    }
    connect(movie, &ViewerFlash::transfer, this, &ViewerObject::flashTransfer, Qt::QueuedConnection);
    connect(this, &ViewerObject::flashTransfer, movie, &ViewerFlash::request);
    connect(this, &ViewerObject::printObject, movie, &ViewerFlash::print);
    movie->loadMovie(file, param, m_id, type, caption, QStringLiteral("#ffffff"));
    return movie;
}

QWidget *ViewerObject::createText(const QString &file, QWidget *parent)
{
    QFile source(file);
    const QString text = source.open(QIODevice::ReadOnly) ? QString::fromUtf8(source.readAll()) : QString();
    auto *comments = new ViewerComments(m_id, 0, text, parent);
    connect(this, &ViewerObject::printObject, comments, &ViewerComments::print);
    return comments;
}

void ViewerObject::place(QGridLayout *grid, QWidget *widget, const MaterialDescription::Medium &medium)
{
    grid->addWidget(widget, medium.row, medium.column, medium.rowSpan, medium.columnSpan);
    // The largest wish for a row or a column wins.
    if (grid->rowStretch(medium.row) < medium.rowStretch)
        grid->setRowStretch(medium.row, medium.rowStretch);
    if (grid->columnStretch(medium.column) < medium.columnStretch)
        grid->setColumnStretch(medium.column, medium.columnStretch);
}

QString ViewerObject::caption() const
{
    ensureContentModel();
    const TreeItem *item = contentModel->findObject(m_id, contentModel->rootItem());
    return item ? item->data(0).toString() : QString();
}

void ViewerObject::printer()
{
    // A file printed to lands where the pupil keeps her work, never in the program's folder.
    MaterialPrinter printer(QPrinter::ScreenResolution);
    const QString title = caption();
    printer.offerFile(PupilSettings::documentsFolder(), title.isEmpty() ? m_id : title);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    printAll(&printer);
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        PupilSettings::rememberDocumentsFolder(printer.outputFileName());
}

void ViewerObject::printAll(QPrinter *printer)
{
    emit printObject(printer);
    if (auto *job = dynamic_cast<MaterialPrinter *>(printer))
        job->finish();
}

void ViewerObject::favorites()
{
    WindowFavorites::addToFavorites(m_id, this);
}

void ViewerObject::saveTestResult(QString mark, QString &history)
{
    ensureMarkbookModel();
    if (!markbookModel->saveTestResult(m_id, mark, history))
        qDebug().noquote() << "material" << m_id << "is not a test of the markbook: its result" << mark << "is not kept";
}
