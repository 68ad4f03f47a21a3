#pragma once
// Helpers for widget tests: rendering at device-pixel ratio 1 and counting paints.

#include "platform/Color.h"

#include <QEvent>
#include <QImage>
#include <QObject>
#include <QPaintEvent>
#include <QRegion>
#include <QWidget>

// The widget as it paints itself (its own background included), at device-pixel ratio 1.
inline QImage RenderWidget(QWidget* w)
{
    QImage image(w->size(), QImage::Format_RGB32);
    image.setDevicePixelRatio(1);
    w->render(&image);
    return image;
}

// The widget painted over a known background, without its parent.
inline QImage RenderControl(QWidget* w, TColor background)
{
    QImage img(w->size(), QImage::Format_RGB32);
    img.setDevicePixelRatio(1);
    img.fill(ToQColor(background));
    w->render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
    return img;
}

inline TColor PixelAt(const QImage& img, int x, int y)
{
    return FromQColor(img.pixelColor(x, y));
}

// Counts the paint events a widget receives and the area they cover.
class TPaintCounter : public QObject
{
public:
    explicit TPaintCounter(QWidget* w) : QObject(w) { w->installEventFilter(this); }
    // Counts the paints of another widget as well.
    void Watch(QWidget* w) { w->installEventFilter(this); }
    int Count = 0;
    QRegion Painted;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) {
            ++Count;
            Painted += static_cast<QPaintEvent*>(e)->region();
        }
        return false;
    }
};
