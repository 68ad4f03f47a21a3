#pragma once
// Canvas, pens, brushes, fonts and bitmaps with the drawing rules of the Windows GDI, over QPainter and
// QImage, so that drawing code written for those rules lands on the same pixels here.
//
// Rules kept from GDI:
// - Rectangles are Left, Top, Right, Bottom with Right and Bottom exclusive: FillRect(0, 0, 10, 5) fills
//   columns 0..9 and rows 0..4. Rectangle, Ellipse and RoundRect with a one-pixel pen outline exactly the
//   pixels of that area; with a clear pen they fill one pixel less to the right and bottom.
// - MoveTo/LineTo and Polyline leave out the end point of each line.
// - TextOut places the text's top-left corner (not its base line). With a clear brush the text is drawn
//   alone; otherwise its cell is first filled with the brush colour (GDI's opaque background mode).
// - Drawing is not anti-aliased (text is, as on the screen).
// - Bitmaps keep their pixel format. pf24bit rows are B,G,R bytes (QImage::Format_BGR888), pf32bit rows are
//   B,G,R,X (Format_RGB32), pf15bit/pf16bit 5-5-5 / 5-6-5 words, pf8bit and pf4bit one palette index a byte
//   (pf4bit has 16 palette entries), pf1bit a black/white bit per pixel (Format_Mono, palette 0 black,
//   1 white). pfDevice stands for the screen's format, which here is 24-bit (B,G,R).
// - BitBlt/StretchBlt between a colour and a monochrome bitmap follow GDI: colour to mono gives white where
//   the source pixel equals the source canvas's background colour (SetBkColor) and black elsewhere; mono to
//   colour gives the destination's background colour for white and its text colour (Font.Color) for black.
//   The background colour is the brush colour unless SetBkColor set another since the brush last changed.
//
// A canvas works on a bitmap (readable: Pixels, CopyRect and blits from it) or on a widget while it paints
// (write-only: reading gives nothing; the raster operations still combine with what is drawn there).

#include "platform/Color.h"

#include <QImage>
#include <QPixmap>
#include <QString>
#include <QVector>
#include <cstdint>

class QPainter;
class QPaintDevice;
class QFont;
class TBitmap;

struct TPoint
{
    int X = 0;
    int Y = 0;
    bool operator==(const TPoint& o) const { return X == o.X && Y == o.Y; }
    bool operator!=(const TPoint& o) const { return !(*this == o); }
};

struct TRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool operator==(const TRect& o) const
    {
        return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
    }
    bool operator!=(const TRect& o) const { return !(*this == o); }
};

inline TPoint Point(int x, int y)
{
    return TPoint{x, y};
}
inline TRect Rect(int left, int top, int right, int bottom)
{
    return TRect{left, top, right, bottom};
}
inline TRect Bounds(int left, int top, int width, int height)
{
    return TRect{left, top, left + width, top + height};
}
// The user32 rectangle helpers.
inline bool PtInRect(const TRect& r, const TPoint& p)
{
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}
inline void InflateRect(TRect& r, int dx, int dy)
{
    r.Left -= dx;
    r.Top -= dy;
    r.Right += dx;
    r.Bottom += dy;
}
inline void OffsetRect(TRect& r, int dx, int dy)
{
    r.Left += dx;
    r.Top += dy;
    r.Right += dx;
    r.Bottom += dy;
}

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

// Font styles as a bit set: fsBold | fsUnderline.
enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

struct TPen
{
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
    bool operator==(const TPen& o) const { return Color == o.Color && Width == o.Width && Style == o.Style; }
    bool operator!=(const TPen& o) const { return !(*this == o); }
};

struct TBrush
{
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
    bool operator==(const TBrush& o) const { return Color == o.Color && Style == o.Style; }
    bool operator!=(const TBrush& o) const { return !(*this == o); }
};

// Screen resolution that point sizes are converted at (the platform's usual 96 dots per inch).
constexpr int kPixelsPerInch = 96;

