#include "LabelCanvas.h"

#include "DesignDocument.h"
#include "LayoutWarnings.h"
#include "SampleProducts.h"
#include "Snapping.h"

#include <QGraphicsPixmapItem>
#include <QGraphicsRectItem>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionGraphicsItem>

#include <cmath>

namespace {

// The eight handles of a box: each corner and the middle of each side, by
// the edges a drag from it moves.
QList<std::pair<int, QPointF>> handlesOf(const QRectF &box)
{
    QList<std::pair<int, QPointF>> handles;
    for (const int edges : std::initializer_list<int>{EdgeLeft | EdgeTop, EdgeTop, EdgeRight | EdgeTop, EdgeRight, EdgeRight | EdgeBottom, EdgeBottom,
                            EdgeLeft | EdgeBottom, EdgeLeft}) {
        const double x = edges & EdgeLeft ? box.left() : edges & EdgeRight ? box.right() : box.center().x();
        const double y = edges & EdgeTop ? box.top() : edges & EdgeBottom ? box.bottom() : box.center().y();
        handles.append({edges, QPointF(x, y)});
    }
    return handles;
}

Qt::CursorShape cursorFor(int edges)
{
    switch (edges) {
    case EdgeLeft | EdgeTop:
    case EdgeRight | EdgeBottom:
        return Qt::SizeFDiagCursor;
    case EdgeRight | EdgeTop:
    case EdgeLeft | EdgeBottom:
        return Qt::SizeBDiagCursor;
    case EdgeLeft:
    case EdgeRight:
        return Qt::SizeHorCursor;
    default:
        return Qt::SizeVerCursor;
    }
}

} // namespace

// An element's box over the picture: a dashed outline, solid with its eight
// resize handles once selected.
class ElementItem : public QGraphicsRectItem
{
public:
    static constexpr double HandlePixels = 7;

    // `id`: the element's identity, which keeps to it whatever its place in the list.
    explicit ElementItem(int id)
    {
        setData(0, id);
        setFlag(ItemIsSelectable);
        setAcceptHoverEvents(false);
    }

    int id() const { return data(0).toInt(); }

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override
    {
        QPen pen(isSelected() ? QColor(0, 110, 230) : QColor(0, 110, 230, 150));
        pen.setCosmetic(true);
        pen.setStyle(isSelected() ? Qt::SolidLine : Qt::DashLine);
        painter->setPen(pen);
        painter->setBrush(isSelected() ? QColor(0, 110, 230, 25) : Qt::transparent);
        painter->drawRect(rect());
        if (isSelected()) {
            const double side = HandlePixels / painter->worldTransform().m11();
            painter->setBrush(QColor(0, 110, 230));
            for (const auto &[edges, at] : handlesOf(rect()))
                painter->drawRect(QRectF(at - QPointF(side / 2, side / 2), QSizeF(side, side)));
        }
    }
};

LabelCanvas::LabelCanvas(DesignDocument *document, QWidget *parent)
    : QGraphicsView(parent), m_document(document), m_scene(new QGraphicsScene(this))
{
    setObjectName(QStringLiteral("Canvas"));
    setScene(m_scene);
    setDragMode(RubberBandDrag);
    setRubberBandSelectionMode(Qt::IntersectsItemShape);
    setBackgroundBrush(QColor(150, 150, 150));
    setTransformationAnchor(AnchorUnderMouse);
    setMouseTracking(true);
    viewport()->setMouseTracking(true); // the rulers' pointer mark and the handles' cursors
    setFocusPolicy(Qt::StrongFocus);
    m_pictureItem = m_scene->addPixmap(QPixmap());
    m_pictureItem->setZValue(0);
    m_outline = m_scene->addRect(QRectF());
    QPen outline(QColor(0, 90, 200));
    outline.setCosmetic(true);
    m_outline->setPen(outline);
    m_outline->setZValue(1);
    m_records = sampleProducts();
    connect(m_scene, &QGraphicsScene::selectionChanged, this, &LabelCanvas::selectionChanged);
    connect(m_document, &DesignDocument::reportChanged, this, &LabelCanvas::reportChanged);
    applyZoom();
    rebuild();
}

