#include "game/NameUnit.h"

#include "components/EllipBtn.h"
#include "components/EllipseAnnBtn.h"
#include "platform/Edit.h"

#include <QLabel>

QString NameResult = QStringLiteral("no");

namespace {

const TFont ButtonFont{QStringLiteral("굴림체"), -12, clBtnText, 0};

TEllipseAnnBtn* MakeButton(QWidget* parent, const char* name, const QString& caption, int left)
{
    auto* b = new TEllipseAnnBtn(parent);
    b->SetName(QString::fromLatin1(name));
    b->SetCaption(caption);
    b->SetBtnShape(EllipseAnnBtn::TBtnShape::bsRoundRect);
    b->SetAutoBorderColor(false);
    b->SetTopColor(clWhite);
    b->SetBottomColor(clBlack);
    b->SetFont(ButtonFont);
    b->SetBounds(left, 60, 60, 23);
    return b;
}

} // namespace

TNameForm::TNameForm(QWidget* parent) : TForm(parent)
{
    SetName(QStringLiteral("NameForm"));
    SetCaption(QStringLiteral("이름입력"));
    SetBorderStyle(TFormBorderStyle::bsSingle);
    // No system menu and no close button: OK, Cancel or Esc end it.
    SetBorderIcons(0);
    SetEscapeCancels(true);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(217, 91);

    Label1 = new QLabel(QStringLiteral("고득점입니다. 이름을 입력하세요."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(TFont{QStringLiteral("굴림"), -12, clWindowText, 0}.ToQFont());
    Label1->setGeometry(12, 9, 195, 16);

    NameEdit = new TEdit(this);
    NameEdit->SetName(QStringLiteral("NameEdit"));
    NameEdit->SetFont(TFont{QStringLiteral("굴림체"), -13, clWindowText, 0});
    NameEdit->SetBounds(12, 30, 193, 21);
    NameEdit->OnKeyDown = [this](QObject* s, uint16_t& key, TShiftState shift) { NameEditKeyDown(s, key, shift); };
    NameEdit->OnKeyPress = [this](QObject* s, QChar& key) { NameEditKeyPress(s, key); };

    OkBtn = MakeButton(this, "OkBtn", QStringLiteral("확인"), 12);
    OkBtn->OnClick = [this](QObject* s) { OKBtnClick(s); };
    CancelBtn = MakeButton(this, "CancelBtn", QStringLiteral("취소"), 78);
    CancelBtn->OnClick = [this](QObject* s) { CancelBtnClick(s); };

    InitBtn = new TEllipBtn(this);
    InitBtn->SetName(QStringLiteral("InitBtn"));
    InitBtn->SetCaption(QStringLiteral("초기화"));
    InitBtn->SetFocusedColor(clLime);
    InitBtn->SetRoundDegree(8);
    InitBtn->SetFont(ButtonFont);
    InitBtn->SetTabStop(true);
    InitBtn->SetBounds(145, 60, 60, 23);
    InitBtn->OnClick = [this](QObject* s) { InitBtnClick(s); };

    setTabOrder(NameEdit, InitBtn);
    OnShow = [this](QObject* s) { FormShow(s); };
}

void TNameForm::EndWith(int result)
{
    if (Modal())
        SetModalResult(result);
    else
        Close();
}

void TNameForm::FormShow(QObject*)
{
    NameResult = QStringLiteral("no");
    NameEdit->SetFocus();
    NameEdit->Clear();
}

void TNameForm::OKBtnClick(QObject*)
{
    // The syllable still being composed is part of the name.
    NameEdit->Complete();
    NameResult = QStringLiteral("yes");
    EndWith(mrOk);
}

void TNameForm::CancelBtnClick(QObject*)
{
    NameResult = QStringLiteral("no");
    EndWith(mrCancel);
}

void TNameForm::NameEditKeyPress(QObject*, QChar& Key)
{
    if (Key == QChar(13)) Key = QChar(0);
}

void TNameForm::NameEditKeyDown(QObject*, uint16_t& Key, TShiftState)
{
    if (Key != 13) return;
    // A name typed as one syllable is still being composed when Enter comes.
    NameEdit->Complete();
    if (!NameEdit->Text().isEmpty()) OKBtnClick(NameEdit);
}

void TNameForm::InitBtnClick(QObject*)
{
    NameEdit->SetFocus();
}
