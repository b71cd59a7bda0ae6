#ifndef DOUBLEPAGE_H
#define DOUBLEPAGE_H

#include <QImage>
#include <QList>
#include <QPolygonF>
#include <QWidget>

// The drawing surface of one double page: the page image under a fine grid, and the hitzones drawn
// on it as polygons with horizontal and vertical edges only. Points are kept in image pixels.
class DoublePage : public QWidget
{
    Q_OBJECT

public:
    explicit DoublePage(QWidget *parent = nullptr);

    void setImage(const QString &path);
    // Completes the current hitzone and starts a new one; false when it has too few points to
    // enclose anything, and it stays open.
    bool appendHitzone();
    // Removes the last point of the current hitzone; on an empty one, opens the last completed
    // hitzone again, so drawing can be taken back point by point across zones.
    void deletePrevPoint();

    // Reads a hitzone file, replacing every hitzone of the page.
    void readFile(const QString &path);
    // Writes the completed hitzones to the page's file. False when nothing was written; the reason
    // has then been shown to the author.
    bool writeFile();

    const QList<QPolygonF> &hitzones() const { return m_hitzones; }
    QString fileName() const { return m_fileName; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }
    QString imagePath() const { return m_imagePath; }
    const QImage &image() const { return m_image; }
    bool isModified() const { return m_modified; }
    // The current hitzone has points, which the file has no place for.
    bool hasUnfinishedHitzone() const { return !m_hitzones.last().isEmpty(); }

    // The text of one hitzone in the file: "x1,y1,x2,y2,..." with six significant digits.
    static QString pointsText(const QPolygonF &polygon);
    // The polygon of a hitzone text; false when its parts do not pair up.
    static bool parsePoints(const QString &text, QPolygonF *polygon);
    // The image path as the file stores it: from the first "data/" on; empty when there is none.
    static QString storedImagePath(const QString &imagePath);

signals:
    void modificationChanged(bool modified);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QPolygonF &current() { return m_hitzones.last(); }
    void scalePoints(float scaleX, float scaleY);
    void setModified(bool modified);
    void paintGrid(QPainter &painter);
    void paintCompleted(QPainter &painter);
    void paintCurrent(QPainter &painter);

    float m_scaleX = 1;
    float m_scaleY = 1;
    QList<QPolygonF> m_hitzones;
    QString m_fileName;
    QString m_imagePath;
    QImage m_image;
    QPoint m_mousePosition;
    bool m_modified = false;
};

#endif