LabelCanvas::~LabelCanvas()
{
    // The scene deletes its items after this body has run; a selected item
    // going away would still tell the scene, and through it whoever asks for
    // the selection, while m_items holds items already gone.
    m_scene->blockSignals(true);
    m_items.clear();
}

void LabelCanvas::setRecords(const QList<LabelRecord> &records)
{
    m_records = records.isEmpty() ? sampleProducts() : records;
    refresh();
}

double LabelCanvas::pixelsPerMm() const
{
    return logicalDpiX() / 25.4 * m_zoom / 100.0;
}

void LabelCanvas::setZoom(int percent)
{
    m_fitPending = false;
    setZoomLevel(percent);
}

void LabelCanvas::setZoomLevel(int percent)
{
    percent = std::clamp(percent, MinZoom, MaxZoom);
    if (percent == m_zoom)
        return;
    m_zoom = percent;
    applyZoom();
}

void LabelCanvas::applyZoom()
{
    setTransform(QTransform::fromScale(pixelsPerMm(), pixelsPerMm()));
    renderPicture();
    emit zoomChanged(m_zoom);
    emit viewMoved();
}

QRectF LabelCanvas::fitArea() const
{
    return labelRect().united(m_picture.rect).adjusted(-FitMarginMm, -FitMarginMm, FitMarginMm, FitMarginMm);
}

QRectF LabelCanvas::sceneArea() const
{
    return labelRect().united(m_picture.rect).adjusted(-SceneMarginMm, -SceneMarginMm, SceneMarginMm, SceneMarginMm);
}

int LabelCanvas::zoomFitting(const QSize &room) const
{
    const QRectF area = fitArea();
    const double perMm = std::min(room.width() / area.width(), room.height() / area.height());
    return std::clamp(int(std::floor(perMm / (logicalDpiX() / 25.4) * 100)), MinZoom, MaxZoom);
}

void LabelCanvas::fitToWindow()
{
    // The scene reaches further than the fit, so at the fitted zoom it may
    // need scroll bars, which take room from the viewport; fitted to the room
    // without them, their coming would shrink the viewport, call for a fit
    // to the smaller room, which needs no bars, and so round and round. So
    // the bars the fit brings are reckoned here, once, and the fit is made to
    // the room they leave: their coming is then no reason to fit again.
    QSize room = maximumViewportSize();
    int percent = zoomFitting(room);
    const QSizeF scene = sceneArea().size() * (logicalDpiX() / 25.4 * percent / 100.0);
    const bool across = scene.width() > room.width();
    const bool down = scene.height() > room.height();
    if (across || down) {
        const bool overlaid = style()->styleHint(QStyle::SH_ScrollBar_Transient, nullptr, this);
        if (!overlaid) {
            room -= QSize(down ? verticalScrollBar()->sizeHint().width() : 0, across ? horizontalScrollBar()->sizeHint().height() : 0);
            percent = zoomFitting(room);
        }
    }
    m_fittedSize = size();
    setZoomLevel(percent);
    centerOn(fitArea().center());
    // Fitted it stays, as the window is resized, until a zoom is chosen.
    m_fitPending = true;
}

void LabelCanvas::resizeEvent(QResizeEvent *event)
{
    QGraphicsView::resizeEvent(event);
    if (!m_fitPending || !m_document->hasReport() || m_drag.active)
        return;
    // Only the window's own size calls for a fit; the viewport changing
    // inside it (scroll bars coming or going) only moves the label back to
    // the middle.
    if (size() != m_fittedSize)
        fitToWindow();
    else
        centerOn(fitArea().center());
}

QRectF LabelCanvas::labelRect() const
{
    const SheetGrid &grid = m_document->report().grid;
    return QRectF(0, 0, grid.cellWidth, grid.cellHeight);
}

void LabelCanvas::refresh()
{
    m_pictureDpi = 0;
    rebuild();
}

