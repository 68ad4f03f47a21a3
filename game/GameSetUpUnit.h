#pragma once
// The dialog that opens the typing game: turning direction, start level, language of the words and the
// sound switch, kept in section "clock" of the settings; help, the high-score list, start and cancel.

#include "game/GameChoices.h"

#include "platform/Forms.h"

class TCheckBox;
class TEllipseAnnBtn;
class TRadioGroup;

class TGameSetUpForm : public TForm
{
    Q_OBJECT
public:
    explicit TGameSetUpForm(QWidget* parent = nullptr);

    TRadioGroup* RotGroup;
    TRadioGroup* LevelGroup;
    TRadioGroup* LanguageGroup;
    TCheckBox* SpeakerCheckBox;
    TEllipseAnnBtn* HelpBtn;
    TEllipseAnnBtn* ScoreBtn;
    TEllipseAnnBtn* OkBtn;
    TEllipseAnnBtn* NoBtn;

    // The choices as the dialog shows them.
    TGameChoices Choices() const;

    void OkBtnClick(QObject* Sender);
    void NoBtnClick(QObject* Sender);
    void ScoreBtnClick(QObject* Sender);
    void HelpBtnClick(QObject* Sender);
    void FormKeyDown(QObject* Sender, uint16_t& Key, unsigned Shift);

private:
    void FormCreate();
    void FormClose(QObject* Sender, TCloseAction& Action);
};
