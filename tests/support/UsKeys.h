#pragma once
// Keys named by what a US keyboard prints on them, for the keyboard tests. The codes are written out
// here rather than taken from the program, so the tests check its tables against the platform's codes.

#include <QChar>

// The virtual-key code of the key printing c (letters in upper case; digits and letters are their own code).
inline int KeyOfUs(QChar c)
{
    switch (c.unicode()) {
    case '`':
        return 192;
    case '-':
        return 189;
    case '=':
        return 187;
    case '\\':
        return 220;
    case '[':
        return 219;
    case ']':
        return 221;
    case ';':
        return 186;
    case '\'':
        return 222;
    case ',':
        return 188;
    case '.':
        return 190;
    case '/':
        return 191;
    default:
        return c.unicode();
    }
}
