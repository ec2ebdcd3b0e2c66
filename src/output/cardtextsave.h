// Saving every card, or every picked card, as a text file: the commands
// "Save As Te&xt" and "Save As Text (with page &feed per card)" of the main
// window and "Save As Text File" and "Save As Text (With Page Feeds)" of the
// picked cards window. Each window keeps one saver, whose save dialog keeps
// the name chosen last while the program runs.
#pragma once

#include "textexport.h"
#include "windows.h"

#include <QString>

class CardTextSaver {
public:
    // AllCards saves CardTable for the main window, PickedCards PickedTable
    // for the picked cards window.
    CardTextSaver(WindowContext& context, TextExportKind kind);

    // The plain command (TForm1.Tallennatekstiksi1Click after its store of the
    // current card; TForm3.Tallennanimell1Click): the save dialog, the ".txt"
    // rule, the replace question, the file, the free-space check. It writes
    // a page feed after each card when PageFeedPerCard is set, and clears
    // PageFeedPerCard on every way out. A file that cannot be created or
    // written ends it with the general error report.
    void Save();
    // Sets PageFeedPerCard and runs Save (TForm3.Tallennatekstinsivunvaihdot1Click;
    // the main window stores its card first and does the same).
    void SaveWithPageFeeds();

private:
    WindowContext& context_;
    TextExportKind kind_;
    QString dialogName_;  // the name the dialog was last confirmed with
};
