#pragma once
// The message boxes a window showed, each as "caption:text", all given the answer in gAnswer; tests install
// RecordBox with SetMessageBoxHook and reset both globals in their init().

#include "platform/Dialogs.h"

#include <QStringList>

inline QStringList gBoxes;
inline int gAnswer = IDYES;

inline int RecordBox(const QString& text, const QString& caption, unsigned)
{
    gBoxes << caption + u':' + text;
    return gAnswer;
}
