#pragma once
// The sentence window's speed meter as its form sets it up, and a background picture of our own, shared
// by the meter's tests and its benchmark.

#include "components/ZavaduMeter.h"
#include "platform/Application.h"
#include "screens/SentenceUnit.h"

#include <QImage>
#include <QPainter>
#include <QRadialGradient>

// A 1024 x 768 picture: a soft evening sky with hills, drawn here.
inline QImage MakeBackgroundPicture(int w = 1024, int h = 768)
{
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(90, 140, 200));
    sky.setColorAt(0.6, QColor(245, 200, 160));
    sky.setColorAt(1, QColor(250, 230, 200));
    p.fillRect(img.rect(), sky);
    QRadialGradient sun(w * 0.7, h * 0.45, h * 0.2);
    sun.setColorAt(0, QColor(255, 240, 200, 230));
    sun.setColorAt(1, QColor(255, 240, 200, 0));
    p.fillRect(img.rect(), sun);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 150, 110));
    p.drawEllipse(QPointF(w * 0.2, h * 1.05), w * 0.5, h * 0.3);
    p.setBrush(QColor(80, 120, 90));
    p.drawEllipse(QPointF(w * 0.8, h * 1.1), w * 0.55, h * 0.32);
    return img;
}

// Tiles the picture into the meter's background bitmap, with the sentence window's own tiling.
inline void TilePicture(TBitmap* target, const QImage& picture)
{
    static TTiledPicture tiles;
    tiles.TileInto(target, picture);
}

inline void ConfigureSentenceMeter(TZavaduMeter* m, int height = 500)
{
    ConfigureSpeedMeter(m);
    m->SetBounds(0, 0, 176, height);
}
