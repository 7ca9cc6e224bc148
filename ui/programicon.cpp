#include "ui/programicon.h"

#include <QImage>
#include <QPixmap>
#include <QResource>
#include <QString>

namespace ui {

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 256}) {
        // Stored uncompressed, so that data() is the compiled-in bytes.
        const QResource pixels(QStringLiteral(":/lanshi/lanshi-%1.argb").arg(size));
        const qsizetype bytesPerLine = qsizetype(size) * 4;
        if (pixels.compressionAlgorithm() != QResource::NoCompression ||
            pixels.size() != bytesPerLine * size) {
            continue;
        }
        const QImage image(pixels.data(), size, size, bytesPerLine,
                           QImage::Format_ARGB32_Premultiplied);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

} // namespace ui
