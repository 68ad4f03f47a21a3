#pragma once

#include <QString>

// The folder of the running executable, ending in "/"; read once from /proc/self/exe.
QString ExecutableFolder();
