// Saves a screenshot of an X window for a person to look at: xshot WINDOW FILE.png [X Y]...
// With points given, also prints the colour at each of them (#rrggbb, one a line) for a test to judge.
#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 3 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: xshot WINDOW FILE.png [X Y]...\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    const WId window = WId(QByteArray(argv[1]).toULongLong(nullptr, 0));
    const QPixmap shot = app.primaryScreen()->grabWindow(window);
    if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "xshot: could not save %s\n", argv[2]);
        return 1;
    }
    const QImage image = shot.toImage();
    for (int i = 3; i + 1 < argc; i += 2) {
        const QPoint at(std::atoi(argv[i]), std::atoi(argv[i + 1]));
        std::printf("%s\n", image.valid(at) ? qPrintable(QColor(image.pixel(at)).name()) : "outside");
    }
    return 0;
}
