// cardomo-cli: the card files from a shell. Every rule it applies is the
// core's own (reading, matching, picking, sorting, the listing text, the text
// export, replacing, importing, the safe save), so a shell and a window never
// disagree about a card file.
//
// Exit codes: 0 done, 1 nothing matched or a file does not read, 2 usage,
// 3 a file could not be written.

#include "cardfile.h"
#include "cardstore.h"
#include "fileinspect.h"
#include "generalerror.h"
#include "importing.h"
#include "listing.h"
#include "match.h"
#include "opening.h"
#include "picking.h"
#include "replacing.h"
#include "safesave.h"
#include "sorting.h"
#include "tabular.h"
#include "textcodec.h"
#include "textexport.h"
#include "timeformat.h"
#include "version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <span>

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

constexpr int ExitDone = 0;
constexpr int ExitNothing = 1;  // nothing matched, or a file does not read
constexpr int ExitUsage = 2;
constexpr int ExitWrite = 3;

const QString Program = QStringLiteral("cardomo-cli");

// Ends the command with its message on stderr and its exit code. A usage
// error names the program and the command and points to the help; every
// other message is the system's own text, written as it is.
struct Failure {
    int code;
    QString message;
    bool usage = false;
    QString command;  // usage: the command whose help to point to, if any
};

[[noreturn]] void Fail(int code, const QString& message)
{
    throw Failure{code, message, code == 2, QString()};
}

// A refusal in the system's own words that ends with the usage exit code
// (an order-number range the cards do not have, say).
[[noreturn]] void Refuse(const QString& message)
{
    throw Failure{2, message, false, QString()};
}

QByteArray Utf8(QStringView text)
{
    QByteArray bytes(3 * text.size(), Qt::Uninitialized);
    bytes.truncate(EncodeUtf8(bytes.data(), text) - bytes.data());
    return bytes;
}

void Print(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = Utf8(text) + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
}

// ---- the words of the command line ----

// A field given as its number (1 to 19), its name as the columns show it
// ("Topic", "Card ID", in any case) or its chooser entry ("8 Topic").
int ParseField(const QString& text)
{
    bool number = false;
    const int n = text.toInt(&number);
    if (number && n >= 1 && n <= FieldCount && text == QString::number(n))
        return n;
    for (int c = 0; c < FieldCount; ++c) {
        if (text.compare(FieldColumnNames[static_cast<size_t>(c)], Qt::CaseInsensitive) == 0
            || text == QLatin1String(Fields[static_cast<size_t>(c)].chooserEntry))
            return c + 1;
    }
    Fail(ExitUsage,
        QStringLiteral("\"") + text
            + QStringLiteral("\" is not a field: give its number (1 to 19) or its name (Title1, "
                             "Title2, Title3, Day, Month, Year, Page, Topic, Keywords, File link, "
                             "Code1, Code2, Code3, aYear, aMonth, aDay, aHour:min, Memo, Card ID)"));
}

MatchOperator ParseOperator(const QString& text)
{
    for (int k = 0; k < MatchOperatorCount; ++k)
        if (text == MatchOperatorTexts[static_cast<size_t>(k)])
            return static_cast<MatchOperator>(k);
    Fail(ExitUsage, QStringLiteral("\"") + text + QStringLiteral("\" is not an operator: give ~ < > >= <= = or <>"));
}

enum class OutFormat { Csv, Tsv, Json, Text, Kqk };

OutFormat ParseFormat(const QString& text, std::initializer_list<OutFormat> allowed, const QString& allowedText)
{
    static const std::pair<const char*, OutFormat> names[] = {
        {"csv", OutFormat::Csv},
        {"tsv", OutFormat::Tsv},
        {"json", OutFormat::Json},
        {"text", OutFormat::Text},
        {"kqk", OutFormat::Kqk},
    };
    for (const auto& [name, format] : names)
        if (text == QLatin1String(name) && std::find(allowed.begin(), allowed.end(), format) != allowed.end())
            return format;
    Fail(ExitUsage, QStringLiteral("\"") + text + QStringLiteral("\" is not a format here: give ") + allowedText);
}

// FIRST-LAST, as the two order-number boxes would hold them.
std::pair<QString, QString> SplitRange(const QString& text)
{
    const qsizetype dash = text.indexOf(u'-');
    if (dash < 0)
        Fail(ExitUsage, QStringLiteral("--range wants FIRST-LAST, two order numbers joined by -"));
    return {text.left(dash), text.mid(dash + 1)};
}

// ---- reading ----

