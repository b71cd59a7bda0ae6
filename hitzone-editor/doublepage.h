#ifndef DOUBLEPAGE_H
#define DOUBLEPAGE_H

#include <QImage>
#include <QList>
#include <QPolygonF>
#include <QSet>
#include <QWidget>

class QUndoStack;

// The drawing surface of one double page: the page image under a fine grid, and the hitzones drawn
// on it as polygons with horizontal and vertical edges only. Points are kept in image pixels.
// A completed zone keeps its number for good (the page's material map names zones by number); it
// is selected with a click, moved by dragging, reshaped by dragging a corner's handle. Every change
// can be undone.
class DoublePage : public QWidget
{
    Q_OBJECT

public:
    // All hitzones of the page: the last polygon is the one being drawn, each one before it has its
    // number at the same position in `numbers`.
    struct Zones {
        QList<QPolygonF> polygons{QPolygonF()};
        QList<int> numbers;
        void scale(double scaleX, double scaleY);
        bool operator==(const Zones &other) const { return polygons == other.polygons && numbers == other.numbers; }
        bool operator!=(const Zones &other) const { return !(*this == other); }
    };

    explicit DoublePage(QWidget *parent = nullptr);

    void setImage(const QString &path);
    // Completes the current hitzone and starts a new one; false when it has too few points to
    // enclose anything, and it stays open.
    bool appendHitzone();
    // Removes the last point of the current hitzone; on an empty one, opens the last completed
    // hitzone again, so drawing can be taken back point by point across zones.
    void deletePrevPoint();

    // Removes the selected zone; its number is not given to another zone while this one could come back.
    void deleteSelected();
    // Selects the completed zone with that number (none for any other number).
    void selectNumber(int number);
    int selectedNumber() const;
    // Zones without a material: drawn so the author sees them.
    void setUnmapped(const QSet<int> &numbers);

    // Reads a hitzone file, replacing every hitzone of the page.
    void readFile(const QString &path);
    // Writes the completed hitzones to the page's file. False when nothing was written; the reason
    // has then been shown to the author.
    bool writeFile();

    const QList<QPolygonF> &hitzones() const { return m_zones.polygons; }
    // The numbers of the completed zones, in the order of hitzones().
    const QList<int> &numbers() const { return m_zones.numbers; }
    QUndoStack *undoStack() const { return m_undo; }
    QString fileName() const { return m_fileName; }
    void setFileName(const QString &fileName);
    QString imagePath() const { return m_imagePath; }
    const QImage &image() const { return m_image; }
    bool isModified() const { return m_modified; }
    void setModified(bool modified);
    // The current hitzone has points, which the file has no place for.
    bool hasUnfinishedHitzone() const { return !m_zones.polygons.last().isEmpty(); }

    // The text of one hitzone in the file: "x1,y1,x2,y2,..." with six significant digits.
    static QString pointsText(const QPolygonF &polygon);
    // The polygon of a hitzone text; false when its parts do not pair up.
    static bool parsePoints(const QString &text, QPolygonF *polygon);
    // The image path as the file stores it: from the first "data/" on; empty when there is none.
    static QString storedImagePath(const QString &imagePath);
    // The image a hitzone file names: its `file` is relative to the course folder, the nearest folder
    // above the hitzone file that has it; the file's own name when none has.
    static QString resolvedImagePath(const QString &stored, const QString &hitzonePath);

signals:
    void modificationChanged(bool modified);
    void fileNameChanged(const QString &fileName);
    // The zones changed in any way (drawn, moved, deleted, undone).
    void zonesChanged();
    // 0 when nothing is selected.
    void selectionChanged(int number);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    friend class ZonesCommand;
    enum class Drag { None, Zone, Vertex };

    QPolygonF &current() { return m_zones.polygons.last(); }
    int completedCount() const { return m_zones.numbers.size(); }
    int nextFreeNumber() const;
    void addPoint(const QPointF &p);
    // Keeps the change on the undo stack when it changed anything.
    void record(const QString &text, const Zones &before);
    void restoreZones(const Zones &zones);
    void setSelected(int index);
    int zoneAt(const QPointF &p) const;
    int handleAt(const QPointF &p) const;
    void dragTo(const QPointF &p);
    static void moveVertex(QPolygonF &polygon, int vertex, const QPointF &to);
    void scalePoints(float scaleX, float scaleY);
    void paintGrid(QPainter &painter);
    void paintCompleted(QPainter &painter);
    void paintCurrent(QPainter &painter);
    void paintSelection(QPainter &painter);

    float m_scaleX = 1;
    float m_scaleY = 1;
    Zones m_zones;
    QUndoStack *m_undo;
    QSet<int> m_unmapped;
    int m_selected = -1; // index of a completed zone
    Drag m_drag = Drag::None;
    int m_dragVertex = -1;
    QPointF m_pressPosition;
    QPolygonF m_pressPolygon;
    Zones m_beforeDrag;
    QString m_fileName;
    QString m_imagePath;
    QImage m_image;
    QPoint m_mousePosition;
    bool m_modified = false;
};

#endif
