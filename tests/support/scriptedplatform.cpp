#include "scriptedplatform.h"

#include <QCoreApplication>
#include <QDialog>

QStringList ScriptedPlatform::Texts() const
{
    QStringList texts;
    for (const Shown& m : messages)
        texts << m.text;
    return texts;
}

void ScriptedPlatform::Clear()
{
    messages.clear();
    dialogs.clear();
    printDialogs.clear();
    waits.clear();
    shellOpened.clear();
    unansweredQuestions = 0;
    modalRuns = 0;
    processEventsCalls = 0;
}

MsgAnswer ScriptedPlatform::Message(const QString& text, MsgIcon icon, MsgButtons buttons)
{
    messages.push_back({text, icon, buttons});
    if (onMessage)
        onMessage(messages.back());
    if (buttons == MsgButtons::Ok)
        return MsgAnswer::Ok;
    if (answers.empty()) {
        ++unansweredQuestions;
        return MsgAnswer::Cancel;
    }
    const MsgAnswer a = answers.front();
    answers.pop_front();
    return a;
}

std::optional<QString> ScriptedPlatform::FileDialog(const FileDialogRequest& request, bool save)
{
    dialogs.push_back({save, request});
    if (onDialog)
        onDialog(dialogs.back());
    if (fileAnswers.empty())
        return std::nullopt;
    const bool cancelled = !fileAnswers.front().has_value();
    const QString path = cancelled ? QString() : *fileAnswers.front();
    fileAnswers.pop_front();
    if (cancelled)
        return std::nullopt;
    return path;
}

std::optional<QString> ScriptedPlatform::OpenFileDialog(const FileDialogRequest& request)
{
    return FileDialog(request, false);
}

std::optional<QString> ScriptedPlatform::SaveFileDialog(const FileDialogRequest& request)
{
    return FileDialog(request, true);
}

std::optional<PrintChoice> ScriptedPlatform::PrintDialog(PrintDialogState& state)
{
    printDialogs.push_back({&state, state.minPage, state.maxPage, state.fromPage, state.toPage, state.range});
    if (onPrintDialog)
        onPrintDialog(printDialogs.back());
    if (printAnswers.empty())
        return std::nullopt;
    const std::optional<PrintAnswer> answer = printAnswers.front();
    printAnswers.pop_front();
    if (!answer)
        return std::nullopt;
    if (answer->range)
        state.range = *answer->range;
    if (answer->fromPage > 0)
        state.fromPage = answer->fromPage;
    if (answer->toPage > 0)
        state.toPage = answer->toPage;

    PrintChoice choice;
    choice.range = state.range;
    choice.fromPage = state.range == PrintRange::PageRange ? state.fromPage : state.minPage;
    choice.toPage = state.range == PrintRange::PageRange ? state.toPage : state.maxPage;
    if (printDevice) {
        choice.printer = printDevice();
    } else {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(printPath);
        printer_->setPageSize(QPageSize(QPageSize::A4));
        printer_->setFullPage(true);
        choice.printer = printer_.get();
    }
    return choice;
}

int ScriptedPlatform::RunModal(QDialog& dialog)
{
    ++modalRuns;
    if (modalHandler)
        return modalHandler(dialog);
    return QDialog::Rejected;
}

void ScriptedPlatform::ProcessEvents()
{
    QCoreApplication::processEvents();
    ++processEventsCalls;
    if (onProcessEvents)
        onProcessEvents();
}

void ScriptedPlatform::Wait(int milliseconds)
{
    waits.push_back(milliseconds);
    if (onWait)
        onWait(milliseconds);
}

int ScriptedPlatform::Random(int bound)
{
    return bound > 0 ? static_cast<int>(random.bounded(bound)) : 0;
}
