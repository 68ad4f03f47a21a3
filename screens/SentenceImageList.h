#pragma once
// The background pictures of sentence practice: the "BackImage" setting ("|"-joined items of a flag
// character, "1" used or "0" not, and the picture's full path), picture loading, and the list the
// practice window tiles behind its speed meter and typing control.

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <QVector>

#include <vector>

class QPainter;

struct TBackImageItem
{
    bool Checked = true;
    QString Path;
    bool operator==(const TBackImageItem& o) const { return Checked == o.Checked && Path == o.Path; }
};

// Splits at every "|" only; empty items are dropped; "1" marks a used picture, any other flag an unused one.
QList<TBackImageItem> DecodeBackImages(const QString& BackImage);
QString EncodeBackImages(const QList<TBackImageItem>& Items);
// A path holding "|" or a line break cannot be stored: it would split into other items or break the settings file.
bool IsStorablePicturePath(const QString& Path);

// Reads a picture file in any format Qt reads. A picture that is empty (no width or no height), cannot be
// decoded, is no regular file (a FIFO would never end), or is too large to show sensibly is a failed load
// (false, with Error saying why). The result is opaque: transparent parts become white, as when a picture is
// drawn onto a new bitmap.
bool LoadPicture(const QString& Path, QImage& Picture, QString* Error = nullptr);

// The plain copies that tile Rect with a W x H picture: the first column starts at source x
// (Rect.left + XOffset) mod W, each row at source y = y mod H, so target (x, y) shows picture pixel
// ((x + XOffset) mod W, y mod H) and the pattern runs on across controls placed side by side.
struct TTilePiece
{
    QRect Dest;
    QRect Source;
};
QVector<TTilePiece> TilePieces(int W, int H, const QRect& Rect, int XOffset);

class TSentenceImageList
{
public:
    // The name of the built-in picture's entry.
    static const QString DefaultImageName;

    int Count() const { return int(FItems.size()); }
    const QString& Strings(int Index) const { return FItems[size_t(Index)].Name; }
    const QImage& Image(int Index) const { return FItems[size_t(Index)].Picture; }
    int CurrIndex() const { return FCurrIndex; }
    // The picture DrawTiled shows, or a null image when there is none.
    QImage CurrentImage() const;

    void ClearImages();
    // Fills the list with the used pictures of BackImage that load, in their order; with none of them,
    // with DefaultPicture. Pictures that fail are left out without a word.
    void LoadImages(const QString& BackImage, const QImage& DefaultPicture);
    // Covers Rect with the current picture repeated; with no current picture fills it with clWindow.
    void DrawTiled(QPainter& Canvas, const QRect& Rect, int XOffset) const;
    // The next picture, wrapping round.
    void NextImage();

private:
    struct TItem
    {
        QString Name;
        QImage Picture;
    };
    std::vector<TItem> FItems;
    int FCurrIndex = 0;
};
