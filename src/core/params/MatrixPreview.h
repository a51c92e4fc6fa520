#pragma once
#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <array>
#include <optional>

class QPainter;

// The wiring preview of the matrix page: one cell per module, numbered along
// rows, with a red mark where a module's first LED sits and two arrows for
// the way its LEDs run. Geometry and drawing are separate so the layout can
// be checked without looking at pixels.
inline constexpr int kPreviewWidth = 380;
inline constexpr int kPreviewHeight = 236;
inline constexpr int kPreviewCellPitch = 50;
inline constexpr int kPreviewCellSize = 45;
inline constexpr int kPreviewCornerEllipse = 5;
inline constexpr int kPreviewMarkSize = 4;

// Two parallel arrows, in image coordinates measured along their direction
// (x for horizontal arrows, y for vertical ones) and across it.
struct ArrowPair {
    int across1 = 0;
    int across2 = 0;
    int start1 = 0;
    int end1 = 0;
    int start2 = 0;
    int end2 = 0;
    bool head1AtEnd = true; // head at the higher coordinate (right or down)
    bool head2AtEnd = true;
    friend bool operator==(const ArrowPair &, const ArrowPair &) = default;
};

// One arrow as lines: the shaft, then two head strokes from the tip going
// 5 px back along the shaft and 2 px to either side.
struct ArrowLines {
    QPoint start;
    QPoint end;
    QPoint tip;
    QPoint headA;
    QPoint headB;
    friend bool operator==(const ArrowLines &, const ArrowLines &) = default;
};

std::array<ArrowLines, 2> arrowLinesH(const ArrowPair &arrows);
std::array<ArrowLines, 2> arrowLinesV(const ArrowPair &arrows);

struct PreviewCell {
    int row = 0;
    int column = 0;
    int left = 0; // L
    int top = 0;  // T
    // The outline spans (L, T) to (L + 45, T + 45) with the end excluded,
    // so a cell covers 45 x 45 pixels.
    QRect frame;
    QString number; // row * X + column + 1
    // Top-left point of the number and the red mark (4 x 4 pixels, from
    // (L + 4, T + 4) up to but excluding (L + 8, T + 8) for "Top-Left");
    // both absent without a first-LED corner. A number too wide to fit
    // between its point and the cell's right edge is drawn moved left, so
    // that it ends at the edge.
    std::optional<QPoint> numberPos;
    std::optional<QRect> mark;
    // Absent without a corner or with an unknown LED order.
    std::optional<Qt::Orientation> arrowOrientation;
    ArrowPair arrows;
    std::array<ArrowLines, 2> arrowLines{};
};

struct MatrixPreviewGeometry {
    // The drawing's own size; times `scale` it is the image's.
    int width = 0;
    int height = 0;
    qreal scale = 1.0;
    int modulesX = 0;
    int modulesY = 0;
    int x0 = 0; // not limited: a wide row starts left of the image
    int y0 = 0; // never negative
    // Cells that touch the image, in drawing order (rows top to bottom,
    // columns left to right); cells wholly outside it are left out.
    QList<PreviewCell> cells;
};

// firstLed: 0 "Top-Left", 1 "Top-Right", 2 "Bottom-Left", 3 "Bottom-Right";
// ledOrder: 0 "Linewise", 1 "Snake lines", 2 "Columnwise", 3 "Snake columns".
// Other indexes (no selection) leave the corresponding parts out.
MatrixPreviewGeometry computeMatrixPreview(int width, int height, int modulesX, int modulesY,
                                           int firstLed, int ledOrder);

// The geometry above when every module lies wholly inside the image. A
// wider or taller layout is laid out on a larger drawing of the image's
// proportions, which the image shows scaled down, so that every module,
// number and arrow stays visible (down to a quarter of the size; beyond
// that, modules outside are clipped as above).
MatrixPreviewGeometry fitMatrixPreview(int width, int height, int modulesX, int modulesY,
                                       int firstLed, int ledOrder);

// Draw the two arrows of one cell with the current pen.
void DrawArrowsH(QPainter &painter, const ArrowPair &arrows);
void DrawArrowsV(QPainter &painter, const ArrowPair &arrows);

// Paints the whole image: background, then every cell of the geometry,
// scaled by the geometry's scale into the image's device-independent
// coordinates.
void DrawMatrixPreview(QImage &img, const QColor &background, const MatrixPreviewGeometry &g);

// A 380 x 236 preview image for the given controls, drawn at the given
// device pixel ratio (its size in pixels is that many times larger).
QImage renderMatrixPreview(int modulesX, int modulesY, int firstLed, int ledOrder,
                           const QColor &background, qreal devicePixelRatio = 1.0);
