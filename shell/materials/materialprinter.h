#ifndef MATERIALPRINTER_H
#define MATERIALPRINTER_H

#include <QPainter>
#include <QPrinter>

class QTextDocument;

// The printer a whole material prints on: one print job, each medium on a page of its own.
// (A painter ended on a printer ends its document, so media that each opened and closed
// their own painter would leave only the last one in a PDF.)
class MaterialPrinter : public QPrinter
{
public:
    explicit MaterialPrinter(PrinterMode mode = ScreenResolution);
    ~MaterialPrinter() override;

    // A painter on a fresh page of this job; null when the job could not start.
    QPainter *nextPage();
    // Ends the job; the document is complete after this.
    void finish();

    // What "print to file" offers before the pupil chooses: `title`.pdf in `folder`, and the
    // job's name. The system's own printer stays the first choice where there is one.
    void offerFile(const QString &folder, const QString &title);
    // A title made fit to be a file's name on any system; "Материал" when nothing is left of it.
    static QString fileNameFor(const QString &title);

    // Draws a picture on the next page of `printer`, scaled to the page keeping its
    // proportions. Works for a plain QPrinter too (then as a job of its own), as do the others.
    static void printFitted(QPrinter *printer, const QImage &image);
    // Draws a picture at its own size at the page's origin, shrunk (never enlarged) to fit.
    static void printPicture(QPrinter *printer, const QImage &image);
    // Prints every page of a PDF document made for the printer's page layout, each on a page
    // of its own at the printer's paper size. False when the bytes are no PDF.
    static bool printPdf(QPrinter *printer, const QByteArray &pdf);
    // Lays a text out on the printer's pages and prints it from a fresh page, as many pages
    // as it takes. Works for a plain QPrinter too (then as a job of its own).
    static void printDocument(QPrinter *printer, const QTextDocument *document);

private:
    QPainter m_painter;
    int m_pages = 0;
};

#endif
