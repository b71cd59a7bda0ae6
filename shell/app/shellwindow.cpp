#include "shellwindow.h"

#include "environment.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

QRect ShellWindow::s_restoreGeometry;
bool ShellWindow::s_restoreGeometrySaved = false;

static QImage loadImage(const QString &fileName)
{
    return fileName.isEmpty() ? QImage() : QImage(fileName);
}

ShellWindow::ShellWindow(const ShellWindowTheme &theme, QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint)
    , m_theme(theme)
{
    if (!m_theme.frameImage.isEmpty())
        m_frame.load(m_theme.frameImage);
    m_head = loadImage(m_theme.headImage);
    m_bodyFile = m_theme.bodyImage;
    setMinimumSize(m_frame.size());
    m_captionBottomY = m_frame.height() - m_theme.captionBottom - 1;
    setMouseTracking(true);
}

void ShellWindow::setBodyImage(const QString &fileName, bool centred)
{
    m_bodyFile = fileName;
    m_bodyFullSize = QSize();
    m_body = QImage();
    m_bodyPart = QRect();
    m_bodyCentred = centred;
    update();
}

void ShellWindow::setCaptionNote(const QString &note)
{
    m_captionNote = note;
    update();
}

const QImage &ShellWindow::captionImage()
{
    if (m_captionImage.isNull()) {
        m_captionImage.load(themed(QStringLiteral("theme/windows/main/caption.png")));
        m_captionImageUsedWidth = usedWidth(m_captionImage);
    }
    return m_captionImage;
}

int ShellWindow::usedWidth(const QImage &image)
{
    // The picture may end in transparent columns; the window's width should not pay for them.
    for (int x = image.width() - 1; x >= 0; --x) {
        for (int y = 0; y < image.height(); ++y) {
            if (qAlpha(image.pixel(x, y)) != 0)
                return x + 1;
        }
    }
    return 0;
}

QFont ShellWindow::captionFont() const
{
    QFont font(m_theme.captionFontFamily, m_theme.captionPointSize());
    font.setBold(m_theme.captionBold());
    font.setItalic(m_theme.captionItalic());
    return font;
}

QFont ShellWindow::captionNoteFont() const
{
    // Big enough for a child to find her own name.
    QFont font = captionFont();
    font.setPointSize(font.pointSize() + 3);
    font.setBold(true);
    return font;
}

int ShellWindow::captionPictureRight()
{
    captionImage();
    return m_theme.captionLeft + m_theme.captionIndent + m_captionImageUsedWidth;
}

int ShellWindow::captionNoteRight() const
{
    return width() - 1 - m_theme.captionRight;
}

void ShellWindow::showCaptionIn(QLabel *label)
{
    m_captionLabel = label;
    label->setText(windowTitle());
    update();
}

void ShellWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowTitleChange) {
        if (m_captionLabel)
            m_captionLabel->setText(windowTitle());
        // A window on a sheet has no title of its own for a screen reader: it gets its name.
        setAccessibleName(windowTitle());
        update();
    }
    QDialog::changeEvent(event);
}

QRect ShellWindow::captionArea() const
{
    // The right edge follows the window's width; the height is fixed by the frame image.
    return QRect(QPoint(m_theme.captionLeft, m_theme.captionTop),
                 QPoint(width() - 1 - m_theme.captionRight, m_captionBottomY));
}

bool ShellWindow::isInGrip(const QPoint &pos) const
{
    return pos.x() > width() - m_theme.gripSize && pos.y() > height() - m_theme.gripSize;
}

QVector<ShellWindow::FramePiece> ShellWindow::framePieces(const QSize &p, int l, int t, int r, int b,
                                                          const QSize &w)
{
    const int pw = p.width(), ph = p.height(), ww = w.width(), wh = w.height();
    return {
        {QRect(0, 0, l, t), QRect(0, 0, l, t)},
        {QRect(0, ph - b, l, b), QRect(0, wh - b, l, b)},
        {QRect(0, t, l, 1), QRect(0, t, l, wh - t - b)},
        {QRect(l, 0, 1, t), QRect(l, 0, ww - l - r, t)},
        {QRect(l, ph - b, 1, b), QRect(l, wh - b, ww - l - r, b)},
        {QRect(pw - r, 0, r, t), QRect(ww - r, 0, r, t)},
        {QRect(pw - r, ph - b, r, b), QRect(ww - r, wh - b, r, b)},
        {QRect(pw - r, t, r, 1), QRect(ww - r, t, r, wh - t - b)},
    };
}

void ShellWindow::maximize()
{
    if (!s_restoreGeometrySaved) {
        s_restoreGeometry = geometry();
        s_restoreGeometrySaved = true;
    }
    const QRect workArea = QGuiApplication::primaryScreen()->availableGeometry();
    if (geometry() == workArea) {
        setGeometry(s_restoreGeometry);
    } else {
        s_restoreGeometry = geometry();
        setGeometry(workArea);
    }
}

void ShellWindow::minimize()
{
    showMinimized();
}

void ShellWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (captionArea().contains(event->position().toPoint())) {
        m_dragging = true;
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
        event->accept();
    } else if (cursor().shape() == Qt::SizeFDiagCursor) {
        m_resizing = true;
        event->accept();
    }
}

void ShellWindow::mouseReleaseEvent(QMouseEvent *)
{
    m_dragging = false;
    m_resizing = false;
    setCursor(Qt::ArrowCursor);
}

