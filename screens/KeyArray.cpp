#include "screens/KeyArray.h"

#include <algorithm>

namespace KeyArray {

const std::array<int, kCharKeyCount> CharKeys = {
    VK_GRAVE, '1',          '2', '3', '4', '5', '6', '7',      '8',       '9',          '0',         VK_MINUS,
    VK_EQUAL, VK_BACKSLASH,                                                                                       //
    'Q',      'W',          'E', 'R', 'T', 'Y', 'U', 'I',      'O',       'P',          VK_LBRACKET, VK_RBRACKET, //
    'A',      'S',          'D', 'F', 'G', 'H', 'J', 'K',      'L',       VK_SEMICOLON, VK_QUOTE,                 //
    'Z',      'X',          'C', 'V', 'B', 'N', 'M', VK_COMMA, VK_PERIOD, VK_SLASH,                               //
};

namespace {
// What a US keyboard prints on each cap; a new on-screen keyboard starts with it.
constexpr char16_t UsCaption(int key)
{
    switch (key) {
    case VK_GRAVE:
        return u'`';
    case VK_MINUS:
        return u'-';
    case VK_EQUAL:
        return u'=';
    case VK_BACKSLASH:
        return u'\\';
    case VK_LBRACKET:
        return u'[';
    case VK_RBRACKET:
        return u']';
    case VK_SEMICOLON:
        return u';';
    case VK_QUOTE:
        return u'\'';
    case VK_COMMA:
        return u',';
    case VK_PERIOD:
        return u'.';
    case VK_SLASH:
        return u'/';
    default:
        return char16_t(key); // digits and capital letters are their own codes
    }
}

int IndexOf(int key)
{
    const auto it = std::find(CharKeys.begin(), CharKeys.end(), key);
    return it == CharKeys.end() ? -1 : int(it - CharKeys.begin());
}
} // namespace

bool IsCharKey(int key)
{
    return IndexOf(key) >= 0;
}

// A to Z.
const char16_t Hangeul2Letters[27] = u"ㅁㅠㅊㅇㄷㄹㅎㅗㅑㅓㅏㅣㅡㅜㅐㅔㅂㄱㄴㅅㅕㅍㅈㅌㅛㅋ";
const char16_t Hangeul3Letters[27] = u"ㅇㅜㅔㅣㅕㅏㅡㄴㅁㅇㄱㅈㅎㅅㅊㅍㅅㅐㄴㅓㄷㅗㄹㄱㄹㅁ";

const std::array<TKeyCaption, 10> Hangeul3NumberRow = {{{'1', u'ㅎ'},
                                                        {'2', u'ㅆ'},
                                                        {'3', u'ㅂ'},
                                                        {'4', u'ㅛ'},
                                                        {'5', u'ㅠ'},
                                                        {'6', u'ㅑ'},
                                                        {'7', u'ㅖ'},
                                                        {'8', u'ㅢ'},
                                                        {'9', u'ㅜ'},
                                                        {'0', u'ㅋ'}}};

const std::array<TKeyCaption, 7> H3LastPunctuation = {{{VK_MINUS, u')'},
                                                       {VK_EQUAL, u'>'},
                                                       {VK_BACKSLASH, u':'},
                                                       {VK_LBRACKET, u'('},
                                                       {VK_RBRACKET, u'<'},
                                                       {VK_COMMA, u','},
                                                       {VK_PERIOD, u'.'}}};

const std::array<TKeyCaption, 3> Hangeul3Punctuation = {{{VK_SEMICOLON, u'ㅂ'}, {VK_QUOTE, u'ㅌ'}, {VK_SLASH, u'ㅗ'}}};

const std::array<int, 9> Hangeul3BottomKeys = {'1', '2', '3', 'Q', 'W', 'A', 'S', 'Z', 'X'};
const std::array<int, 11> Hangeul3MiddleKeys = {'4', '5', 'E', 'R', 'T', 'D', 'F', 'G', 'C', 'V', 'B'};
const std::array<int, 18> kMiddleReset = {'1', '2', '3', '4', '5', 'Q', 'W', 'E', 'R',
                                          'T', 'A', 'S', 'D', 'F', 'Z', 'X', 'C', 'V'};

const std::array<TShiftPair, 7> Hangeul2ShiftPairs = {{{'Q', u'ㅂ', u'ㅃ'},
                                                       {'W', u'ㅈ', u'ㅉ'},
                                                       {'E', u'ㄷ', u'ㄸ'},
                                                       {'R', u'ㄱ', u'ㄲ'},
                                                       {'T', u'ㅅ', u'ㅆ'},
                                                       {'P', u'ㅔ', u'ㅖ'},
                                                       {'O', u'ㅐ', u'ㅒ'}}};

const TShiftPair* Hangeul2ShiftPairOf(int key)
{
    for (const TShiftPair& p : Hangeul2ShiftPairs)
        if (p.Key == key) return &p;
    return nullptr;
}

const std::array<TKeyCaption, 10> NumberPracticeDigits = {{{'1', u'1'},
                                                           {'2', u'2'},
                                                           {'3', u'3'},
                                                           {'4', u'4'},
                                                           {'5', u'5'},
                                                           {'6', u'6'},
                                                           {'7', u'7'},
                                                           {'8', u'8'},
                                                           {'9', u'9'},
                                                           {'0', u'0'}}};
const std::array<TKeyCaption, 10> NumberPractice390 = {{{'U', u'7'},
                                                        {'I', u'8'},
                                                        {'O', u'9'},
                                                        {'J', u'4'},
                                                        {'K', u'5'},
                                                        {'L', u'6'},
                                                        {'N', u'0'},
                                                        {'M', u'1'},
                                                        {VK_COMMA, u'2'},
                                                        {VK_PERIOD, u'3'}}};
const std::array<TKeyCaption, 10> NumberPracticeFinal = {{{'Y', u'5'},
                                                          {'U', u'6'},
                                                          {'I', u'7'},
                                                          {'O', u'8'},
                                                          {'P', u'9'},
                                                          {'H', u'0'},
                                                          {'J', u'1'},
                                                          {'K', u'2'},
                                                          {'L', u'3'},
                                                          {VK_SEMICOLON, u'4'}}};

namespace {
constexpr TKeyCaption SymbolCaptions2Set[] = {
    {VK_GRAVE, u'~'},    {'1', u'!'},          {'2', u'@'},       {'3', u'#'},          {'4', u'$'},
    {'5', u'%'},         {'6', u'^'},          {'7', u'&'},       {'8', u'*'},          {'9', u'('},
    {'0', u')'},         {VK_MINUS, u'_'},     {VK_EQUAL, u'+'},  {VK_BACKSLASH, u'|'}, {VK_LBRACKET, u'['},
    {VK_RBRACKET, u']'}, {VK_SEMICOLON, u';'}, {VK_QUOTE, u'\''}, {VK_COMMA, u','},     {VK_PERIOD, u'.'},
    {VK_SLASH, u'/'}};
constexpr TKeyCaption SymbolCaptions390[] = {
    {VK_GRAVE, u'~'},     {'2', u'@'},         {'3', u'#'},          {'4', u'$'},     {'5', u'%'},
    {'6', u'^'},          {'7', u'&'},         {'8', u'*'},          {'9', u'('},     {'0', u')'},
    {VK_MINUS, u'_'},     {VK_EQUAL, u'+'},    {VK_BACKSLASH, u'|'}, {'T', u';'},     {'Y', u'<'},
    {'P', u'>'},          {VK_LBRACKET, u'{'}, {VK_RBRACKET, u'}'},  {'G', u'/'},     {'H', u'\''},
    {VK_SEMICOLON, u':'}, {VK_QUOTE, u'"'},    {'B', u'!'},          {VK_SLASH, u'?'}};
constexpr TKeyCaption SymbolCaptionsFinal[] = {
    {'6', u'='},       {'7', u'"'},      {'8', u'"'},           {'9', u'\''},        {'0', u'~'},
    {VK_MINUS, u';'},  {VK_EQUAL, u'+'}, {VK_BACKSLASH, u'\\'}, {VK_LBRACKET, u'%'}, {VK_RBRACKET, u'/'},
    {VK_QUOTE, u'\''}, {'B', u'?'},      {'N', u'-'},           {'M', u'"'},         {VK_SLASH, u'!'}};

constexpr TPracticeKey SymbolPractice2Set[] = {
    {'1', true}, {'9', true},       {'6', true}, {'8', true},          {VK_PERIOD, false}, {VK_SLASH, false},
    {'3', true}, {VK_QUOTE, false}, {'2', true}, {VK_RBRACKET, false}, {VK_COMMA, false}};
constexpr TPracticeKey SymbolPractice390[] = {
    {'2', true}, {'4', true}, {'5', true},         {'9', true}, {'0', true}, {VK_EQUAL, true},     {'T', true},
    {'Y', true}, {'P', true}, {VK_RBRACKET, true}, {'G', true}, {'H', true}, {VK_SEMICOLON, true}, {'B', true}};
constexpr TPracticeKey SymbolPracticeFinal[] = {
    {'6', true},      {'7', true},      {'8', true},          {'9', true},         {'0', true},
    {VK_MINUS, true}, {VK_EQUAL, true}, {VK_BACKSLASH, true}, {VK_LBRACKET, true}, {VK_RBRACKET, true},
    {VK_QUOTE, true}, {'B', true},      {'N', true},          {'M', true},         {VK_SLASH, true}};

template <size_t N> TCaptionTable View(const TKeyCaption (&a)[N])
{
    return {a, int(N)};
}
template <size_t N> TCaptionTable View(const std::array<TKeyCaption, N>& a)
{
    return {a.data(), int(N)};
}
template <size_t N> TPracticeTable View(const TPracticeKey (&a)[N])
{
    return {a, int(N)};
}
} // namespace

TCaptionTable NumberPracticeKeys(uint8_t language)
{
    switch (language) {
    case kl390:
        return View(NumberPractice390);
    case klFinal:
        return View(NumberPracticeFinal);
    default:
        return View(NumberPracticeDigits);
    }
}

TCaptionTable SymbolCaptions(uint8_t language)
{
    switch (language) {
    case kl390:
        return View(SymbolCaptions390);
    case klFinal:
        return View(SymbolCaptionsFinal);
    default:
        return View(SymbolCaptions2Set);
    }
}

TPracticeTable SymbolPracticeKeys(uint8_t language)
{
    switch (language) {
    case kl390:
        return View(SymbolPractice390);
    case klFinal:
        return View(SymbolPracticeFinal);
    default:
        return View(SymbolPractice2Set);
    }
}

const std::array<TKeyCaption, 12> Hangeul3ShiftTable = {{{'1', u'ㅈ'},
                                                         {'Q', u'ㅍ'},
                                                         {'W', u'ㅌ'},
                                                         {'E', u'ㅋ'},
                                                         {'A', u'ㄷ'},
                                                         {'S', u'ㄶ'},
                                                         {'D', u'ㄺ'},
                                                         {'F', u'ㄲ'},
                                                         {'Z', u'ㅊ'},
                                                         {'X', u'ㅄ'},
                                                         {'C', u'ㄻ'},
                                                         {'V', u'ㅀ'}}};

const std::array<std::array<TKeyCaption, 5>, 4> H3LastShiftGroups = {{
    {{{'1', u'ㄲ'}, {'2', u'ㄺ'}, {'3', u'ㅈ'}, {'4', u'ㄿ'}, {'5', u'ㄾ'}}},
    {{{'Q', u'ㅍ'}, {'W', u'ㅌ'}, {'E', u'ㄵ'}, {'R', u'ㅀ'}, {'T', u'ㄽ'}}},
    {{{'A', u'ㄷ'}, {'S', u'ㄶ'}, {'D', u'ㄼ'}, {'F', u'ㄻ'}, {'G', u'ㅒ'}}},
    {{{'Z', u'ㅊ'}, {'X', u'ㅄ'}, {'C', u'ㅋ'}, {'V', u'ㄳ'}, {'B', u'?'}}},
}};

const std::array<TPracticePositionItem, kPositionCount> PracticePositions = {{
    {u"기본자리", TPracticeKind::Principle},
    {u"왼손 윗줄", TPracticeKind::LeftUp},
    {u"왼손 아랫줄", TPracticeKind::LeftDown},
    {u"오른손 윗줄", TPracticeKind::RightUp},
    {u"오른손 아랫줄", TPracticeKind::RightDown},
    {u"검지자리(나머지)", TPracticeKind::Remnant},
    {u"전부연습 (일부제외)", TPracticeKind::All},
    {u"숫자 연습", TPracticeKind::Number},
    {u"특수문자 연습", TPracticeKind::Special},
    {u"한글 3 벌식 공통 - 맨 윗줄", TPracticeKind::Hangeul3Top},
    {u"3-90 글판 - Shift + 글쇠", TPracticeKind::Hangeul3Shift},
    {u"최종글판 - Shift + 왼쪽 첫줄", TPracticeKind::H3LastShift1},
    {u"최종글판 - Shift + 왼쪽 두째줄", TPracticeKind::H3LastShift2},
    {u"최종글판 - Shift + 왼쪽 세째줄", TPracticeKind::H3LastShift3},
    {u"최종글판 - Shift + 왼쪽 네째줄", TPracticeKind::H3LastShift4},
}};

const std::array<const char*, kFingerCount> FingerNames = {"Left4",  "Left3",  "Left2",  "Left1",
                                                           "Right1", "Right2", "Right3", "Right4"};

namespace {
struct TFingerSet
{
    TFinger Finger;
    std::array<int, 9> Keys; // 0 fills the rest
};
constexpr TFingerSet FingerSets[] = {
    {Left4, {'1', 'A', 'Q', 'Z', VK_GRAVE}},
    {Left3, {'2', 'S', 'W', 'X'}},
    {Left2, {'3', 'C', 'D', 'E'}},
    {Left1, {'4', '5', 'B', 'F', 'G', 'R', 'T', 'V'}},
    {Right1, {'6', '7', 'H', 'J', 'M', 'N', 'U', 'Y'}},
    {Right2, {'8', '9', 'I', 'K', VK_COMMA}},
    {Right3, {'0', 'L', 'O', VK_PERIOD}},
    {Right4, {'P', VK_SEMICOLON, VK_EQUAL, VK_MINUS, VK_SLASH, VK_LBRACKET, VK_BACKSLASH, VK_RBRACKET, VK_QUOTE}},
};
} // namespace

TFinger FingerOf(int key)
{
    if (key <= 0) return kFingerCount;
    for (const TFingerSet& set : FingerSets)
        for (int k : set.Keys)
            if (k == key) return set.Finger;
    return kFingerCount;
}

bool IsLeftHandKey(int key)
{
    const TFinger f = FingerOf(key);
    return f == Left4 || f == Left3 || f == Left2 || f == Left1;
}

} // namespace KeyArray

