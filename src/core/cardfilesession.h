// The file commands without a window: New, Open, Save, Save As and Close of
// the main window, and the picked cards window's save as a card file, decide
// here what happens to the store and to the disk. Each command returns a
// step that names what the window has to show: the messages, in order, then
// either a question, whose answer comes back through Answer, or the end of
// the command with its result. The window keeps only its dialogs, captions,
// controls and the recovery copy.
//
// The session works on the store's file state (CardFileName, FileOpen,
// CardFileChanged, CardFileStamp) and keeps how the last Save ended, for the
// Close that asked for it. A file that cannot be created or read throws
// GeneralError out of the command, as the writer and the reader do.
#pragma once

#include "cardfile.h"
#include "cardstore.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

// The user's answer to a question of the file commands; a question closed
// without a button counts as Cancel.
enum class SessionAnswer { Yes, No, Cancel };

struct SessionStep {
    enum class Kind {
        Done,  // the command has ended: result says how
        Ask,  // ask question (no icon) and pass the answer to Answer
        RunSave,  // Close wants the changes saved: run Save through its menu
                  // entry, then call CloseAfterSave
    };
    enum class Question {
        None,
        ReplaceUnreadFile,  // Save onto a file this run has neither read nor
                            // written (a New.kqk of an earlier run)
        ReplaceChangedOnDisk,  // Save onto a file another program changed since
        ReplaceExisting,  // Save As onto an existing file
        ReplacePicked,  // the picked cards' save onto an existing file
        SaveChanges,  // Close of a changed card file
        ReallyClose,  // Close of an unchanged card file
    };
    enum class Result {
        None,
        Refused,  // nothing was done (a message may say why)
        Cancelled,  // the user stopped the command
        Started,  // New made its card file
        Saved,  // the file is written
        SavedLowSpace,  // written, but the volume warned of low space
        Failed,  // the write failed part-way; the file may be partial
        Stopped,  // Close stopped; the card file stays open
        Closed,  // Close closed the card file
    };

    Kind kind = Kind::Done;
    std::vector<QString> messages;  // shown first, in this order, with OK only
    Question question = Question::None;
    QString text;  // Ask: the question
    bool withCancel = false;  // Ask: Yes, No and Cancel; otherwise Yes and No
    QString path;  // ReplaceExisting, ReplacePicked: the file to write
    Result result = Result::None;
};

// What the session asks of the machine: the free space of the volume that
// holds a path (nothing when it cannot be told) and the local time for a new
// Card ID.
struct SessionFacts {
    std::function<std::optional<qint64>(const QString&)> freeSpace;
    std::function<QDateTime()> now;
};

// "The file <name> already exists. Do you want to replace it?"
QString ReplaceQuestion(const QString& path);
// path + ".kqk" when path contains neither ".kqk" nor ".KQK" anywhere.
QString WithKqkExtension(const QString& path);
// The low-space warning after a file was written, when the volume has less
// than 2 bytes free or the free space cannot be told; nothing otherwise.
std::optional<QString> LowSpaceWarning(const SessionFacts& facts, const QString& path);

class CardFileSession {
public:
    CardFileSession(CardStore& store, SessionFacts facts);

    // New: refused with a message while a card file is open; otherwise the
    // store holds "New.kqk" with one empty card and a fresh Card ID.
    SessionStep New();

    // Open and the command-line open. Open asks nothing while a card file is
    // open. A chosen path that names no file gives its message.
    bool MayOpen() const { return !store_.FileOpen; }
    std::optional<QString> MissingFileMessage(const QString& path) const;
    // Reads path into the store's tables. Ok: the message of the fields that
    // were not UTF-8 (empty when all were), to show once the card is shown.
    // Refused: the refusal's message; the window shows it and then calls
    // OpenFailed. An error that throws releases the tables first.
    struct ReadOutcome {
        bool ok = false;
        QString message;
    };
    ReadOutcome Read(const QString& path, const std::function<void(int)>& progress = {});
    void OpenFailed();
    // After a read: a file whose count line says 0 or less opens with one
    // empty card, as New makes it; the last card becomes the current one and
    // the path the card file's name. The window shows the card, then calls
    // OpenShown, which makes the file open and unchanged.
    void Opened(const QString& path);
    void OpenShown();

    // Save (after the window stored the current card): the read-only
    // refusal, the questions before writing over a file this run has not
    // read or written or that another program changed, the write and the
    // low-space warning.
    SessionStep Save();

    // Save As (after the window stored the current card) with the name the
    // save dialog gave, nothing when it was cancelled.
    QString SaveAsDialogName() const;
    SessionStep SaveAs(const std::optional<QString>& chosen);

    // Close (after the window stored the current card). A RunSave step
    // wants Save run through its menu entry, then CloseAfterSave. A Closed
    // result has released the tables; the window empties its editors and
    // then calls CloseShown, which makes the file unchanged.
    SessionStep Close();
    SessionStep CloseAfterSave();
    void CloseShown();

    // The answer to an Ask step of any command of this session.
    SessionStep Answer(const SessionStep& asked, SessionAnswer answer);

private:
    enum class LastSave { Saved, Refused, Failed };

    SessionStep WriteSave();
    SessionStep WriteSaveAs(const QString& path);
    SessionStep CloseFile();

    CardStore& store_;
    SessionFacts facts_;
    LastSave lastSave_ = LastSave::Saved;
};

// The picked cards window's save of the picked set as a card file of its
// own: it writes PickedTable and leaves the open card file, its name and its
// changed state alone. The dialog offers the name chosen last, without its
// folder.
class PickedCardsSave {
public:
    PickedCardsSave(CardStore& store, SessionFacts facts);

    QString DialogName() const;
    SessionStep Save(const std::optional<QString>& chosen);
    SessionStep Answer(const SessionStep& asked, SessionAnswer answer);

private:
    SessionStep Write(const QString& path);

    CardStore& store_;
    SessionFacts facts_;
    QString name_;  // the name chosen last
};
