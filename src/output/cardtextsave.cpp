#include "cardtextsave.h"

#include "cardstore.h"
#include "diskspacecheck.h"
#include "filenames.h"
#include "generalerror.h"
#include "platform.h"
#include "safesave.h"

#include <QDateTime>
#include <QFileInfo>
#include <QScopeGuard>
#include <algorithm>
#include <optional>
#include <span>

CardTextSaver::CardTextSaver(WindowContext& context, TextExportKind kind) : context_(context), kind_(kind) { }

void CardTextSaver::SaveWithPageFeeds()
{
    context_.store.PageFeedPerCard = true;
    Save();
}

void CardTextSaver::Save()
{
    CardStore& s = context_.store;
    Platform& platform = context_.platform;
    const auto clearPageFeeds = qScopeGuard([&s] { s.PageFeedPerCard = false; });
    const bool picked = kind_ == TextExportKind::PickedCards;

    // The main window proposes the card file's name; the picked cards window
    // the name its dialog was last confirmed with. Neither with folder or
    // extension.
    const QString proposal = picked ? (dialogName_.isEmpty() ? QString() : FileNameWithoutExtension(dialogName_))
                                    : FileNameWithoutExtension(s.CardFileName);
    const FileDialogRequest request{TextExportDialogTitle(s.PageFeedPerCard),
        picked ? QStringLiteral("Text file (*.TXT)|*.TXT") : QStringLiteral("Text file (*.txt)|*.TXT"), proposal};
    const std::optional<QString> chosen = platform.SaveFileDialog(request);
    if (!chosen)
        return;
    dialogName_ = *chosen;
    if (picked && !s.FileOpen)
        return;
    if (chosen->isEmpty()) {
        platform.Message(picked ? QStringLiteral("Please give the correct name for the file!")
                                : QStringLiteral("Please give a name for the file!"));
        return;
    }
    const QString path = WithTxtExtension(*chosen);
    if (QFileInfo::exists(path)
        && platform.Message(ReplaceFileQuestion(FileNamePart(path)), MsgIcon::None, MsgButtons::YesNoCancel)
            != MsgAnswer::Yes)
        return;

    const CardRows& table = picked ? s.PickedTable : s.CardTable;
    const int count = std::clamp(picked ? s.PickedCount : s.CardCount, 0, static_cast<int>(table.size()));
    const std::span<const Card> cards(table.data(), static_cast<size_t>(count));
    const QDateTime now = platform.Now();
    TextExportOptions options;
    options.kind = kind_;
    options.pageFeedPerCard = s.PageFeedPerCard;
    options.date = now.date().toString(platform.ShortDateFormat());
    options.time = now.time().toString(platform.LongTimeFormat());
    options.cardFileName = s.CardFileName;
    const SaveResult r =
        SafeSave(path, [&cards, &options](QIODevice& device) { return WriteTextExport(device, cards, options); });
    if (r.status != SaveResult::Ok)
        throw GeneralError(r.errorText);
    CheckDiskSpace(platform, path);
}