// A card file of 32000 cards is some 600000 small texts, and the page faults
// of the memory they take cost more than reading them. The heap is grown
// once to about what the file will need and given transparent huge pages,
// so that it faults in large pieces.
void PrepareHeapFor(qint64 fileSize)
{
#if defined(__linux__) && defined(__GLIBC__)
    constexpr std::uintptr_t HugePage = std::uintptr_t(2) << 20;
    const qint64 want = std::min<qint64>(4 * fileSize + (qint64(16) << 20), qint64(1) << 30);
    if (want < qint64(HugePage) * 4)
        return;
    // Large blocks from the heap too, and no giving memory back while the
    // process runs: it ends soon after.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_TOP_PAD, 16 << 20);
    const auto lo = reinterpret_cast<std::uintptr_t>(sbrk(0));
    void* block = std::malloc(static_cast<size_t>(want));
    std::free(block);
    const auto hi = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const std::uintptr_t from = (lo + HugePage - 1) & ~(HugePage - 1);
    const std::uintptr_t to = hi & ~(HugePage - 1);
    if (block && to > from)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#else
    (void)fileSize;
#endif
}

// The card store of the command. It lives until the process ends: freeing
// some 600000 texts one by one just before exiting would only cost time.
CardStore& TheStore()
{
    static CardStore* const store = new CardStore;
    return *store;
}

// Every card file named as the FILE of a command is read here, as Open reads
// it; a refusal ends the command with Open's own message.
// Only a regular file (or a link to one) is read: anything else is refused
// at once in the words the windows use.
void RefuseAnythingButRegularFile(const QString& path)
{
    const PathInspection seen = InspectPath(path);
    if (seen.kind == PathKind::Missing)
        Fail(ExitNothing, NoSuchFileMessage);
    if (!seen.regular())
        Fail(ExitNothing, seen.message);
}

// The fields whose bytes were not UTF-8 in the card file last read.
std::vector<TextPlace>& NotUtf8Places()
{
    static std::vector<TextPlace> places;
    return places;
}

void ReadCardFileArgument(CardStore& store, const QString& path)
{
    RefuseAnythingButRegularFile(path);
    PrepareHeapFor(QFileInfo(path).size());
    try {
        const OpenReadOutcome r = ReadCardFileForOpen(store, path);
        if (!r.ok)
            Fail(ExitNothing, r.message);
        NotUtf8Places() = r.notUtf8;
    } catch (const GeneralError& e) {
        Fail(ExitNothing, e.text());
    }
    // A hand-made file whose count line says 0 or less holds no cards here.
    store.CardCount = std::max(store.CardCount, 0);
    store.CurrentCard = std::max(store.CardCount - 1, 0);
    store.CardFileName = path;
    store.FileOpen = true;
}

// The bytes of a table to import (CSV or JSON).
QByteArray ReadSourceBytes(const QString& path)
{
    RefuseAnythingButRegularFile(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        Fail(ExitNothing, QStringLiteral("Cannot open file \"") + path + QStringLiteral("\". ") + file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        Fail(ExitNothing, QStringLiteral("Cannot read file \"") + path + QStringLiteral("\". ") + file.errorString());
    return bytes;
}

// ---- writing ----

struct OutputTarget {
    QString path;  // "-" for standard output
    bool force = false;
};

// Writes through write onto standard output ("-") or through the safe save
// into a file, which must not exist unless --force is given. write returns
// false when it stopped; refusal then tells why when the writer refused its
// input (a card that would not read back), otherwise the device's error does.
void WriteOutput(const OutputTarget& target, const std::function<bool(QIODevice&, QString& refusal)>& write)
{
    QString refusal;
    if (target.path == u"-") {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly)) {
            Fail(ExitWrite, QStringLiteral("Cannot write to standard output. ") + out.errorString());
        }
        const bool ok = write(out, refusal);
        if (!refusal.isEmpty())
            Fail(ExitWrite, refusal);
        if (!ok || !out.flush() || std::fflush(stdout) != 0)
            Fail(ExitWrite, QStringLiteral("Cannot write to standard output. ") + out.errorString());
        return;
    }
    if (QFileInfo(target.path).exists() && !target.force)
        Fail(ExitWrite,
            QStringLiteral("The file ") + target.path + QStringLiteral(" already exists: give --force to replace it"));
    SaveResult saved;
    try {
        saved = SafeSave(target.path, [&](QIODevice& device) { return write(device, refusal); });
    } catch (const GeneralError& e) {
        Fail(ExitWrite, e.text());
    }
    if (!refusal.isEmpty())
        Fail(ExitWrite, refusal);
    if (saved.status != SaveResult::Ok)
        Fail(ExitWrite, saved.errorText.isEmpty() ? QStringLiteral("The file could not be written") : saved.errorText);
}

