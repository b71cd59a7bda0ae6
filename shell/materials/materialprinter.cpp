#include "materialprinter.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QPdfDocument>
#include <QRegularExpression>
#include <QTextDocument>

#include <memory>

MaterialPrinter::MaterialPrinter(PrinterMode mode)
    : QPrinter(mode)
{
}

MaterialPrinter::~MaterialPrinter()
{
    finish();
}

QPainter *MaterialPrinter::nextPage()
{
    if (m_pages == 0) {
        if (!m_painter.begin(this))
            return nullptr;
    } else if (!newPage()) {
        return nullptr;
    }
    ++m_pages;
    return &m_painter;
}

void MaterialPrinter::finish()
{
    if (m_painter.isActive())
        m_painter.end();
}

void MaterialPrinter::offerFile(const QString &folder, const QString &title)
{
    setDocName(title);
    setOutputFileName(QDir(folder).filePath(fileNameFor(title) + QStringLiteral(".pdf")));
    // Naming a PDF file makes the job one: a school's printer must stay what the dialog offers first.
    setOutputFormat(QPrinter::NativeFormat);
}

QString MaterialPrinter::fileNameFor(const QString &title)
{
    // What some file system refuses, separators that would lead elsewhere, and dots at the ends
    // (a hidden file; a name Windows cuts short).
    static const QRegularExpression refused(QStringLiteral(R"([\\/:*?"<>|\x00-\x1f])"));
    static const QRegularExpression edges(QStringLiteral(R"(^[\s.]+|[\s.]+$)"));
    QString name = QString(title).replace(refused, QStringLiteral(" ")).simplified().remove(edges);
    name.truncate(100);
    return name.isEmpty() ? QCoreApplication::translate("MaterialPrinter", "Материал") : name;
}

namespace {

// The next page of a material's job, or of a job of its own for a plain printer.
class Pages
{
public:
    explicit Pages(QPrinter *printer)
        : m_printer(printer), m_job(dynamic_cast<MaterialPrinter *>(printer))
    {
    }

    QPainter *next()
    {
        if (m_job)
            return m_job->nextPage();
        if (!m_own.isActive())
            return m_own.begin(m_printer) ? &m_own : nullptr;
        return m_printer->newPage() ? &m_own : nullptr;
    }

private:
    QPrinter *m_printer;
    MaterialPrinter *m_job;
    QPainter m_own;
};

QRect paintRect(QPrinter *printer)
{
    return printer->pageLayout().paintRectPixels(printer->resolution());
}

void drawImage(QPrinter *printer, const QImage &image, const QSize &size)
{
    if (image.isNull())
        return;
    Pages pages(printer);
    if (QPainter *painter = pages.next()) {
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(QRect(QPoint(0, 0), size), image);
    }
}

// A picture's own size in the printer's pixels, by the resolution it says it was made for.
QSize printedSize(QPrinter *printer, const QImage &image)
{
    const qreal dpi = image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() * 0.0254 : 96.0;
    return (QSizeF(image.size()) * printer->resolution() / dpi).toSize();
}

} // namespace

void MaterialPrinter::printFitted(QPrinter *printer, const QImage &image)
{
    drawImage(printer, image, image.size().scaled(paintRect(printer).size(), Qt::KeepAspectRatio));
}

void MaterialPrinter::printPicture(QPrinter *printer, const QImage &image)
{
    const QSize own = printedSize(printer, image);
    const QSize page = paintRect(printer).size();
    const bool fits = own.width() <= page.width() && own.height() <= page.height();
    drawImage(printer, image, fits ? own : own.scaled(page, Qt::KeepAspectRatio));
}

bool MaterialPrinter::printPdf(QPrinter *printer, const QByteArray &pdf)
{
    QBuffer bytes;
    bytes.setData(pdf);
    bytes.open(QIODevice::ReadOnly);
    QPdfDocument document;
    document.load(&bytes);
    if (document.status() != QPdfDocument::Status::Ready || document.pageCount() == 0)
        return false;
    // Rendered finer than a screen-resolution job's pixels, so that text stays sharp on paper.
    const qreal dpi = qMax<qreal>(printer->resolution(), 200);
    const QRect paper = printer->pageLayout().fullRectPixels(printer->resolution());
    const QPoint origin = paintRect(printer).topLeft();
    Pages pages(printer);
    for (int i = 0; i < document.pageCount(); ++i) {
        const QImage image = document.render(i, (document.pagePointSize(i) * dpi / 72).toSize());
        QPainter *painter = pages.next();
        if (!painter)
            break;
        // The PDF's pages carry the margins already: each is laid over the whole sheet.
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(paper.translated(-origin), image);
    }
    return true;
}

void MaterialPrinter::printDocument(QPrinter *printer, const QTextDocument *document)
{
    auto *job = dynamic_cast<MaterialPrinter *>(printer);
    if (!job) {
        document->print(printer);
        return;
    }
    const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
    const std::unique_ptr<QTextDocument> laidOut(document->clone());
    laidOut->setPageSize(page.size());
    for (int i = 0; i < laidOut->pageCount(); ++i) {
        QPainter *painter = job->nextPage();
        if (!painter)
            return;
        const QRectF shown(0, i * page.height(), page.width(), page.height());
        painter->save();
        painter->translate(0, -shown.top());
        laidOut->drawContents(painter, shown);
        painter->restore();
    }
}
