// A checksum of the pixels in a rectangle of the X screen, so that the
// end-to-end test can tell whether part of a window changed, and optionally
// the picture itself for a person to look at.
//
// usage: e2e_screen_probe X Y WIDTH HEIGHT [FILE.png]
#include <QCryptographicHash>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 5 && args.size() != 6) {
        std::fputs("usage: e2e_screen_probe X Y WIDTH HEIGHT [FILE.png]\n", stderr);
        return 2;
    }
    int values[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = args[i + 1].toInt(&ok);
        if (!ok) {
            std::fprintf(stderr, "e2e_screen_probe: not a number: %s\n", qPrintable(args[i + 1]));
            return 2;
        }
    }
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 1;
    const QImage image = screen->grabWindow(0, values[0], values[1], values[2], values[3])
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    if (image.isNull())
        return 1;
    if (args.size() == 6 && !image.save(args[5]))
        return 1;
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (int row = 0; row < image.height(); ++row)
        hash.addData(QByteArrayView(reinterpret_cast<const char *>(image.constScanLine(row)),
                                    static_cast<qsizetype>(image.width()) * 4));
    std::printf("%s\n", hash.result().toHex().constData());
    return 0;
}
