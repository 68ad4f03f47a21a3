#pragma once
// The small modal dialog "이름입력" that asks for the player's name when a score enters the high-score
// list. The caller frees it after the modal run and reads NameResult and NameEdit's text.

#include "platform/Forms.h"

#include <QString>

class QLabel;
class TEdit;
class TEllipseAnnBtn;
class TEllipBtn;

// "yes" when the name was confirmed, "no" otherwise.
extern QString NameResult;

class TNameForm : public TForm
{
    Q_OBJECT
public:
    explicit TNameForm(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    TEdit* NameEdit = nullptr;
    TEllipseAnnBtn* OkBtn = nullptr;
    TEllipseAnnBtn* CancelBtn = nullptr;
    TEllipBtn* InitBtn = nullptr;

    void FormShow(QObject* Sender);
    void OKBtnClick(QObject* Sender);
    void CancelBtnClick(QObject* Sender);
    void NameEditKeyPress(QObject* Sender, QChar& Key);
    void NameEditKeyDown(QObject* Sender, uint16_t& Key, TShiftState Shift);
    void InitBtnClick(QObject* Sender);

private:
    void EndWith(int result);
};
