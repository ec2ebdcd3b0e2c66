#include "importing.h"

#include "fileinspect.h"

#include <algorithm>
#include <iterator>

namespace {

ImportOutcome Refused(ImportResult result, const QString& message)
{
    ImportOutcome out;
    out.result = result;
    out.message = message;
    return out;
}

QString TooManyCardsMessage(int maxCardCount)
{
    return QStringLiteral("The file you are trying to open contains more cards than is the allowed number of the "
                          "cards in current softwareversion: ")
        + QString::number(maxCardCount) + QStringLiteral(" cards.");
}

void Append(CardStore& store, CardRows& cards, int n)
{
    const size_t at = static_cast<size_t>(std::max(store.CardCount, 0));
    if (store.CardTable.size() < at + static_cast<size_t>(n))
        store.CardTable.resize(at + static_cast<size_t>(n));
    std::move(cards.begin(), cards.begin() + n, store.CardTable.begin() + static_cast<std::ptrdiff_t>(at));
    store.CardCount = static_cast<int>(at) + n;
    store.CurrentCard = store.CardCount - 1;
    store.CardFileChanged = true;
}

}  // namespace

ImportOutcome AppendCardFile(CardStore& store, const QString& path, CardEncoding encoding)
{
    if (!store.FileOpen)
        return Refused(ImportResult::NoCardFileOpen, QString());
    const PathInspection seen = InspectPath(path);
    if (seen.kind == PathKind::NameNotUtf8)
        return Refused(ImportResult::NameNotUtf8, seen.message);
    if (seen.kind == PathKind::Missing || seen.kind == PathKind::Unreachable)
        return Refused(
            ImportResult::NoSuchFile, QStringLiteral("The file with this name does not exist in this directory"));
    // Anything but a regular file is refused by the reader before a byte is read.
    const bool bom = HasUtf8Bom(path);
    if (encoding == CardEncoding::Utf8 && !bom)
        return Refused(ImportResult::WrongEncoding,
            QStringLiteral("You are trying to input ANSI file in UTF-8 mode. Please select instead: "
                           "Edit --> Input external ANSI card file to the current card file "
                           "(old format)"));
    if (encoding == CardEncoding::Ansi && bom)
        return Refused(ImportResult::WrongEncoding, QStringLiteral("This an UTF-8 file, not an ANSI file."));

    // The cards go into a table of their own first, so that a refusal part-way
    // leaves the open card file as it was.
    CardRows read;
    const CardFileReadOutcome r = ReadCardFile(path, encoding, store.MaxCardCount - store.CardCount, read);
    switch (r.result) {
    case CardFileReadResult::Ok:
        break;
    case CardFileReadResult::NotCardFile:
        return Refused(ImportResult::NotCardFile,
            QStringLiteral("The file you are trying to open might not be saved with the current "
                           "version or the file is corrupted. Please update the software"));
    case CardFileReadResult::TooManyCards:
        return Refused(ImportResult::TooManyCards, TooManyCardsMessage(store.MaxCardCount));
    case CardFileReadResult::MemoTooLong:
        return Refused(ImportResult::MemoTooLong,
            QStringLiteral("Error in opening the file! The Memo field of some card may exeed allowed "
                           "mount of lines 32000\r\n or the file is corrupted: ")
                + QString::number(r.memoLines) + QStringLiteral(" Error in card index: ")
                + QString::number(r.cardIndex));
    }

    // A count line of 0 or less reads no card: nothing is appended.
    const int n = std::max(r.count, 0);
    const int at = std::max(store.CardCount, 0);
    Append(store, read, n);

    ImportOutcome out;
    out.cardsAdded = n;
    out.notUtf8 = r.notUtf8;
    for (TextPlace& place : out.notUtf8)
        place.cardIndex += at;
    out.notice = NotUtf8Notice(out.notUtf8);
    return out;
}

ImportOutcome AppendCards(CardStore& store, CardRows cards)
{
    const qsizetype room = store.MaxCardCount - std::max(store.CardCount, 0);
    if (static_cast<qsizetype>(cards.size()) > room)
        return Refused(ImportResult::TooManyCards, TooManyCardsMessage(store.MaxCardCount));
    const int n = static_cast<int>(cards.size());
    Append(store, cards, n);
    ImportOutcome out;
    out.cardsAdded = n;
    return out;
}
