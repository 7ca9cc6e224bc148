// The window's icon, compiled in as decoded pixels, is the picture of its
// PNG at every size the desktop is handed.
#include "fakes.h"
#include "ui/form1.h"
#include "ui/programicon.h"

#include <QImage>
#include <QList>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <gtest/gtest.h>

namespace {

// The pixels as the desktop receives them, unpremultiplied ARGB, row by row.
QList<QRgb> pixels(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    QList<QRgb> all;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            all.append(image.pixel(x, y));
        }
    }
    return all;
}

} // namespace

TEST(ProgramIcon, TheWindowShowsEverySizeAsItsPngDrawsIt) {
    test::FakeBoxes boxes;
    const ui::Form1 form{calc::NumberFormat{}, boxes};
    const QIcon icon = form.windowIcon();
    const QList<QSize> sizes{{16, 16}, {32, 32}, {48, 48}, {256, 256}};
    EXPECT_EQ(icon.availableSizes(), sizes);
    for (const QSize& size : sizes) {
        SCOPED_TRACE(size.width());
        const QImage png(QStringLiteral(LANSHI_ICON_DIR "/lanshi-%1.png").arg(size.width()));
        ASSERT_EQ(png.size(), size);
        EXPECT_EQ(pixels(icon.pixmap(size)), pixels(QPixmap::fromImage(png)));
    }
}
