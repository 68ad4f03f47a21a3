#pragma once
// The typing control: practice sentences as a problem line with the typed line under it, wrong
// characters marked, the syllable being composed shown as a block coloured by the letter check, a
// blinking bolt caret, and the speed and accuracy of what was typed.

#include "engine/TypingMeasure.h"
#include "platform/Color.h"
#include "platform/Controls.h"
#include "platform/Events.h"
#include "platform/InputContext.h"

#include <QBasicTimer>
#include <QFontMetrics>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QPainter;

enum TTypingLang { tlNative, tlEng };

// Fills Rect with the background; painting goes to the control's Canvas() while it runs.
using TDrawBackGroundEvent = std::function<void(QObject* Sender, QRect& Rect)>;

class TSentencePractice : public QWidget, public TImeClient
{
    Q_OBJECT
public:
    explicit TSentencePractice(QWidget* AOwner = nullptr);
    ~TSentencePractice() override;

    void SetProblem(int SentenceIndex, const QString& problem);
    // Shows a typed line as if it had been typed (a preview of the practice font and its marks); no event fires.
    void SetTyped(int SentenceIndex, const QString& typed);

    float GetTypingAccuracy(int& ProblemLen, int& TypedLen, int& RightlyTypedLen, bool isCurrent) const;
    float GetOnlyTypingAccuracy(bool isCurrent) const;
    int GetTypingSpeed(bool isCurrent) const;
    int GetAvgTypingSpeed(bool isCurrent) const;

    TColor WrongMarkColor() const { return FWrongMarkColor; }
    void SetWrongMarkColor(TColor Value);
    int LineSpace() const { return FLineSpace; }
    void SetLineSpace(int Value);
    int SentenceSpace() const { return FSentenceSpace; }
    void SetSentenceSpace(int Value);
    int SentenceCount() const { return FSentenceCount; }
    void SetSentenceCount(int Value);
    bool CheckComposingChar() const { return FCheckComposingChar; }
    void SetCheckComposingChar(bool Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    int TextOffsetY() const { return FTextOffSetY; }
    void SetTextOffsetY(int Value);
    TTypingLang TypingLang() const;
    void SetTypingLang(TTypingLang Value);
    bool TypingStarted() const { return FTypingStarted; }
    // The control's background (initially clWindow) and its text colour.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor Value);

    void SetOnTypingError(TNotifyEvent Value) { FOnTypingError = std::move(Value); }
    void SetOnTypingEnded(TNotifyEvent Value) { FOnTypingEnded = std::move(Value); }
    void SetOnTypingLangChanged(TNotifyEvent Value) { FOnTypingLangChanged = std::move(Value); }
    void SetOnTypingStarted(TNotifyEvent Value) { FOnTypingStarted = std::move(Value); }
    void SetOnDrawBackGround(TDrawBackGroundEvent Value);
    // Key is the virtual-key code; a handler that sets it to 0 takes the key away from the control.
    void SetOnKeyDown(TKeyEvent Value) { FOnKeyDown = std::move(Value); }
    void SetOnKeyUp(TKeyEvent Value) { FOnKeyUp = std::move(Value); }
    void SetOnKeyPress(TKeyPressEvent Value) { FOnKeyPress = std::move(Value); }

    // The painter of the paint in progress (for OnDrawBackGround), none outside it.
    QPainter* Canvas() const { return FCanvas; }
    // The control's input context, for a caller that commits or switches modes itself.
    TInputContext& InputContext() { return *FHIMC; }

    // Read access for owners and tests.
    const TSentenceList& Sentences() const { return FSentences; }
    int CurrentIndex() const { return FCurrIndex; }
    bool IsComposing() const { return FIsComposing; }
    char16_t ComposingChar() const { return FComposingChar; }
    int CaretTick() const { return FCaretTick; }
    bool CaretVisible() const { return FCaretVisible; }
    const TTypingMeasure& Measure() const { return FMeasure; }
    // Whether the composing character fits the current sentence (letters: its letter form).
    bool IsComposingCharRight(const TSentence& sentence, QString& letters) const;

    // Top of a sentence's problem line, and the rectangle of a typed character (or the end of the line).
    int ProblemTop(int SentenceIndex) const;
    QRect TypedCellRect(int SentenceIndex, int Position) const;

    QSize sizeHint() const override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

    // Message-level input, as the input context delivers it.
    void ImeStartComposition() override;
    void ImeComposition(char16_t ch) override;
    void ImeEndComposition() override;
    void ImeChar(char16_t ch) override;
    void ImeNotify(int command) override;
    void KeyChar(char16_t ch) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum class TPart { All, Problem, Typed, Caret };

    TSentence* Current() const { return FCurrIndex >= 0 ? FSentences[FCurrIndex].get() : nullptr; }
    int IndexOf(const TSentence* sentence) const;
    void RedrawSentence(const TSentence* sentence, int from, TPart part);
    void RedrawCurrent(int from, TPart part);
    void DrawBackGround(QPainter& painter, QRect rect);
    void DrawSentence(QPainter& painter, int index, int y, const QRect& clip);
    void DrawWrongMark(QPainter& painter, const QRect& cell, QChar ch);
    int MeasureString(const QString& text) const;
    const std::vector<int>& TypedX(const TSentence& sentence) const;
    void UpdateMetrics();
    int CharWidth(char16_t ch) const;
    void SetCurrentIndex(int index);

    void StartTyping();
    void GoNextSentence();
    void GoPrevSentence();
    void Commit(char16_t ch);
    void CheckTypingError(bool composition);
    void Fire(const TNotifyEvent& event);

    std::unique_ptr<TInputContext> FHIMC;
    QPixmap FRedBoltIcon;
    QPixmap FBlueBoltIcon;
    QPixmap FRedBoltScaled;
    QPixmap FBlueBoltScaled;
    bool FIsComposing = false;
    int FCurrIndex = -1;
    int FSentenceCount = 0;
    int FLineSpace = 5;
    int FSentenceSpace = 25;
    TColor FWrongMarkColor = clRed;
    TNotifyEvent FOnTypingEnded;
    TDrawBackGroundEvent FOnDrawBackGround;
    char16_t FComposingChar = 0;
    int FCaretTick = 0;
    bool FCaretVisible = false;
    bool FTypingStarted = false;
    QString FPrevComposingDivChars;
    bool FCheckComposingChar = false;
    bool FReadOnly = false;
    TTypingMeasure FMeasure;
    TNotifyEvent FOnTypingError;
    TNotifyEvent FOnTypingLangChanged;
    TNotifyEvent FOnTypingStarted;
    TKeyEvent FOnKeyDown;
    TKeyEvent FOnKeyUp;
    TKeyPressEvent FOnKeyPress;
    int FTextOffSetY = 0;
    TSentenceList FSentences;

    TColor FColor = clWindow;
    TColor FFontColor = clWindowText;
    QBasicTimer FCaretTimer;
    QPainter* FCanvas = nullptr;
    QFont FPaintFont;
    std::unique_ptr<QFontMetrics> FMetrics;
    int FCharWidth = 0; // extent of "A"
    int FCharHeight = 0;
    // Character widths of the paint font for the first 64K code points, measured on first use.
    mutable std::vector<uint16_t> FCharWidths;
};
