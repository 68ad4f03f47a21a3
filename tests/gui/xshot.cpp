// Saves a screenshot of an X window for a person to look at: xshot WINDOW FILE.png
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: xshot WINDOW FILE.png\n");
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
    return 0;
}
