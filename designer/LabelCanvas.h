#pragma once

#include "LabelPicture.h"

#include <QGraphicsView>

class DesignDocument;
class QGraphicsPixmapItem;
class QGraphicsRectItem;
class ElementItem;

// The label at true size (100 %: a millimetre of label is a millimetre of
// screen), in a scene whose unit is the millimetre. The label itself is the
// picture the printing code makes of it; over it lie the elements' boxes,
// which are selected (click, Shift+click, rubber band), dragged and resized
// with the mouse and nudged with the arrow keys, snapping to the grid and to
// each other's edges and centres. Every change is an edit of the document.
class LabelCanvas : public QGraphicsView
{
    Q_OBJECT
public:
    explicit LabelCanvas(DesignDocument *document, QWidget *parent = nullptr);
    ~LabelCanvas() override;

    static constexpr int MinZoom = 50;
    static constexpr double FitMarginMm = 2;
    static constexpr double SceneMarginMm = 15;
    static constexpr int MaxZoom = 800;

    void setRecords(const QList<LabelRecord> &records);
    const QList<LabelRecord> &records() const { return m_records; }

    int zoom() const { return m_zoom; }
    void setZoom(int percent);
    // The label and what prints of it filling the view; refitted as the view
    // is resized or another report comes, until a zoom is chosen.
    void fitToWindow();
    double pixelsPerMm() const; // screen pixels a millimetre takes at the zoom

    // The selection as indexes in the report as it is now (for an edit made
    // at once), or as the elements' identities (to keep across edits).
    QList<int> selectedElements() const;
    void selectElements(const QList<int> &indexes);
    QList<int> selectedIds() const;
    void selectIds(const QList<int> &ids);

    // Moves the selection by (dx, dy) mm, one undo step.
    void nudge(double dx, double dy);

    const LabelPicture &picture() const { return m_picture; }
    const QStringList &warnings() const { return m_warnings; }
    const QList<QLineF> &guides() const { return m_guides; }

    // Where an element's box lies on the viewport (tests drive the mouse there).
    QRect elementOnViewport(int index) const;

    // Draws the label again from the document (an edit does it by itself).
    void refresh();

signals:
    void selectionChanged();
    void zoomChanged(int percent);
    void warningsChanged();
    void pointerMoved(const QPointF &mm);
    void viewMoved();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void drawForeground(QPainter *painter, const QRectF &rect) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct Drag
    {
        bool active = false;
        int edges = 0;          // the edges a resize moves (ResizeEdge); 0 for a move
        int primary = 0;        // the element under the pointer, by identity
        QPointF pressed;        // on the viewport, in pixels
        QList<int> ids;         // the elements dragged, by identity
        QList<QRectF> boxes;    // as they were on pressing
        int key = 0;
    };

    void reportChanged();
    void endDrag();
    void rebuild();
    void renderPicture();
    int elementAt(const QPointF &mm) const;
    // The edges the selected element's handle under `mm` moves (its index
    // in `index`); 0 when no handle is there.
    int handleAt(const QPointF &mm, int *index) const;
    QRectF labelRect() const;
    // What a fit shows: the label and what prints of it, with a little margin.
    QRectF fitArea() const;
    // How far the view scrolls: further, to drag an element out past the label.
    QRectF sceneArea() const;
    // The zoom at which the fit area fills `room` (viewport pixels).
    int zoomFitting(const QSize &room) const;
    void applyZoom();
    void setZoomLevel(int percent);

    DesignDocument *m_document;
    QGraphicsScene *m_scene;
    QGraphicsPixmapItem *m_pictureItem;
    QGraphicsRectItem *m_outline;
    QList<ElementItem *> m_items;
    QList<LabelRecord> m_records;
    LabelPicture m_picture;
    double m_pictureDpi = 0;
    QStringList m_warnings;
    QList<QLineF> m_guides;
    int m_zoom = 100;
    Drag m_drag;
    int m_dragSerial = 0;
    bool m_dragging = false;   // the drag's own edit under way
    int m_shownEntry = -1;     // the report last shown, to fit the next one to the view
    bool m_fitPending = false; // fit once the view has its size, and again as it is resized
    QSize m_fittedSize;        // the view's own size the last fit was made for
};
