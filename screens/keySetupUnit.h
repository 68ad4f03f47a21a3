#pragma once
// The keyboard setup dialog: layout, practice position, sound and key guide. It reads its choices from the
// settings when created, and OK stores them and sets up the practice window (made when none is open).
// The fifteen position check boxes act as one group; which of them can be chosen depends on the layout.

#include "components/BorderLabel.h"
#include "components/EllipseAnnBtn.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "screens/KeyArray.h"

#include <array>

class TkeySetUpForm : public TForm
{
    Q_OBJECT
public:
    explicit TkeySetUpForm(QWidget* parent = nullptr);
    ~TkeySetUpForm() override;

    TRadioGroup* langGroup;
    TGroupBox* GroupBox1;
    TBevel* Bevel1;
    TBorderLabel* H3Label;
    TCheckBox* SpeakerOffCheckBox;
    TCheckBox* KeyGuideBox;
    TEllipseAnnBtn* HelpBtn;
    TEllipseAnnBtn* OkBtn;
    TEllipseAnnBtn* CancelBtn;
    std::array<TCheckBox*, 15> KeyBox{};

    void FormCreate();
    void KeyBoxClick(QObject* Sender);
    void langGroupClick(QObject* Sender);
    void SetKeyBoxEnabled();
    void SetUnCheckedAllKeyBox();
    void OkBtnClick(QObject* Sender);
    void CancelBtnClick(QObject* Sender);
    void FormKeyDown(QObject* Sender, uint16_t& Key, TShiftState Shift);
    void HelpBtnClick(QObject* Sender);

    // Boxes first..last are disabled (a check among them moves to the home row); the other boxes of the
    // right column (the three-set positions) are enabled.
    void EnableKeyBoxRange(KeyArray::TPracticePosition first, KeyArray::TPracticePosition last);
    // The first checked box, the home row when none is.
    KeyArray::TPracticePosition GetCheckedPosition() const;
    TCheckBox* Box(KeyArray::TPracticePosition p) const { return KeyBox[size_t(p)]; }

private:
    TEllipseAnnBtn* MakeButton(const QString& caption, int left);
    // Changes a box's check from the program; the click this fires is not a user's choice.
    void SetBoxChecked(TCheckBox* box, bool checked);
};

// The open setup dialog, or null.
extern TkeySetUpForm* keySetUpForm;
// Set just before the program changes a position box's check, so the click that change fires is ignored.
extern bool KeyBoxChanging;
