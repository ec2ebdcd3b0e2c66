// The command-line companion and the windows give the same bytes for the
// same card file: the listing of all cards (F8) with a field selection, Save
// As Text (Ctrl+K) and the main window's sort (F11) saved (Ctrl+S), each
// beside cardomo-cli run as a process with the same date and time.
#include "listing_fixture.h"

#include "Unit10.h"

#include <QCheckBox>
#include <QProcess>

namespace {

const QByteArray Bom("\xEF\xBB\xBF");

class CompanionTest : public ListingTest {
protected:
    void SetUp() override
    {
        CardRows rows(4);
        rows[0] = Card{QStringLiteral("Smith, John"), QStringLiteral("He said \"hi\""), QString(), QStringLiteral("07"),
            QStringLiteral("03"), QStringLiteral("2021"), QStringLiteral("p. 12"), QStringLiteral("Birds"),
            QStringLiteral("owl; hawk"), QStringLiteral("/home/lea/owl.pdf"), QStringLiteral("A-1"),
            QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("2021"), QStringLiteral("03"),
            QStringLiteral("07"), QStringLiteral("09:05"), QStringLiteral("First line\r\nsecond\r\n"),
            QStringLiteral("y2021m03d07h09mn05s02ms045")};
        rows[1][0] = QStringLiteral("Ann 😀 Ö");
        rows[1][7] = QStringLiteral("Bees");
        rows[1][CardIdCell] = QStringLiteral("id2");
        rows[2][7] = QStringLiteral("Birds");
        rows[2][MemoCell] = QStringLiteral("x");
        rows[2][CardIdCell] = QStringLiteral("id3");
        rows[3][0] = QStringLiteral("Ann 😀 Ö");
        rows[3][7] = QStringLiteral("Bees");
        rows[3][CardIdCell] = QStringLiteral("id4");
        path = Path(QStringLiteral("cards.kqk"));
        ASSERT_EQ(WriteCardFile(path, rows, 4, MainFileHeaderText).status, CardFileWriteResult::Ok);
        Start({path});
    }

    // The companion's standard output; it must succeed.
    QByteArray Cli(const QStringList& args) const
    {
        QProcess p;
        p.start(QStringLiteral(CARDOMO_CLI), args);
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return p.readAllStandardOutput();
    }

    QString path;
};

}  // namespace

TEST_F(CompanionTest, TheListingOfAllCardsIsTheListingWindowsText)
{
    OnListing();
    QTest::keyClick(form, Qt::Key_F8);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(Cli({QStringLiteral("list"), path, QStringLiteral("--date"), Date(), QStringLiteral("--time"), Time()}),
        Bom + shown[0].text.toUtf8());

    // Title 2, Day, Action Month, Memo and the separator line cleared.
    for (const int box : {1, 3, 14, 17, 19})
        Selection()->boxes[static_cast<size_t>(box)]->setChecked(false);
    QTest::keyClick(form, Qt::Key_F8);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_NE(shown[1].text, shown[0].text);
    EXPECT_EQ(Cli({QStringLiteral("list"), path, QStringLiteral("--fields"),
                  QStringLiteral("1,3,5,6,7,8,9,10,11,12,13,14,16,17,19"), QStringLiteral("--date"), Date(),
                  QStringLiteral("--time"), Time()}),
        Bom + shown[1].text.toUtf8());
}

TEST_F(CompanionTest, ExportAsTextIsSaveAsText)
{
    platform.fileAnswers = {Path(QStringLiteral("window.txt"))};
    QTest::keyClick(form, Qt::Key_K, Qt::ControlModifier);
    const QByteArray window = ReadBytes(Path(QStringLiteral("window.txt")));
    ASSERT_FALSE(window.isEmpty());
    EXPECT_EQ(Cli({QStringLiteral("export"), path, QStringLiteral("--format"), QStringLiteral("text"),
                  QStringLiteral("--date"), Date(), QStringLiteral("--time"), Time()}),
        window);
}

TEST_F(CompanionTest, SortIsTheMainWindowsSortSaved)
{
    // The sorting group's start choices (keys 1 to 12, ascending); two cards
    // have equal keys and come out in the routine's own order.
    const QByteArray shell = Cli({QStringLiteral("sort"), path, QStringLiteral("--keys"), QStringLiteral("1"),
        QStringLiteral("--out"), QStringLiteral("-")});
    EXPECT_NE(shell, ReadBytes(path));  // the order changes
    QTest::keyClick(form, Qt::Key_F11);
    QTest::keyClick(form, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(ReadBytes(path), shell);
}
