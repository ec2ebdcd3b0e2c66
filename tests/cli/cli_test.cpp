// cardomo-cli run as a user runs it: a process with arguments, its standard
// output, standard error, exit code and the files it leaves, each compared
// byte for byte with what the card file's rules give.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

const std::string Bom = "\xEF\xBB\xBF";
const std::string MainHeader =
    "IF YOU SEE THIS TEXT, YOU ARE IN WRONG PLACE!! THIS IS CARDOMO DATA FILE. THIS TEXT FILE IS ONLY FOR THE USE "
    "OF CARDOMO SOFTWARE! PLEASE ABORT WITHOUT MAKING A N Y CHANGES IN THIS FILE!";
const std::string PickedHeader =
    "IF YOU SEE THIS TEXT, YOU ARE IN WRONG PLACE!! THIS IS CARDOMO DATA FILE. THIS TEXT FILE IS ONLY FOR THE USE "
    "OF CARDOMO SOFTWARE! PLEASE ABORT WITHOUT MAKING ANY CHANGES IN THIS FILE!";
const std::string Tag = "KQa0b5c1d0e2f1g0h0i1";
const std::string Banner = "== Cardomo 0.5 beta (v.0.5.1.0.2) Note Card Software ==";

// A card as test data: its 19 fields as UTF-8, the Memo with CR LF.
using TestCard = std::vector<std::string>;

TestCard MakeCard(std::initializer_list<std::pair<int, std::string>> fields)
{
    TestCard c(19);
    for (const auto& [field, text] : fields)
        c[static_cast<size_t>(field - 1)] = text;
    return c;
}

// The three cards of the main fixture: commas, quotes, a Memo with CR LF,
// a character beyond U+FFFF, a tab and a backslash, a Memo ending in a
// line break.
const TestCard Smith = MakeCard({{1, "Smith, John"}, {2, "He said \"hi\""}, {4, "07"}, {5, "03"}, {6, "2021"},
    {7, "p. 12"}, {8, "Birds"}, {9, "owl; hawk"}, {11, "A-1"}, {14, "2021"}, {15, "03"}, {16, "07"}, {17, "09:05"},
    {18, "First line\r\nsecond, with \"quotes\""}, {19, "y2021m03d07h09mn05s02ms045"}});
const TestCard Ann = MakeCard({{1, "Ann \xF0\x9F\x98\x80 \xC3\x96"}, {8, "Bees"}, {11, "tab\there"},
    {12, "back\\slash"}, {19, "y2022m01d01h00mn00s00ms001"}});
const TestCard Zed = MakeCard({{1, "Zed"}, {8, "Birds and bees"}, {18, "x\r\n"}, {19, "y2020m12d31h23mn59s59ms999"}});

// The card file layout of cards, numbered from 1, under header.
std::string CardFile(const std::vector<TestCard>& cards, const std::string& header = MainHeader)
{
    std::string out = Bom + header + "\r\n" + Tag + "\r\n" + std::to_string(cards.size()) + "\r\n";
    for (size_t k = 0; k < cards.size(); ++k) {
        const TestCard& c = cards[k];
        for (int f = 0; f < 17; ++f)
            out += c[static_cast<size_t>(f)] + "\r\n";
        const std::string n = std::to_string(k + 1);
        out += "\xC2\xA4#<&%\xC2\xA4#<&%KQ==" + n + "\r\n";
        out += c[17] + "\r\n";
        out += "\xC2\xA4#>&%\xC2\xA4#>&%KQ==" + n + "\r\n";
        out += c[18] + "\r\n";
    }
    return out;
}

std::string Lines(std::initializer_list<std::string> lines, const char* end = "\r\n")
{
    std::string out;
    for (const std::string& l : lines)
        out += l + end;
    return out;
}

// expected holds "@" for each Card ID the program stamps; each is taken from
// got at the same place, after checking that it is a stamp of the clock.
std::string FillInStamps(std::string expected, const std::string& got)
{
    const QRegularExpression stamp(QStringLiteral("^y\\d{4}m\\d\\dd\\d\\dh\\d\\dmn\\d\\ds\\d\\dms\\d{3}$"));
    for (size_t at = expected.find("\r\n@\r\n"); at != std::string::npos; at = expected.find("\r\n@\r\n", at + 2)) {
        const size_t end = got.find("\r\n", at + 2);
        if (end == std::string::npos)
            break;
        const std::string id = got.substr(at + 2, end - at - 2);
        EXPECT_TRUE(stamp.match(QString::fromStdString(id)).hasMatch()) << id;
        expected.replace(at + 2, 1, id);
    }
    return expected;
}

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        Write("cards.kqk", CardFile({Smith, Ann, Zed}));
    }

    QString Path(const std::string& name) const { return dir_.filePath(QString::fromStdString(name)); }

    void Write(const std::string& name, const std::string& bytes) const
    {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    std::string Read(const std::string& name) const
    {
        QFile f(Path(name));
        if (!f.open(QIODevice::ReadOnly))
            return "(missing)";
        return f.readAll().toStdString();
    }

    bool Exists(const std::string& name) const { return QFileInfo::exists(Path(name)); }

    // Runs the program in the fixture folder; arguments are UTF-8.
    CliRun Cli(std::initializer_list<std::string> args) const
    {
        QStringList list;
        for (const std::string& a : args)
            list << QString::fromStdString(a);
        QProcess p;
        p.setWorkingDirectory(dir_.path());
        p.start(QStringLiteral(CARDOMO_CLI), list);
        EXPECT_TRUE(p.waitForFinished(60000));
        CliRun r;
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = p.readAllStandardOutput().toStdString();
        r.err = p.readAllStandardError().toStdString();
        return r;
    }

    QTemporaryDir dir_;
};

