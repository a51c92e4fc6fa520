#include "core/params/MatrixPreview.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

enum { TopLeft, TopRight, BottomLeft, BottomRight };
enum { Linewise, SnakeLines, Columnwise, SnakeColumns };

MatrixPreviewGeometry preview(int x, int y, int firstLed = TopLeft, int order = Linewise)
{
    return computeMatrixPreview(kPreviewWidth, kPreviewHeight, x, y, firstLed, order);
}

const QColor kPanel(0xF0, 0xF0, 0xF0);

QColor pixel(const QImage &img, int x, int y)
{
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) {
        ADD_FAILURE() << "pixel " << x << "," << y << " outside the image";
        return {};
    }
    return img.pixelColor(x, y);
}

} // namespace

// Centred, or from the top when taller than the image; only cells that
// reach into the image are laid out.
TEST(MatrixPreviewGeometry, CentredAndCutToTheImage)
{
    const struct {
        int width, height, x, y, x0, y0;
        qsizetype count;
        int firstColumn;
        QPoint first, last; // left and top of the first and last cell
    } kCases[] = {
        {kPreviewWidth, kPreviewHeight, 1, 1, 165, 93, 1, 0, {168, 94}, {168, 94}},
        {kPreviewWidth, kPreviewHeight, 8, 1, -10, 93, 8, 0, {-7, 94}, {343, 94}},
        {kPreviewWidth, kPreviewHeight, 20, 1, -310, 93, 8, 6, {-7, 94}, {343, 94}},
        {kPreviewWidth, kPreviewHeight, 1, 8, 165, 0, 5, 0, {168, 1}, {168, 201}},
        // A row whose top is the image's last pixel row is laid out; one lower is not.
        {380, 202, 1, 10, 165, 0, 5, 0, {168, 1}, {168, 201}},
        {380, 201, 1, 10, 165, 0, 4, 0, {168, 1}, {168, 151}},
        // Likewise a column whose left is the image's last pixel column.
        {408, 236, 20, 1, -296, 93, 10, 5, {-43, 94}, {407, 94}},
        {406, 236, 20, 1, -297, 93, 9, 5, {-44, 94}, {356, 94}},
    };
    for (const auto &c : kCases) {
        SCOPED_TRACE(std::to_string(c.x) + "x" + std::to_string(c.y) + " in " + std::to_string(c.height));
        const MatrixPreviewGeometry g = computeMatrixPreview(c.width, c.height, c.x, c.y, TopLeft, Linewise);
        EXPECT_EQ(QPoint(g.x0, g.y0), QPoint(c.x0, c.y0));
        ASSERT_EQ(g.cells.size(), c.count);
        EXPECT_EQ(g.cells.first().column, c.firstColumn);
        EXPECT_EQ(g.cells.first().number, QString::number(c.firstColumn + 1));
        EXPECT_EQ(g.cells.first().frame, QRect(c.first, QSize(45, 45)));
        EXPECT_EQ(QPoint(g.cells.last().left, g.cells.last().top), c.last);
    }
    const MatrixPreviewGeometry huge = preview(std::numeric_limits<int>::max(), std::numeric_limits<int>::max());
    // At most nine columns of 50 px reach into 380 px, five rows into 236.
    EXPECT_LE(huge.cells.size(), 9 * 5);
    EXPECT_FALSE(huge.cells.isEmpty());
    EXPECT_TRUE(preview(0, 3).cells.isEmpty());
    EXPECT_TRUE(preview(-2, -2).cells.isEmpty());
}

TEST(MatrixPreviewGeometry, NumberedAlongRows)
{
    for (int corner = TopLeft; corner <= BottomRight; ++corner) {
        const MatrixPreviewGeometry g = preview(3, 2, corner, SnakeColumns);
        ASSERT_EQ(g.cells.size(), 6);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(g.cells[i].number, QString::number(i + 1));
            EXPECT_EQ(g.cells[i].row, i / 3);
            EXPECT_EQ(g.cells[i].column, i % 3);
            EXPECT_EQ(g.cells[i].left, 115 + 3 + 50 * (i % 3));
            EXPECT_EQ(g.cells[i].top, 68 + 1 + 50 * (i / 3));
        }
    }
}

