#include "screens/MainWindowPlacement.h"

#include "platform/IniFile.h"

#include <algorithm>

TMainWindowPlacement PlaceMainWindow(const QRect& available, const QMargins& frame, const QSize& minOuter,
                                     const QSize& wantedClient)
{
    const QSize frameSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    TMainWindowPlacement p;
    p.MaxClient = (available.size() - frameSize).expandedTo(QSize(1, 1));
    p.MinClient = (minOuter - frameSize).expandedTo(QSize(1, 1)).boundedTo(p.MaxClient);
    p.Client = wantedClient.expandedTo(p.MinClient).boundedTo(p.MaxClient);
    const QSize outer = p.Client + frameSize;
    p.FramePos = QPoint(available.left() + std::max(0, (available.width() - outer.width()) / 2),
                        available.top() + std::max(0, (available.height() - outer.height()) / 2));
    return p;
}

bool MainWindowStillPlaced(const QPoint& placedPos, const QPoint& client, const QMargins& frame)
{
    return client == placedPos || client - QPoint(frame.left(), frame.top()) == placedPos;
}

QSize MainWindowSizeToStore(const QSize& normalClient, const QSize& placedClient, const QSize& storedClient)
{
    if (!normalClient.isValid() || normalClient == placedClient) return storedClient;
    return normalClient;
}

QSize ReadMainWindowSize(const TIniFile& ini, const QSize& designClient)
{
    const QString section = QStringLiteral("mainform");
    return QSize(ini.ReadInteger(section, QStringLiteral("width"), designClient.width()),
                 ini.ReadInteger(section, QStringLiteral("height"), designClient.height()));
}

void WriteMainWindowSize(TIniFile& ini, const QSize& client)
{
    const QString section = QStringLiteral("mainform");
    ini.WriteInteger(section, QStringLiteral("width"), client.width());
    ini.WriteInteger(section, QStringLiteral("height"), client.height());
}