// The header's date and time: --date and --time as given, otherwise the
// clock in the user's short date and long time formats.
struct Stamp {
    QString date;
    QString time;
};

Stamp StampFrom(const QCommandLineParser& p)
{
    const QDateTime now = QDateTime::currentDateTime();
    Stamp s;
    s.date =
        p.isSet(QStringLiteral("date")) ? p.value(QStringLiteral("date")) : now.date().toString(UserShortDateFormat());
    s.time =
        p.isSet(QStringLiteral("time")) ? p.value(QStringLiteral("time")) : now.time().toString(UserLongTimeFormat());
    return s;
}

// What a set of cards is written as.
struct CardsOut {
    OutFormat format = OutFormat::Csv;
    TextExportKind textKind = TextExportKind::AllCards;  // Text: the header's kind
    QString cardFileHeader = MainFileHeaderText;  // Kqk: the first line
    Stamp stamp;  // Text
    QString cardFileName;  // Text: named in the footer
};

void WriteCards(const OutputTarget& target, const CardRows& rows, int count, const CardsOut& how)
{
    const std::span<const Card> cards(
        rows.data(), static_cast<size_t>(std::clamp(count, 0, static_cast<int>(rows.size()))));
    WriteOutput(target, [&](QIODevice& device, QString& refusal) {
        switch (how.format) {
        case OutFormat::Csv:
            return WriteCardTable(device, cards, TableFormat::Csv);
        case OutFormat::Tsv:
            return WriteCardTable(device, cards, TableFormat::Tsv);
        case OutFormat::Json:
            return WriteCardTable(device, cards, TableFormat::Json);
        case OutFormat::Text: {
            TextExportOptions options;
            options.kind = how.textKind;
            options.date = how.stamp.date;
            options.time = how.stamp.time;
            options.cardFileName = how.cardFileName;
            return WriteTextExport(device, cards, options);
        }
        case OutFormat::Kqk:
            break;
        }
        const CardFileEncodeResult r = EncodeCardFile(device, rows, static_cast<int>(cards.size()), how.cardFileHeader);
        if (r.status == CardFileEncodeResult::Refused)
            refusal = r.reason;
        return r.status == CardFileEncodeResult::Ok;
    });
}

// ---- the commands ----

struct Command {
    const char* name;
    const char* synopsis;  // after "cardomo-cli NAME "
    const char* description;  // one line for the program's help
    int (*run)(QCommandLineParser& parser, QStringList args);
};

QCommandLineOption OutOption()
{
    return QCommandLineOption(QStringLiteral("out"),
        QStringLiteral("Write to OUT (through a safe save; - for standard output)."), QStringLiteral("OUT"));
}
QCommandLineOption ForceOption()
{
    return QCommandLineOption(QStringLiteral("force"), QStringLiteral("Replace an existing OUT."));
}
QCommandLineOption DateOption()
{
    return QCommandLineOption(QStringLiteral("date"),
        QStringLiteral("The date in the header (default: today, in the user's short date format)."),
        QStringLiteral("D"));
}
QCommandLineOption TimeOption()
{
    return QCommandLineOption(QStringLiteral("time"),
        QStringLiteral("The time in the header (default: now, in the user's long time format)."), QStringLiteral("T"));
}
QCommandLineOption RangeOption(const QString& what)
{
    return QCommandLineOption(QStringLiteral("range"), what, QStringLiteral("FIRST-LAST"));
}

OutputTarget TargetFrom(const QCommandLineParser& p, bool required)
{
    OutputTarget t;
    if (p.isSet(QStringLiteral("out")))
        t.path = p.value(QStringLiteral("out"));
    else if (required)
        Fail(ExitUsage, QStringLiteral("--out OUT is needed (- for standard output)"));
    else
        t.path = QStringLiteral("-");
    if (t.path.isEmpty())
        Fail(ExitUsage, QStringLiteral("--out needs a file name (- for standard output)"));
    t.force = p.isSet(QStringLiteral("force"));
    return t;
}

