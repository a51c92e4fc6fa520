#include "core/params/MatrixPreview.h"

#include <QFont>
#include <QFontMetrics>
#include <QtMath>
#include <QPainter>

#include <algorithm>
#include <cstdint>

namespace {

enum Corner { TopLeft, TopRight, BottomLeft, BottomRight };
enum LedOrder { Linewise, SnakeLines, Columnwise, SnakeColumns };

// Number position and red mark relative to the cell's top-left corner,
// indexed by the first-LED corner.
struct CornerLayout {
    QPoint number;
    QPoint mark;
};
constexpr CornerLayout kCorners[] = {
    {{33, 27}, {4, 4}},   // Top-Left
    {{4, 27}, {37, 4}},   // Top-Right
    {{33, 2}, {4, 37}},   // Bottom-Left
    {{4, 2}, {37, 37}},   // Bottom-Right
};

// Arrow offsets inside a cell.
constexpr int kNearAcross1 = 6;
constexpr int kNearAcross2 = 12;
constexpr int kFarAcross1 = 39;
constexpr int kFarAcross2 = 33;
constexpr int kAlongMin = 4;
constexpr int kAlongMax = 41;
constexpr int kClearOfMark = 10; // the first arrow starts beside the mark
constexpr int kShortEnd = 35;
constexpr int kHeadBack = 5;
constexpr int kHeadSide = 2;

// Fonts are sized in pixels: 10 pt at the 96 dpi the layout was made for,
// so the numbers fit their cells whatever the image's resolution.
constexpr int kNumberPixelSize = 13;
const QColor kNumberColor(0xC8, 0xC8, 0xC8);

// A scaled layout keeps a margin of half the gap between cells around it;
// below a quarter of the size cells would be too small to read.
constexpr int kScaledMargin = 2;
constexpr qreal kSmallestScale = 0.25;

int64_t floorDiv(int64_t a, int64_t b)
{
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// The arrows of a cell whose first LED sits at `corner`, in cell-relative
// coordinates, or nullopt for an unknown order.
std::optional<std::pair<Qt::Orientation, ArrowPair>> cellArrows(int corner, int order)
{
    if (order < Linewise || order > SnakeColumns)
        return std::nullopt;
    const bool horizontal = order == Linewise || order == SnakeLines;
    const bool snake = order == SnakeLines || order == SnakeColumns;
    const bool right = corner == TopRight || corner == BottomRight;
    const bool bottom = corner == BottomLeft || corner == BottomRight;
    // Across: the edge the first LED sits at; along: where it starts.
    const bool farEdge = horizontal ? bottom : right;
    const bool startsHigh = horizontal ? right : bottom;

    ArrowPair a;
    a.across1 = farEdge ? kFarAcross1 : kNearAcross1;
    a.across2 = farEdge ? kFarAcross2 : kNearAcross2;
    a.start1 = startsHigh ? kAlongMin : kClearOfMark;
    a.end1 = startsHigh ? kShortEnd : kAlongMax;
    a.start2 = kAlongMin;
    a.end2 = kAlongMax;
    a.head1AtEnd = !startsHigh; // away from the first LED
    a.head2AtEnd = snake ? !a.head1AtEnd : a.head1AtEnd;
    return std::make_pair(horizontal ? Qt::Horizontal : Qt::Vertical, a);
}

ArrowPair offsetArrows(ArrowPair a, int along, int across)
{
    a.across1 += across;
    a.across2 += across;
    a.start1 += along;
    a.end1 += along;
    a.start2 += along;
    a.end2 += along;
    return a;
}

// One arrow in (along, across) coordinates; `toPoint` maps them to x/y.
template <typename ToPoint>
ArrowLines arrowLines(int across, int start, int end, bool headAtEnd, ToPoint toPoint)
{
    const int tip = headAtEnd ? end : start;
    const int back = headAtEnd ? tip - kHeadBack : tip + kHeadBack;
    return {toPoint(start, across), toPoint(end, across), toPoint(tip, across),
            toPoint(back, across - kHeadSide), toPoint(back, across + kHeadSide)};
}

template <typename ToPoint>
std::array<ArrowLines, 2> arrowPairLines(const ArrowPair &a, ToPoint toPoint)
{
    return {arrowLines(a.across1, a.start1, a.end1, a.head1AtEnd, toPoint),
            arrowLines(a.across2, a.start2, a.end2, a.head2AtEnd, toPoint)};
}

void drawArrowLines(QPainter &painter, const std::array<ArrowLines, 2> &arrows)
{
    for (const ArrowLines &arrow : arrows) {
        painter.drawLine(arrow.start, arrow.end);
        painter.drawLine(arrow.tip, arrow.headA);
        painter.drawLine(arrow.tip, arrow.headB);
    }
}

PreviewCell makeCell(int64_t row, int64_t column, int64_t modulesX, int left, int top,
                     int firstLed, int ledOrder)
{
    PreviewCell cell;
    cell.row = int(row);
    cell.column = int(column);
    cell.left = left;
    cell.top = top;
    cell.frame = QRect(left, top, kPreviewCellSize, kPreviewCellSize);
    cell.number = QString::number(row * modulesX + column + 1);
    if (firstLed < TopLeft || firstLed > BottomRight)
        return cell;

    const CornerLayout &corner = kCorners[firstLed];
    cell.numberPos = QPoint(left, top) + corner.number;
    cell.mark = QRect(QPoint(left, top) + corner.mark, QSize(kPreviewMarkSize, kPreviewMarkSize));
    if (const auto arrows = cellArrows(firstLed, ledOrder)) {
        cell.arrowOrientation = arrows->first;
        if (arrows->first == Qt::Horizontal) {
            cell.arrows = offsetArrows(arrows->second, left, top);
            cell.arrowLines = arrowLinesH(cell.arrows);
        } else {
            cell.arrows = offsetArrows(arrows->second, top, left);
            cell.arrowLines = arrowLinesV(cell.arrows);
        }
    }
    return cell;
}

} // namespace

std::array<ArrowLines, 2> arrowLinesH(const ArrowPair &arrows)
{
    return arrowPairLines(arrows, [](int along, int across) { return QPoint(along, across); });
}

std::array<ArrowLines, 2> arrowLinesV(const ArrowPair &arrows)
{
    return arrowPairLines(arrows, [](int along, int across) { return QPoint(across, along); });
}

MatrixPreviewGeometry computeMatrixPreview(int width, int height, int modulesX, int modulesY,
                                           int firstLed, int ledOrder)
{
    MatrixPreviewGeometry g;
    g.width = width;
    g.height = height;
    g.modulesX = modulesX;
    g.modulesY = modulesY;
    // 64-bit so that no module count can overflow the row width.
    const int64_t x0 = int64_t(width / 2) - int64_t(modulesX) * kPreviewCellPitch / 2;
    const int64_t y0 = std::max<int64_t>(0, int64_t(height / 2) - int64_t(modulesY) * kPreviewCellPitch / 2);
    g.x0 = int(std::clamp<int64_t>(x0, INT32_MIN, INT32_MAX));
    g.y0 = int(std::min<int64_t>(y0, INT32_MAX));

    // Only the columns and rows that reach into the image are laid out; the
    // others would be clipped entirely.
    const int64_t firstColumn = std::max<int64_t>(0, floorDiv(-(x0 + 3 + kPreviewCellSize), kPreviewCellPitch) + 1);
    const int64_t lastColumn = std::min<int64_t>(int64_t(modulesX) - 1, floorDiv(int64_t(width) - 1 - (x0 + 3), kPreviewCellPitch));
    const int64_t lastRow = std::min<int64_t>(int64_t(modulesY) - 1, floorDiv(int64_t(height) - 1 - (y0 + 1), kPreviewCellPitch));
    for (int64_t r = 0; r <= lastRow; ++r) {
        for (int64_t c = firstColumn; c <= lastColumn; ++c) {
            const int left = int(x0 + 3 + kPreviewCellPitch * c);
            const int top = int(y0 + 1 + kPreviewCellPitch * r);
            g.cells.append(makeCell(r, c, modulesX, left, top, firstLed, ledOrder));
        }
    }
    return g;
}

namespace {
bool showsEveryModule(const MatrixPreviewGeometry &g)
{
    const QRect image(0, 0, g.width, g.height);
    return g.cells.size() == qint64(g.modulesX) * g.modulesY
        && std::all_of(g.cells.begin(), g.cells.end(), [&](const PreviewCell &c) { return image.contains(c.frame); });
}
} // namespace

MatrixPreviewGeometry fitMatrixPreview(int width, int height, int modulesX, int modulesY,
                                       int firstLed, int ledOrder)
{
    MatrixPreviewGeometry g = computeMatrixPreview(width, height, modulesX, modulesY, firstLed, ledOrder);
    if (g.cells.isEmpty() || showsEveryModule(g))
        return g;
    const qreal scale = std::max(kSmallestScale, std::min(qreal(width) / (qreal(modulesX) * kPreviewCellPitch + 2 * kScaledMargin),
                                                          qreal(height) / (qreal(modulesY) * kPreviewCellPitch + 2 * kScaledMargin)));
    g = computeMatrixPreview(qCeil(width / scale), qCeil(height / scale), modulesX, modulesY, firstLed, ledOrder);
    g.scale = scale;
    return g;
}

void DrawArrowsH(QPainter &painter, const ArrowPair &arrows)
{
    drawArrowLines(painter, arrowLinesH(arrows));
}

void DrawArrowsV(QPainter &painter, const ArrowPair &arrows)
{
    drawArrowLines(painter, arrowLinesV(arrows));
}

void DrawMatrixPreview(QImage &img, const QColor &background, const MatrixPreviewGeometry &g)
{
    // The whole image, last row and column included, so no trace of an
    // earlier, wider drawing survives.
    img.fill(background);
    if (img.isNull())
        return;

    QPainter painter(&img);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.scale(g.scale, g.scale);
    const QPen outline(Qt::black, 1);
    QFont font = painter.font();
    font.setPixelSize(kNumberPixelSize);
    font.setBold(true);

    for (const PreviewCell &cell : g.cells) {
        painter.setPen(outline);
        painter.setBrush(Qt::white);
        // An aliased outline covers both edges of its rectangle, so the
        // rectangle is one pixel smaller than the 45 pixels the cell covers.
        painter.drawRoundedRect(cell.frame.adjusted(0, 0, -1, -1), kPreviewCornerEllipse / 2.0,
                                kPreviewCornerEllipse / 2.0);
        if (!cell.numberPos)
            continue;

        // The number is written on the white brush, and kept inside its
        // cell: a number of two or more digits, written from the corner
        // point, would run over the cell's right edge.
        painter.setFont(font);
        const QFontMetrics metrics = painter.fontMetrics();
        const int width = metrics.horizontalAdvance(cell.number);
        QPoint at = *cell.numberPos;
        at.setX(std::min(at.x(), cell.frame.right() - width));
        painter.setPen(kNumberColor);
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.setBackground(Qt::white);
        painter.drawText(QRect(at, QSize(width, metrics.height())),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, cell.number);
        painter.setBackgroundMode(Qt::TransparentMode);
        painter.fillRect(*cell.mark, Qt::red);

        painter.setPen(outline);
        if (cell.arrowOrientation == Qt::Horizontal)
            DrawArrowsH(painter, cell.arrows);
        else if (cell.arrowOrientation == Qt::Vertical)
            DrawArrowsV(painter, cell.arrows);
    }
}

QImage renderMatrixPreview(int modulesX, int modulesY, int firstLed, int ledOrder,
                           const QColor &background, qreal devicePixelRatio)
{
    // Drawn in device pixels, so lines and numbers stay sharp on a scaled screen.
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QImage img(qCeil(kPreviewWidth * ratio), qCeil(kPreviewHeight * ratio), QImage::Format_RGB32);
    img.setDevicePixelRatio(ratio);
    DrawMatrixPreview(img, background,
                      fitMatrixPreview(kPreviewWidth, kPreviewHeight, modulesX, modulesY, firstLed, ledOrder));
    return img;
}
