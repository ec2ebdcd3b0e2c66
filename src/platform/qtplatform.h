#pragma once

#include "platform.h"

#include <QElapsedTimer>
#include <QObject>
#include <QRandomGenerator>
#include <optional>
#include <vector>

class QWidget;

// Tracks whether Esc is held down from the key events, for the long loops
// that it interrupts, where the window system cannot be asked. A release
// can go astray (the press closed the window that had the keyboard, and the
// release found no window), so a held key is forgotten whenever the program
// loses the keyboard, the keyboard moves to another window or a window
// closes.
class EscKeyTracker : public QObject {
public:
    EscKeyTracker();
    bool held = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The keyboard's real state from the X server, where the program runs on X:
// whether a key that gives Esc is down now. Empty elsewhere.
class X11Keyboard {
public:
    // Nothing when the program does not run on an X server.
    std::optional<bool> EscDown();

private:
    bool looked_ = false;
    std::vector<unsigned char> escCodes_;  // the key codes that give Esc
};

class QtPlatform : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    // The window that message boxes and dialogs are centred over.
    void SetParentWindow(QWidget* window) { parent_ = window; }

    MsgAnswer Message(const QString& text, MsgIcon icon, MsgButtons buttons) override;
    std::optional<QString> OpenFileDialog(const FileDialogRequest& request) override;
    std::optional<QString> SaveFileDialog(const FileDialogRequest& request) override;
    std::optional<PrintChoice> PrintDialog(PrintDialogState& state) override;
    int RunModal(QDialog& dialog) override;
    bool EscHeld() override;
    void ProcessEvents() override;
    void Wait(int milliseconds) override;
    void ShellOpen(const QUrl& target) override;
    QDateTime Now() override;
    QString ShortDateFormat() override;
    QString LongTimeFormat() override;
    std::optional<qint64> FreeSpace(const QString& path) override;
    int Random(int bound) override;
    QString ProgramFolder() override;
    QString DataFolder() override;

    // A message box, dialog or modal window about to be shown while a window
    // that stays on top of the others is visible (the find and replace
    // window) would open behind that window, out of sight: it is made to
    // stay on top too. True when it was.
    static bool KeepAboveStayOnTopWindows(QWidget& modal);

    // A file dialog's filter "Description|a;b": the dialog shows the
    // description as it is, as its one entry, and lists the files that match
    // a or b without regard to case (the file system tells *.kqk from *.KQK;
    // the user does not); "*.*" is every file, also one whose name has no dot.
    struct DialogFilter {
        QString entry;
        QStringList patterns;  // empty: the entry's own
    };
    static DialogFilter QtFilter(const QString& filter);

    // The window a message box or dialog stands over: preferred (the main
    // window) while it is shown and enabled; otherwise the modal window in
    // front, or the active one (a box whose parent is disabled could not be
    // used, nor one over a hidden window be seen).
    static QWidget* DialogParent(QWidget* preferred);

    // The warning before the first print dialog of the run when no printer
    // is installed (the dialog still offers printing to a PDF file).
    static const QString NoPrinterText;

private:
    std::optional<QString> FileDialog(const FileDialogRequest& request, bool save);

    QWidget* parent_ = nullptr;
    EscKeyTracker esc_;
    X11Keyboard x11_;
    // The X server is asked at most once in EscAskEvery milliseconds: a long
    // loop asks after every card.
    static constexpr int EscAskEvery = 20;
    QElapsedTimer escAsked_;
    bool escDown_ = false;
    QRandomGenerator random_;
    bool noPrinterTold_ = false;
};