void NeedPositionals(const QCommandLineParser& p, std::initializer_list<qsizetype> counts)
{
    const qsizetype n = p.positionalArguments().size();
    if (std::find(counts.begin(), counts.end(), n) == counts.end())
        Fail(ExitUsage,
            n < *std::max_element(counts.begin(), counts.end())
                ? QStringLiteral("Too few arguments")
                : QStringLiteral("Too many arguments: ") + p.positionalArguments().join(u' '));
}

// Parses a command's arguments; a usage error ends the program. True when
// the command's help was asked for.
bool ParseAsksForHelp(QCommandLineParser& p, const QStringList& args)
{
    if (!p.parse(args))
        Fail(ExitUsage, p.errorText());
    return p.isSet(QStringLiteral("help"));
}

int RunCheck(QCommandLineParser& p, QStringList args)
{
    p.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The card file to read."));
    if (ParseAsksForHelp(p, args))
        return -1;
    NeedPositionals(p, {1});
    CardStore& store = TheStore();
    ReadCardFileArgument(store, p.positionalArguments()[0]);
    Print(stdout, QString::number(store.CardCount) + QStringLiteral(" cards"));
    // Bytes that are not UTF-8 read as U+FFFD and would be saved so: every
    // place is named, and the file still counts as read.
    const std::vector<TextPlace>& places = NotUtf8Places();
    if (!places.empty()) {
        Print(stderr, NotUtf8Notice(places));
        for (const TextPlace& place : places)
            Print(stderr, TextPlaceText(place));
    }
    return ExitDone;
}

const QString OutFormats = QStringLiteral("csv, tsv, json, text or kqk");
const QString ExportFormats = QStringLiteral("csv, tsv, json or text");

int RunExport(QCommandLineParser& p, QStringList args)
{
    p.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The card file to export."));
    p.addOption(QCommandLineOption(QStringLiteral("format"),
        QStringLiteral("csv (RFC 4180, the default), tsv, json, or text (the layout of "
                       "Save As Text)."),
        QStringLiteral("F"), QStringLiteral("csv")));
    p.addOption(OutOption());
    p.addOption(ForceOption());
    p.addOption(DateOption());
    p.addOption(TimeOption());
    if (ParseAsksForHelp(p, args))
        return -1;
    NeedPositionals(p, {1});
    CardsOut how;
    how.format = ParseFormat(p.value(QStringLiteral("format")),
        {OutFormat::Csv, OutFormat::Tsv, OutFormat::Json, OutFormat::Text}, ExportFormats);
    const OutputTarget target = TargetFrom(p, false);
    how.stamp = StampFrom(p);
    CardStore& store = TheStore();
    ReadCardFileArgument(store, p.positionalArguments()[0]);
    how.cardFileName = store.CardFileName;
    WriteCards(target, store.CardTable, store.CardCount, how);
    return ExitDone;
}

int RunList(QCommandLineParser& p, QStringList args)
{
    p.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The card file to list."));
    p.addOption(QCommandLineOption(QStringLiteral("fields"),
        QStringLiteral("The ticked boxes of the field selection, by field number or name; 20 is the line between "
                       "the cards. Default: all twenty; an empty list ticks none."),
        QStringLiteral("N,N,...")));
    p.addOption(DateOption());
    p.addOption(TimeOption());
    p.addOption(OutOption());
    p.addOption(ForceOption());
    if (ParseAsksForHelp(p, args))
        return -1;
    NeedPositionals(p, {1});
    FieldSelection selection;
    if (p.isSet(QStringLiteral("fields"))) {
        selection.DeselectAll();
        const QString list = p.value(QStringLiteral("fields"));
        if (!list.isEmpty()) {
            for (const QString& item : list.split(u',')) {
                int box = FieldSelection::BoxCount;
                if (item != u"20") {
                    try {
                        box = ParseField(item);
                    } catch (Failure& f) {
                        f.message += QStringLiteral(", or 20 for the line between the cards");
                        throw;
                    }
                }
                selection.boxes[static_cast<size_t>(box - 1)] = true;
            }
        }
    }
    const OutputTarget target = TargetFrom(p, false);
    const Stamp stamp = StampFrom(p);
    CardStore& store = TheStore();
    ReadCardFileArgument(store, p.positionalArguments()[0]);
    ListingCollector listing(ListingKind::AllCards, store, selection, stamp.date, stamp.time);
    while (!listing.AtEnd())
        listing.AppendNext();
    const QString text = listing.Finish();
    WriteOutput(target, [&text](QIODevice& device, QString&) { return WriteListingText(device, text); });
    return ExitDone;
}

// The connective of a Boolean pick with its second field and text, taken out
// of the arguments before they are parsed (the option has two values).
struct Connective {
    BooleanConnective connective = BooleanConnective::And;
    QString field2;
    QString text2;
};

