#pragma once
// The shapes the canvas rasterises itself, so that an arc lands on exactly the pixels of the outline of the
// ellipse with the same corners (Qt's arc and ellipse strokes differ by a pixel), as on the platform. A
// pixel belongs to a shape when Inside says so; a one-pixel outline is the shape's pixels with a
// 4-neighbour outside it.

#include <algorithm>
#include <cmath>

// The ellipse inscribed in columns l..r-1 and rows t..b-1, tested at pixel centres and grown by g pixels.
struct TEllipseShape
{
    double Cx, Cy, A, B;
    TEllipseShape(int l, int t, int r, int b)
        : Cx((l + r - 1) / 2.0), Cy((t + b - 1) / 2.0), A((r - l) / 2.0), B((b - t) / 2.0)
    {
    }
    bool Inside(int x, int y, double g = 0) const
    {
        const double a = A + g, b = B + g;
        if (a <= 0 || b <= 0) return false;
        const double dx = (x - Cx) / a, dy = (y - Cy) / b;
        return dx * dx + dy * dy <= 1.0 + 1e-9;
    }
    // Angle on the ellipse's parameter, counter-clockwise on the screen from 3 o'clock, 0..360.
    double Angle(int x, int y) const
    {
        const double d = std::atan2(-(y - Cy) / B, (x - Cx) / A) * 180.0 / M_PI;
        return d < 0 ? d + 360.0 : d;
    }
};

// The rectangle l..r-1 x t..b-1 with corners rounded by an rw x rh ellipse.
struct TRoundRectShape
{
    int L, T, R, B, Rw, Rh;
    bool Inside(int x, int y) const
    {
        if (x < L || x >= R || y < T || y >= B) return false;
        const int rw = std::min(Rw, R - L), rh = std::min(Rh, B - T);
        if (rw < 2 || rh < 2) return true;
        const bool left = x < L + rw / 2, right = x >= R - rw / 2, top = y < T + rh / 2, bottom = y >= B - rh / 2;
        if (left && top) return TEllipseShape(L, T, L + rw, T + rh).Inside(x, y);
        if (right && top) return TEllipseShape(R - rw, T, R, T + rh).Inside(x, y);
        if (left && bottom) return TEllipseShape(L, B - rh, L + rw, B).Inside(x, y);
        if (right && bottom) return TEllipseShape(R - rw, B - rh, R, B).Inside(x, y);
        return true;
    }
};
