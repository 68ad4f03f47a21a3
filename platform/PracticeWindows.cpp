#include "platform/PracticeWindows.h"

TPracticeWindows& TPracticeWindows::Instance()
{
    static TPracticeWindows instance;
    return instance;
}