std::optional<Connective> TakeConnective(QStringList& args)
{
    static const std::pair<const char*, BooleanConnective> names[] = {
        {"--and", BooleanConnective::And},
        {"--or", BooleanConnective::Or},
        {"--xor", BooleanConnective::Xor},
        {"--not", BooleanConnective::Not},
    };
    std::optional<Connective> found;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == u"--")
            break;
        for (const auto& [name, connective] : names) {
            if (args[i] != QLatin1String(name))
                continue;
            if (found)
                Fail(ExitUsage, QStringLiteral("Give one of --and, --or, --xor and --not, once"));
            if (i + 2 >= args.size())
                Fail(ExitUsage, QLatin1String(name) + QStringLiteral(" wants FIELD2 TEXT2"));
            found = Connective{connective, args[i + 1], args[i + 2]};
            args.remove(i, 3);
            --i;
            break;
        }
    }
    return found;
}

int RunPick(QCommandLineParser& p, QStringList args)
{
    const std::optional<Connective> connective = TakeConnective(args);
    p.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The card file to pick from."));
    p.addPositionalArgument(QStringLiteral("FIELD"), QStringLiteral("The field to test (1 to 19, or its name)."));
    p.addPositionalArgument(
        QStringLiteral("OP"), QStringLiteral("~ contains, < > >= <= = compare, <> does not contain."));
    p.addPositionalArgument(QStringLiteral("TEXT"), QStringLiteral("The search string (exact, case-sensitive)."));
    for (const char* name : {"and", "or", "xor", "not"})
        p.addOption(QCommandLineOption(QLatin1String(name),
            QStringLiteral("Boolean pick: FIELD contains TEXT ") + QLatin1String(name).toString().toUpper()
                + QStringLiteral(" FIELD2 contains TEXT2 (OP must be ~)."),
            QStringLiteral("FIELD2 TEXT2")));
    p.addOption(RangeOption(QStringLiteral("Pick from the cards with these order numbers only (without FIELD OP "
                                           "TEXT: pick them all).")));
    p.addOption(QCommandLineOption(QStringLiteral("format"),
        QStringLiteral("csv (the default on standard output), tsv, json, text, or kqk "
                       "(a card file, the default with --out)."),
        QStringLiteral("F")));
    p.addOption(OutOption());
    p.addOption(ForceOption());
    p.addOption(DateOption());
    p.addOption(TimeOption());
    if (ParseAsksForHelp(p, args))
        return -1;
    const bool ranged = p.isSet(QStringLiteral("range"));
    if (ranged && !connective)
        NeedPositionals(p, {1, 4});
    else
        NeedPositionals(p, {4});
    const QStringList pos = p.positionalArguments();
    const bool tested = pos.size() == 4;

    FieldTest single;
    BooleanTest boolean;
    if (tested) {
        const int field = ParseField(pos[1]);
        const MatchOperator op = ParseOperator(pos[2]);
        if (connective) {
            if (op != MatchOperator::Contains)
                Fail(ExitUsage, QStringLiteral("A Boolean pick tests both fields with ~"));
            boolean =
                BooleanTest{field, pos[3], connective->connective, ParseField(connective->field2), connective->text2};
        } else {
            single = FieldTest{field, op, pos[3]};
        }
    }
    const OutputTarget target = TargetFrom(p, false);
    CardsOut how;
    how.format = p.isSet(QStringLiteral("format")) ? ParseFormat(p.value(QStringLiteral("format")),
                     {OutFormat::Csv, OutFormat::Tsv, OutFormat::Json, OutFormat::Text, OutFormat::Kqk}, OutFormats)
                                                   : (p.isSet(QStringLiteral("out")) ? OutFormat::Kqk : OutFormat::Csv);
    how.textKind = TextExportKind::PickedCards;
    how.cardFileHeader = PickedFileHeaderText;
    how.stamp = StampFrom(p);
    std::pair<QString, QString> rangeTexts;
    if (ranged)
        rangeTexts = SplitRange(p.value(QStringLiteral("range")));

    CardStore& store = TheStore();
    ReadCardFileArgument(store, pos[0]);
    how.cardFileName = store.CardFileName;
    if (ranged) {
        OrderRange range;
        try {
            range = CheckOrderRange(rangeTexts.first, rangeTexts.second, store.CardCount);
        } catch (const GeneralError& e) {
            Refuse(e.text());
        }
        if (!range.Accepted())
            Refuse(range.refusal);
        PickRange(store, range);
    }
    PickOutcome outcome;
    outcome.status = PickStatus::Picked;
    if (tested) {
        if (ranged)
            outcome = connective ? FilterPicked(store, boolean) : FilterPicked(store, single);
        else
            outcome = connective ? PickCards(store, boolean) : PickCards(store, single);
    }
    if (outcome.status != PickStatus::Picked)
        Fail(ExitNothing, QStringLiteral("Not found"));
    WriteCards(target, store.PickedTable, store.PickedCount, how);
    return ExitDone;
}