TEST(MatrixPreviewGeometry, NumberAndMarkByCorner)
{
    struct Row {
        int corner;
        QPoint number;
        QPoint mark;
    };
    const Row rows[] = {{TopLeft, {33, 27}, {4, 4}},
                        {TopRight, {4, 27}, {37, 4}},
                        {BottomLeft, {33, 2}, {4, 37}},
                        {BottomRight, {4, 2}, {37, 37}}};
    for (const Row &row : rows) {
        const PreviewCell cell = preview(1, 1, row.corner).cells.at(0);
        const QPoint lt(cell.left, cell.top);
        EXPECT_EQ(cell.numberPos, lt + row.number) << row.corner;
        EXPECT_EQ(cell.mark, QRect(lt + row.mark, QSize(4, 4))) << row.corner;
    }
}

TEST(MatrixPreviewGeometry, NoCornerDrawsOnlyTheCell)
{
    const PreviewCell cell = preview(1, 1, -1, Linewise).cells.at(0);
    EXPECT_FALSE(cell.numberPos);
    EXPECT_FALSE(cell.mark);
    EXPECT_FALSE(cell.arrowOrientation);
    const PreviewCell noOrder = preview(1, 1, TopRight, -1).cells.at(0);
    EXPECT_TRUE(noOrder.mark);
    EXPECT_FALSE(noOrder.arrowOrientation);
}

TEST(MatrixPreviewArrows, DirectionsForEveryCornerAndOrder)
{
    // across1, across2, start1, end1, head1AtEnd, head2AtEnd (cell-relative)
    struct Row {
        int corner, order;
        ArrowPair rel;
        Qt::Orientation orientation;
    };
    const Row rows[] = {
        {TopLeft, Linewise, {6, 12, 10, 41, 4, 41, true, true}, Qt::Horizontal},
        {TopRight, SnakeLines, {6, 12, 4, 35, 4, 41, false, true}, Qt::Horizontal},
        {BottomLeft, Linewise, {39, 33, 10, 41, 4, 41, true, true}, Qt::Horizontal},
        {BottomRight, Linewise, {39, 33, 4, 35, 4, 41, false, false}, Qt::Horizontal},
        {TopLeft, Columnwise, {6, 12, 10, 41, 4, 41, true, true}, Qt::Vertical},
        {TopRight, SnakeColumns, {39, 33, 10, 41, 4, 41, true, false}, Qt::Vertical},
        {BottomLeft, Columnwise, {6, 12, 4, 35, 4, 41, false, false}, Qt::Vertical},
        {BottomRight, SnakeColumns, {39, 33, 4, 35, 4, 41, false, true}, Qt::Vertical},
    };
    for (const Row &row : rows) {
        const PreviewCell c = preview(1, 1, row.corner, row.order).cells.at(0);
        const int along = row.orientation == Qt::Horizontal ? c.left : c.top;
        const int across = row.orientation == Qt::Horizontal ? c.top : c.left;
        ArrowPair expected = row.rel;
        expected.across1 += across;
        expected.across2 += across;
        expected.start1 += along;
        expected.end1 += along;
        expected.start2 += along;
        expected.end2 += along;
        EXPECT_EQ(c.arrowOrientation, row.orientation) << row.corner << "/" << row.order;
        EXPECT_EQ(c.arrows, expected) << row.corner << "/" << row.order;
    }
    // Drawn as lines: each head 5 px back from its tip, 2 px to either side.
    PreviewCell c = preview(1, 1, TopLeft, Linewise).cells.at(0);
    QPoint o(c.left, c.top);
    EXPECT_EQ(c.arrowLines[0], (ArrowLines{o + QPoint(10, 6), o + QPoint(41, 6), o + QPoint(41, 6), o + QPoint(36, 4),
                                           o + QPoint(36, 8)}));
    c = preview(1, 1, BottomRight, SnakeColumns).cells.at(0);
    o = QPoint(c.left, c.top);
    EXPECT_EQ(c.arrowLines[0], (ArrowLines{o + QPoint(39, 4), o + QPoint(39, 35), o + QPoint(39, 4), o + QPoint(37, 9),
                                           o + QPoint(41, 9)}));
    EXPECT_EQ(c.arrowLines[1], (ArrowLines{o + QPoint(33, 4), o + QPoint(33, 41), o + QPoint(33, 41),
                                           o + QPoint(31, 36), o + QPoint(35, 36)}));
}

