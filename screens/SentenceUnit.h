#pragma once
// The sentence practice window: a practice text typed block by block under the speed meter's three bars
// (best, average, current), with resume, sounds, the target-speed repeat, Esc to skip a block and tiled
// background pictures.

#include "engine/SentencePractice.h"
#include "platform/Graphics.h"
#include "screens/SentenceImageList.h"
#include "screens/SentenceModel.h"

#include <QImage>
#include <QWidget>

class TThreadTimer;
class TZavaduMeter;
class TZavaduSeries;

struct TSentenceSetupRec;

// The practice text's font as the settings record holds it (face, points, colour, bold and italic).
TFont SentenceFontOf(const TSentenceSetupRec& setup);
void SetSentenceFont(TSentencePractice* control, const TFont& font);
// The window's speed meter: its look, and the best, average and current bars.
void ConfigureSpeedMeter(TZavaduMeter* m);

// Tiles a picture into a bitmap from its top left corner, as the speed meter's background. The picture is
// kept as a 32-bit bitmap, which the canvas copies without converting it, made again only when it changes.
class TTiledPicture
{
public:
    void TileInto(TBitmap* target, const QImage& picture);

private:
    TBitmap FTile;
    qint64 FKey = 0;
};

class TSentenceForm : public QWidget
{
    Q_OBJECT
public:
    explicit TSentenceForm(QWidget* parent = nullptr);
    ~TSentenceForm() override;

    TZavaduMeter* SpeedMeter;
    TSentencePractice* SenEx;
    TThreadTimer* CurrSpeedTimer;

    // Prepares the window for one practice text (before it is shown); raises Exception when the text cannot be read.
    // NativePath, when not empty, is TextFn's own bytes, which open a file whose name is not UTF-8.
    void StartExercise(bool IsLongExercise, const QString& TextFn, const QByteArray& NativePath = QByteArray());

    static QString GetHistoryKey(const QString& TextFn) { return ::GetHistoryKey(TextFn); }
    int LoadHistory();
    // Stores where the shown block began; a failed write is reported, never thrown.
    void SaveHistory();
    void ShowNextSentences();
    void UpdateSpeed(bool isCurrent);

    // State for owners and tests.
    const QString& TextFn() const { return FTextFn; }
    const TSentenceText& Text() const { return FText; }
    const TSentenceImageList& SentenceImageList() const { return FSentenceImageList; }
    const TSentenceSpeeds& Speeds() const { return FSpeeds; }
    TZavaduSeries* MaxBar() const;
    TZavaduSeries* AvgBar() const;
    TZavaduSeries* CurrBar() const;

    void SenExTypingStarted(QObject* Sender);
    void SenExTypingError(QObject* Sender);
    void SenExTypingEnded(QObject* Sender);
    void CurrSpeedTimerTimer(QObject* Sender);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormKeyDown(int Key);
    void FormClose();
    void FormDestroy();
    void SenExDrawBackGround(QObject* Sender, QRect& Rect);
    void SpeedMeterPaintBackGroundImage(QObject* Sender, TBitmap* backImg, bool quickChangeBlock);
    void FitScreenWidth();
    void PlaceControls();

    QString FTextFn;
    TSentenceText FText;
    TSentenceImageList FSentenceImageList;
    TSentenceSpeeds FSpeeds;
    // The built-in background (the invisible picture component of the form).
    QImage FDefaultPicture;
    // The current picture, tiled into the meter's background bitmap.
    TTiledPicture FMeterTile;
    int FControlHeight = 500;
    // The resume line of this text went to the settings already (on close; the destructor need not repeat it).
    bool FHistoryStored = false;
    // The key event the window saw before the typing control; when the control passes it on it is not seen twice.
    const QEvent* FPreviewedKey = nullptr;
};

// The one sentence practice window, or none.
extern TSentenceForm* SentenceForm;
