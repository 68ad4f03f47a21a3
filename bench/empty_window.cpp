// The yardstick of bench/startup.sh: a plain Qt window of the main window's size, linked to Qt Widgets alone.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("empty window"));
    window.resize(1286, 871);
    window.show();
    return app.exec();
}
