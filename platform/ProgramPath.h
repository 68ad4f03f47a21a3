#pragma once

#include <QString>

// The folder of the running executable, ending in "/"; read once from /proc/self/exe.
QString ExecutableFolder();

// The folder takes a new file: tried by making one and removing it again, since permission bits do not
// tell (root writes into a 0555 folder, nobody writes into a read-only mount).
bool FolderAcceptsNewFile(const QString& folder);