using namespace KeyArray;

TKeyCaps::TKeyCaps()
{
    for (int i = 0; i < kCharKeyCount; ++i)
        FCaps[size_t(i)].Caption = QString(QChar(UsCaption(CharKeys[size_t(i)])));
    LShift.Caption = RShift.Caption = QStringLiteral("Shift");
}

TKeyCap& TKeyCaps::Cap(int key)
{
    const int i = IndexOf(key);
    Q_ASSERT(i >= 0);
    return FCaps[size_t(i)];
}

const TKeyCap& TKeyCaps::Cap(int key) const
{
    return const_cast<TKeyCaps*>(this)->Cap(key);
}

void TKeyCaps::SetColor(int key, TColor color)
{
    TKeyCap& c = Cap(key);
    c.Color = color;
    c.FontColor = 0;
}

void TKeyCaps::Highlight(int key)
{
    SetColor(key, kPracticeColor);
}

namespace {
void Write(TKeyCaps& caps, int key, char16_t caption)
{
    caps.Cap(key).Caption = QString(QChar(caption));
}
void Align(TKeyCaps& caps, int key, TAlignment alignment)
{
    caps.Cap(key).Alignment = alignment;
}
} // namespace

void setCaption(TKeyCaps& caps, uint8_t KeyLanguage)
{
    if (KeyLanguage == kl2Set || KeyLanguage == klEnglish) {
        for (int i = 0; i < 26; ++i)
            Write(caps, 'A' + i, KeyLanguage == kl2Set ? Hangeul2Letters[i] : char16_t('A' + i));
        for (int key : kMiddleReset)
            Align(caps, key, TAlignment::alMiddleCenter);
        for (int key : CharKeys)
            if (key < 'A' || key > 'Z') Write(caps, key, UsCaption(key));
    } else {
        for (int i = 0; i < 26; ++i)
            Write(caps, 'A' + i, Hangeul3Letters[i]);
        for (const TKeyCaption& c : Hangeul3NumberRow)
            Write(caps, c.Key, c.Caption);
        if (KeyLanguage == kl390) {
            for (int key :
                 {VK_GRAVE, VK_MINUS, VK_EQUAL, VK_BACKSLASH, VK_LBRACKET, VK_RBRACKET, VK_QUOTE, VK_COMMA, VK_PERIOD})
                Write(caps, key, UsCaption(key));
        } else {
            // The final layout leaves the grave cap as it is.
            for (const TKeyCaption& c : H3LastPunctuation)
                Write(caps, c.Key, c.Caption);
        }
        for (const TKeyCaption& c : Hangeul3Punctuation)
            Write(caps, c.Key, c.Caption);
        for (int key : Hangeul3BottomKeys)
            Align(caps, key, TAlignment::alBottomCenter);
        for (int key : Hangeul3MiddleKeys)
            Align(caps, key, TAlignment::alMiddleCenter);
    }
    for (int key : CharKeys)
        caps.SetColor(key, kNeutralColor);
    for (TKeyCap* shift : {&caps.LShift, &caps.RShift}) {
        shift->Color = kNeutralColor;
        shift->FontColor = 0;
    }
}

void SetNumberKeys(TKeyCaps& caps, uint8_t KeyLanguage)
{
    const TCaptionTable t = NumberPracticeKeys(KeyLanguage);
    for (int i = 0; i < t.Count; ++i) {
        Write(caps, t.Items[i].Key, t.Items[i].Caption);
        caps.Highlight(t.Items[i].Key);
    }
}

void SetSpecialKeys(TKeyCaps& caps, uint8_t KeyLanguage)
{
    const TCaptionTable t = SymbolCaptions(KeyLanguage);
    const bool threeSet = KeyLanguage == kl390 || KeyLanguage == klFinal;
    for (int i = 0; i < t.Count; ++i) {
        Write(caps, t.Items[i].Key, t.Items[i].Caption);
        caps.Highlight(t.Items[i].Key);
        if (threeSet) Align(caps, t.Items[i].Key, TAlignment::alMiddleCenter);
    }
}
