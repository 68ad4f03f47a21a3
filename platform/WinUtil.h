#pragma once
// Small kernel32/user32 and runtime helpers that the drawing and control code relies on.

#include <QString>
#include <cstdint>

// a * b / c with a 64-bit product, rounded half away from zero; -1 when c is 0 or the result does not fit.
int MulDiv(int a, int b, int c);

// Compares ignoring the case of ASCII letters only (other characters compare by code unit):
// < 0, 0 or > 0.
int CompareText(const QString& a, const QString& b);