void LabelCanvas::renderPicture()
{
    if (!m_document->hasReport()) {
        m_pictureItem->setPixmap(QPixmap());
        return;
    }
    const SheetReport &report = m_document->report();
    // Sheets are drawn at the screen's own resolution, so text is as sharp as the screen allows.
    const double dpi = std::min(2400.0, pixelsPerMm() * 25.4 * devicePixelRatioF());
    m_picture = labelPicture(report, m_records, dpi);
    m_pictureDpi = dpi;
    m_pictureItem->setPixmap(QPixmap::fromImage(m_picture.image));
    m_pictureItem->setTransformationMode(m_picture.printerDots ? Qt::FastTransformation : Qt::SmoothTransformation);
    m_pictureItem->setScale(m_picture.image.width() > 0 ? m_picture.rect.width() / m_picture.image.width() : 1);
    m_pictureItem->setPos(m_picture.rect.topLeft());
}

void LabelCanvas::reportChanged()
{
    // A change that is not this drag's own (Delete, undo, a paste, another
    // report) ends the drag as a release would: what it held may be gone.
    if (m_drag.active && !m_dragging)
        endDrag();
    // Another report is fitted to the view; an edit, an undo or a drag of
    // this one leaves the zoom and the view where the person has them.
    const bool another = m_document->currentEntry() != m_shownEntry;
    if (another) {
        m_shownEntry = m_document->currentEntry();
        m_fitPending = true;
    }
    rebuild();
    if (another && isVisible() && m_document->hasReport())
        fitToWindow();
}

void LabelCanvas::endDrag()
{
    m_drag = Drag();
    m_guides.clear();
    viewport()->update();
}

void LabelCanvas::rebuild()
{
    const QList<int> selected = selectedIds();
    renderPicture();
    const SheetReport &report = m_document->report();
    m_outline->setRect(m_document->hasReport() ? labelRect() : QRectF());
    m_outline->setVisible(!report.thermal && m_document->hasReport());

    const qsizetype count = m_document->hasReport() ? report.elements.size() : 0;
    bool sameItems = m_items.size() == count;
    for (int i = 0; sameItems && i < count; ++i)
        sameItems = m_items[i]->id() == report.elements[i].id;
    if (!sameItems) {
        // A selected item going away tells the scene, which asks for the selection.
        const QList<ElementItem *> old = std::exchange(m_items, {});
        const QSignalBlocker block(m_scene);
        qDeleteAll(old);
        for (int i = 0; i < count; ++i) {
            auto *item = new ElementItem(report.elements[i].id);
            item->setZValue(2);
            m_scene->addItem(item);
            m_items.append(item);
        }
    }
    for (int i = 0; i < count; ++i)
        m_items[i]->setRect(report.elements[i].box);
    if (!sameItems)
        selectIds(selected);

    m_scene->setSceneRect(sceneArea());

    m_warnings.clear();
    if (m_document->hasReport()) {
        const QString fault = m_document->layoutFault();
        if (!fault.isEmpty())
            m_warnings << fault;
        m_warnings += layoutWarnings(report, m_records, m_picture);
    }
    emit warningsChanged();
    viewport()->update();
}

QList<int> LabelCanvas::selectedIds() const
{
    QList<int> ids;
    for (const ElementItem *item : m_items) {
        if (item->isSelected())
            ids << item->id();
    }
    return ids;
}

void LabelCanvas::selectIds(const QList<int> &ids)
{
    const QSignalBlocker block(m_scene);
    for (ElementItem *item : std::as_const(m_items))
        item->setSelected(ids.contains(item->id()));
    emit selectionChanged();
}

QList<int> LabelCanvas::selectedElements() const
{
    QList<int> indexes;
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items[i]->isSelected())
            indexes << i;
    }
    return indexes;
}

void LabelCanvas::selectElements(const QList<int> &indexes)
{
    QList<int> ids;
    for (const int index : indexes) {
        if (index >= 0 && index < m_items.size())
            ids << m_items[index]->id();
    }
    selectIds(ids);
}

QRect LabelCanvas::elementOnViewport(int index) const
{
    if (index < 0 || index >= m_items.size())
        return {};
    return mapFromScene(m_items[index]->rect()).boundingRect();
}