int RunSort(QCommandLineParser& p, QStringList args)
{
    p.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The card file to sort."));
    p.addOption(QCommandLineOption(QStringLiteral("keys"),
        QStringLiteral("Up to twelve key fields, key 1 first (numbers or names); a key "
                       "left out is the sorting group's start choice (key k: field k)."),
        QStringLiteral("K1,K2,...")));
    p.addOption(QCommandLineOption(QStringLiteral("descending"), QStringLiteral("Sort in descending order.")));
    p.addOption(QCommandLineOption(QStringLiteral("format"),
        QStringLiteral("kqk (a card file, the default), csv, tsv, json or text."), QStringLiteral("F"),
        QStringLiteral("kqk")));
    p.addOption(OutOption());
    p.addOption(ForceOption());
    p.addOption(DateOption());
    p.addOption(TimeOption());
    if (ParseAsksForHelp(p, args))
        return -1;
    NeedPositionals(p, {1});
    if (!p.isSet(QStringLiteral("keys")))
        Fail(ExitUsage, QStringLiteral("--keys K1[,K2...,K12] is needed"));
    SortKeyFields keys = DefaultSortKeyFields;
    const QStringList given = p.value(QStringLiteral("keys")).split(u',');
    if (given.size() > SortKeyCount)
        Fail(ExitUsage, QStringLiteral("At most twelve keys"));
    for (qsizetype k = 0; k < given.size(); ++k)
        keys[static_cast<size_t>(k)] = ParseField(given[k]);
    CardsOut how;
    how.format = ParseFormat(p.value(QStringLiteral("format")),
        {OutFormat::Csv, OutFormat::Tsv, OutFormat::Json, OutFormat::Text, OutFormat::Kqk}, OutFormats);
    const OutputTarget target = TargetFrom(p, true);
    how.stamp = StampFrom(p);
    CardStore& store = TheStore();
    ReadCardFileArgument(store, p.positionalArguments()[0]);
    how.cardFileName = store.CardFileName;
    SortCardTable(
        store, keys, p.isSet(QStringLiteral("descending")) ? SortDirection::Descending : SortDirection::Ascending);
    WriteCards(target, store.CardTable, store.CardCount, how);
    return ExitDone;
}

int RunReplace(QCommandLineParser& p, QStringList args)
{
    p.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The card file."));
    p.addPositionalArgument(QStringLiteral("FIELD"), QStringLiteral("The field to replace in (1 to 19, or its name)."));
    p.addPositionalArgument(QStringLiteral("FIND"), QStringLiteral("The string to find (exact, case-sensitive)."));
    p.addPositionalArgument(QStringLiteral("REPLACEMENT"), QStringLiteral("What replaces it (may be empty)."));
    p.addOption(RangeOption(QStringLiteral("Replace in the cards with these order numbers only (default: all).")));
    p.addOption(QCommandLineOption(QStringLiteral("format"),
        QStringLiteral("kqk (a card file, the default), csv, tsv, json or text."), QStringLiteral("F"),
        QStringLiteral("kqk")));
    p.addOption(OutOption());
    p.addOption(ForceOption());
    p.addOption(DateOption());
    p.addOption(TimeOption());
    if (ParseAsksForHelp(p, args))
        return -1;
    NeedPositionals(p, {4});
    const QStringList pos = p.positionalArguments();
    const int field = ParseField(pos[1]);
    CardsOut how;
    how.format = ParseFormat(p.value(QStringLiteral("format")),
        {OutFormat::Csv, OutFormat::Tsv, OutFormat::Json, OutFormat::Text, OutFormat::Kqk}, OutFormats);
    const OutputTarget target = TargetFrom(p, true);
    how.stamp = StampFrom(p);
    std::pair<QString, QString> rangeTexts;
    if (p.isSet(QStringLiteral("range")))
        rangeTexts = SplitRange(p.value(QStringLiteral("range")));

    CardStore& store = TheStore();
    ReadCardFileArgument(store, pos[0]);
    how.cardFileName = store.CardFileName;
    ReplaceAllBoxes boxes;
    boxes.find = pos[2];
    boxes.replacement = pos[3];
    boxes.field = QLatin1String(Fields[static_cast<size_t>(field - 1)].chooserEntry);
    if (p.isSet(QStringLiteral("range"))) {
        boxes.firstIndex = rangeTexts.first;
        boxes.lastIndex = rangeTexts.second;
    } else {
        boxes.firstIndex = QStringLiteral("1");
        boxes.lastIndex = QString::number(store.CardCount);
    }
    ReplaceAllCheck check;
    try {
        check = CheckReplaceAll(boxes, store.CardCount);
    } catch (const GeneralError& e) {
        Refuse(e.text());
    }
    if (!check.passed())
        Refuse(check.message);
    bool found = false;
    if (const std::optional<int> cell = ReplaceFieldCell(boxes.field)) {
        for (int c = check.first; c <= check.last; ++c) {
            QString& text = store.CardTable[static_cast<size_t>(c - 1)][static_cast<size_t>(*cell)];
            TextReplaceResult r = ReplaceEveryOccurrence(text, boxes.find, boxes.replacement);
            if (r.replacements > 0) {
                found = true;
                text = std::move(r.text);
            }
        }
    }
    if (!found)
        Fail(ExitNothing, ReplaceNotFoundMessage);
    WriteCards(target, store.CardTable, store.CardCount, how);
    Print(target.path == u"-" ? stderr : stdout, ReplaceCompletedMessage);
    return ExitDone;
}