void ShellWindow::mouseMoveEvent(QMouseEvent *event)
{
    const bool resizeCursor = isInGrip(event->position().toPoint()) ? (isWindow() || m_resizing) : m_resizing;
    setCursor(resizeCursor ? Qt::SizeFDiagCursor : Qt::ArrowCursor);

    const QPoint global = event->globalPosition().toPoint();
    if (m_dragging && isWindow()) {
        move(global - m_dragOffset);
        event->accept();
        return;
    }
    if (m_resizing) {
        const QPoint origin = frameGeometry().topLeft();
        resize(global.x() - origin.x() + m_theme.gripSize, global.y() - origin.y() + m_theme.gripSize);
    }
}

void ShellWindow::keyPressEvent(QKeyEvent *event)
{
    // Swallowed: Escape must not close the window, Return must not press a default button.
    event->accept();
}

void ShellWindow::leaveEvent(QEvent *)
{
    setCursor(Qt::ArrowCursor);
}

void ShellWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintBody(painter);
    paintHead(painter);
    paintFrame(painter);
    paintCaption(painter);
}

// The body picture is large (the main window's is 2560 x 1600, 16 MB decoded) and a window shows
// only part of it, so only that part is kept: for a centred body the middle as large as the
// largest screen, for a scaled one the picture scaled to cover the window. It is read from its
// file again when the window outgrows the part kept, or a scaled window changes size.
QRect ShellWindow::bodyPartWanted()
{
    if (m_bodyFullSize.isEmpty())
        return QRect();
    if (!m_bodyCentred)
        return QRect(QPoint(0, 0), m_bodyFullSize.scaled(size(), Qt::KeepAspectRatioByExpanding));
    if (m_bodyPart.width() >= qMin(width(), m_bodyFullSize.width())
        && m_bodyPart.height() >= qMin(height(), m_bodyFullSize.height()))
        return m_bodyPart;
    QSize bound = size();
    for (const QScreen *screen : QGuiApplication::screens())
        bound = bound.expandedTo(screen->size());
    const QSize part = bound.boundedTo(m_bodyFullSize);
    return QRect(QPoint((m_bodyFullSize.width() - part.width()) / 2, (m_bodyFullSize.height() - part.height()) / 2),
                 part);
}

QSize ShellWindow::bodyFileSize() const
{
    if (m_bodyFile.isEmpty())
        return QSize(0, 0);
    QImageReader reader(m_bodyFile);
    const QSize size = reader.size(); // from the header, where the format tells it
    return size.isValid() ? size : reader.read().size().expandedTo(QSize(0, 0));
}

void ShellWindow::readBody()
{
    if (!m_bodyFullSize.isValid())
        m_bodyFullSize = bodyFileSize();
    const QRect wanted = bodyPartWanted();
    if (wanted == m_bodyPart)
        return;
    m_bodyPart = wanted;
    QImageReader reader(m_bodyFile);
    if (m_bodyCentred) {
        reader.setClipRect(wanted);
        m_body = reader.read();
    } else {
        m_body = reader.read().scaled(wanted.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
}

void ShellWindow::paintBody(QPainter &painter)
{
    readBody();
    if (m_body.isNull())
        return;
    // Where the window's top-left corner falls in the whole picture (scaled or not).
    const QPoint corner = m_bodyCentred
                              ? QPoint(m_bodyFullSize.width() / 2 - width() / 2, m_bodyFullSize.height() / 2 - height() / 2)
                              : QPoint(m_bodyPart.width() / 2 - width() / 2, 0);
    painter.drawImage(QPoint(0, 0), m_body, QRect(corner - m_bodyPart.topLeft(), size()));
}

void ShellWindow::paintHead(QPainter &painter)
{
    if (m_head.isNull())
        return;
    const QRect source(m_head.width() - width(), 0, width(), m_head.height());
    painter.drawImage(QPoint(m_theme.captionLeft, m_theme.captionTop), m_head, source);
}

void ShellWindow::paintFrame(QPainter &painter)
{
    if (m_frame.isNull())
        return;
    const auto pieces = framePieces(m_frame.size(), m_theme.frameLeft, m_theme.frameTop, m_theme.frameRight,
                                    m_theme.frameBottom, size());
    for (const FramePiece &piece : pieces)
        painter.drawPixmap(piece.target, m_frame, piece.source);
}

void ShellWindow::paintCaptionNote(QPainter &painter)
{
    // Between the caption picture and whatever the window puts on its right, shortened to fit.
    const int left = captionPictureRight() + 24;
    const int room = captionNoteRight() - left;
    if (m_captionNote.isEmpty() || room < 24)
        return;
    painter.setFont(captionNoteFont());
    const QString text = painter.fontMetrics().elidedText(m_captionNote, Qt::ElideRight, room);
    painter.drawText(QRect(left, m_theme.captionTop + 7, room, captionImage().height()), Qt::AlignLeft | Qt::AlignVCenter,
                     text);
}

void ShellWindow::paintCaption(QPainter &painter)
{
    painter.setFont(captionFont());
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(m_theme.captionColour());

    if (windowTitle() == mainWindowTitle()) {
        painter.drawImage(QPoint(m_theme.captionLeft + m_theme.captionIndent, m_theme.captionTop + 7), captionImage());
        paintCaptionNote(painter);
        return;
    }
    if (m_captionLabel)
        return;
    const QRect area = captionArea().adjusted(m_theme.captionIndent, 0, 0, 0);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, windowTitle());
}