int LabelCanvas::elementAt(const QPointF &mm) const
{
    // The smallest box under the pointer: a small element over a big one stays reachable.
    int found = -1;
    double area = 0;
    const SheetReport &report = m_document->report();
    for (int i = 0; i < m_items.size(); ++i) {
        const QRectF box = report.elements[i].box;
        const double slack = 3 / pixelsPerMm();
        if (!box.adjusted(-slack, -slack, slack, slack).contains(mm))
            continue;
        if (found < 0 || box.width() * box.height() < area) {
            found = i;
            area = box.width() * box.height();
        }
    }
    return found;
}

int LabelCanvas::handleAt(const QPointF &mm, int *index) const
{
    // A little more than the handle drawn, so a hand need not hit it to the pixel.
    const double reach = (ElementItem::HandlePixels / 2 + 3) / pixelsPerMm();
    for (const int element : selectedElements()) {
        for (const auto &[edges, at] : handlesOf(m_document->report().elements[element].box)) {
            if (std::abs(mm.x() - at.x()) <= reach && std::abs(mm.y() - at.y()) <= reach) {
                *index = element;
                return edges;
            }
        }
    }
    return 0;
}

void LabelCanvas::mousePressEvent(QMouseEvent *event)
{
    const QPointF mm = mapToScene(event->position().toPoint());
    const bool left = event->button() == Qt::LeftButton && m_document->hasReport();
    int hit = -1;
    // A selected element's handle comes first: it may lie over another element.
    const int edges = left && !(event->modifiers() & Qt::ShiftModifier) ? handleAt(mm, &hit) : 0;
    if (left && !edges)
        hit = elementAt(mm);
    if (hit < 0) {
        QGraphicsView::mousePressEvent(event);
        return;
    }
    setFocus();
    QList<int> selection = selectedElements();
    if (event->modifiers() & Qt::ShiftModifier) {
        if (selection.contains(hit))
            selection.removeAll(hit);
        else
            selection << hit;
        selectElements(selection);
        return;
    }
    if (!selection.contains(hit))
        selectElements({hit});
    m_drag = Drag();
    m_drag.active = true;
    m_drag.primary = m_document->report().elements[hit].id;
    m_drag.edges = edges;
    m_drag.pressed = event->position();
    for (const int index : edges ? QList<int>{hit} : selectedElements()) {
        m_drag.ids << m_document->report().elements[index].id;
        m_drag.boxes << m_document->report().elements[index].box;
    }
    m_drag.key = ++m_dragSerial;
    event->accept();
}

void LabelCanvas::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF mm = mapToScene(event->position().toPoint());
    emit pointerMoved(mm);
    if (!m_drag.active) {
        QGraphicsView::mouseMoveEvent(event);
        int index = -1;
        const int edges = m_document->hasReport() && !(event->buttons() & Qt::LeftButton) ? handleAt(mm, &index) : 0;
        if (edges)
            viewport()->setCursor(cursorFor(edges));
        else
            viewport()->unsetCursor();
        return;
    }
    // The dragged elements by who they are, as the report is now.
    QList<int> indexes;
    for (const int id : std::as_const(m_drag.ids))
        indexes << m_document->indexOfElement(id);
    if (indexes.contains(-1)) {
        endDrag();
        event->accept();
        return;
    }
    // The pointer's way on the screen at the zoom of the drag: the view
    // scrolling after the element leaves the element's way as the hand made it.
    const QPointF delta = (event->position() - m_drag.pressed) / pixelsPerMm();
    SheetReport after = m_document->report();
    QList<QRectF> others;
    for (int i = 0; i < after.elements.size(); ++i) {
        if (!indexes.contains(i))
            others << after.elements[i].box;
    }
    const double tolerance = 6 / pixelsPerMm();
    const int primary = int(m_drag.ids.indexOf(m_drag.primary));
    const QRectF start = m_drag.boxes[primary];
    if (m_drag.edges) {
        QRectF wanted = start;
        if (m_drag.edges & EdgeLeft)
            wanted.setLeft(start.left() + delta.x());
        if (m_drag.edges & EdgeRight)
            wanted.setRight(start.right() + delta.x());
        if (m_drag.edges & EdgeTop)
            wanted.setTop(start.top() + delta.y());
        if (m_drag.edges & EdgeBottom)
            wanted.setBottom(start.bottom() + delta.y());
        const Snapped snapped = snapResize(wanted, others, labelRect(), tolerance, SnapGrid, m_drag.edges);
        after.elements[indexes[primary]].box = snapped.box;
        m_guides = snapped.guides;
    } else {
        const Snapped snapped = snapMove(start.translated(delta), others, labelRect(), tolerance);
        const QPointF moved = snapped.box.topLeft() - start.topLeft();
        for (int i = 0; i < indexes.size(); ++i) {
            QRectF box = m_drag.boxes[i].translated(moved);
            box.moveTopLeft(QPointF(std::round(box.left() * 100) / 100, std::round(box.top() * 100) / 100));
            after.elements[indexes[i]].box = box;
        }
        m_guides = snapped.guides;
    }
    if (after.elements != m_document->report().elements) {
        m_dragging = true;
        m_document->edit(after, m_drag.edges ? QStringLiteral("Redimensionar") : QStringLiteral("Mover"), m_drag.key);
        m_dragging = false;
    }
    // Past the view's edge the view scrolls after the element, at the same zoom.
    const int shown = m_document->indexOfElement(m_drag.primary);
    if (shown >= 0)
        ensureVisible(m_document->report().elements[shown].box, 0, 0);
    viewport()->update();
    event->accept();
}

void LabelCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_drag.active) {
        endDrag();
        event->accept();
        return;
    }
    QGraphicsView::mouseReleaseEvent(event);
}

void LabelCanvas::nudge(double dx, double dy)
{
    const QList<int> selection = selectedElements();
    if (selection.isEmpty())
        return;
    SheetReport after = m_document->report();
    for (const int index : selection) {
        QRectF &box = after.elements[index].box;
        box.moveTopLeft(QPointF(std::round((box.left() + dx) * 100) / 100, std::round((box.top() + dy) * 100) / 100));
    }
    m_document->edit(after, QStringLiteral("Mover"));
}

void LabelCanvas::keyPressEvent(QKeyEvent *event)
{
    const double step = event->modifiers() & Qt::ShiftModifier ? 1.0 : 0.1;
    switch (event->key()) {
    case Qt::Key_Left:
        nudge(-step, 0);
        break;
    case Qt::Key_Right:
        nudge(step, 0);
        break;
    case Qt::Key_Up:
        nudge(0, -step);
        break;
    case Qt::Key_Down:
        nudge(0, step);
        break;
    default:
        QGraphicsView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void LabelCanvas::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QGraphicsView::wheelEvent(event);
        return;
    }
    setZoom(event->angleDelta().y() > 0 ? m_zoom * 5 / 4 : m_zoom * 4 / 5);
    event->accept();
}

void LabelCanvas::scrollContentsBy(int dx, int dy)
{
    QGraphicsView::scrollContentsBy(dx, dy);
    emit viewMoved();
}

void LabelCanvas::drawForeground(QPainter *painter, const QRectF &rect)
{
    const SheetReport &report = m_document->report();
    // The printer's dots, once a dot is big enough on screen to tell apart.
    if (report.thermal && m_document->hasReport()) {
        const double perMm = dotsPerMm(report.thermal->dpi);
        if (pixelsPerMm() / perMm >= 6) {
            QPen pen(QColor(0, 0, 0, 28));
            pen.setCosmetic(true);
            painter->setPen(pen);
            const QRectF area = rect.intersected(labelRect());
            for (double x = std::ceil(area.left() * perMm); x <= area.right() * perMm; ++x)
                painter->drawLine(QPointF(x / perMm, area.top()), QPointF(x / perMm, area.bottom()));
            for (double y = std::ceil(area.top() * perMm); y <= area.bottom() * perMm; ++y)
                painter->drawLine(QPointF(area.left(), y / perMm), QPointF(area.right(), y / perMm));
        }
    }
    if (!m_guides.isEmpty()) {
        QPen pen(QColor(230, 0, 140));
        pen.setCosmetic(true);
        pen.setStyle(Qt::DashLine);
        painter->setPen(pen);
        for (const QLineF &line : std::as_const(m_guides))
            painter->drawLine(line);
    }
}
