#include "cardfilesession.h"

#include "cardcommands.h"
#include "diskspace.h"
#include "fileinspect.h"
#include "filenames.h"
#include "filestamp.h"
#include "generalerror.h"
#include "opening.h"
#include "safesave.h"

#include <QFileInfo>
#include <utility>

namespace {

SessionStep Done(SessionStep::Result result, std::vector<QString> messages = {})
{
    SessionStep step;
    step.kind = SessionStep::Kind::Done;
    step.result = result;
    step.messages = std::move(messages);
    return step;
}

SessionStep Ask(SessionStep::Question question, const QString& text, bool withCancel, const QString& path = {})
{
    SessionStep step;
    step.kind = SessionStep::Kind::Ask;
    step.question = question;
    step.text = text;
    step.withCancel = withCancel;
    step.path = path;
    return step;
}

}  // namespace

QString ReplaceQuestion(const QString& path)
{
    return QStringLiteral("The file ") + FileNamePart(path)
        + QStringLiteral(" already exists. Do you want to replace it?");
}

QString WithKqkExtension(const QString& path)
{
    if (!path.contains(QLatin1String(".kqk")) && !path.contains(QLatin1String(".KQK")))
        return path + QStringLiteral(".kqk");
    return path;
}

std::optional<QString> LowSpaceWarning(const SessionFacts& facts, const QString& path)
{
    if (!DiskSpaceLow(facts.freeSpace(path)))
        return std::nullopt;
    return LowDiskSpaceMessage;
}

CardFileSession::CardFileSession(CardStore& store, SessionFacts facts) : store_(store), facts_(std::move(facts)) { }

// ---------------------------------------------------------------------------
// New and Open

SessionStep CardFileSession::New()
{
    if (store_.FileOpen)
        return Done(SessionStep::Result::Refused, {QStringLiteral("The file is already open. Please close it first")});
    store_.CardFileName = QStringLiteral("New.kqk");
    StartCardFile(store_, MakeCardId(facts_.now()));
    store_.CardFileStamp = FileStamp{};  // this run has neither read nor written a New.kqk
    return Done(SessionStep::Result::Started);
}

std::optional<QString> CardFileSession::MissingFileMessage(const QString& path) const
{
    if (QFileInfo::exists(path))
        return std::nullopt;
    // A name that is not UTF-8 reads as missing once decoded: say why.
    const PathInspection seen = InspectPath(path);
    return seen.kind == PathKind::NameNotUtf8 ? seen.message : NoSuchFileMessage;
}

CardFileSession::ReadOutcome CardFileSession::Read(const QString& path, const std::function<void(int)>& progress)
{
    ReadOutcome out;
    try {
        store_.CardFileStamp = StampOf(path);
        const OpenReadOutcome r = ReadCardFileForOpen(store_, path, progress);
        out.ok = r.ok;
        out.message = r.ok ? NotUtf8Notice(r.notUtf8) : r.message;
    } catch (...) {
        OpenFailed();
        throw;
    }
    return out;
}

void CardFileSession::OpenFailed()
{
    store_.ReleaseTables();
    store_.FileOpen = false;
}

void CardFileSession::Opened(const QString& path)
{
    if (store_.CardCount < 1) {
        // A hand-made file whose count line says 0 or less: it opens with one
        // empty card, as New makes it, so that no row -1 is ever shown.
        store_.CardCount = 1;
        store_.CardTable[0] = Card{};
        store_.CardTable[0][CardIdCell] = MakeCardId(facts_.now());
    }
    store_.CurrentCard = store_.CardCount - 1;
    store_.CardFileName = path;
}

void CardFileSession::OpenShown()
{
    store_.FileOpen = true;
    store_.CardFileChanged = false;
}

// ---------------------------------------------------------------------------
// Save

SessionStep CardFileSession::Save()
{
    lastSave_ = LastSave::Refused;
    if (IsReadOnlyFile(store_.CardFileName))
        return Done(SessionStep::Result::Refused,
            {store_.CardFileName + QStringLiteral(" on kirjoitussuojattu. Ei voi tallentaa")});
    // Before Save writes over the card file: a file there that this run has
    // not read or written (a New.kqk of an earlier run), or one that another
    // program changed since, is replaced only after a Yes.
    const FileStamp now = StampOf(store_.CardFileName);
    if (!now.exists)
        return WriteSave();
    if (!store_.CardFileStamp.exists)
        return Ask(SessionStep::Question::ReplaceUnreadFile, ReplaceQuestion(store_.CardFileName), true);
    if (now == store_.CardFileStamp)
        return WriteSave();
    return Ask(SessionStep::Question::ReplaceChangedOnDisk,
        QStringLiteral("The card file ") + FileNamePart(store_.CardFileName)
            + QStringLiteral(" was changed by another program after it was opened. Do you want to replace it?"),
        false);
}

SessionStep CardFileSession::WriteSave()
{
    // A file that cannot be created ends Save (and a Close that asked for it)
    // through the general error report.
    lastSave_ = LastSave::Failed;
    const CardFileWriteResult r =
        WriteCardFile(store_.CardFileName, store_.CardTable, store_.CardCount, MainFileHeaderText);
    if (r.status != CardFileWriteResult::Ok)
        return Done(SessionStep::Result::Failed,
            {QStringLiteral("File handling error occurred. Details: \r\n") + r.errorKind + QStringLiteral("/")
                + r.errorText});
    store_.CardFileStamp = StampOf(store_.CardFileName);
    const std::optional<QString> warning = LowSpaceWarning(facts_, store_.CardFileName);
    lastSave_ = warning ? LastSave::Failed : LastSave::Saved;
    store_.CardFileChanged = false;
    if (warning)
        return Done(SessionStep::Result::SavedLowSpace, {*warning});
    return Done(SessionStep::Result::Saved);
}

