#include "screens/keySetupUnit.h"

#include "components/ControlUtils.h"
#include "engine/VornixMisc.h"
#include "platform/Application.h"
#include "platform/Exception.h"
#include "platform/HtmlHelp.h"
#include "platform/VirtualKeys.h"
#include "screens/KeyArray.h"
#include "screens/KeyboardChoices.h"
#include "screens/MainUnit.h"
#include "screens/Unit6.h"

#include <QPointer>

TkeySetUpForm* keySetUpForm = nullptr;
bool KeyBoxChanging = false;

using KeyArray::TPracticePosition;

TkeySetUpForm::TkeySetUpForm(QWidget* parent) : TForm(parent)
{
    SetName(QStringLiteral("keySetUpForm"));
    SetCaption(QStringLiteral("키보드 연습설정"));
    SetBorderStyle(TFormBorderStyle::bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(450, 363);
    SetFont(MakeFont(QStringLiteral("굴림"), -13));
    SetKeyPreview(true);
    SetDefaultCloseAction(caFree);
    OnKeyDown = [this](QObject* s, uint16_t& k, TShiftState sh) { FormKeyDown(s, k, sh); };
    OnClose = [](QObject*, TCloseAction& action) { action = caFree; };

    langGroup = new TRadioGroup(this);
    langGroup->SetName(QStringLiteral("langGroup"));
    langGroup->SetBounds(12, 10, 426, 68);
    langGroup->SetCaption(QStringLiteral("연습할 언어 설정"));
    langGroup->SetColumns(2);
    langGroup->SetItems({QStringLiteral("한글 2 벌식"), QStringLiteral("영문 QWERTY"),
                         QStringLiteral("한글 3 벌식 3-90 글판"), QStringLiteral("한글 3 벌식 소리결 최종글판")});
    langGroup->SetTabStop(true);

    GroupBox1 = new TGroupBox(this);
    GroupBox1->SetName(QStringLiteral("GroupBox1"));
    GroupBox1->SetBounds(12, 86, 426, 208);
    GroupBox1->SetCaption(QStringLiteral("연습할 글쇠위치 설정"));

    Bevel1 = new TBevel(GroupBox1);
    Bevel1->SetName(QStringLiteral("Bevel1"));
    Bevel1->SetShape(TBevelShape::bsLeftLine);
    Bevel1->SetBounds(186, 22, 2, 176);

    H3Label = new TBorderLabel(GroupBox1);
    H3Label->SetName(QStringLiteral("H3Label"));
    H3Label->SetBounds(200, 22, 90, 22);
    H3Label->SetCaption(QStringLiteral("한글 3 벌식"));
    H3Label->SetFont(MakeFont(QStringLiteral("굴림"), -13, clBlack, fsBold));
    H3Label->SetBorderColor(clNavy);
    H3Label->SetBorderWidth(2);
    H3Label->SetColor(0xE0E0E0);
    H3Label->Loaded();

    for (int i = 0; i < KeyArray::kPositionCount; ++i) {
        auto* box = new TCheckBox(GroupBox1);
        box->SetName(QStringLiteral("KeyBox") + QString::number(i));
        box->Tag = i;
        box->SetCaption(QString::fromUtf16(KeyArray::PracticePositions[size_t(i)].Caption));
        if (i <= 8)
            box->SetBounds(14, 24 + i * 20, 168, 18);
        else
            box->SetBounds(200, 58 + (i - 9) * 23, 218, 18);
        box->SetTabStop(true);
        box->OnClick = [this](QObject* s) { KeyBoxClick(s); };
    }

    SpeakerOffCheckBox = new TCheckBox(this);
    SpeakerOffCheckBox->SetName(QStringLiteral("SpeakerOffCheckBox"));
    SpeakerOffCheckBox->SetBounds(20, 306, 170, 18);
    SpeakerOffCheckBox->SetCaption(QStringLiteral("효과음 사용 않음(&F)"));
    SpeakerOffCheckBox->SetTabStop(true);
    KeyGuideBox = new TCheckBox(this);
    KeyGuideBox->SetName(QStringLiteral("KeyGuideBox"));
    KeyGuideBox->SetBounds(20, 332, 170, 18);
    KeyGuideBox->SetCaption(QStringLiteral("&Key 안내 사용 않음"));
    KeyGuideBox->SetTabStop(true);

    HelpBtn = MakeButton(QStringLiteral("도움말 (&H)"), 196);
    OkBtn = MakeButton(QStringLiteral("확인(&Y)"), 278);
    CancelBtn = MakeButton(QStringLiteral("취소(&C)"), 360);
    HelpBtn->OnClick = [this](QObject* s) { HelpBtnClick(s); };
    OkBtn->OnClick = [this](QObject* s) { OkBtnClick(s); };
    CancelBtn->OnClick = [this](QObject* s) { CancelBtnClick(s); };

    FormCreate();
    langGroup->OnClick = [this](QObject* s) { langGroupClick(s); };
}

TkeySetUpForm::~TkeySetUpForm()
{
    if (keySetUpForm == this) keySetUpForm = nullptr;
}

TEllipseAnnBtn* TkeySetUpForm::MakeButton(const QString& caption, int left)
{
    auto* b = new TEllipseAnnBtn(this);
    b->SetBounds(left, 314, 78, 32);
    b->SetCaption(caption);
    b->SetBtnShape(TEllipseAnnBtn::TBtnShape::bsRoundRect);
    b->SetColor(0xE0E0E0);
    b->SetFont(MakeFont(QStringLiteral("굴림"), -13));
    b->Loaded();
    return b;
}

void TkeySetUpForm::FormCreate()
{
    OpenSettings();
    for (int i = 0; i < KeyArray::kPositionCount; ++i)
        KeyBox[size_t(i)] = findChild<TCheckBox*>(QStringLiteral("KeyBox") + QString::number(i));
    const TKeyboardChoices choices = ReadKeyboardChoices(*SettingsFile);
    SpeakerOffCheckBox->SetChecked(choices.SpeakerOff);
    KeyGuideBox->SetChecked(choices.KeyGuideOff);
    langGroup->SetItemIndex(choices.Language);
    SetUnCheckedAllKeyBox();
    // A stored number outside the boxes checks none (and practises the home row).
    if (choices.Position) SetBoxChecked(Box(*choices.Position), true);
    SetKeyBoxEnabled();
    CloseSettings();
}

void TkeySetUpForm::SetBoxChecked(TCheckBox* box, bool checked)
{
    // Only a real change fires a click; a flag left set would swallow the user's next click.
    if (box->Checked() == checked) return;
    KeyBoxChanging = true;
    box->SetChecked(checked);
    KeyBoxChanging = false;
}

void TkeySetUpForm::KeyBoxClick(QObject* Sender)
{
    if (KeyBoxChanging) {
        KeyBoxChanging = false;
        return;
    }
    const int i = static_cast<TCheckBox*>(Sender)->Tag;
    SetUnCheckedAllKeyBox();
    SetBoxChecked(KeyBox[size_t(i)], true);
}

void TkeySetUpForm::SetUnCheckedAllKeyBox()
{
    for (TCheckBox* box : KeyBox)
        if (box->Checked()) SetBoxChecked(box, false);
}

void TkeySetUpForm::langGroupClick(QObject*)
{
    SetKeyBoxEnabled();
}

void TkeySetUpForm::SetKeyBoxEnabled()
{
    switch (langGroup->ItemIndex()) {
    case 0:
    case 1:
        EnableKeyBoxRange(TPracticePosition::ThreeSetTopRow, TPracticePosition::FinalShiftRow4);
        H3Label->SetColor(0xE0E0E0);
        break;
    case 2:
        EnableKeyBoxRange(TPracticePosition::FinalShiftRow1, TPracticePosition::FinalShiftRow4);
        H3Label->SetColor(0x00FFFF);
        break;
    case 3:
        EnableKeyBoxRange(TPracticePosition::Shift390, TPracticePosition::Shift390);
        H3Label->SetColor(0x00FFFF);
        break;
    default:
        break;
    }
}

void TkeySetUpForm::EnableKeyBoxRange(TPracticePosition first, TPracticePosition last)
{
    const int right = int(TPracticePosition::ThreeSetTopRow), end = int(TPracticePosition::FinalShiftRow4);
    for (int i = right; i < int(first); ++i)
        KeyBox[size_t(i)]->SetEnabled(true);
    for (int i = int(first); i <= int(last); ++i) {
        TCheckBox* box = KeyBox[size_t(i)];
        if (box->Checked()) {
            SetBoxChecked(Box(TPracticePosition::HomeRow), true);
            SetBoxChecked(box, false);
        }
        box->SetEnabled(false);
    }
    for (int i = int(last) + 1; i <= end; ++i)
        KeyBox[size_t(i)]->SetEnabled(true);
}

TPracticePosition TkeySetUpForm::GetCheckedPosition() const
{
    for (int i = 0; i < KeyArray::kPositionCount; ++i)
        if (KeyBox[size_t(i)]->Checked()) return TPracticePosition(i);
    return TPracticePosition::HomeRow;
}

void TkeySetUpForm::OkBtnClick(QObject*)
{
    const bool speakerOff = SpeakerOffCheckBox->Checked();
    const bool keyGuideOff = KeyGuideBox->Checked();
    const int item = langGroup->ItemIndex();
    const TPracticePosition p = GetCheckedPosition();
    try {
        OpenSettings();
        WriteKeyboardChoices(*SettingsFile, TKeyboardChoices{item, p, speakerOff, keyGuideOff});
        CloseSettings();
    } catch (const Exception& e) {
        // Reported once; the settings are closed and practice starts all the same.
        try {
            CloseSettings();
        } catch (const Exception&) {
        }
        TApplication::ShowException(e.Message());
    }

    // Owned by the main window, so a window system keeps it above the menu; the dialog goes when it closes.
    if (!Form6Created) Form6 = new TForm6(MainForm);
    TForm6* form = Form6;
    form->MakeKeyMap();
    form->Configure(item, p, speakerOff, keyGuideOff);
    const QString language = item >= 0 && item < langGroup->Items().size() ? langGroup->Items()[item] : QString();
    form->setWindowTitle(QStringLiteral("키보드 연습 - ") + language + QStringLiteral(": ") + Box(p)->Caption());
    Close(); // frees the dialog once its modal run is over
    form->GoProblem();
    form->show();
    form->activateWindow();
}

void TkeySetUpForm::CancelBtnClick(QObject*)
{
    Close();
}

void TkeySetUpForm::FormKeyDown(QObject*, uint16_t& Key, TShiftState)
{
    if (Key == VK_ESCAPE) {
        Key = 0;
        CancelBtnClick(this);
    }
}

void TkeySetUpForm::HelpBtnClick(QObject*)
{
    HtmlHelpDisplayTopic(this, ProgramFolder + QStringLiteral("zavlin.chm"), QStringLiteral("키보드연습.htm"));
}
