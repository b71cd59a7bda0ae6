#include "viewerweb.h"

#include "flashengine.h"
#include "materialprinter.h"
#include "materialwebpage.h"

#include <QDebug>
#include <QEventLoop>
#include <QPointer>
#include <QPrinter>
#include <QTimer>

#include <memory>

ViewerWeb::ViewerWeb(QWidget *parent)
    : QWebEngineView(parent)
{
    setContextMenuPolicy(Qt::NoContextMenu);
    if (QWebEngineProfile *profile = FlashEngine::instance()->materialPageProfile())
        setPage(new MaterialWebPage(profile, this));
}

void ViewerWeb::loadFile(const QString &path)
{
    const QUrl url = FlashEngine::instance()->files().materialPageUrl(path);
    if (!qobject_cast<MaterialWebPage *>(page()) || !MaterialWebPage::mayShow(url)) {
        qDebug().noquote() << "material page: cannot show" << path;
        return;
    }
    load(url);
}

void ViewerWeb::print(QPrinter *printer)
{
    // The page prints itself, laid out for the sheet and as long as it is: a picture of its
    // cell would cut a long workbook page off, at screen resolution.
    const QPointer<ViewerWeb> self(this);
    const QByteArray pdf = pageAsPdf(printer->pageLayout());
    if (!self)
        return; // the material closed while its page was printing
    if (pdf.isEmpty() || !MaterialPrinter::printPdf(printer, pdf)) {
        qDebug().noquote() << "material page: printed as seen, the page made no PDF:" << url().toString();
        MaterialPrinter::printFitted(printer, grab().toImage());
    }
}

QByteArray ViewerWeb::pageAsPdf(const QPageLayout &layout)
{
    // The page answers asynchronously; the print job is one synchronous pass over the
    // material's media, so it waits here, deaf to the pupil's clicks, for a bounded time.
    struct Answer
    {
        QByteArray pdf;
        bool done = false;
    };
    const auto answer = std::make_shared<Answer>();
    QEventLoop wait;
    QPointer<QEventLoop> waiting(&wait);
    page()->printToPdf(
        [answer, waiting](const QByteArray &pdf) {
            answer->pdf = pdf;
            answer->done = true;
            if (waiting)
                waiting->quit();
        },
        layout);
    QTimer::singleShot(pdfTimeoutMs, &wait, &QEventLoop::quit);
    if (!answer->done)
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    return answer->pdf;
}
