// Build tool: the pixels of one size of the window's icon, decoded from its
// PNG once at build time, so that the program hands them to the desktop
// without decoding anything at start-up (ui/programicon.h).
//
//     iconpixels lanshi-256.png lanshi-256.argb
//
// The output is the bare image in QImage::Format_ARGB32_Premultiplied, row
// after row without padding: the form a QPixmap keeps it in, so that the
// window wraps the compiled-in bytes as they are. Its words are in the byte
// order of the machine that builds, which is the one that runs the program.
#include <cstdio>

#include <QImage>
#include <QSaveFile>
#include <QString>

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: iconpixels ICON.png OUT.argb\n");
        return 2;
    }
    const QImage image = QImage(QString::fromLocal8Bit(argv[1]))
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.isNull() || image.width() != image.height()) {
        std::fprintf(stderr, "iconpixels: %s is no square image\n", argv[1]);
        return 1;
    }
    QSaveFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "iconpixels: cannot write %s\n", argv[2]);
        return 1;
    }
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const char*>(image.constScanLine(y));
        const qint64 bytes = qint64(image.width()) * 4;
        if (out.write(row, bytes) != bytes) {
            std::fprintf(stderr, "iconpixels: cannot write %s\n", argv[2]);
            return 1;
        }
    }
    return out.commit() ? 0 : 1;
}
