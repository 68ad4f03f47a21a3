#include "engine/SentencePractice.h"

#include "engine/HangulCheck.h"
#include "platform/Clock.h"
#include "platform/KeyDispatch.h"
#include "platform/VirtualKeys.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
constexpr int CaretBlinkInterval = 400;
constexpr int LeftMargin = 2;

QString CleanProblem(const QString& text)
{
    int begin = 0, end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    QString result;
    result.reserve(end - begin);
    for (int i = begin; i < end; ++i) {
        const QChar ch = text[i];
        if (ch == u' ' && !result.isEmpty() && result.back() == u' ') continue;
        result.append(ch);
    }
    return result;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------------
TSentencePractice::TSentencePractice(QWidget* AOwner) : QWidget(AOwner)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    FRedBoltIcon.load(QStringLiteral(":/icons/IDR_BLUE_BOLT_DOWN.png"));
    FBlueBoltIcon.load(QStringLiteral(":/icons/IDR_BLUE_BOLT.png"));
    FHIMC = std::make_unique<TInputContext>(*this);
    UpdateMetrics();
    SetSentenceCount(2);
}

TSentencePractice::~TSentencePractice()
{
    SetSentenceCount(0);
}

void TSentencePractice::UpdateMetrics()
{
    FPaintFont = font();
    // Every character is placed by its own advance, so the typed line lines up with the problem line
    // and a character's cell is where it is drawn.
    FPaintFont.setKerning(false);
    FPaintFont.setStyleStrategy(QFont::StyleStrategy(FPaintFont.styleStrategy() | QFont::PreferNoShaping));
    FMetrics = std::make_unique<QFontMetrics>(FPaintFont);
    FCharWidth = FMetrics->horizontalAdvance(QLatin1Char('A'));
    FCharHeight = FMetrics->height();
    FCharWidths.assign(0x10000, 0);
    for (auto& s : FSentences)
        s->FTypedX.clear();
    const int side = std::max(1, FCharHeight);
    FRedBoltScaled = FRedBoltIcon.isNull()
                         ? QPixmap()
                         : FRedBoltIcon.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    FBlueBoltScaled = FBlueBoltIcon.isNull()
                          ? QPixmap()
                          : FBlueBoltIcon.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

int TSentencePractice::CharWidth(char16_t ch) const
{
    uint16_t& w = FCharWidths[ch];
    if (w == 0) w = uint16_t(FMetrics->horizontalAdvance(QChar(ch)) + 1);
    return w - 1;
}

int TSentencePractice::MeasureString(const QString& text) const
{
    int w = 0;
    for (QChar ch : text)
        w += CharWidth(ch.unicode());
    return w;
}

const std::vector<int>& TSentencePractice::TypedX(const TSentence& sentence) const
{
    const QString& typed = sentence.typed;
    std::vector<int>& x = sentence.FTypedX;
    const QString& old = sentence.FMeasuredTyped;
    int keep = 0;
    if (!x.empty()) {
        const int n = std::min(old.size(), typed.size());
        while (keep < n && old[keep] == typed[keep])
            ++keep;
    }
    if (x.empty() || keep != old.size() || keep != typed.size()) {
        x.resize(typed.size() + 1);
        x[0] = 0;
        for (int i = keep; i < typed.size(); ++i)
            x[i + 1] = x[i] + CharWidth(typed[i].unicode());
        sentence.FMeasuredTyped = typed;
    }
    return x;
}

// ---------------------------------------------------------------------------------------------------------------
void TSentencePractice::SetWrongMarkColor(TColor Value)
{
    if (Value == FWrongMarkColor) return;
    FWrongMarkColor = Value;
    update();
}

void TSentencePractice::SetLineSpace(int Value)
{
    if (Value == FLineSpace) return;
    FLineSpace = Value;
    update();
}

void TSentencePractice::SetSentenceSpace(int Value)
{
    if (Value == FSentenceSpace) return;
    FSentenceSpace = Value;
    update();
}

void TSentencePractice::SetTextOffsetY(int Value)
{
    if (Value == FTextOffSetY) return;
    FTextOffSetY = Value;
    update();
}

void TSentencePractice::SetColor(TColor Value)
{
    if (Value == FColor) return;
    FColor = Value;
    update();
}

void TSentencePractice::SetFontColor(TColor Value)
{
    if (Value == FFontColor) return;
    FFontColor = Value;
    update();
}

void TSentencePractice::SetCheckComposingChar(bool Value)
{
    FCheckComposingChar = Value;
    if (FIsComposing) RedrawCurrent(Current() ? Current()->typed.size() + 1 : 1, TPart::Caret);
}

void TSentencePractice::SetReadOnly(bool Value)
{
    if (Value == FReadOnly) return;
    FReadOnly = Value;
    // A read-only control takes no input, so a system input method passes its keys by.
    setAttribute(Qt::WA_InputMethodEnabled, !Value);
    if (Value) {
        FCaretTimer.stop();
        FCaretVisible = false;
    } else if (hasFocus()) {
        FCaretVisible = true;
        FCaretTimer.start(CaretBlinkInterval, this);
    }
    update();
}

void TSentencePractice::SetOnDrawBackGround(TDrawBackGroundEvent Value)
{
    FOnDrawBackGround = std::move(Value);
    update();
}

void TSentencePractice::SetSentenceCount(int Value)
{
    if (Value == FSentenceCount || Value < 0) return;
    FSentences.clear();
    FSentences.reserve(Value);
    for (int i = 0; i < Value; ++i)
        FSentences.push_back(std::make_unique<TSentence>());
    FSentenceCount = Value;
    FCurrIndex = Value > 0 ? 0 : -1;
    FMeasure.FSetAdded = false;
    update();
}

TTypingLang TSentencePractice::TypingLang() const
{
    int conversion = 0, sentence = 0;
    if (FHIMC->GetConversionStatus(conversion, sentence) && (conversion & IME_CMODE_NATIVE)) return tlNative;
    return tlEng;
}

void TSentencePractice::SetTypingLang(TTypingLang Value)
{
    if (Value == tlNative)
        FHIMC->SetConversionStatus(IME_CMODE_NATIVE, 0);
    else if (Value == tlEng)
        FHIMC->SetConversionStatus(IME_CMODE_ALPHANUMERIC, 0);
}

void TSentencePractice::SetProblem(int SentenceIndex, const QString& problem)
{
    const QString text = CleanProblem(problem);
    if (SentenceIndex >= 0 && SentenceIndex < FSentenceCount) {
        TSentence& s = *FSentences[SentenceIndex];
        s.problem = text;
        s.typed.clear();
        RedrawSentence(&s, 1, TPart::All);
    }
    FTypingStarted = false;
    FMeasure.FSetAdded = false;
    if (FSentenceCount > 0) SetCurrentIndex(0);
}

void TSentencePractice::SetTyped(int SentenceIndex, const QString& typed)
{
    if (SentenceIndex < 0 || SentenceIndex >= FSentenceCount) return;
    TSentence& s = *FSentences[SentenceIndex];
    s.typed = typed;
    RedrawSentence(&s, 1, TPart::Typed);
}

// ---------------------------------------------------------------------------------------------------------------
float TSentencePractice::GetTypingAccuracy(int& ProblemLen, int& TypedLen, int& RightlyTypedLen, bool isCurrent) const
{
    return TTypingMeasure::GetTypingAccuracy(FSentences, ProblemLen, TypedLen, RightlyTypedLen, isCurrent);
}

float TSentencePractice::GetOnlyTypingAccuracy(bool isCurrent) const
{
    return TTypingMeasure::GetOnlyTypingAccuracy(FSentences, isCurrent);
}

int TSentencePractice::GetTypingSpeed(bool isCurrent) const
{
    return FMeasure.GetTypingSpeed(FSentences, isCurrent);
}

int TSentencePractice::GetAvgTypingSpeed(bool isCurrent) const
{
    return FMeasure.GetAvgTypingSpeed(FSentences, isCurrent);
}

bool TSentencePractice::IsComposingCharRight(const TSentence& sentence, QString& letters) const
{
    return ::IsComposingCharRight(FCheckComposingChar, FIsComposing, sentence.problem, sentence.typed, FComposingChar,
                                  letters);
}

// ---------------------------------------------------------------------------------------------------------------
int TSentencePractice::ProblemTop(int SentenceIndex) const
{
    return FTextOffSetY + 2 + SentenceIndex * (2 * FCharHeight + FLineSpace + FSentenceSpace);
}

QRect TSentencePractice::TypedCellRect(int SentenceIndex, int Position) const
{
    if (SentenceIndex < 0 || SentenceIndex >= FSentenceCount) return QRect();
    const TSentence& s = *FSentences[SentenceIndex];
    const std::vector<int>& x = TypedX(s);
    const int p = std::clamp(Position, 0, int(s.typed.size()));
    const int w = p < s.typed.size() ? x[p + 1] - x[p] : 3 * FCharWidth;
    return QRect(LeftMargin + x[p], ProblemTop(SentenceIndex) + FCharHeight + FLineSpace, w, FCharHeight);
}

int TSentencePractice::IndexOf(const TSentence* sentence) const
{
    for (int i = 0; i < FSentenceCount; ++i)
        if (FSentences[i].get() == sentence) return i;
    return -1;
}

void TSentencePractice::RedrawSentence(const TSentence* sentence, int from, TPart part)
{
    const int index = IndexOf(sentence);
    if (index < 0) return;
    const int top = ProblemTop(index);
    QRect rect;
    switch (part) {
    case TPart::All:
        rect = QRect(0, top, width(), 2 * FCharHeight + FLineSpace);
        break;
    case TPart::Problem:
        rect = QRect(0, top, width(), FCharHeight);
        break;
    case TPart::Typed: {
        // The rest of the typed line from the first changed character: it also covers a character
        // just taken back, the composing block and the caret.
        const std::vector<int>& x = TypedX(*sentence);
        const int p = std::clamp(from - 1, 0, int(sentence->typed.size()));
        const int left = LeftMargin + x[p];
        rect = QRect(left, top + FCharHeight + FLineSpace, std::max(0, width() - left), FCharHeight);
        break;
    }
    case TPart::Caret: {
        // Only the cell after the typed text: the caret's area (its icon is FCharHeight square) or the
        // composing block. A blink repaints nothing else.
        const std::vector<int>& x = TypedX(*sentence);
        const int left = LeftMargin + x[sentence->typed.size()];
        int w = std::max(3 * FCharWidth, FCharHeight);
        if (FIsComposing) w = std::max(w, CharWidth(FComposingChar));
        rect = QRect(left, top + FCharHeight + FLineSpace, w, FCharHeight) & this->rect();
        break;
    }
    }
    update(rect);
}

void TSentencePractice::RedrawCurrent(int from, TPart part)
{
    if (const TSentence* s = Current()) RedrawSentence(s, from, part);
}

void TSentencePractice::SetCurrentIndex(int index)
{
    if (index == FCurrIndex) return;
    // The caret and the composing block move with the current sentence.
    if (const TSentence* old = Current()) RedrawSentence(old, old->typed.size(), TPart::Typed);
    FCurrIndex = index;
    if (const TSentence* now = Current()) RedrawSentence(now, now->typed.size(), TPart::Typed);
}

void TSentencePractice::DrawBackGround(QPainter& painter, QRect rect)
{
    if (FOnDrawBackGround) {
        TDrawBackGroundEvent handler = FOnDrawBackGround;
        handler(this, rect);
    } else {
        painter.fillRect(rect, ToQColor(FColor));
    }
}

void TSentencePractice::DrawWrongMark(QPainter& painter, const QRect& cell, QChar ch)
{
    const QColor wrong = ToQColor(FWrongMarkColor);
    if (ch == u' ') {
        painter.setPen(QPen(wrong, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(cell.left() + 1, cell.top() + 2, cell.width() - 2, cell.height() - 4));
    } else {
        painter.setPen(wrong);
        painter.drawText(cell.left(), cell.top() + FMetrics->ascent(), QString(ch));
    }
}

void TSentencePractice::DrawSentence(QPainter& painter, int index, int y, const QRect& clip)
{
    const TSentence& s = *FSentences[index];
    const int cy = FCharHeight;
    const int ascent = FMetrics->ascent();
    const QColor textColor = ToQColor(FFontColor);

    // Problem line.
    if (y <= clip.bottom() && y + cy > clip.top()) {
        painter.setPen(textColor);
        int x = LeftMargin;
        for (QChar ch : s.problem) {
            const int w = CharWidth(ch.unicode());
            if (x > clip.right()) break;
            if (x + w >= clip.left() && ch != u' ') painter.drawText(x, y + ascent, QString(ch));
            x += w;
        }
    }

    // Typed line.
    const int ty = y + cy + FLineSpace;
    if (ty > clip.bottom() || ty + cy <= clip.top()) return;
    const std::vector<int>& xs = TypedX(s);
    const int n = s.typed.size();
    const int problemLen = s.problem.size();
    // First character whose cell reaches into the area to paint.
    int i = int(std::upper_bound(xs.begin() + 1, xs.end(), clip.left() - LeftMargin) - xs.begin()) - 1;
    for (; i < n; ++i) {
        const int x = LeftMargin + xs[i];
        if (x > clip.right()) break;
        const QChar ch = s.typed[i];
        const QRect cell(x, ty, xs[i + 1] - xs[i], cy);
        // Characters past the end of the problem are kept and shown as wrong.
        const bool wrong = i >= problemLen || ch != s.problem[i];
        if (wrong) {
            DrawWrongMark(painter, cell, ch);
        } else if (ch != u' ') {
            painter.setPen(textColor);
            painter.drawText(x, ty + ascent, QString(ch));
        }
    }
    if (index != FCurrIndex) return;
    const int x = LeftMargin + xs[n];
    if (FIsComposing) {
        QString letters;
        QColor block = IsComposingCharRight(s, letters) ? textColor : ToQColor(FWrongMarkColor);
        QColor letter = ToQColor(FColor);
        if (FCaretTick == 1 && FCaretVisible && !FReadOnly) std::swap(block, letter);
        const int w = CharWidth(FComposingChar);
        painter.fillRect(QRect(x, ty, w, cy), block);
        painter.setPen(letter);
        painter.drawText(x, ty + ascent, QString(QChar(FComposingChar)));
    } else if (FCaretVisible && !FReadOnly) {
        const QPixmap& icon = FCaretTick == 1 ? FBlueBoltScaled : FRedBoltScaled;
        if (!icon.isNull()) painter.drawPixmap(x, ty, icon);
    }
}

void TSentencePractice::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    FCanvas = &painter;
    painter.setFont(FPaintFont);
    const QRegion& region = event->region();
    auto paintRect = [&](const QRect& clip) {
        DrawBackGround(painter, clip);
        const int band = 2 * FCharHeight + FLineSpace;
        for (int i = 0; i < FSentenceCount; ++i) {
            const int top = ProblemTop(i);
            if (top > clip.bottom()) break;
            if (top + band > clip.top()) DrawSentence(painter, i, top, clip);
        }
    };
    if (region.rectCount() <= 4) {
        for (const QRect& clip : region) {
            painter.setClipRect(clip);
            paintRect(clip);
        }
    } else {
        paintRect(region.boundingRect());
    }
    FCanvas = nullptr;
}

QSize TSentencePractice::sizeHint() const
{
    return QSize(60 * FCharWidth, ProblemTop(std::max(1, FSentenceCount)) + FCharHeight);
}

QVariant TSentencePractice::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImEnabled:
        return !FReadOnly;
    case Qt::ImCursorRectangle:
        return Current() ? TypedCellRect(FCurrIndex, Current()->typed.size()) : QRect();
    case Qt::ImHints:
        return int(Qt::ImhNoPredictiveText | Qt::ImhNoAutoUppercase);
    default:
        return QWidget::inputMethodQuery(query);
    }
}

