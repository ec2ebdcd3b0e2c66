// The seam between the program and the desktop: everything that would block
// a test or depends on the machine goes through here. QtPlatform is the real
// one; tests use ScriptedPlatform.
#pragma once

#include <QDateTime>
#include <QString>
#include <QUrl>
#include <memory>
#include <optional>

class QDialog;
class QPagedPaintDevice;
class QWidget;

enum class MsgIcon { None, Information, Question, Warning, Error };
enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Yes, No, Cancel };

struct FileDialogRequest {
    QString title;
    QString filter;  // "Description|pattern;pattern"
    QString initialName;  // file name without folder, or empty
};

// The pages a print dialog prints: all of them, or those from one page to
// another.
enum class PrintRange { AllPages, PageRange };

// A window's own print dialog, kept for the whole run. The window sets the
// pages it can print (minPage ... maxPage) and the range offered (fromPage,
// toPage) before each use; the choice of all pages or a range stays as the
// user left it, and so do the printer and its settings.
struct PrintDialogState {
    int minPage = 1;
    int maxPage = 1;
    int fromPage = 1;
    int toPage = 1;
    PrintRange range = PrintRange::AllPages;
    // The platform's printer of this dialog, made at its first use and kept
    // with what the user chose in it.
    std::shared_ptr<QPagedPaintDevice> printer;
};

// What the user confirmed in a print dialog: the range, and the printer to
// print on (a page device: begin a painter on it, newPage() between pages,
// end the painter to end the job). The printer lives at least until the
// next use of the same dialog.
struct PrintChoice {
    PrintRange range = PrintRange::AllPages;
    int fromPage = 1;  // the range's first and last page when range is PageRange
    int toPage = 1;
    QPagedPaintDevice* printer = nullptr;
};

class Platform {
public:
    virtual ~Platform() = default;

    // A modal message box; returns the button pressed (Cancel when closed
    // otherwise).
    virtual MsgAnswer Message(
        const QString& text, MsgIcon icon = MsgIcon::None, MsgButtons buttons = MsgButtons::Ok) = 0;
    // The open and save dialogs; nothing when cancelled. Neither asks about
    // overwriting nor insists that the file exists.
    virtual std::optional<QString> OpenFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> SaveFileDialog(const FileDialogRequest& request) = 0;
    // The print dialog: shows the range of state, lets the user choose the
    // printer and all pages or a range, and keeps the choice in state.
    // Nothing when cancelled (or when nothing can be printed).
    virtual std::optional<PrintChoice> PrintDialog(PrintDialogState& state) = 0;
    // Runs a window modally; returns its result code.
    virtual int RunModal(QDialog& dialog) = 0;

    // Whether the Esc key is held down now.
    virtual bool EscHeld() = 0;
    virtual void ProcessEvents() = 0;
    // A blocking wait.
    virtual void Wait(int milliseconds) = 0;
    // The shell's open operation on a local file or a web address, in a
    // normally shown window; nothing is checked. An empty address does nothing.
    virtual void ShellOpen(const QUrl& target) = 0;

    virtual QDateTime Now() = 0;  // local time with milliseconds
    virtual QString ShortDateFormat() = 0;  // the user's formats, QDateTime::toString style
    virtual QString LongTimeFormat() = 0;  // without a time-zone name
    virtual std::optional<qint64> FreeSpace(const QString& path) = 0;
    // A random number 0 <= n < bound.
    virtual int Random(int bound) = 0;

    // The folder of the program's own executable file, and the data folder
    // of an installed program: where the manuals are looked for, in that
    // order. An empty folder is not looked in.
    virtual QString ProgramFolder() = 0;
    virtual QString DataFolder() = 0;
};
