// The About window's picture of the controller, pixel for pixel at two
// device pixel ratios; the lettering is left out, as it depends on the fonts.
#include "ui/dialogs/ProductPicture.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

TEST(ProductPicture, DrawnAsApprovedAtEachPixelRatio)
{
    for (const qreal ratio : {1.0, 2.0}) {
        QImage drawn = productPicture(ratio).toImage().convertToFormat(QImage::Format_ARGB32);
        QPainter blank(&drawn);
        blank.setCompositionMode(QPainter::CompositionMode_Source);
        blank.fillRect(QRectF(10, 22, 62, 16), Qt::transparent);
        blank.end();
        const QString golden = QStringLiteral(QT_TESTCASE_SOURCEDIR "/dialogs/data/product-picture@%1x.png").arg(ratio);
        if (qEnvironmentVariableIsSet("WRITE_GOLDEN"))
            drawn.save(golden);
        EXPECT_EQ(drawn, QImage(golden).convertToFormat(QImage::Format_ARGB32)) << golden.toStdString();
    }
}