int RunImport(QCommandLineParser& p, QStringList args)
{
    p.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The card file the cards are added to."));
    p.addPositionalArgument(QStringLiteral("SOURCE"), QStringLiteral("The cards to add."));
    p.addOption(QCommandLineOption(QStringLiteral("format"),
        QStringLiteral("What SOURCE is: kqk (a card file), ansi (an old-format card file), csv or json; by "
                       "default csv or json for a name ending in .csv or .json, otherwise kqk."),
        QStringLiteral("F")));
    p.addOption(OutOption());
    p.addOption(ForceOption());
    if (ParseAsksForHelp(p, args))
        return -1;
    NeedPositionals(p, {2});
    const QStringList pos = p.positionalArguments();
    const QString source = pos[1];
    QString format = p.value(QStringLiteral("format"));
    if (!p.isSet(QStringLiteral("format"))) {
        const QString suffix = QFileInfo(source).suffix().toLower();
        format = suffix == u"csv" || suffix == u"json" ? suffix : QStringLiteral("kqk");
    }
    if (format != u"kqk" && format != u"ansi" && format != u"csv" && format != u"json")
        Fail(ExitUsage,
            QStringLiteral("\"") + format + QStringLiteral("\" is not a format here: give kqk, ansi, csv or json"));
    const OutputTarget target = TargetFrom(p, true);

    CardStore& store = TheStore();
    ReadCardFileArgument(store, pos[0]);
    ImportOutcome outcome;
    if (format == u"kqk" || format == u"ansi") {
        try {
            outcome = AppendCardFile(store, source, format == u"kqk" ? CardEncoding::Utf8 : CardEncoding::Ansi);
        } catch (const GeneralError& e) {
            Fail(ExitNothing, e.text());
        }
    } else {
        const QByteArray bytes = ReadSourceBytes(source);
        TableReadResult table = format == u"csv" ? ReadCsvCards(bytes) : ReadJsonCards(bytes);
        if (!table.ok)
            Fail(ExitNothing, source + QStringLiteral(": ") + table.error);
        // A card without a Card ID is stamped as a new card is.
        for (size_t i = 0; i < table.cards.size(); ++i)
            if (table.needsCardId[i])
                table.cards[i][CardIdCell] = MakeCardId(QDateTime::currentDateTime());
        outcome = AppendCards(store, std::move(table.cards));
    }
    if (!outcome.imported())
        Fail(ExitNothing, outcome.message);
    CardsOut how;
    how.format = OutFormat::Kqk;
    WriteCards(target, store.CardTable, store.CardCount, how);
    return ExitDone;
}