const std::string CsvHeader =
    "Title1,Title2,Title3,Day,Month,Year,Page,Topic,Keywords,File link,Code1,Code2,Code3,aYear,aMonth,aDay,"
    "aHour:min,Memo,Card ID\r\n";
const std::string SmithCsv =
    "\"Smith, John\",\"He said \"\"hi\"\"\",,07,03,2021,p. 12,Birds,owl; hawk,,A-1,,,2021,03,07,09:05,"
    "\"First line\r\nsecond, with \"\"quotes\"\"\",y2021m03d07h09mn05s02ms045\r\n";
const std::string AnnCsv =
    "Ann \xF0\x9F\x98\x80 \xC3\x96,,,,,,,Bees,,,tab\there,back\\slash,,,,,,,y2022m01d01h00mn00s00ms001\r\n";
const std::string ZedCsv = "Zed,,,,,,,Birds and bees,,,,,,,,,,\"x\r\n\",y2020m12d31h23mn59s59ms999\r\n";

// ---- check ----

TEST_F(CliTest, CheckCountsTheCardsAndWritesNothing)
{
    const CliRun r = Cli({"check", "cards.kqk"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "3 cards\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{QStringLiteral("cards.kqk")});
    EXPECT_EQ(Read("cards.kqk"), CardFile({Smith, Ann, Zed}));
}

TEST_F(CliTest, CheckGivesTheOpenMessageOfEveryBrokenFile)
{
    const std::string good = CardFile({Smith});
    std::string noBom = good.substr(3);
    std::string oldTag = good;
    oldTag.replace(oldTag.find("f1g0h0i1"), 8, "f1g0h0i2");
    std::string tooMany = good;
    tooMany.replace(tooMany.find("\r\n1\r\n"), 5, "\r\n32001\r\n");
    const std::string cut = good.substr(0, good.find("\xC2\xA4#>&%"));  // ends inside the Memo
    std::string notNumber = good;
    notNumber.replace(notNumber.find("\r\n1\r\n"), 5, "\r\nabc\r\n");
    Write("noBom.kqk", noBom);
    Write("oldTag.kqk", oldTag);
    Write("tooMany.kqk", tooMany);
    Write("cut.kqk", cut);
    Write("notNumber.kqk", notNumber);
    const struct {
        std::string file;
        std::string message;
    } cases[] = {
        {"missing.kqk", "The file with this name does not exist in this directory"},
        {"noBom.kqk",
            "You are trying to open ANSI file in UTF-8 mode. Please select instead: File --> New and then Edit --> "
            "Input external ANSI card file to the current card file (old format)"},
        {"oldTag.kqk",
            "The file you are trying to open might be saved with different version than you are using, or the data "
            "file is corrupted. Please update the software."},
        {"tooMany.kqk", "The number of the cards of this file exeeds allowed maximum which is 32000 cards"},
        {"cut.kqk",
            "File opening error!! The number of the lines of the Memo in some card might exeed max 32000 or the file "
            "is corrupted: 32001 Card: 0"},
        {"notNumber.kqk", "'abc' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const CliRun r = Cli({"check", c.file});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.message + "\n");
    }
}

TEST_F(CliTest, CheckNamesEveryFieldThatIsNotUtf8AndStillReadsTheFile)
{
    const TestCard latin =
        MakeCard({{1, "caf\xE9"}, {18, "ok\r\nstray \x80 byte"}, {19, "y2020m01d01h00mn00s00ms000"}});
    Write("latin.kqk", CardFile({Smith, latin}));
    const CliRun r = Cli({"check", "latin.kqk"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "2 cards\n");
    EXPECT_EQ(r.err,
        "The file holds bytes that are not valid UTF-8 in 2 fields, shown as \xEF\xBF\xBD. The first is in "
        "card 2, field 1 Title1. Save will write each of them as U+FFFD, and their original bytes will be "
        "lost.\ncard 2, field 1 Title1\ncard 2, field 18 Memo\n");
    EXPECT_EQ(Read("latin.kqk"), CardFile({Smith, latin}));
}

TEST_F(CliTest, EveryCommandRefusesWhatIsNoRegularFileAtOnce)
{
    ASSERT_EQ(::mkfifo(Path("pipe.kqk").toLocal8Bit().constData(), 0600), 0);
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("folder.kqk")));
    const std::string pipe = "Cannot open file \"pipe.kqk\". It is a named pipe, not a regular file: only a card "
                             "file can be read.\n";
    const std::string folder = "Cannot open file \"folder.kqk\". It is a folder, not a regular file: only a card "
                               "file can be read.\n";
    const struct {
        std::initializer_list<std::string> args;
        std::string err;
    } cases[] = {
        {{"check", "pipe.kqk"}, pipe},
        {{"check", "folder.kqk"}, folder},
        {{"export", "pipe.kqk", "--format", "csv"}, pipe},
        {{"import", "cards.kqk", "pipe.kqk", "--format", "csv", "--out", "new.kqk"}, pipe},
        {{"import", "cards.kqk", "pipe.kqk", "--format", "kqk", "--out", "new.kqk"}, pipe},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(*(c.args.begin() + 1) + " " + *(c.args.end() - 1));
        const CliRun r = Cli(c.args);  // a blocking open would hang here until the test's time-out
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
    EXPECT_FALSE(Exists("new.kqk"));
    EXPECT_EQ(Read("cards.kqk"), CardFile({Smith, Ann, Zed}));
}

TEST_F(CliTest, CheckTakesACountOfNoCards)
{
    Write("empty.kqk", Bom + MainHeader + "\r\n" + Tag + "\r\n0\r\n");
    const CliRun r = Cli({"check", "empty.kqk"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "0 cards\n");
}

// ---- export ----

TEST_F(CliTest, ExportCsvQuotesCommasQuotesAndLineBreaks)
{
    const CliRun r = Cli({"export", "cards.kqk", "--format", "csv"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, CsvHeader + SmithCsv + AnnCsv + ZedCsv);
    // csv is the default, and --out writes the same bytes.
    EXPECT_EQ(Cli({"export", "cards.kqk", "--out", "cards.csv"}).exitCode, 0);
    EXPECT_EQ(Read("cards.csv"), r.out);
}

TEST_F(CliTest, ExportTsvEscapesTabsBreaksAndBackslashes)
{
    const CliRun r = Cli({"export", "cards.kqk", "--format", "tsv"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out,
        "Title1\tTitle2\tTitle3\tDay\tMonth\tYear\tPage\tTopic\tKeywords\tFile link\tCode1\tCode2\tCode3\t"
        "aYear\taMonth\taDay\taHour:min\tMemo\tCard ID\n"
        "Smith, John\tHe said \"hi\"\t\t07\t03\t2021\tp. 12\tBirds\towl; hawk\t\tA-1\t\t\t2021\t03\t07\t09:05\t"
        "First line\\r\\nsecond, with \"quotes\"\ty2021m03d07h09mn05s02ms045\n"
        "Ann \xF0\x9F\x98\x80 \xC3\x96\t\t\t\t\t\t\tBees\t\t\ttab\\there\tback\\\\slash\t\t\t\t\t\t\t"
        "y2022m01d01h00mn00s00ms001\n"
        "Zed\t\t\t\t\t\t\tBirds and bees\t\t\t\t\t\t\t\t\t\tx\\r\\n\ty2020m12d31h23mn59s59ms999\n");
}

TEST_F(CliTest, ExportJsonHoldsEveryTextAsItIs)
{
    Write("one.kqk", CardFile({Ann, MakeCard({{1, "ctl\x01"}, {18, "a\r\nb"}, {19, "id"}})}));
    const CliRun r = Cli({"export", "one.kqk", "--format", "json"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out,
        "[\n"
        "{\"Title1\":\"Ann \xF0\x9F\x98\x80 \xC3\x96\",\"Title2\":\"\",\"Title3\":\"\",\"Day\":\"\",\"Month\":\"\","
        "\"Year\":\"\",\"Page\":\"\",\"Topic\":\"Bees\",\"Keywords\":\"\",\"File link\":\"\",\"Code1\":\"tab\\there\","
        "\"Code2\":\"back\\\\slash\",\"Code3\":\"\",\"aYear\":\"\",\"aMonth\":\"\",\"aDay\":\"\",\"aHour:min\":\"\","
        "\"Memo\":\"\",\"Card ID\":\"y2022m01d01h00mn00s00ms001\"},\n"
        "{\"Title1\":\"ctl\\u0001\",\"Title2\":\"\",\"Title3\":\"\",\"Day\":\"\",\"Month\":\"\","
        "\"Year\":\"\",\"Page\":\"\",\"Topic\":\"\",\"Keywords\":\"\",\"File link\":\"\",\"Code1\":\"\","
        "\"Code2\":\"\",\"Code3\":\"\",\"aYear\":\"\",\"aMonth\":\"\",\"aDay\":\"\",\"aHour:min\":\"\","
        "\"Memo\":\"a\\r\\nb\",\"Card ID\":\"id\"}\n"
        "]\n");
    Write("none.kqk", CardFile({}));
    EXPECT_EQ(Cli({"export", "none.kqk", "--format", "json"}).out, "[]\n");
    EXPECT_EQ(Cli({"export", "none.kqk"}).out, CsvHeader);
}

TEST_F(CliTest, ExportTextIsTheSaveAsTextLayout)
{
    Write("one.kqk", CardFile({Zed}));
    const CliRun r = Cli({"export", "one.kqk", "--format", "text", "--date", "7.3.2021", "--time", "9.05.02"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out,
        Bom
            + Lines({"Cardomo 0.5 beta - Text listing   7.3.2021 9.05.02", "", "Number of the cards 1", "",
                "===============================================1", "Zed" + std::string(11, ' ') + ", ", "",
                "   Topic:          Birds and bees", "   Keywords:  ", "   File link:      ", "   Code1:        ",
                "   Code2:        ", "   Code3:        ", "   Action date:     ", "", "x", "", "",
                " y2020m12d31h23mn59s59ms999", "", "", "", "one.kqk", "", Banner, ""}));
}

// ---- list ----

TEST_F(CliTest, ListIsTheListingOfAllCards)
{
    Write("one.kqk", CardFile({Smith}));
    const CliRun r = Cli({"list", "one.kqk", "--date", "7.3.2021", "--time", "9.05.02"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
        Bom
            + Lines({"Cardomo 0.5 beta - Card listing   7.3.2021 9.05.02", "", "Count of cards 1 ", "",
                "===============================================1",
                "Smith, John   He said \"hi\"      07 03 2021, p. 12", "", " Topic:          Birds",
                " Keywords:  owl; hawk", " File link:      ", " Code1:        A-1",
                " Code2:        ", " Code3:        ", " Action date:  2021 03 07 09:05", "", "First line",
                "second, with \"quotes\"", "", " y2021m03d07h09mn05s02ms045", "", "", "", "one.kqk", "", Banner, ""}));
}

TEST_F(CliTest, ListShowsTheChosenFieldsOnly)
{
    const CliRun r = Cli({"list", "cards.kqk", "--fields", "1,Topic,20", "--date", "D", "--time", "T"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out,
        Bom
            + Lines({"Cardomo 0.5 beta - Card listing   D T", "", "Count of cards 3 ", "",
                "===============================================1", "Smith, John   ", "", " Topic:          Birds", "",
                "", "", "===============================================2", "Ann \xF0\x9F\x98\x80 \xC3\x96   ", "",
                " Topic:          Bees", "", "", "", "===============================================3", "Zed   ", "",
                " Topic:          Birds and bees", "", "", "", "", "", "cards.kqk", "", Banner, ""}));
    // Nothing ticked: each card is four empty lines.
    const CliRun none = Cli({"list", "cards.kqk", "--fields", "", "--date", "D", "--time", "T"});
    EXPECT_EQ(none.out,
        Bom + Lines({"Cardomo 0.5 beta - Card listing   D T", "", "Count of cards 3 ", ""})
            + Lines({"", "", "", "", "", "", "", "", "", "", "", ""}) + Lines({"", "", "cards.kqk", "", Banner, ""}));
}

// ---- pick ----

TEST_F(CliTest, PickPrintsTheMatchingCards)
{
    const struct {
        std::initializer_list<std::string> args;
        std::string out;
    } cases[] = {
        {{"pick", "cards.kqk", "8", "~", "Birds"}, CsvHeader + SmithCsv + ZedCsv},
        {{"pick", "cards.kqk", "Topic", "=", "Birds"}, CsvHeader + SmithCsv},
        {{"pick", "cards.kqk", "8", "<>", "Birds"}, CsvHeader + AnnCsv},
        {{"pick", "cards.kqk", "1", "<", "Smith"}, CsvHeader + AnnCsv},  // "Ann..." < "Smith" < "Smith, John"
        {{"pick", "cards.kqk", "1", ">=", "Smith, John"}, CsvHeader + SmithCsv + ZedCsv},
        {{"pick", "cards.kqk", "1", "~", "\xF0\x9F\x98\x80"}, CsvHeader + AnnCsv},
        {{"pick", "cards.kqk", "8", "~", "B", "--and", "18", "x"}, CsvHeader + ZedCsv},
        {{"pick", "cards.kqk", "8", "~", "Birds", "--xor", "1", "Zed"}, CsvHeader + SmithCsv},
        {{"pick", "cards.kqk", "8", "~", "B", "--not", "Memo", "First"}, CsvHeader + AnnCsv + ZedCsv},
        {{"pick", "cards.kqk", "--or", "8", "Bees", "1", "~", "Smith"}, CsvHeader + SmithCsv + AnnCsv},
        {{"pick", "cards.kqk", "--range", "2-3"}, CsvHeader + AnnCsv + ZedCsv},
        {{"pick", "cards.kqk", "8", "~", "Birds", "--range", "2-3"}, CsvHeader + ZedCsv},
    };
    for (const auto& c : cases) {
        const CliRun r = Cli(c.args);
        SCOPED_TRACE(r.err);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out, c.out);
    }
}

TEST_F(CliTest, PickWithOutWritesThePickedSetAsACardFile)
{
    const CliRun r = Cli({"pick", "cards.kqk", "8", "~", "Birds", "--out", "picked.kqk"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
    // Numbered 1 and 2 in the picked set, under the picked cards' header.
    EXPECT_EQ(Read("picked.kqk"), CardFile({Smith, Zed}, PickedHeader));
    const CliRun again = Cli({"check", "picked.kqk"});
    EXPECT_EQ(again.out, "2 cards\n");
}

TEST_F(CliTest, PickAsTextIsThePickedCardsSave)
{
    const CliRun r = Cli({"pick", "cards.kqk", "1", "=", "Zed", "--format", "text", "--date", "D", "--time", "T"});
    EXPECT_EQ(r.exitCode, 0);
    const std::string header =
        Bom + "Cardomo 0.5 beta - Saving of the picked cards  D T\r\n\r\nNumber of the cards 1\r\n";
    EXPECT_EQ(r.out.substr(0, header.size()), header);
}

TEST_F(CliTest, PickThatFindsNothingSaysNotFoundAndWritesNothing)
{
    for (const auto& args :
        {std::initializer_list<std::string>{"pick", "cards.kqk", "8", "~", "birds", "--out", "p.kqk"},
            {"pick", "cards.kqk", "8", "~", "", "--out", "p.kqk"},
            {"pick", "cards.kqk", "8", "~", "Bees", "--and", "8", "Birds", "--out", "p.kqk"},
            {"pick", "cards.kqk", "1", "=", "Ann", "--range", "1-1", "--out", "p.kqk"}}) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "Not found\n");
        EXPECT_FALSE(Exists("p.kqk"));
    }
}

TEST_F(CliTest, PickRangeRefusalsAreThePickingWindowsMessages)
{
    const struct {
        std::string range;
        std::string message;
    } cases[] = {
        {"0-2", "The first index number can not be smaller than 1"},
        {"3-2", "The first index number can not be greater than the last index number"},
        {"1-4", "The last index number can not be greater than the number of cards in whole 3"},
        {"-2", "One of the fields is empty"},
        {"1-x", "'x' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        const CliRun r = Cli({"pick", "cards.kqk", "--range", c.range});
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.message + "\n");
    }
}

// ---- sort ----

TEST_F(CliTest, SortWritesTheCardsInKeyOrder)
{
    // Topic, then Title1: "Bees" < "Birds" < "Birds and bees".
    CliRun r = Cli({"sort", "cards.kqk", "--keys", "8,1", "--out", "sorted.kqk"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out + r.err, "");
    EXPECT_EQ(Read("sorted.kqk"), CardFile({Ann, Smith, Zed}));
    r = Cli({"sort", "cards.kqk", "--keys", "Topic", "--descending", "--out", "down.kqk"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(Read("down.kqk"), CardFile({Zed, Smith, Ann}));
}

TEST_F(CliTest, SortKeepsTheRoutinesOrderOfEqualKeys)
{
    // Four cards with one and the same key end up third, fourth, first, second.
    const TestCard a = MakeCard({{1, "same"}, {19, "a"}});
    const TestCard b = MakeCard({{1, "same"}, {19, "b"}});
    const TestCard c = MakeCard({{1, "same"}, {19, "c"}});
    const TestCard d = MakeCard({{1, "same"}, {19, "d"}});
    Write("four.kqk", CardFile({a, b, c, d}));
    // Keys 2 to 12 are left out and take fields 2 to 12, all empty here.
    EXPECT_EQ(Cli({"sort", "four.kqk", "--keys", "1", "--out", "-"}).out, CardFile({c, d, a, b}));
}

TEST_F(CliTest, SortMissingKeysTakeTheStartChoices)
{
    // Key 1 is Topic; key 2 is then field 2 (Title2), which orders these two.
    const TestCard x = MakeCard({{2, "b"}, {8, "t"}, {19, "x"}});
    const TestCard y = MakeCard({{1, "z"}, {2, "a"}, {8, "t"}, {19, "y"}});
    Write("two.kqk", CardFile({x, y}));
    EXPECT_EQ(Cli({"sort", "two.kqk", "--keys", "8", "--out", "-"}).out, CardFile({y, x}));
    EXPECT_EQ(Cli({"sort", "two.kqk", "--keys", "8,1", "--out", "-"}).out, CardFile({x, y}));
}

// ---- replace ----

TEST_F(CliTest, ReplaceGoesLeftToRightAndNeverInsideAnInsertion)
{
    Write("r.kqk", CardFile({MakeCard({{8, "aaa"}, {19, "1"}}), MakeCard({{8, "abcabc"}, {19, "2"}})}));
    CliRun r = Cli({"replace", "r.kqk", "8", "a", "aa", "--out", "out.kqk"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "Find-replace action completed\n");
    EXPECT_EQ(
        Read("out.kqk"), CardFile({MakeCard({{8, "aaaaaa"}, {19, "1"}}), MakeCard({{8, "aabcaabc"}, {19, "2"}})}));
    r = Cli({"replace", "r.kqk", "Topic", "aa", "x", "--range", "1-1", "--out", "-"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, CardFile({MakeCard({{8, "xa"}, {19, "1"}}), MakeCard({{8, "abcabc"}, {19, "2"}})}));
    EXPECT_EQ(r.err, "Find-replace action completed\n");
}

TEST_F(CliTest, ReplaceInTheMemoAndBeyondUffff)
{
    CliRun r = Cli({"replace", "cards.kqk", "18", "\r\n", " / ", "--out", "-"});
    EXPECT_EQ(r.exitCode, 0);
    TestCard smith = Smith;
    smith[17] = "First line / second, with \"quotes\"";
    TestCard zed = Zed;
    zed[17] = "x / ";
    EXPECT_EQ(r.out, CardFile({smith, Ann, zed}));
    r = Cli({"replace", "cards.kqk", "1", "\xF0\x9F\x98\x80", "", "--out", "-"});
    TestCard ann = Ann;
    ann[0] = "Ann  \xC3\x96";
    EXPECT_EQ(r.out, CardFile({Smith, ann, Zed}));
}

TEST_F(CliTest, ReplaceRefusalsAndNothingFound)
{
    const struct {
        std::initializer_list<std::string> args;
        int exitCode;
        std::string message;
    } cases[] = {
        {{"replace", "cards.kqk", "8", "nothing", "x", "--out", "o.kqk"}, 1, "Strings to replace not found "},
        {{"replace", "cards.kqk", "8", "birds", "x", "--out", "o.kqk"}, 1, "Strings to replace not found "},
        {{"replace", "cards.kqk", "19", "y", "x", "--out", "o.kqk"}, 1, "Strings to replace not found "},
        {{"replace", "cards.kqk", "8", "", "x", "--out", "o.kqk"}, 2, "The field for the word to find is empty"},
        {{"replace", "cards.kqk", "8", "B", "x", "--range", "0-1", "--out", "o.kqk"}, 2,
            "The index number of the first index can not be smaller than 1"},
        {{"replace", "cards.kqk", "8", "B", "x", "--range", "2-1", "--out", "o.kqk"}, 2,
            "The first index number can not be greater than the last index number"},
        {{"replace", "cards.kqk", "8", "B", "x", "--range", "1-9", "--out", "o.kqk"}, 2,
            "The last index can not be greater than the number of the cards in whole 3"},
    };
    for (const auto& c : cases) {
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.err, c.message + "\n");
        EXPECT_FALSE(Exists("o.kqk"));
    }
}

// ---- import ----

TEST_F(CliTest, ImportAppendsACardFileKeepingItsCardIds)
{
    Write("more.kqk", CardFile({Zed, Ann}, PickedHeader));
    const CliRun r = Cli({"import", "cards.kqk", "more.kqk", "--out", "all.kqk"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out + r.err, "");
    EXPECT_EQ(Read("all.kqk"), CardFile({Smith, Ann, Zed, Zed, Ann}));
}

TEST_F(CliTest, ImportOldFormatReadsWindows1252)
{
    // "Å" and "ä" in Windows-1252, and the markers' ¤ as A4.
    std::string old = "header\r\n" + Tag + "\r\n1\r\nK\xC5ytt\xE4\r\n";
    for (int f = 2; f <= 17; ++f)
        old += "\r\n";
    old += "\xA4#<&%\xA4#<&%KQ==1\r\nmemo\r\n\xA4#>&%\xA4#>&%KQ==1\r\nold-id\r\n";
    Write("old.kqd", old);
    CliRun r = Cli({"import", "cards.kqk", "old.kqd", "--format", "ansi", "--out", "-"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(
        r.out, CardFile({Smith, Ann, Zed, MakeCard({{1, "K\xC3\x85ytt\xC3\xA4"}, {18, "memo"}, {19, "old-id"}})}));
    r = Cli({"import", "cards.kqk", "old.kqd", "--out", "-"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err,
        "You are trying to input ANSI file in UTF-8 mode. Please select instead: Edit --> Input external ANSI "
        "card file to the current card file (old format)\n");
    r = Cli({"import", "cards.kqk", "cards.kqk", "--format", "ansi", "--out", "-"});
    EXPECT_EQ(r.err, "This an UTF-8 file, not an ANSI file.\n");
}

TEST_F(CliTest, ImportRefusalsAreTheImportsMessages)
{
    // 31999 cards and 2 more is one too many; nothing is written.
    std::string big = Bom + MainHeader + "\r\n" + Tag + "\r\n31999\r\n";
    std::string block;
    for (int f = 0; f < 17; ++f)
        block += "\r\n";
    for (int k = 1; k <= 31999; ++k) {
        const std::string n = std::to_string(k);
        big += block + "\xC2\xA4#<&%\xC2\xA4#<&%KQ==" + n + "\r\n\r\n\xC2\xA4#>&%\xC2\xA4#>&%KQ==" + n + "\r\nid\r\n";
    }
    Write("big.kqk", big);
    Write("two.kqk", CardFile({Ann, Zed}));
    Write("one.kqk", CardFile({Ann}));
    std::string cut = CardFile({Ann});
    cut = cut.substr(0, cut.find("\xC2\xA4#>&%"));
    Write("cut.kqk", cut);
    std::string oldTag = CardFile({Ann});
    oldTag.replace(oldTag.find("f1g0h0i1"), 8, "f1g0h0i2");
    Write("oldTag.kqk", oldTag);
    const struct {
        std::string file;
        std::string source;
        std::string message;
    } cases[] = {
        {"big.kqk", "two.kqk",
            "The file you are trying to open contains more cards than is the allowed number of the cards in current "
            "softwareversion: 32000 cards."},
        {"cards.kqk", "nothere.kqk", "The file with this name does not exist in this directory"},
        {"cards.kqk", "cut.kqk",
            "Error in opening the file! The Memo field of some card may exeed allowed mount of lines 32000\r\n or the "
            "file is corrupted: 32001 Error in card index: 0"},
        {"cards.kqk", "oldTag.kqk",
            "The file you are trying to open might not be saved with the current version or the file is corrupted. "
            "Please update the software"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        const CliRun r = Cli({"import", c.file, c.source, "--out", "o.kqk"});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, c.message + "\n");
        EXPECT_FALSE(Exists("o.kqk"));
    }
    // 31999 and 1 fill the card file exactly.
    const CliRun full = Cli({"import", "big.kqk", "one.kqk", "--out", "o.kqk"});
    EXPECT_EQ(full.exitCode, 0);
    EXPECT_EQ(Cli({"check", "o.kqk"}).out, "32000 cards\n");
}

TEST_F(CliTest, ImportCsvAndJsonStampCardsWithoutACardId)
{
    // Columns in any order, some left out; a quoted Memo with a bare LF.
    Write("in.csv", "Topic,Title1,Memo\r\nBirds,\"Owl, snowy\",\"one\ntwo\"\r\nBees,\xF0\x9F\x90\x9D,\r\n");
    Write("in.json", "[{\"Title1\":\"J\",\"Card ID\":\"keep-me\",\"Memo\":\"a\\r\\nb\"},{\"Topic\":\"no id\"}]");
    Write("one.kqk", CardFile({Ann}));

    CliRun r = Cli({"import", "one.kqk", "in.csv", "--out", "-"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
        FillInStamps(CardFile({Ann, MakeCard({{1, "Owl, snowy"}, {8, "Birds"}, {18, "one\r\ntwo"}, {19, "@"}}),
                         MakeCard({{1, "\xF0\x9F\x90\x9D"}, {8, "Bees"}, {19, "@"}})}),
            r.out));

    r = Cli({"import", "one.kqk", "in.json", "--out", "-"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
        FillInStamps(
            CardFile({Ann, MakeCard({{1, "J"}, {18, "a\r\nb"}, {19, "keep-me"}}), MakeCard({{8, "no id"}, {19, "@"}})}),
            r.out));
}

TEST_F(CliTest, ImportRefusesBrokenTables)
{
    Write("badcol.csv", "Title1,Colour\r\na,b\r\n");
    Write("short.csv", "Title1,Topic\r\na\r\n");
    Write("open.csv", "Title1\r\n\"never closed\r\n");
    Write("bad.json", "[{\"Title1\": 5}]");
    Write("notarray.json", "{\"Title1\": \"a\"}");
    const struct {
        std::string source;
        std::string message;
    } cases[] = {
        {"badcol.csv", "badcol.csv: The column \"Colour\" is not a field name"},
        {"short.csv", "short.csv: Row 2 has 1 fields, the header 2"},
        {"open.csv", "open.csv: A quoted field that begins on line 2 has no closing quote"},
        {"bad.json", "bad.json: Card 1: the value of \"Title1\" is not a string"},
        {"notarray.json", "notarray.json: The JSON text is not an array of cards"},
    };
    for (const auto& c : cases) {
        const CliRun r = Cli({"import", "cards.kqk", c.source, "--out", "o.kqk"});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, c.message + "\n");
        EXPECT_FALSE(Exists("o.kqk"));
    }
}

// ---- --out ----

TEST_F(CliTest, OutRefusesAnExistingFileWithoutForce)
{
    Write("taken.csv", "keep");
    CliRun r = Cli({"export", "cards.kqk", "--out", "taken.csv"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.err, "The file taken.csv already exists: give --force to replace it\n");
    EXPECT_EQ(Read("taken.csv"), "keep");
    r = Cli({"export", "cards.kqk", "--out", "taken.csv", "--force"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(Read("taken.csv"), CsvHeader + SmithCsv + AnnCsv + ZedCsv);
    // Sorting a card file onto itself.
    r = Cli({"sort", "cards.kqk", "--keys", "8", "--out", "cards.kqk", "--force"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(Read("cards.kqk"), CardFile({Ann, Smith, Zed}));
}

TEST_F(CliTest, OutThatCannotBeWrittenGivesTheSystemsReason)
{
    Write("readonly.kqk", "old");
    ASSERT_EQ(::chmod(QFile::encodeName(Path("readonly.kqk")).constData(), 0444), 0);
    CliRun r = Cli({"sort", "cards.kqk", "--keys", "1", "--out", "nofolder/sorted.kqk"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("No such file or directory"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    r = Cli({"export", "cards.kqk", "--out", "readonly.kqk", "--force"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("readonly.kqk"), std::string::npos) << r.err;
    EXPECT_EQ(Read("readonly.kqk"), "old");
}

TEST_F(CliTest, StandardOutputThatCannotBeWrittenIsAFailure)
{
    for (const auto& args : {QStringList{QStringLiteral("export"), QStringLiteral("cards.kqk")},
             QStringList{QStringLiteral("check"), QStringLiteral("cards.kqk")}}) {
        QProcess p;
        p.setWorkingDirectory(dir_.path());
        p.setStandardOutputFile(QStringLiteral("/dev/full"));
        p.start(QStringLiteral(CARDOMO_CLI), args);
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 3);
        EXPECT_EQ(p.readAllStandardError().toStdString(), "Cannot write to standard output. No space left on device\n");
    }
}

TEST_F(CliTest, CardsThatWouldNotReadBackAreNotWritten)
{
    // A Title1 with a line break from a table: the card file would not read back.
    Write("in.csv", "Title1,Card ID\r\n\"two\r\nlines\",id\r\n");
    const CliRun r = Cli({"import", "cards.kqk", "in.csv", "--out", "o.kqk"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err, "");
    EXPECT_FALSE(Exists("o.kqk"));
}

// ---- usage ----

TEST_F(CliTest, BadArgumentsGetAUsageMessage)
{
    const struct {
        std::initializer_list<std::string> args;
        std::string err;
    } cases[] = {
        {{}, "cardomo-cli: No command given\nTry 'cardomo-cli --help' for more information.\n"},
        {{"frobnicate"},
            "cardomo-cli: Unknown command \"frobnicate\"\nTry 'cardomo-cli --help' for more information.\n"},
        {{"check"}, "cardomo-cli: check: Too few arguments\nTry 'cardomo-cli check --help' for more information.\n"},
        {{"check", "a", "b"},
            "cardomo-cli: check: Too many arguments: a b\nTry 'cardomo-cli check --help' for more information.\n"},
        {{"export", "cards.kqk", "--format", "xml"},
            "cardomo-cli: export: \"xml\" is not a format here: give csv, tsv, json or text\n"
            "Try 'cardomo-cli export --help' for more information.\n"},
        {{"pick", "cards.kqk", "20", "~", "x"},
            "cardomo-cli: pick: \"20\" is not a field: give its number (1 to 19) or its name (Title1, Title2, Title3, "
            "Day, Month, Year, Page, Topic, Keywords, File link, Code1, Code2, Code3, aYear, aMonth, aDay, aHour:min, "
            "Memo, Card ID)\nTry 'cardomo-cli pick --help' for more information.\n"},
        {{"pick", "cards.kqk", "1", "like", "x"},
            "cardomo-cli: pick: \"like\" is not an operator: give ~ < > >= <= = or <>\n"
            "Try 'cardomo-cli pick --help' for more information.\n"},
        {{"pick", "cards.kqk", "1", "=", "x", "--and", "2", "y"},
            "cardomo-cli: pick: A Boolean pick tests both fields with ~\nTry 'cardomo-cli pick --help' for more "
            "information.\n"},
        {{"pick", "cards.kqk", "1", "~", "x", "--and", "2"},
            "cardomo-cli: pick: --and wants FIELD2 TEXT2\nTry 'cardomo-cli pick --help' for more information.\n"},
        {{"sort", "cards.kqk", "--keys", "1"},
            "cardomo-cli: sort: --out OUT is needed (- for standard output)\nTry 'cardomo-cli sort --help' for more "
            "information.\n"},
        {{"sort", "cards.kqk", "--out", "-"},
            "cardomo-cli: sort: --keys K1[,K2...,K12] is needed\nTry 'cardomo-cli sort --help' for more "
            "information.\n"},
        {{"sort", "cards.kqk", "--keys", "1,2,3,4,5,6,7,8,9,10,11,12,13", "--out", "-"},
            "cardomo-cli: sort: At most twelve keys\nTry 'cardomo-cli sort --help' for more information.\n"},
        {{"list", "cards.kqk", "--fields", "1,21"},
            "cardomo-cli: list: \"21\" is not a field: give its number (1 to 19) or its name (Title1, Title2, Title3, "
            "Day, Month, Year, Page, Topic, Keywords, File link, Code1, Code2, Code3, aYear, aMonth, aDay, aHour:min, "
            "Memo, Card ID), or 20 for the line between the cards\nTry 'cardomo-cli list --help' for more "
            "information.\n"},
        {{"list", "cards.kqk", "--bogus"},
            "cardomo-cli: list: Unknown option 'bogus'.\nTry 'cardomo-cli list --help' for more information.\n"},
        {{"import", "cards.kqk", "x.txt", "--format", "xml", "--out", "-"},
            "cardomo-cli: import: \"xml\" is not a format here: give kqk, ansi, csv or json\n"
            "Try 'cardomo-cli import --help' for more information.\n"},
    };
    for (const auto& c : cases) {
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
}

TEST_F(CliTest, HelpAndVersion)
{
    CliRun r = Cli({"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "cardomo-cli 0.5.1.0.2\n");
    r = Cli({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "Usage: cardomo-cli COMMAND [options] ARGUMENTS");
    for (const char* command : {"check", "export", "list", "pick", "sort", "replace", "import"}) {
        r = Cli({command, "--help"});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out.rfind(std::string("Usage: cardomo-cli ") + command + " FILE", 0), 0u) << r.out;
        EXPECT_NE(r.out.find("Options:"), std::string::npos);
        EXPECT_EQ(r.err, "");
    }
}

}  // namespace