void TSentencePractice::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        UpdateMetrics();
        update();
    }
    QWidget::changeEvent(event);
}

// ---------------------------------------------------------------------------------------------------------------
void TSentencePractice::Fire(const TNotifyEvent& event)
{
    // A copy: the handler may replace the handler, the problems or the sentences themselves.
    if (event) {
        TNotifyEvent handler = event;
        handler(this);
    }
}

void TSentencePractice::StartTyping()
{
    if (FTypingStarted) return;
    FMeasure.FStartTick = GetTickCount();
    FTypingStarted = true;
    Fire(FOnTypingStarted);
}

void TSentencePractice::GoNextSentence()
{
    for (;;) {
        if (!Current()) return;
        if (FCurrIndex >= FSentenceCount - 1) {
            FMeasure.FStopTick = GetTickCount();
            FMeasure.AddTotals(FSentences);
            Fire(FOnTypingEnded);
            return;
        }
        SetCurrentIndex(FCurrIndex + 1);
        if (!Current()->problem.isEmpty()) return;
    }
}

void TSentencePractice::GoPrevSentence()
{
    if (FCurrIndex <= 0) return;
    const TSentence* old = Current();
    SetCurrentIndex(FCurrIndex - 1);
    RedrawSentence(old, 1, TPart::Typed);
    RedrawCurrent(1, TPart::Typed);
}