TEST(MatrixPreviewRender, RedMarkAtEachCorner)
{
    const QPoint marks[] = {{4, 4}, {37, 4}, {4, 37}, {37, 37}};
    for (int corner = TopLeft; corner <= BottomRight; ++corner) {
        const QImage img = renderMatrixPreview(1, 1, corner, -1, kPanel);
        const QPoint m = QPoint(168, 94) + marks[corner];
        for (int dy = 0; dy < 4; ++dy) {
            for (int dx = 0; dx < 4; ++dx)
                EXPECT_EQ(pixel(img, m.x() + dx, m.y() + dy), QColor(Qt::red)) << corner;
        }
        // Exactly 4 x 4: the pixels just beyond are not red.
        EXPECT_NE(pixel(img, m.x() + 4, m.y()), QColor(Qt::red)) << corner;
        EXPECT_NE(pixel(img, m.x(), m.y() + 4), QColor(Qt::red)) << corner;
        EXPECT_NE(pixel(img, m.x() - 1, m.y() - 1), QColor(Qt::red)) << corner;
    }
}

TEST(MatrixPreviewRender, OutlineWhiteCellArrowsAndBackground)
{
    const QImage img = renderMatrixPreview(1, 1, TopLeft, Linewise, kPanel);
    const int L = 168, T = 94;
    EXPECT_EQ(pixel(img, L + 22, T), QColor(Qt::black));
    EXPECT_EQ(pixel(img, L, T + 22), QColor(Qt::black));
    EXPECT_EQ(pixel(img, L + 44, T + 22), QColor(Qt::black));
    EXPECT_EQ(pixel(img, L + 22, T + 44), QColor(Qt::black));
    // The cell covers 45 pixels; beyond it is the panel colour.
    EXPECT_EQ(pixel(img, L + 45, T + 22), kPanel);
    EXPECT_EQ(pixel(img, L + 22, T + 45), kPanel);
    EXPECT_EQ(pixel(img, L - 1, T + 22), kPanel);
    EXPECT_EQ(pixel(img, L + 22, T + 20), QColor(Qt::white));
    EXPECT_EQ(pixel(img, 0, 0), kPanel);
    EXPECT_EQ(pixel(img, kPreviewWidth - 1, kPreviewHeight - 1), kPanel);
    EXPECT_EQ(pixel(img, L + 20, T + 6), QColor(Qt::black));
    EXPECT_EQ(pixel(img, L + 20, T + 12), QColor(Qt::black));
    EXPECT_EQ(pixel(img, L + 20, T + 9), QColor(Qt::white));
}

TEST(MatrixPreviewRender, RedrawLeavesNoTraceOfAWiderMatrix)
{
    QImage img(kPreviewWidth, kPreviewHeight, QImage::Format_RGB32);
    DrawMatrixPreview(img, kPanel, preview(8, 4));
    ASSERT_NE(pixel(img, kPreviewWidth - 1, 69 + 22), kPanel);
    DrawMatrixPreview(img, kPanel, preview(1, 1));
    for (int y = 0; y < kPreviewHeight; ++y)
        EXPECT_EQ(pixel(img, kPreviewWidth - 1, y), kPanel) << y;
    for (int x = 0; x < kPreviewWidth; ++x)
        EXPECT_EQ(pixel(img, x, kPreviewHeight - 1), kPanel) << x;
}

