#include "trialwindow.h"

#include "flashplayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

TrialWindow::TrialWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_status(new QLabel(this))
{
    setWindowTitle(tr("Проверка страницы"));
    m_status->setText(tr("Наведите мышь на зону и щёлкните: здесь появится материал, который она откроет."));
    m_status->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
}

bool TrialWindow::preparePlayer()
{
    if (m_player)
        return true;
    if (!m_folder.isValid())
        return false;
    // The players serve the folder that is current when the first player is made, and Ruffle
    // from the installation.
    QDir::setCurrent(m_folder.path());
    m_player = new FlashPlayer(this);
    m_player->SetFlashVars(QStringLiteral("likeFlash=I%20like%20Flash"));
    connect(m_player, &FlashPlayer::FlashCall, this, &TrialWindow::showRequest);
    static_cast<QVBoxLayout *>(layout())->insertWidget(0, m_player, 1);
    return m_player->isPlaying();
}

void TrialWindow::play(const QString &movie, const QString &contentsPath, const QSize &pageSize)
{
    m_contents = CourseIds();
    if (!contentsPath.isEmpty())
        m_contents.read(contentsPath);
    if (!preparePlayer()) {
        m_status->setText(tr("Страницу не показать: не найден проигрыватель Ruffle в установке программы."));
        show();
        return;
    }
    // A name of its own each time: the player takes a movie it plays already for no change.
    const QString copy = m_folder.filePath(QStringLiteral("page-%1.swf").arg(++m_plays));
    if (!QFile::copy(movie, copy)) {
        m_status->setText(tr("Страницу не показать: не скопировать «%1».").arg(QDir::toNativeSeparators(movie)));
        show();
        return;
    }
    m_player->SetMovie(copy);
    if (!isVisible()) {
        const QSize room = screen()->availableSize() * 0.9;
        resize(pageSize.scaled(room, Qt::KeepAspectRatio).boundedTo(pageSize) + QSize(0, 60));
    }
    show();
    raise();
    activateWindow();
}

void TrialWindow::showRequest(const QString &request)
{
    // The textbook takes the first string argument of the call as the material to open.
    QDomDocument document;
    if (!document.setContent(request) || document.documentElement().tagName() != QLatin1String("invoke"))
        return;
    const QString id = document.documentElement()
                           .firstChildElement(QStringLiteral("arguments"))
                           .firstChildElement(QStringLiteral("string"))
                           .text();
    const QString caption = m_contents.caption(id);
    m_status->setText(caption.isEmpty() ? tr("Откроется материал «%1», которого нет в содержании курса.").arg(id)
                                        : tr("Откроется: «%1» (%2)").arg(caption, id));
}

QString TrialWindow::clickText() const
{
    return m_status->text();
}
