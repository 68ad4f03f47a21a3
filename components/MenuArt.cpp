#include "components/MenuArt.h"

#include "platform/Exception.h"
#include "platform/Graphics.h"
#include "platform/WinUtil.h"

#include <QCoreApplication>
#include <QWidget>

#include <algorithm>
#include <array>
#include <memory>

namespace {
std::unique_ptr<std::array<TBitmap, 4>> gClouds;

void LoadPicture(TBitmap& bitmap, const char* name)
{
    if (!bitmap.LoadFromResourceName(QString::fromLatin1(name)))
        throw Exception(QStringLiteral("The picture \"%1\" is missing from the program.").arg(QLatin1String(name)));
}
} // namespace

int PaintGradient(TColor FromColor, TColor ToColor, QWidget* Form, TCanvas* Canvas)
{
    const TColor from = ColorToRGB(FromColor), to = ColorToRGB(ToColor);
    const int dR = GetRValue(to) - GetRValue(from);
    const int dG = GetGValue(to) - GetGValue(from);
    const int dB = GetBValue(to) - GetBValue(from);
    // The outer size: rows below the client area are clipped away, so the client's last row stops short
    // of the end colour.
    // Until the window manager's frame is known the outer size can read as next to nothing (the frame
    // window is still being made): it is never less than the client's, or the first paint stays black.
    const int H = std::max(Form->frameGeometry().height(), Form->height());
    const int W = std::max(Form->frameGeometry().width(), Form->width());
    const TBrush saved = Canvas->Brush;
    Canvas->Brush.Style = bsSolid;
    for (int i = 0; i <= H; ++i) {
        Canvas->Brush.Color =
            RGB((GetRValue(from) + MulDiv(i, dR, H)) & 0xFF, (GetGValue(from) + MulDiv(i, dG, H)) & 0xFF,
                (GetBValue(from) + MulDiv(i, dB, H)) & 0xFF);
        Canvas->FillRect(Rect(0, i, W, i + 1));
    }
    Canvas->Brush = saved;
    return H;
}

TCloudPictures CloudPictures()
{
    if (!gClouds) {
        auto clouds = std::make_unique<std::array<TBitmap, 4>>();
        LoadPicture((*clouds)[0], "CloudUp.png");
        LoadPicture((*clouds)[1], "CloudDown.png");
        LoadPicture((*clouds)[2], "CloudUpSmall.png");
        LoadPicture((*clouds)[3], "CloudDownSmall.png");
        gClouds = std::move(clouds);
        // Pictures go with the application, not after it.
        qAddPostRoutine([] { gClouds.reset(); });
    }
    return {(*gClouds)[0], (*gClouds)[1], (*gClouds)[2], (*gClouds)[3]};
}