TEST(MatrixPreviewFit, LayoutsThatDoNotFitAreScaledDownWhole)
{
    struct Row {
        int x, y;
        double scale; // a layout that fits keeps 1; the others keep a 2 px margin
    };
    const Row rows[] = {{7, 4, 1}, {8, 1, 380 / 404.0}, {1, 4, 1}, {1, 5, 236 / 254.0}, {1, 8, 236 / 404.0}, {8, 8, 236 / 404.0}};
    const QRectF image(0, 0, kPreviewWidth, kPreviewHeight);
    for (const Row &row : rows) {
        SCOPED_TRACE(std::to_string(row.x) + "x" + std::to_string(row.y));
        const MatrixPreviewGeometry g = fitMatrixPreview(kPreviewWidth, kPreviewHeight, row.x, row.y, BottomRight, Linewise);
        const MatrixPreviewGeometry unscaled = preview(row.x, row.y, BottomRight, Linewise);
        EXPECT_DOUBLE_EQ(g.scale, row.scale);
        if (row.scale == 1) {
            EXPECT_EQ(QPoint(g.x0, g.y0), QPoint(unscaled.x0, unscaled.y0));
        }
        ASSERT_EQ(g.cells.size(), row.x * row.y);
        const QImage img = renderMatrixPreview(row.x, row.y, BottomRight, Linewise, kPanel);
        for (const PreviewCell &cell : g.cells) {
            const QRectF frame(cell.frame);
            EXPECT_TRUE(image.contains(QRectF(frame.topLeft() * g.scale, frame.size() * g.scale))) << cell.number.toStdString();
            const QPoint mark = (QRectF(*cell.mark).center() * g.scale).toPoint();
            EXPECT_EQ(pixel(img, mark.x(), mark.y()), QColor(Qt::red)) << cell.number.toStdString();
        }
    }
}

TEST(MatrixPreviewRender, NumbersStayOnWhiteInsideTheirCell)
{
    // 7 x 4 modules is the largest layout drawn at full size; from the
    // second row on, numbers reach two digits.
    const QImage img = renderMatrixPreview(7, 4, TopLeft, -1, kPanel);
    const MatrixPreviewGeometry g = preview(7, 4, TopLeft, -1);
    const QColor grey(0xC8, 0xC8, 0xC8);
    for (const PreviewCell &cell : g.cells) {
        if (cell.row == 0 || cell.left < 0 || cell.left + 45 > kPreviewWidth || cell.top + 45 > kPreviewHeight)
            continue;
        const int L = cell.left, T = cell.top;
        // The right outline stays black next to the number ...
        for (int y = T + 27; y < T + 42; ++y)
            EXPECT_EQ(pixel(img, L + 44, y), QColor(Qt::black)) << cell.number.toStdString();
        // ... the number is drawn, and nothing but grey or white lies around it.
        int greyPixels = 0;
        for (int y = T + 20; y < T + 43; ++y) {
            for (int x = L + 14; x < L + 43; ++x) {
                const QColor c = pixel(img, x, y);
                greyPixels += c == grey ? 1 : 0;
                EXPECT_TRUE(c == Qt::white || c.red() >= 0xC8) << cell.number.toStdString();
            }
        }
        EXPECT_GT(greyPixels, 10) << cell.number.toStdString();
    }
}

TEST(MatrixPreviewRender, DrawnAtTheDevicePixelRatio)
{
    const QImage img = renderMatrixPreview(1, 1, TopLeft, Linewise, kPanel, 2.0);
    EXPECT_EQ(img.size(), QSize(2 * kPreviewWidth, 2 * kPreviewHeight));
    EXPECT_EQ(img.deviceIndependentSize(), QSizeF(kPreviewWidth, kPreviewHeight));
    // The red mark covers 8 x 8 device pixels from (2 * (L + 4), 2 * (T + 4)).
    const QPoint m(2 * (168 + 4), 2 * (94 + 4));
    EXPECT_EQ(pixel(img, m.x(), m.y()), QColor(Qt::red));
    EXPECT_EQ(pixel(img, m.x() + 7, m.y() + 7), QColor(Qt::red));
    EXPECT_NE(pixel(img, m.x() + 8, m.y()), QColor(Qt::red));
}