// Height < 0 is the character size in pixels (the em), > 0 the cell height (ascent + descent); Size is
// points, kept as Height = -MulDiv(Size, 96, 72). Name is kept as given; the application installs font
// substitutions for the Korean and Windows names.
struct TFont
{
    QString Name = QStringLiteral("Tahoma");
    int Height = -11;
    TColor Color = clWindowText;
    TFontStyles Style = 0;

    int Size() const;
    void SetSize(int points);
    QFont ToQFont() const;
    bool operator==(const TFont& o) const
    {
        return Name == o.Name && Height == o.Height && Color == o.Color && Style == o.Style;
    }
    bool operator!=(const TFont& o) const { return !(*this == o); }
};

// Raster operations of BitBlt/StretchBlt.
enum TRasterOp : uint32_t {
    SRCCOPY = 0x00CC0020,
    SRCPAINT = 0x00EE0086,
    SRCAND = 0x008800C6,
    SRCINVERT = 0x00660046,
    SRCERASE = 0x00440328,
    NOTSRCCOPY = 0x00330008,
    NOTSRCERASE = 0x001100A6,
    MERGEPAINT = 0x00BB0226,
    DSTINVERT = 0x00550009,
    BLACKNESS = 0x00000042,
    WHITENESS = 0x00FF0062,
};
using TCopyMode = uint32_t;

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };

class TCanvas;
// A device context is a canvas here: BitBlt(Canvas->Handle(), ...).
using HDC = TCanvas*;

class TCanvas
{
public:
    // A canvas with nothing to draw on; drawing does nothing until it is attached.
    TCanvas();
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen Pen;
    TBrush Brush;
    TFont Font;
    TCopyMode CopyMode = SRCCOPY;

    HDC Handle() { return this; }
    // Draws on a painter that someone else opened (a widget in its paint event); Detach before it ends.
    void AttachPainter(QPainter* painter);
    void Detach();
    bool IsAttached() const;
    // The painter given to AttachPainter, or null.
    QPainter* AttachedPainter() const { return FExternal; }
    // The bitmap's picture when the canvas draws on one (readable), else null.
    QImage* Image();
    // Pixel size of the surface (0 x 0 when detached).
    int SurfaceWidth();
    int SurfaceHeight();

    TPoint PenPos() const { return FPenPos; }
    void SetPenPos(TPoint p) { FPenPos = p; }

    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    // Counter-clockwise on the screen from the ray toward (x3, y3) to the ray toward (x4, y4); the two
    // corners may come in either order.
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Polygon(const QVector<TPoint>& points);
    void Polyline(const QVector<TPoint>& points);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);

    // CLR_INVALID (-1) where nothing can be read (outside, or a widget canvas).
    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);

    void TextOut(int x, int y, const QString& text);
    // Clipped to r, placed at (x, y).
    void TextRect(const TRect& r, int x, int y, const QString& text);
    int TextWidth(const QString& text);
    int TextHeight(const QString& text);
    // X is the width, Y the height (the font's cell height); 0 x 0 for an empty text.
    TPoint TextExtent(const QString& text);

    // Honours the bitmap's transparency (Transparent, TransparentColor).
    void Draw(int x, int y, TBitmap* bitmap);
    void StretchDraw(const TRect& r, TBitmap* bitmap);
    // Draws a picture (alpha respected) scaled to r.
    void DrawImage(const TRect& r, const QImage& image);
    // StretchBlt with CopyMode.
    void CopyRect(const TRect& dest, TCanvas* source, const TRect& src);

    // GDI state of the device context.
    TColor BkColor() const;
    TColor SetBkColor(TColor color); // returns the previous one
    TColor TextColor() const { return Font.Color; }

