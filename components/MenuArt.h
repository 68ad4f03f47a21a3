#pragma once
// What the main menu shares with the practice windows: the gradient background (the keyboard window
// paints it too) and the cloud pictures of the buttons (the keyboard window's setup button borrows
// the small ones).

#include "platform/Color.h"

class QWidget;
class TBitmap;
class TCanvas;

// Fills Form's canvas (the painter of its paint event) with a top-to-bottom gradient over the form's outer
// size; returns the height the gradient is spread over.
int PaintGradient(TColor FromColor, TColor ToColor, QWidget* Form, TCanvas* Canvas);

struct TCloudPictures
{
    TBitmap& Up;
    TBitmap& Down;
    TBitmap& UpSmall;
    TBitmap& DownSmall;
};
// Loaded at the first call and kept until the application ends; a picture missing from the program
// raises an exception.
TCloudPictures CloudPictures();
