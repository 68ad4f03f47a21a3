#pragma once
// The window the tryouts put in the game window's place: stay-on-top, single border, the game's size.

#include "platform/Forms.h"

inline void MakeStayOnTopStandIn(TForm& form, const QString& caption)
{
    form.SetCaption(caption);
    form.SetBorderStyle(TFormBorderStyle::bsSingle);
    form.SetBorderIcons(biSystemMenu);
    form.SetFormStyle(TFormStyle::fsStayOnTop);
    form.SetPosition(TPosition::poScreenCenter);
    form.SetClientSize(633, 434);
    form.SetColor(clTeal);
}
