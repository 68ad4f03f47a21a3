#include "platform/ProgramPath.h"

#include <QFileInfo>

QString ExecutableFolder()
{
    QString folder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    if (!folder.endsWith(u'/')) folder += u'/';
    return folder;
}
