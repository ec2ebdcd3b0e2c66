// The platform that tests use: it records every message and answers
// questions and dialogs from a script, so no test waits on a person.
#pragma once

#include "platform.h"

#include <QPrinter>
#include <QRandomGenerator>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class ScriptedPlatform : public Platform {
public:
    struct Shown {
        QString text;
        MsgIcon icon;
        MsgButtons buttons;
    };
    struct Dialog {
        bool save;
        FileDialogRequest request;
    };

    // Every message shown, in order.
    std::vector<Shown> messages;
    // Answers for the questions (Yes/No, Yes/No/Cancel), taken in order. A
    // question without a scripted answer is answered Cancel and recorded in
    // unansweredQuestions.
    std::deque<MsgAnswer> answers;
    int unansweredQuestions = 0;
    // Called while a message is shown (a test can look at the program then).
    std::function<void(const Shown&)> onMessage;

    // File dialog results in order: a path, or nothing for Cancel. An
    // unscripted dialog is cancelled.
    std::deque<std::optional<QString>> fileAnswers;
    std::vector<Dialog> dialogs;
    // Called while a file dialog is up.
    std::function<void(const Dialog&)> onDialog;
    // The print dialog. Each use is recorded with what it showed; answers
    // are taken in order: nothing cancels, a PrintAnswer confirms. An
    // unscripted dialog is cancelled.
    struct PrintAnswer {
        std::optional<PrintRange> range;  // the user's choice; nothing keeps the one shown
        int fromPage = 0;  // typed into the range; 0 keeps the page shown
        int toPage = 0;
    };
    struct PrintShown {
        const PrintDialogState* dialog;  // which window's dialog
        int minPage;
        int maxPage;
        int fromPage;
        int toPage;
        PrintRange range;
    };
    std::deque<std::optional<PrintAnswer>> printAnswers;
    std::vector<PrintShown> printDialogs;
    // Called while the print dialog is up.
    std::function<void(const PrintShown&)> onPrintDialog;
    // Where the printer writes: a PDF file of A4 pages at 1200 dots per inch,
    // written anew by each confirmed dialog.
    QString printPath;
    // When set, the page device to print on instead of that printer.
    std::function<QPagedPaintDevice*()> printDevice;

    // Runs a modal window; by default it is closed at once as rejected.
    std::function<int(QDialog&)> modalHandler;
    int modalRuns = 0;

    bool escHeld = false;
    // How many times events were processed on request, and a hook called
    // each time after they were (a test can press keys or hold Esc down then).
    int processEventsCalls = 0;
    std::function<void()> onProcessEvents;
    std::vector<int> waits;
    // Called on each blocking wait, with the milliseconds.
    std::function<void(int)> onWait;
    QStringList shellOpened;  // the addresses, as text
    QDateTime now = QDateTime(QDate(2021, 3, 7), QTime(9, 5, 2, 45));
    QString shortDateFormat = QStringLiteral("d.M.yyyy");
    QString longTimeFormat = QStringLiteral("H:mm:ss");
    std::optional<qint64> freeSpace = qint64(1) << 40;
    QRandomGenerator random{12345};
    // Where the manuals are looked for; empty folders are not looked in.
    QString programFolder;
    QString dataFolder;

    // The texts of the messages, in order.
    QStringList Texts() const;
    void Clear();

    MsgAnswer Message(const QString& text, MsgIcon icon, MsgButtons buttons) override;
    std::optional<QString> OpenFileDialog(const FileDialogRequest& request) override;
    std::optional<QString> SaveFileDialog(const FileDialogRequest& request) override;
    std::optional<PrintChoice> PrintDialog(PrintDialogState& state) override;
    int RunModal(QDialog& dialog) override;
    bool EscHeld() override { return escHeld; }
    void ProcessEvents() override;
    void Wait(int milliseconds) override;
    void ShellOpen(const QUrl& target) override { shellOpened << target.toString(); }
    QDateTime Now() override { return now; }
    QString ShortDateFormat() override { return shortDateFormat; }
    QString LongTimeFormat() override { return longTimeFormat; }
    std::optional<qint64> FreeSpace(const QString&) override { return freeSpace; }
    int Random(int bound) override;
    QString ProgramFolder() override { return programFolder; }
    QString DataFolder() override { return dataFolder; }

private:
    std::optional<QString> FileDialog(const FileDialogRequest& request, bool save);

    std::unique_ptr<QPrinter> printer_;
};
