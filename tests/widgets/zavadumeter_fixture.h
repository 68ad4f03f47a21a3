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
    m->SetCaption(QStringLiteral("타자속도"));
    m->SetAutoMaxBlockCount(false);
    m->SetMaxBlockCount(800);
    m->SetBlockHeight(5);
    m->SetMinBlockWidth(22);
    m->SetMaxBarWidth(150);
    m->SetUse3DBlock(true);
    m->SetUseGradient3DBlock(false);
    m->SetDrawGradientChunkIn3D(true);
    m->SetBlockDepth(3);
    m->SetDrawBlockDivider(true);
    m->SetUseBackGroundImage(true);
    m->SetBlendAlpha(0.7f);
    m->SetTimerInterval(90);
    m->SetUseFlowingBlock(true);
    m->SetFlowBlockPortion(0.8f);
    m->SetFlowBlockSize(30);
    m->SetFlowDirection(fdTopToBottom);
    m->SetSwingingFlow(true);
    m->SetFlowVelocity(30);
    m->SetCenterVelocity(2.0f);
    m->SetMovingBlockTimeSpan(5000);
    m->SetShowTitle(false);
    m->SetLegendVisible(false);
    m->SetShowAxis(false);
    m->SetShowOnlyXYAxis(false);
    m->SetShowGrid(false);
    m->SetShowFocus(false);
    m->SetShowVertAxisTick(false);
    m->SetVertLabelsPos(alpNone);
    m->SetVertLabelsIncrement(20);
    m->SetSortDirection(ssdNone);
    m->SetSortWhenAdd(false);
    m->SetValueFormat(QStringLiteral("#,##0.###"));
    m->SetZeroValueString(QStringLiteral("0"));
    m->SetMaxNameRowCount(3);
    m->SetMarginLeft(0);
    m->SetMarginTop(0);
    m->SetMarginRight(20);
    m->SetMarginbotton(1);
    m->SetColor(clWindow);
    m->SetAxisColor(clBlack);
    m->SetBorderColor(clBlack);
    m->SetBorderVisible(false);
    m->SetGridColor(0x00FCE8D1);
    m->SetDownColor(0x008E8E8E);
    m->SetUnfocusedColor(0x00F5F5F5);
    m->SetBlockRedColor(0x003C3CFF);
    m->SetBlockBlueColor(0x00F1A70E);
    m->SetBlockOrangeColor(0x000FE139);
    TFont font;
    font.Name = QStringLiteral("굴림체");
    font.Height = -16;
    font.Style = fsBold;
    font.Color = clWindowText;
    m->SetFont(font);
    TFont title;
    title.Name = QStringLiteral("Tahoma");
    title.Height = -16;
    m->SetTitleFont(title);
    TZavaduSerieses* s = m->Serieses();
    s->Add(QStringLiteral("MaxBar"), QStringLiteral("최고"));
    s->Add(QStringLiteral("AvgBar"), QStringLiteral("평균"));
    s->Add(QStringLiteral("CurrBar"), QStringLiteral("현재"));
    m->SetBounds(0, 0, 176, height);
}
