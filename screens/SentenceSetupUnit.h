#pragma once
// The sentence setup dialog: a practice text from the "Text" folder, the target speed, sound and
// composing-letter options, the practice font and wrong-mark colour seen in a preview line, up to ten
// background pictures, and long (four lines a block) or short (one line) practice.

#include "engine/SentencePractice.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/ListCtrls.h"
#include "platform/StdCtrls.h"
#include "screens/SentenceSetupModel.h"

#include <QList>

class QLabel;

class TSentenceSetupForm : public TForm
{
    Q_OBJECT
public:
    explicit TSentenceSetupForm(QWidget* parent = nullptr);
    ~TSentenceSetupForm() override;

    QLabel* Label1;
    TListView* lvText;
    TImageList TextImageList;
    QLabel* Label3;
    TCheckListBox* lbBackImage;
    TButton* btnAddImage;
    TButton* btnDeleteImage;
    QLabel* Label2;
    TSentencePractice* SentenceExample;
    TButton* btnFont;
    TButton* btnWrongColor;
    TCheckBox* chkSpeedLimit;
    TSpinEdit* edtSpeedLimit;
    TCheckBox* chkShowWrongJohap;
    TCheckBox* chkUseSound;
    QLabel* lblSelectFile;
    TButton* btnHelp;
    TButton* btnLong;
    TButton* btnShort;
    TFontDialog dlgFont;
    TColorDialog dlgWrongColor;
    TOpenPictureDialog dlgPicture;

    // The texts listed, in list order, with their real paths.
    const QList<TPracticeText>& Texts() const { return FTexts; }
    // The preview's font (face, size, colour, style).
    const TFont& PreviewFont() const { return FPreviewFont; }

    // Enables the start buttons and shows the hint exactly while no text is selected.
    void actExerciseUpdate();
    void actSelectFileUpdate();

    void btnLongClick(QObject* Sender);
    void btnShortClick(QObject* Sender);
    void btnAddImageClick(QObject* Sender);
    void btnDeleteImageClick(QObject* Sender);
    void btnFontClick(QObject* Sender);
    void btnWrongColorClick(QObject* Sender);
    void btnHelpClick(QObject* Sender);
    void lbBackImageDrawItem(TCustomListBox* Control, int Index, const TRect& Rect, TOwnerDrawState State);

private:
    void FormCreate();
    void FormDestroy();
    void FormKeyDown(QObject* Sender, uint16_t& Key, TShiftState Shift);
    void FillTextList();
    void LoadBackImages();
    void StoreBackImages();
    // False when the picture cannot be loaded: the item then has no thumbnail.
    // False when the picture cannot be loaded; Error then says why.
    bool MakeThumbnail(int Index, QString* Error = nullptr);
    void FreeThumbnails();
    void StartSentenceExercise(bool IsLong);

    QList<TPracticeText> FTexts;
    TFont FPreviewFont;
};
