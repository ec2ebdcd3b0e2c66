// The seam between the program and the desktop: everything that would block
// a test or depends on the machine goes through here. QtPlatform is the real
// one; tests use ScriptedPlatform.
#pragma once

#include <QDateTime>
#include <QString>
#include <QUrl>
#include <optional>

class QDialog;
class QWidget;

enum class MsgIcon { None, Information, Question, Warning, Error };
enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Yes, No, Cancel };

struct FileDialogRequest {
    QString title;
    QString filter;       // "Description|pattern;pattern"
    QString initialName;  // file name without folder, or empty
};

class Platform {
public:
    virtual ~Platform() = default;

    // A modal message box; returns the button pressed (Cancel when closed
    // otherwise).
    virtual MsgAnswer Message(const QString& text, MsgIcon icon = MsgIcon::None,
                              MsgButtons buttons = MsgButtons::Ok) = 0;
    // The open and save dialogs; nothing when cancelled. Neither asks about
    // overwriting nor insists that the file exists.
    virtual std::optional<QString> OpenFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> SaveFileDialog(const FileDialogRequest& request) = 0;
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

    virtual QDateTime Now() = 0;           // local time with milliseconds
    virtual QString ShortDateFormat() = 0;  // the user's formats, QDateTime::toString style
    virtual QString LongTimeFormat() = 0;   // without a time-zone name
    virtual std::optional<qint64> FreeSpace(const QString& path) = 0;
    // A random number 0 <= n < bound.
    virtual int Random(int bound) = 0;

    // The folder of the program's own executable file, and the data folder
    // of an installed program: where the manuals are looked for, in that
    // order. An empty folder is not looked in.
    virtual QString ProgramFolder() = 0;
    virtual QString DataFolder() = 0;
};