const Command Commands[] = {
    {"check", "FILE", "Read a card file as Open does and print its number of cards.", RunCheck},
    {"export", "FILE [--format csv|tsv|json|text] [--out OUT]", "Write every card as CSV, TSV, JSON or text.",
        RunExport},
    {"list", "FILE [--fields N,N,...] [--date D --time T] [--out OUT]", "Write the listing of all cards.", RunList},
    {"pick", "FILE FIELD OP TEXT [--and|--or|--xor|--not FIELD2 TEXT2] [--range FIRST-LAST] [--format F] [--out OUT]",
        "Pick the cards that pass a test.", RunPick},
    {"sort", "FILE --keys K1[,K2...,K12] [--descending] --out OUT", "Sort the cards by up to twelve fields.", RunSort},
    {"replace", "FILE FIELD FIND REPLACEMENT [--range FIRST-LAST] --out OUT",
        "Replace a string in one field of the cards.", RunReplace},
    {"import", "FILE SOURCE [--format kqk|ansi|csv|json] --out OUT", "Add the cards of SOURCE after the cards of FILE.",
        RunImport},
};

// The help of a command: its own usage line, then the parser's description
// and options.
QString CommandHelp(const Command& command, const QCommandLineParser& p)
{
    QString help = p.helpText();
    const qsizetype firstLineEnd = help.indexOf(u'\n');
    return QStringLiteral("Usage: ") + Program + u' ' + QLatin1String(command.name) + u' '
        + QLatin1String(command.synopsis) + help.mid(firstLineEnd);
}

QString ProgramHelp()
{
    QString help = QStringLiteral("Usage: ") + Program + QStringLiteral(" COMMAND [options] ARGUMENTS\n")
        + QStringLiteral("The card files (.kqk) of Note Card Software from a shell, with the program's own rules.\n\n")
        + QStringLiteral("Commands:\n");
    for (const Command& c : Commands)
        help += QStringLiteral("  ") + QLatin1String(c.name).toString().leftJustified(9) + QLatin1String(c.description)
            + u'\n';
    help += QStringLiteral("\nOptions:\n  -h, --help     Show this help (COMMAND --help: the command's).\n"
                           "  -v, --version  Show the version.\n\n"
                           "Exit codes: 0 done, 1 nothing matched or a file does not read, 2 usage, 3 a file could "
                           "not be written.\n");
    return help;
}

int Run(const QStringList& arguments)
{
    if (arguments.size() < 2)
        Fail(ExitUsage, QStringLiteral("No command given"));
    const QString first = arguments[1];
    if (first == u"-h" || first == u"--help" || first == u"help") {
        std::fputs(Utf8(ProgramHelp()).constData(), stdout);
        return ExitDone;
    }
    if (first == u"-v" || first == u"--version") {
        Print(stdout, Program + QStringLiteral(" " CARDOMO_VERSION_FULL));
        return ExitDone;
    }
    for (const Command& command : Commands) {
        if (first != QLatin1String(command.name))
            continue;
        QCommandLineParser parser;
        parser.setApplicationDescription(QLatin1String(command.description));
        parser.addOption(
            QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help.")));
        QStringList args = arguments.mid(1);
        args[0] = Program + u' ' + first;
        try {
            const int code = command.run(parser, args);
            if (code >= 0)
                return code;
            std::fputs(Utf8(CommandHelp(command, parser)).constData(), stdout);
            return ExitDone;
        } catch (Failure& f) {
            f.command = first;
            throw;
        }
    }
    Fail(ExitUsage, QStringLiteral("Unknown command \"") + first + QStringLiteral("\""));
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(Program);
    QCoreApplication::setApplicationVersion(QStringLiteral(CARDOMO_VERSION_FULL));
    try {
        const int code = Run(QCoreApplication::arguments());
        // What went to standard output without --out (a count, a message)
        // must have arrived too.
        if (std::fflush(stdout) != 0 || std::ferror(stdout))
            Fail(ExitWrite,
                QStringLiteral("Cannot write to standard output. ") + QString::fromLocal8Bit(std::strerror(errno)));
        return code;
    } catch (const Failure& f) {
        if (f.usage) {
            const QString command = f.command.isEmpty() ? Program : Program + u' ' + f.command;
            Print(stderr,
                Program + QStringLiteral(": ") + (f.command.isEmpty() ? QString() : f.command + QStringLiteral(": "))
                    + f.message);
            Print(stderr, QStringLiteral("Try '") + command + QStringLiteral(" --help' for more information."));
        } else {
            Print(stderr, f.message);
        }
        return f.code;
    } catch (const GeneralError& e) {
        Print(stderr, e.text());
        return ExitNothing;
    } catch (const std::exception& e) {
        Print(stderr, QString::fromLocal8Bit(e.what()));
        return ExitNothing;
    }
}