// ---------------------------------------------------------------------------
// Save As

QString CardFileSession::SaveAsDialogName() const
{
    return FileNamePart(store_.CardFileName);
}

SessionStep CardFileSession::SaveAs(const std::optional<QString>& chosen)
{
    if (!chosen)
        return Done(SessionStep::Result::Cancelled);
    if (chosen->isEmpty())
        return Done(SessionStep::Result::Refused, {QStringLiteral("Please give a name for the file!")});
    const QString path = WithKqkExtension(*chosen);
    if (QFileInfo::exists(path))
        return Ask(SessionStep::Question::ReplaceExisting, ReplaceQuestion(path), true, path);
    return WriteSaveAs(path);
}

SessionStep CardFileSession::WriteSaveAs(const QString& path)
{
    // CardFileName takes the new path only once the file is written: a Save
    // As that fails leaves the open file's name as the caption shows it.
    const CardFileWriteResult r = WriteCardFile(path, store_.CardTable, store_.CardCount, MainFileHeaderText);
    if (r.status != CardFileWriteResult::Ok)
        return Done(SessionStep::Result::Failed,
            {QStringLiteral("Exception Class name: ") + r.errorKind,
                QStringLiteral("Exception Message: ") + r.errorText});
    store_.CardFileName = path;
    store_.CardFileStamp = StampOf(path);
    store_.CardFileChanged = false;
    if (const std::optional<QString> warning = LowSpaceWarning(facts_, path))
        return Done(SessionStep::Result::SavedLowSpace, {*warning});
    return Done(SessionStep::Result::Saved);
}

// ---------------------------------------------------------------------------
// Close

SessionStep CardFileSession::Close()
{
    if (store_.CardFileChanged)
        return Ask(SessionStep::Question::SaveChanges,
            QStringLiteral(" The card file is changed. Do you want save the changes before closing?"), true);
    return Ask(SessionStep::Question::ReallyClose, QStringLiteral("Do you really want to close the file?"), false);
}

SessionStep CardFileSession::CloseAfterSave()
{
    if (lastSave_ == LastSave::Refused)
        return Done(SessionStep::Result::Stopped);  // Save has said why
    if (lastSave_ == LastSave::Failed) {
        store_.CardFileChanged = true;
        return Done(SessionStep::Result::Stopped, {QStringLiteral("There was an error in saving")});
    }
    return CloseFile();
}

SessionStep CardFileSession::CloseFile()
{
    store_.FileOpen = false;
    store_.ReleaseTables();
    store_.CardFileName.clear();
    store_.CardFileStamp = FileStamp{};
    return Done(SessionStep::Result::Closed);
}

void CardFileSession::CloseShown()
{
    store_.CardFileChanged = false;
}

// ---------------------------------------------------------------------------
// Answers

SessionStep CardFileSession::Answer(const SessionStep& asked, SessionAnswer answer)
{
    const bool yes = answer == SessionAnswer::Yes;
    switch (asked.question) {
    case SessionStep::Question::ReplaceUnreadFile:
    case SessionStep::Question::ReplaceChangedOnDisk:
        return yes ? WriteSave() : Done(SessionStep::Result::Cancelled);
    case SessionStep::Question::ReplaceExisting:
        return yes ? WriteSaveAs(asked.path) : Done(SessionStep::Result::Cancelled);
    case SessionStep::Question::SaveChanges:
        if (yes) {
            // Save runs through its menu entry; one that does not run counts
            // as failed.
            lastSave_ = LastSave::Failed;
            SessionStep step;
            step.kind = SessionStep::Kind::RunSave;
            return step;
        }
        if (answer == SessionAnswer::No)
            return CloseFile();
        return Done(SessionStep::Result::Stopped);
    case SessionStep::Question::ReallyClose:
        return yes ? CloseFile() : Done(SessionStep::Result::Stopped);
    case SessionStep::Question::ReplacePicked:
    case SessionStep::Question::None:
        break;
    }
    return Done(SessionStep::Result::Cancelled);
}

// ---------------------------------------------------------------------------
// The picked cards' save

PickedCardsSave::PickedCardsSave(CardStore& store, SessionFacts facts) : store_(store), facts_(std::move(facts)) { }

QString PickedCardsSave::DialogName() const
{
    return FileNamePart(name_);
}

SessionStep PickedCardsSave::Save(const std::optional<QString>& chosen)
{
    if (!chosen)
        return Done(SessionStep::Result::Cancelled);
    if (chosen->isEmpty())
        return Done(SessionStep::Result::Refused, {QStringLiteral("Please give correct name for the file!")});
    const QString path = WithKqkExtension(*chosen);
    name_ = path;
    if (QFileInfo::exists(path))
        return Ask(SessionStep::Question::ReplacePicked, ReplaceQuestion(path), true, path);
    return Write(path);
}

SessionStep PickedCardsSave::Write(const QString& path)
{
    // The markers number the cards by their place in the picked set.
    const CardFileWriteResult r = WriteCardFile(path, store_.PickedTable, store_.PickedCount, PickedFileHeaderText);
    if (r.status != CardFileWriteResult::Ok)
        throw GeneralError(r.errorText);
    if (const std::optional<QString> warning = LowSpaceWarning(facts_, path))
        return Done(SessionStep::Result::SavedLowSpace, {*warning});
    return Done(SessionStep::Result::Saved);
}

SessionStep PickedCardsSave::Answer(const SessionStep& asked, SessionAnswer answer)
{
    if (asked.question == SessionStep::Question::ReplacePicked && answer == SessionAnswer::Yes)
        return Write(asked.path);
    return Done(SessionStep::Result::Cancelled);
}
