#include "viewerflash.h"

#include "environment.h"
#include "flashplayer.h"
#include "flashrequest.h"
#include "markbookmodel.h"
#include "materialprinter.h"
#include "treeitem.h"

#include <QDebug>
#include <QDir>
#include <QImage>
#include <QVBoxLayout>

ViewerFlash::ViewerFlash(QWidget *parent)
    : QWidget(parent), m_player(new FlashPlayer(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_player);
    // A material's movies take a good part of a second to draw their first frame; the
    // picture of it from the last showing stands in meanwhile.
    m_player->setFirstFramePictures(true);
    connect(m_player, &FlashPlayer::FlashCall, this, &ViewerFlash::parseFlashRequest);
}

void ViewerFlash::loadMovie(const QString &path, const QString &param, const QString &id, const QString &type,
                            const QString &caption, const QString &bgcolor)
{
    m_moviePath = path;
    ensureMarkbookModel();
    m_markbookItem = markbookModel->findObject(id, markbookModel->rootItem());
    const QString history = m_markbookItem ? m_markbookItem->data(4).toString() : QString();
    const QString vars = FlashRequest::flashVars({{QStringLiteral("bgcolor"), bgcolor},
                                                  {QStringLiteral("param"), param},
                                                  {QStringLiteral("history"), history},
                                                  {QStringLiteral("type"), type},
                                                  {QStringLiteral("caption"), caption},
                                                  {QStringLiteral("user"), pupilDir.dirName()}});
    m_player->SetFlashVars(vars);
    m_player->SetMovie(path);
    m_player->SetBGColor(bgcolor);
}

// The history lives in markbook.xml and goes back to the movie at every show: one that
// would swell both is refused.
bool ViewerFlash::fitsTheMarkbook(const QString &history)
{
    // UTF-8 takes at most three bytes for a UTF-16 unit.
    return history.size() <= MaxHistoryBytes / 3 || history.toUtf8().size() <= MaxHistoryBytes;
}

void ViewerFlash::request(QString request)
{
    m_player->CallFunction(FlashRequest::send2flash(request));
}

void ViewerFlash::print(QPrinter *printer)
{
    QImage image(size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    render(&image);
    MaterialPrinter::printFitted(printer, image);
}

void ViewerFlash::parseFlashRequest(QString request)
{
    const FlashRequest call = FlashRequest::parse(request);
    switch (call.action()) {
    case FlashRequest::None:
        break;
    case FlashRequest::Send:
        emit transfer(call.message());
        break;
    case FlashRequest::Save: {
        QString history = call.history();
        if (!fitsTheMarkbook(history)) {
            qWarning().noquote() << "movie" << QDir::toNativeSeparators(m_moviePath) << "saved a history of"
                                 << history.toUtf8().size() << "bytes, over the" << MaxHistoryBytes
                                 << "a markbook keeps: the mark is kept, the history is not";
            history = m_markbookItem ? m_markbookItem->data(4).toString() : QString();
        }
        emit test(call.mark(), history);
        break;
    }
    case FlashRequest::GetFirstScreenVisible:
        m_player->CallFunction(FlashRequest::firstScreenVisibleReply(firstScreenVisible));
        break;
    case FlashRequest::SetFirstScreenVisible:
        firstScreenVisible = call.switchedOn();
        break;
    case FlashRequest::Load:
        // The names cross, as the movies were written for: "load" switches in place.
        emit jump(call.text());
        break;
    case FlashRequest::Jump:
        emit load(call.text());
        break;
    }
}

void ViewerFlash::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A result saved since the movie was loaded must be seen again when the window returns.
    if (m_markbookItem)
        request(QStringLiteral("<flash action=\"history\">%1</flash>").arg(m_markbookItem->data(4).toString()));
}

void ViewerFlash::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    request(QStringLiteral("<flash action=\"resize\" />"));
}

void ViewerFlash::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
}