void TSentencePractice::CheckTypingError(bool composition)
{
    const TSentence* s = Current();
    if (!s) return;
    bool error = false;
    if (!composition) {
        const int n = s->typed.size();
        error = n > 0 && n <= s->problem.size() && s->typed[n - 1] != s->problem[n - 1];
    } else {
        QString letters;
        if (!IsComposingCharRight(*s, letters)) {
            error = !letters.isEmpty() && FPrevComposingDivChars.size() <= letters.size();
            FPrevComposingDivChars = letters;
        }
    }
    if (error) Fire(FOnTypingError);
}

void TSentencePractice::Commit(char16_t ch)
{
    TSentence* s = Current();
    if (!s) return;
    if (s->typed.size() < s->problem.size()) {
        s->AppendChar(ch);
        CheckTypingError(false);
        return;
    }
    // A full line: the key begins the next line, and a blank there is dropped.
    const int full = FCurrIndex;
    GoNextSentence();
    if (full < FSentenceCount) RedrawSentence(FSentences[full].get(), FSentences[full]->typed.size(), TPart::Typed);
    if (ch == u' ') return;
    if (TSentence* next = Current()) {
        next->AppendChar(ch);
        CheckTypingError(false);
    }
}

// ---------------------------------------------------------------------------------------------------------------
void TSentencePractice::KeyChar(char16_t ch)
{
    if (!Current() || FReadOnly || ch == 27) return;
    StartTyping();
    TSentence* s = Current();
    if (!s) return;
    if (ch == 8) {
        if (s->typed.isEmpty())
            GoPrevSentence();
        else
            s->BackSpace();
    } else if (ch == 13) {
        const int previous = FCurrIndex;
        GoNextSentence();
        if (previous < FSentenceCount)
            RedrawSentence(FSentences[previous].get(), FSentences[previous]->typed.size(), TPart::Typed);
    } else {
        Commit(ch);
    }
    if (const TSentence* now = Current()) RedrawSentence(now, now->typed.size(), TPart::Typed);
    if (FOnKeyPress) {
        QChar key(ch);
        TKeyPressEvent handler = FOnKeyPress;
        handler(this, key);
    }
}

