#pragma once
// The program's help: one HTML page per topic in the "help" folder beside the program, shown in a
// small help window of the program's own.

#include <QString>

class QWidget;

// `helpFile` is the help file's name as the windows know it (ProgramFolder + "zavlin.chm"); the topic's
// page is looked up in the "help" folder beside it. A missing page is reported in a message box.
void HtmlHelpDisplayTopic(QWidget* caller, const QString& helpFile, const QString& topic);

// The help window's current page, or an empty string while it is closed (for tests).
QString HtmlHelpCurrentPage();
