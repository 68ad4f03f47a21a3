#include "platform/VirtualKeys.h"

#include <QKeyEvent>

namespace {
// X11/evdev keycodes (evdev code + 8) of a PC keyboard, from 8 upwards; 0 marks a keycode left to the Qt key.
constexpr unsigned char KeycodeTable[] = {
    0,
    VK_ESCAPE,
    '1',
    '2',
    '3',
    '4',
    '5',
    '6', // 8
    '7',
    '8',
    '9',
    '0',
    VK_OEM_MINUS,
    VK_OEM_PLUS,
    VK_BACK,
    VK_TAB, // 16
    'Q',
    'W',
    'E',
    'R',
    'T',
    'Y',
    'U',
    'I', // 24
    'O',
    'P',
    VK_OEM_4,
    VK_OEM_6,
    VK_RETURN,
    VK_LCONTROL,
    'A',
    'S', // 32
    'D',
    'F',
    'G',
    'H',
    'J',
    'K',
    'L',
    VK_OEM_1, // 40
    VK_OEM_7,
    VK_OEM_3,
    VK_LSHIFT,
    VK_OEM_5,
    'Z',
    'X',
    'C',
    'V', // 48
    'B',
    'N',
    'M',
    VK_OEM_COMMA,
    VK_OEM_PERIOD,
    VK_OEM_2,
    VK_RSHIFT,
    VK_MULTIPLY, // 56
    VK_LMENU,
    VK_SPACE,
    VK_CAPITAL,
    VK_F1,
    VK_F1 + 1,
    VK_F1 + 2,
    VK_F1 + 3,
    VK_F1 + 4, // 64
    VK_F1 + 5,
    VK_F1 + 6,
    VK_F1 + 7,
    VK_F1 + 8,
    VK_F1 + 9,
    VK_NUMLOCK,
    VK_SCROLL,
    0, // 72
    0,
    0,
    VK_SUBTRACT,
    0,
    0,
    0,
    VK_ADD,
    0, // 80 keypad digits
    0,
    0,
    0,
    0,
    0,
    0,
    VK_OEM_102,
    VK_F1 + 10, // 88
    VK_F1 + 11,
    0,
    0,
    0,
    0,
    0,
    0,
    0, // 96
    VK_RETURN,
    VK_RCONTROL,
    VK_DIVIDE,
    VK_SNAPSHOT,
    VK_RMENU,
    0,
    VK_HOME,
    VK_UP, // 104
    VK_PRIOR,
    VK_LEFT,
    VK_RIGHT,
    VK_END,
    VK_DOWN,
    VK_NEXT,
    VK_INSERT,
    VK_DELETE, // 112
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    VK_PAUSE, // 120
    0,
    0,
    VK_HANGUL,
    VK_HANJA,
    0,
    VK_LWIN,
    VK_RWIN,
    VK_APPS, // 128
};
constexpr unsigned FirstKeycode = 8;
constexpr unsigned KeycodeCount = sizeof(KeycodeTable);

int FromKeycode(unsigned keycode)
{
    if (keycode < FirstKeycode || keycode >= FirstKeycode + KeycodeCount) return 0;
    return KeycodeTable[keycode - FirstKeycode];
}

struct TQtKey
{
    int Key;
    int Vk;
};

// Qt keys that are not letters, digits or F-keys; shifted symbols go to the key that types them.
constexpr TQtKey QtKeyTable[] = {
    {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Tab, VK_TAB},
    {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Backspace, VK_BACK},
    {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_Print, VK_SNAPSHOT},
    {Qt::Key_Clear, VK_CLEAR},
    {Qt::Key_Home, VK_HOME},
    {Qt::Key_End, VK_END},
    {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},
    {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_Shift, VK_LSHIFT},
    {Qt::Key_Control, VK_LCONTROL},
    {Qt::Key_Alt, VK_LMENU},
    {Qt::Key_AltGr, VK_RMENU},
    {Qt::Key_Meta, VK_LWIN},
    {Qt::Key_Super_L, VK_LWIN},
    {Qt::Key_Super_R, VK_RWIN},
    {Qt::Key_Menu, VK_APPS},
    {Qt::Key_CapsLock, VK_CAPITAL},
    {Qt::Key_NumLock, VK_NUMLOCK},
    {Qt::Key_ScrollLock, VK_SCROLL},
    {Qt::Key_Hangul, VK_HANGUL},
    {Qt::Key_Hangul_Hanja, VK_HANJA},
    {Qt::Key_Space, VK_SPACE},
    {Qt::Key_Exclam, '1'},
    {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
    {Qt::Key_Minus, VK_OEM_MINUS},
    {Qt::Key_Underscore, VK_OEM_MINUS},
    {Qt::Key_Equal, VK_OEM_PLUS},
    {Qt::Key_Plus, VK_OEM_PLUS},
    {Qt::Key_BracketLeft, VK_OEM_4},
    {Qt::Key_BraceLeft, VK_OEM_4},
    {Qt::Key_BracketRight, VK_OEM_6},
    {Qt::Key_BraceRight, VK_OEM_6},
    {Qt::Key_Backslash, VK_OEM_5},
    {Qt::Key_Bar, VK_OEM_5},
    {Qt::Key_Semicolon, VK_OEM_1},
    {Qt::Key_Colon, VK_OEM_1},
    {Qt::Key_Apostrophe, VK_OEM_7},
    {Qt::Key_QuoteDbl, VK_OEM_7},
    {Qt::Key_QuoteLeft, VK_OEM_3},
    {Qt::Key_AsciiTilde, VK_OEM_3},
    {Qt::Key_Comma, VK_OEM_COMMA},
    {Qt::Key_Less, VK_OEM_COMMA},
    {Qt::Key_Period, VK_OEM_PERIOD},
    {Qt::Key_Greater, VK_OEM_PERIOD},
    {Qt::Key_Slash, VK_OEM_2},
    {Qt::Key_Question, VK_OEM_2},
};

int FromQtKey(const QKeyEvent& event)
{
    const int key = event.key();
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return keypad ? VK_NUMPAD0 + (key - Qt::Key_0) : '0' + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return VK_F1 + (key - Qt::Key_F1);
    if (keypad) {
        switch (key) {
        case Qt::Key_Asterisk:
            return VK_MULTIPLY;
        case Qt::Key_Plus:
            return VK_ADD;
        case Qt::Key_Minus:
            return VK_SUBTRACT;
        case Qt::Key_Period:
        case Qt::Key_Comma:
            return VK_DECIMAL;
        case Qt::Key_Slash:
            return VK_DIVIDE;
        default:
            break;
        }
    }
    for (const TQtKey& entry : QtKeyTable)
        if (entry.Key == key) return entry.Vk;
    return VK_UNKNOWN;
}

int Unsided(int vk)
{
    switch (vk) {
    case VK_LSHIFT:
    case VK_RSHIFT:
        return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL:
        return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU:
        return VK_MENU;
    default:
        return vk;
    }
}
} // namespace

int VirtualKeyExOf(const QKeyEvent& event)
{
    // A layout that puts the Hangul key on Right Alt says so through the Qt key.
    if (event.key() == Qt::Key_Hangul) return VK_HANGUL;
    if (const int vk = FromKeycode(event.nativeScanCode())) return vk;
    return FromQtKey(event);
}

int VirtualKeyOf(const QKeyEvent& event)
{
    return Unsided(VirtualKeyExOf(event));
}