void TSentencePractice::ImeStartComposition()
{
    if (!Current() || FReadOnly) return;
    FIsComposing = true;
}

void TSentencePractice::ImeComposition(char16_t ch)
{
    if (!Current() || FReadOnly) return;
    StartTyping();
    if (!Current()) return;
    FComposingChar = ch;
    RedrawCurrent(Current()->typed.size() + 1, TPart::Typed);
    CheckTypingError(true);
}

void TSentencePractice::ImeEndComposition()
{
    if (!Current() || FReadOnly) return;
    FIsComposing = false;
    RedrawCurrent(Current()->typed.size(), TPart::Typed);
}

void TSentencePractice::ImeChar(char16_t ch)
{
    if (!Current() || FReadOnly) return;
    StartTyping();
    if (!Current()) return;
    FPrevComposingDivChars.clear();
    Commit(ch);
    if (const TSentence* now = Current()) RedrawSentence(now, now->typed.size(), TPart::Typed);
}

void TSentencePractice::ImeNotify(int command)
{
    if (!Current()) return;
    if (command == IMN_SETCONVERSIONMODE) Fire(FOnTypingLangChanged);
}

// ---------------------------------------------------------------------------------------------------------------
void TSentencePractice::keyPressEvent(QKeyEvent* event)
{
    if (FireKey(FOnKeyDown, this, *event) != TKeyOutcome::Pass) {
        event->accept();
        return;
    }
    if (!Current() || FReadOnly) {
        QWidget::keyPressEvent(event);
        return;
    }
    const bool used = FHIMC->KeyPress(*event);
    // Esc is left to the window (a dialog closes on it); the control neither types nor keeps it.
    if (used && event->key() != Qt::Key_Escape)
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

void TSentencePractice::keyReleaseEvent(QKeyEvent* event)
{
    // A key held down is released once: the repeats' releases are not reported.
    if (event->isAutoRepeat()) {
        event->ignore();
        return;
    }
    if (FireKey(FOnKeyUp, this, *event) != TKeyOutcome::Pass) {
        event->accept();
        return;
    }
    if (Current() && !FReadOnly && FHIMC->KeyRelease(*event))
        event->accept();
    else
        QWidget::keyReleaseEvent(event);
}

void TSentencePractice::inputMethodEvent(QInputMethodEvent* event)
{
    if (!Current() || FReadOnly) {
        QWidget::inputMethodEvent(event);
        return;
    }
    FHIMC->InputMethod(*event);
    event->accept();
}

void TSentencePractice::focusInEvent(QFocusEvent* event)
{
    FHIMC->FocusIn();
    if (Current() && !FReadOnly) {
        FCaretVisible = true;
        FCaretTimer.start(CaretBlinkInterval, this);
        RedrawCurrent(Current()->typed.size() + 1, TPart::Caret);
    }
    QWidget::focusInEvent(event);
}

void TSentencePractice::focusOutEvent(QFocusEvent* event)
{
    FHIMC->FocusOut();
    if (Current()) {
        FCaretVisible = false;
        FCaretTimer.stop();
        RedrawCurrent(Current()->typed.size() + 1, TPart::Caret);
    }
    QWidget::focusOutEvent(event);
}

void TSentencePractice::mousePressEvent(QMouseEvent* event)
{
    if (Current()) setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}

void TSentencePractice::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == FCaretTimer.timerId()) {
        FCaretTick = (FCaretTick + 1) % 2;
        RedrawCurrent(Current() ? Current()->typed.size() + 1 : 1, TPart::Caret);
        return;
    }
    QWidget::timerEvent(event);
}
