#ifndef SHELLWINDOW_H
#define SHELLWINDOW_H

#include "shellwindowtheme.h"

#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QVector>

class QLabel;

// A dialog without the system's frame that paints its own from theme images, can be dragged by its
// caption, resized from a grip in the bottom-right corner and toggled between the work area and
// its previous size. The window title is the caption: whatever the frame shows as its caption
// is made from it, so that task bars and screen readers say what the pupil sees.
class ShellWindow : public QDialog
{
    Q_OBJECT

public:
    struct FramePiece
    {
        QRect source;
        QRect target;
    };

    explicit ShellWindow(const ShellWindowTheme &theme, QWidget *parent = nullptr);

    void setBodyImage(const QString &fileName, bool centred);
    // A short text drawn in the caption area after the caption picture (the main window's
    // pupil name), shortened when there is little room.
    void setCaptionNote(const QString &note);
    QString captionNote() const { return m_captionNote; }
    // Where the visible part of the caption picture ends, from the window's left edge.
    int captionPictureRight();

    const ShellWindowTheme &theme() const { return m_theme; }
    // The caption area: the window is dragged by it and the caption is drawn in it.
    QRect captionArea() const;
    bool isInGrip(const QPoint &pos) const;

    // The eight pieces of the frame image and where they go in a window of the given size;
    // the centre of the image is never drawn.
    static QVector<FramePiece> framePieces(const QSize &pixmapSize, int left, int top, int right, int bottom,
                                           const QSize &windowSize);

public slots:
    void maximize();
    void minimize();

protected:
    // Where the caption note must end.
    virtual int captionNoteRight() const;
    // For a window that shows its caption in a label of its own: the label then follows the
    // window title, and the frame paints no caption text over it.
    void showCaptionIn(QLabel *label);

    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void paintBody(QPainter &painter);
    void paintHead(QPainter &painter);
    void paintFrame(QPainter &painter);
    void paintCaption(QPainter &painter);
    QRect bodyPartWanted();
    void readBody();
    QSize bodyFileSize() const;
    const QImage &captionImage();
    void paintCaptionNote(QPainter &painter);
    static int usedWidth(const QImage &image);
    QFont captionFont() const;
    QFont captionNoteFont() const;

    ShellWindowTheme m_theme;
    QPixmap m_frame;
    QImage m_head;
    QString m_bodyFile;
    QSize m_bodyFullSize;
    QImage m_body;   // the part of the body picture kept for painting
    QRect m_bodyPart; // where that part lies in the whole picture, scaled to cover the window if not centred
    QImage m_captionImage;
    int m_captionImageUsedWidth = 0;
    QString m_captionNote;
    QPointer<QLabel> m_captionLabel;
    bool m_bodyCentred = false;
    bool m_dragging = false;
    bool m_resizing = false;
    int m_captionBottomY = 0;
    QPoint m_dragOffset;

    // One saved rectangle for the maximise toggle, shared by all shell windows.
    static QRect s_restoreGeometry;
    static bool s_restoreGeometrySaved;
};

#endif
