#include "platform/ProgramPath.h"

#include <QFileInfo>
#include <QTemporaryFile>

QString ExecutableFolder()
{
    QString folder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    if (!folder.endsWith(u'/')) folder += u'/';
    return folder;
}

bool FolderAcceptsNewFile(const QString& folder)
{
    QString base = folder;
    if (!base.endsWith(u'/')) base += u'/';
    QTemporaryFile probe(base + QStringLiteral(".vornix-probe-XXXXXX"));
    return probe.open(); // removed again when it goes
}
