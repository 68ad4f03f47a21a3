#pragma once
// The practice windows (keyboard, sentence, game) report here when they are shown and when they close;
// the main menu subscribes and blocks itself while one is open. The windows know nothing of the menu.

#include <QObject>

class TPracticeWindows : public QObject
{
    Q_OBJECT
public:
    static TPracticeWindows& Instance();

    void ReportOpened() { emit Opened(); }
    void ReportClosed() { emit Closed(); }

signals:
    void Opened();
    void Closed();

private:
    TPracticeWindows() = default;
};

inline void PracticeWindowOpened()
{
    TPracticeWindows::Instance().ReportOpened();
}

inline void PracticeWindowClosed()
{
    TPracticeWindows::Instance().ReportClosed();
}
