#include "game/GameSetUpUnit.h"

#include "components/EllipseAnnBtn.h"
#include "engine/VornixMisc.h"
#include "game/GameUnit.h"
#include "game/ScoreUnit.h"
#include "platform/Dialogs.h"
#include "platform/Edit.h"
#include "platform/Exception.h"
#include "platform/HtmlHelp.h"
#include "platform/InputContext.h"
#include "platform/StdCtrls.h"
#include "platform/VirtualKeys.h"

namespace {
TFont GulimFont()
{
    TFont f;
    f.Name = QStringLiteral("굴림");
    f.Height = -12;
    f.Color = clWindowText;
    return f;
}

TEllipseAnnBtn* MakeButton(QWidget* parent, const QString& caption, int left)
{
    auto* b = new TEllipseAnnBtn(parent);
    b->SetBtnShape(TEllipseAnnBtn::TBtnShape::bsRoundRect);
    b->SetColor(14737632);
    b->SetFont(GulimFont());
    b->SetCaption(caption);
    b->SetBounds(left, 176, 86, 30);
    return b;
}
} // namespace

TGameSetUpForm::TGameSetUpForm(QWidget* parent) : TForm(parent)
{
    SetName(QStringLiteral("GameSetUpForm"));
    SetCaption(QStringLiteral("'조르비' 설정"));
    SetBorderStyle(TFormBorderStyle::bsSingle);
    SetBorderIcons(biSystemMenu);
    SetFormStyle(TFormStyle::fsStayOnTop);
    SetPosition(TPosition::poScreenCenter);
    SetColor(clBtnFace);
    SetClientSize(382, 214);
    OnClose = [this](QObject* s, TCloseAction& a) { FormClose(s, a); };
    OnKeyDown = [this](QObject* s, uint16_t& k, TShiftState sh) { FormKeyDown(s, k, sh); };

    RotGroup = new TRadioGroup(this);
    RotGroup->SetCaption(QStringLiteral("시계 회전방향"));
    RotGroup->SetItems({QStringLiteral("시계방향(&CLOCK...)"), QStringLiteral("반시계방향(C&OUNT...)"),
                        QStringLiteral("회전안함(&NO ROT...)")});
    RotGroup->SetBounds(8, 6, 180, 92);

    LanguageGroup = new TRadioGroup(this);
    LanguageGroup->SetCaption(QStringLiteral("게임종류  설정"));
    LanguageGroup->SetItems({QStringLiteral("한글게임(&K)"), QStringLiteral("영어게임(&E)")});
    LanguageGroup->SetBounds(8, 104, 180, 64);

    LevelGroup = new TRadioGroup(this);
    LevelGroup->SetCaption(QStringLiteral("시작단계"));
    QStringList levels;
    for (int l = 1; l <= 8; ++l)
        levels << QStringLiteral("%1단계(&%1)").arg(l);
    LevelGroup->SetItems(levels);
    LevelGroup->SetColumns(2);
    LevelGroup->SetBounds(196, 6, 178, 122);

    SpeakerCheckBox = new TCheckBox(this);
    SpeakerCheckBox->SetCaption(QStringLiteral("효과음 사용 안함."));
    SpeakerCheckBox->SetBounds(204, 140, 170, 20);
    SpeakerCheckBox->OnKeyDown = [this](QObject* s, uint16_t& k, TShiftState sh) { FormKeyDown(s, k, sh); };

    for (TControl* c : std::initializer_list<TControl*>{RotGroup, LanguageGroup, LevelGroup, SpeakerCheckBox})
        c->SetFont(GulimFont());

    HelpBtn = MakeButton(this, QStringLiteral("도움말(&H)"), 8);
    ScoreBtn = MakeButton(this, QStringLiteral("점수판(&B)"), 101);
    OkBtn = MakeButton(this, QStringLiteral("시작(&S)"), 194);
    NoBtn = MakeButton(this, QStringLiteral("취소(&C)"), 288);
    HelpBtn->OnClick = [this](QObject* s) { HelpBtnClick(s); };
    ScoreBtn->OnClick = [this](QObject* s) { ScoreBtnClick(s); };
    OkBtn->OnClick = [this](QObject* s) { OkBtnClick(s); };
    NoBtn->OnClick = [this](QObject* s) { NoBtnClick(s); };

    FormCreate();
}

void TGameSetUpForm::FormCreate()
{
    OpenSettings();
    const TGameChoices c = ReadGameChoices(*SettingsFile);
    CloseSettings();
    SpeakerCheckBox->SetChecked(c.SpeakerOff);
    LevelGroup->SetItemIndex(c.StartLevel);
    LanguageGroup->SetItemIndex(c.Language);
    RotGroup->SetItemIndex(c.Rotation);
}

TGameChoices TGameSetUpForm::Choices() const
{
    TGameChoices c;
    c.SpeakerOff = SpeakerCheckBox->Checked();
    c.StartLevel = qMax(0, LevelGroup->ItemIndex());
    c.Language = qMax(0, LanguageGroup->ItemIndex());
    c.Rotation = qMax(0, RotGroup->ItemIndex());
    return c;
}

void TGameSetUpForm::OkBtnClick(QObject*)
{
    const TGameChoices c = Choices();
    // Owned by the main window that opened this dialog (the dialog goes when it closes), so a window system
    // keeps the game above the menu.
    GameForm = new TGameForm(parentWidget());
    TGameForm* game = GameForm;
    TGameModel& m = game->Model();
    m.GameLevel = c.StartLevel + 1;
    m.EnglishGame = c.Language == 1;
    game->Memo1->SetConversionMode(m.EnglishGame ? IME_CMODE_ALPHANUMERIC : IME_CMODE_NATIVE);
    game->SetRotation(TRotation(c.Rotation));
    m.SoundOff = c.SpeakerOff;

    // A settings file that cannot be written costs the stored choices, not the game.
    try {
        OpenSettings();
        WriteGameChoices(*SettingsFile, c);
        CloseSettings();
    } catch (const Exception& e) {
        CloseSettings();
        MessageBox(this, e.Message(), QStringLiteral("Vornix 타자연습"), MB_OK | MB_ICONWARNING);
    }

    game->SetTimerInterval();
    game->Show();
    Close();
    if (game->isMinimized()) game->showNormal();
}

void TGameSetUpForm::NoBtnClick(QObject*)
{
    Close();
}

void TGameSetUpForm::FormClose(QObject*, TCloseAction& Action)
{
    Action = caFree;
}

void TGameSetUpForm::ScoreBtnClick(QObject*)
{
    ShowHighScores();
}

void TGameSetUpForm::HelpBtnClick(QObject*)
{
    HtmlHelpDisplayTopic(this, ProgramFolder + QStringLiteral("zavlin.chm"), QStringLiteral("타자게임.htm"));
}

void TGameSetUpForm::FormKeyDown(QObject*, uint16_t& Key, unsigned)
{
    if (Key != VK_ESCAPE) return;
    Key = 0;
    NoBtnClick(this);
}