private:
    friend class TBitmap;
    friend bool StretchBlt(HDC, int, int, int, int, HDC, int, int, int, int, uint32_t);
    explicit TCanvas(TBitmap* owner);
    QPainter* Painter();
    void ReleasePainter();
    void PreparePen(QPainter* p, bool outline);
    void PrepareBrush(QPainter* p);
    void PlotLine(int x1, int y1, int x2, int y2);
    enum class TShape : uint8_t { Rectangle, Ellipse, RoundRect };
    // A round rectangle's corners are ellipses of rw x rh.
    void ShapeOutline(TShape kind, int x1, int y1, int x2, int y2, int rw, int rh);

    TBitmap* FOwner = nullptr;     // bitmap canvas
    QPainter* FExternal = nullptr; // widget canvas
    QPainter* FOwn = nullptr;      // painter opened on the bitmap, closed before direct pixel access
    QImage FWork;                  // RGB32 stand-in while painting on an indexed or mono bitmap
    TPoint FPenPos;
    bool FBkColorSet = false;
    TColor FBkColor = clWhite;
    TBrush FBkBrush; // the brush when SetBkColor was called
    int FDashPhase = 0;
};

class TBitmap
{
public:
    TBitmap();
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return FImage.width(); }
    int Height() const { return FImage.height(); }
    // Keeps the picture at the top left; new pixels are white.
    void SetWidth(int w) { SetSize(w, Height()); }
    void SetHeight(int h) { SetSize(Width(), h); }
    void SetSize(int w, int h);
    bool Empty() const { return FImage.isNull() || Width() == 0 || Height() == 0; }

    TPixelFormat PixelFormat() const { return FPixelFormat; }
    // Converts the pixels; pfCustom cannot be chosen (it names pictures of other layouts).
    void SetPixelFormat(TPixelFormat format);

    // Row y's bytes in the layout of the pixel format (see the top of this file).
    uint8_t* ScanLine(int y);
    int BytesPerLine() const { return int(FImage.bytesPerLine()); }

    TCanvas* Canvas() { return &FCanvas; }

    void Assign(const TBitmap* source); // null empties
    void Assign(const QImage& image);   // takes the image's format where it has a pixel format
    // Reads any picture format Qt reads (BMP, PNG, ...); false when the file cannot be read or declares a
    // picture too large to show, with the reason in LoadError().
    bool LoadFromFile(const QString& fileName);
    const QString& LoadError() const { return FLoadError; }
    // A picture compiled into the program: ":/images/<name>" (a name with a dot, or a full ":/" path).
    bool LoadFromResourceName(const QString& name);
    bool SaveToFile(const QString& fileName);
    // Frees device resources in the platform; nothing to do here.
    void Dormant() {}
    void FreeImage() {}

    bool Transparent = false;
    TTransparentMode TransparentMode = tmAuto;
    // With tmAuto the bottom-left pixel's colour; with tmFixed FTransparentColor.
    TColor TransparentColor();
    void SetTransparentColor(TColor color);

    // Palette of pf1bit, pf4bit and pf8bit pictures as $00BBGGRR colours.
    QVector<TColor> Palette() const;
    void SetPalette(const QVector<TColor>& colors);

    // The picture as it is (flush pending canvas drawing first; the reference stays valid until the next
    // change of the bitmap).
    const QImage& ToImage();
    QImage ToRgbImage();
    QPixmap ToPixmap();

private:
    friend class TCanvas;
    void Flush();
    QImage& MutableImage();

    QImage FImage;
    TPixelFormat FPixelFormat = pfDevice;
    TColor FTransparentColor = clDefault;
    QString FLoadError;
    TCanvas FCanvas;
};

// Bits per pixel of the screen device (GetDeviceCaps BITSPIXEL).
int DeviceBitsPerPixel();

// GDI on canvases. Both copy from (sx, sy) of src; StretchBlt scales src's sw x sh to w x h (nearest pixel).
// False when nothing could be done (no source picture, empty area).
bool BitBlt(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, uint32_t rop);
bool StretchBlt(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, uint32_t rop);
TColor SetBkColor(HDC dc, TColor color);
TColor GetBkColor(HDC dc);
