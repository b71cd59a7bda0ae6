#include "viewerpage.h"

#include "flashplayer.h"

#include <QPainter>
#include <QResizeEvent>
#include <QUrlQuery>
#include <QVBoxLayout>

ViewerPage::ViewerPage(QWidget *parent)
    : QWidget(parent)
    , m_layout(new QVBoxLayout)
    , m_player(new FlashPlayer(this))
{
    m_layout->setContentsMargins(4, 4, 4, 4);
    QUrlQuery vars;
    vars.addQueryItem(QStringLiteral("likeFlash"), QStringLiteral("I like Flash"));
    m_player->SetFlashVars(vars.toString(QUrl::FullyEncoded));
    connect(m_player, &FlashPlayer::FlashCall, this, &ViewerPage::selectedHitzone);
    m_layout->addWidget(m_player, 0);
    setFocusProxy(m_player);
    setLayout(m_layout);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ViewerPage::loadPage(const QString &path)
{
    m_player->SetMovie(path);
}

QSize ViewerPage::fittedSize(const QSize &viewSize)
{
    QSize fitted(565, 416);
    fitted.scale(viewSize.width() - 6, viewSize.height() - 6, Qt::KeepAspectRatio);
    return fitted;
}

void ViewerPage::resizeEvent(QResizeEvent *event)
{
    const QSize view = event->size();
    const QSize movie = fittedSize(view);
    const int side = (view.width() - movie.width()) / 2;
    const int band = (view.height() - movie.height()) / 2;
    m_layout->setContentsMargins(side, band, side, band);
    QWidget::resizeEvent(event);
}

void ViewerPage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(73, 129, 43));
    QRect frame(QPoint(0, 0), fittedSize(size()) + QSize(6, 6));
    frame.moveCenter(QPoint((width() - 1) / 2, (height() - 1) / 2));
    painter.drawRect(frame);
}
