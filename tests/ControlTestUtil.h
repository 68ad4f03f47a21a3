#pragma once
// Helpers for the owner-drawn control tests: rendering at device-pixel ratio 1 and counting paints.

#include "Color.h"

#include <QEvent>
#include <QImage>
#include <QObject>
#include <QWidget>

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

// Counts the paint events a widget receives.
class TPaintCounter : public QObject
{
public:
    explicit TPaintCounter(QWidget* w) : QObject(w) { w->installEventFilter(this); }
    int Count = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) ++Count;
        return false;
    }
};
