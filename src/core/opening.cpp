#include "opening.h"

const QString NoSuchFileMessage = QStringLiteral("The file with this name does not exist in this directory");

namespace {

OpenReadOutcome Refused(const QString& message)
{
    OpenReadOutcome out;
    out.message = message;
    return out;
}

}  // namespace

OpenReadOutcome ReadCardFileForOpen(CardStore& store, const QString& path, const std::function<void(int)>& progress)
{
    store.RenewTables();
    if (!HasUtf8Bom(path))
        return Refused(QStringLiteral("You are trying to open ANSI file in UTF-8 mode. Please select instead: File "
                                      "--> New and then Edit --> Input external ANSI card file to the current card "
                                      "file (old format)"));
    const CardFileReadOutcome r = ReadCardFile(path, CardEncoding::Utf8, store.MaxCardCount, store.CardTable, progress);
    switch (r.result) {
    case CardFileReadResult::Ok:
        break;
    case CardFileReadResult::NotCardFile:
        return Refused(QStringLiteral("The file you are trying to open might be saved with different version than "
                                      "you are using, or the data file is corrupted. Please update the software."));
    case CardFileReadResult::TooManyCards:
        return Refused(QStringLiteral("The number of the cards of this file exeeds allowed maximum which is ")
            + QString::number(store.MaxCardCount) + QStringLiteral(" cards"));
    case CardFileReadResult::MemoTooLong:
        return Refused(QStringLiteral("File opening error!! The number of the lines of the Memo in some card might "
                                      "exeed max 32000 or the file is corrupted: ")
            + QString::number(r.memoLines) + QStringLiteral(" Card: ") + QString::number(r.cardIndex));
    }
    store.CardCount = r.count;
    OpenReadOutcome out;
    out.ok = true;
    out.notUtf8 = r.notUtf8;
    return out;
}
