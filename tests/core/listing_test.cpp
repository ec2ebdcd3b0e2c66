#include "listing.h"

#include <gtest/gtest.h>
#include <initializer_list>

namespace {

// Texts are compared as UTF-8, which GoogleTest prints readably.
std::string U8(const QString& text)
{
    return text.toStdString();
}

// Lines joined, each ended by CR LF.
std::string Lines(std::initializer_list<QStringView> lines)
{
    QString out;
    for (QStringView l : lines) {
        out += l;
        out += u"\r\n";
    }
    return U8(out);
}

std::string EmptyLines(int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += "\r\n";
    return out;
}

const QString D = QStringLiteral("7.3.2021");
const QString T = QStringLiteral("9.05.02");
const QString FileName = QStringLiteral("/home/lea/kortit/Kirjat.kqk");

Card FullCard()
{
    return Card{
        QStringLiteral("Sota ja rauha"),
        QStringLiteral("Война и мир"),
        QStringLiteral("Osa 1"),
        QStringLiteral("7"),
        QStringLiteral("3"),
        QStringLiteral("1869"),
        QStringLiteral("12"),
        QStringLiteral("Romaanit"),
        QStringLiteral("Venäjä; sota"),
        QStringLiteral("/home/lea/sota.pdf"),
        QStringLiteral("C1"),
        QStringLiteral("C2"),
        QStringLiteral("C3"),
        QStringLiteral("2021"),
        QStringLiteral("03"),
        QStringLiteral("07"),
        QStringLiteral("09:05"),
        QStringLiteral("Ensimmäinen rivi\r\nToinen rivi 😀"),
        QStringLiteral("y2021m03d07h09mn05s02ms045"),
    };
}

Card SecondCard()
{
    Card c;
    c[0] = QStringLiteral("Kalevala");
    c[6] = QStringLiteral("5");
    c[7] = QStringLiteral("Runot");
    c[CardIdCell] = QStringLiteral("y2022m01d02h03mn04s05ms006");
    return c;
}

CardStore StoreWith(const CardRows& cards)
{
    CardStore store;
    store.RenewTables();
    for (size_t i = 0; i < cards.size(); ++i)
        store.CardTable[i] = cards[i];
    store.CardCount = static_cast<int>(cards.size());
    store.CurrentCard = store.CardCount - 1;
    store.CardFileName = FileName;
    store.FileOpen = true;
    return store;
}

std::string Collect(ListingKind kind, const CardStore& store, const FieldSelection& selection = FieldSelection())
{
    ListingCollector c(kind, store, selection, D, T);
    while (!c.AtEnd())
        c.AppendNext();
    return U8(c.Finish());
}

QString BlockText(ListingKind kind, const FieldSelection& selection, const Card& card, int n = 1)
{
    ListingBuilder b(kind, selection);
    b.AppendCard(card, n);
    return b.TakeText();
}

std::string Block(ListingKind kind, const FieldSelection& selection, const Card& card, int n = 1)
{
    return U8(BlockText(kind, selection, card, n));
}

FieldSelection Only(std::initializer_list<int> boxes)
{
    FieldSelection s = FieldSelection::Nothing();
    for (int b : boxes)
        s.boxes[static_cast<size_t>(b)] = true;
    return s;
}

const QString Banner = QStringLiteral("== Cardomo 0.5 beta (v.0.5.1.0.2) Note Card Software ==");

}  // namespace

TEST(Listing, AllCardsWithEveryBoxTicked)
{
    const CardStore store = StoreWith({FullCard(), SecondCard()});
    EXPECT_EQ(Collect(ListingKind::AllCards, store),
        Lines({
            u"Cardomo 0.5 beta - Card listing   7.3.2021 9.05.02",
            u"",
            u"Count of cards 2 ",
            u"",
            u"===============================================1",
            u"Sota ja rauha   Война и мир   Osa 1   7 3 1869, 12",
            u"",
            u" Topic:          Romaanit",
            u" Keywords:  Venäjä; sota",
            u" File link:      /home/lea/sota.pdf",
            u" Code1:        C1",
            u" Code2:        C2",
            u" Code3:        C3",
            u" Action date:  2021 03 07 09:05",
            u"",
            u"Ensimmäinen rivi",
            u"Toinen rivi 😀",
            u"",
            u" y2021m03d07h09mn05s02ms045",
            u"",
            u"===============================================2",
            u"Kalevala           , 5",
            u"",
            u" Topic:          Runot",
            u" Keywords:  ",
            u" File link:      ",
            u" Code1:        ",
            u" Code2:        ",
            u" Code3:        ",
            u" Action date:     ",
            u"",
            u"",
            u"",
            u" y2022m01d02h03mn04s05ms006",
            u"",
            u"",
            u"",
            u"/home/lea/kortit/Kirjat.kqk",
            u"",
            u"== Cardomo 0.5 beta (v.0.5.1.0.2) Note Card Software ==",
            u"",
        }));
}

TEST(Listing, CurrentCardShowsEveryFieldWithTwoSpacesBeforeTheMonth)
{
    CardStore store = StoreWith({SecondCard(), FullCard(), SecondCard()});
    store.CurrentCard = 1;
    // The field selection does not reach the current card's listing.
    EXPECT_EQ(Collect(ListingKind::CurrentCard, store, FieldSelection::Nothing()),
        Lines({
            u"Cardomo 0.5 beta - Card listing   7.3.2021 9.05.02",
            u"",
            u"",
            u"===============================================2",
            u"Sota ja rauha   Война и мир   Osa 1   7  3 1869, 12",
            u"",
            u" Topic:          Romaanit",
            u" Keywords:  Venäjä; sota",
            u" File link:      /home/lea/sota.pdf",
            u" Code1:        C1",
            u" Code2:        C2",
            u" Code3:        C3",
            u" Action date:  2021 03 07 09:05",
            u"",
            u"Ensimmäinen rivi",
            u"Toinen rivi 😀",
            u"",
            u" y2021m03d07h09mn05s02ms045",
            u"",
            u"",
            u"",
            u"/home/lea/kortit/Kirjat.kqk",
            u"",
            u"== Cardomo 0.5 beta (v.0.5.1.0.2) Note Card Software ==",
            u"",
        }));
}

TEST(Listing, PickedCardsNumberWithinThePickedSetWithLongCodeLabelsAndTwoEmptyLines)
{
    CardStore store = StoreWith({SecondCard(), SecondCard(), SecondCard(), FullCard(), SecondCard()});
    // Picked from rows 3 and 0 of the card file: numbered 1 and 2.
    store.PickedTable = {store.CardTable[3], store.CardTable[0]};
    store.PickedCount = 2;
    store.CurrentPicked = 1;
    EXPECT_EQ(Collect(ListingKind::PickedCards, store),
        Lines({
            u"Cardomo 0.5 - Listing of the picked cards   7.3.2021 9.05.02",
            u"",
            u"Number of the cards 2",
            u"",
            u"===============================================1",
            u"Sota ja rauha   Война и мир   Osa 1   7 3 1869, 12",
            u"",
            u"",
            u" Topic:          Romaanit",
            u" Keywords:  Venäjä; sota",
            u" File link:      /home/lea/sota.pdf",
            u" Code1:          C1",
            u" Code2:          C2",
            u" Code3:          C3",
            u" Action date:  2021 03 07 09:05",
            u"",
            u"",
            u"Ensimmäinen rivi",
            u"Toinen rivi 😀",
            u"",
            u" y2021m03d07h09mn05s02ms045",
            u"",
            u"===============================================2",
            u"Kalevala           , 5",
            u"",
            u"",
            u" Topic:          Runot",
            u" Keywords:  ",
            u" File link:      ",
            u" Code1:          ",
            u" Code2:          ",
            u" Code3:          ",
            u" Action date:     ",
            u"",
            u"",
            u"",
            u"",
            u" y2022m01d02h03mn04s05ms006",
            u"",
            u"Picked from the file /home/lea/kortit/Kirjat.kqk",
            u"",
            u"== Cardomo 0.5 beta (v.0.5.1.0.2) Note Card Software ==",
            u"",
        }));
}

TEST(Listing, CurrentPickedCardShowsEveryFieldWithOneSpaceBeforeTheMonth)
{
    CardStore store = StoreWith({SecondCard()});
    store.PickedTable = {SecondCard(), SecondCard(), FullCard()};
    store.PickedCount = 3;
    store.CurrentPicked = 2;
    EXPECT_EQ(Collect(ListingKind::CurrentPickedCard, store, FieldSelection::Nothing()),
        Lines({
            u"Cardomo 0.5 beta - Listing from the picking form   7.3.2021 9.05.02",
            u"",
            u"",
            u"===============================================3",
            u"Sota ja rauha   Война и мир   Osa 1   7 3 1869, 12",
            u"",
            u" Topic:          Romaanit",
            u" Keywords:  Venäjä; sota",
            u" File link:      /home/lea/sota.pdf",
            u" Code1:        C1",
            u" Code2:        C2",
            u" Code3:        C3",
            u" Action date:  2021 03 07 09:05",
            u"",
            u"Ensimmäinen rivi",
            u"Toinen rivi 😀",
            u"",
            u" y2021m03d07h09mn05s02ms045",
            u"",
            u"Picked cards from the file /home/lea/kortit/Kirjat.kqk",
            u"",
            u"== Cardomo 0.5 beta (v.0.5.1.0.2) Note Card Software ==",
            u"",
        }));
}

// The blocks of the four producers for the same card, every box ticked.
TEST(Listing, ProducersDifferOnlyWhereTheyShould)
{
    const FieldSelection all;
    for (const Card& card : {FullCard(), SecondCard(), Card{}}) {
        const QString allCards = BlockText(ListingKind::AllCards, all, card);
        QString current = allCards;
        // "7 3" becomes "7  3": one more space after the Day piece.
        const qsizetype day =
            allCards.indexOf(u"\r\n") + 2 + card[0].size() + card[1].size() + card[2].size() + 9 + card[3].size();
        current.insert(day, u' ');
        EXPECT_EQ(Block(ListingKind::CurrentCard, all, card), U8(current));
        EXPECT_EQ(Block(ListingKind::CurrentPickedCard, all, card), U8(allCards));

        QString picked = allCards;
        for (int k = 1; k <= 3; ++k)
            picked.replace(QStringLiteral(" Code%1:        ").arg(k), QStringLiteral(" Code%1:          ").arg(k));
        const qsizetype title = picked.indexOf(u"\r\n", picked.indexOf(u"\r\n") + 2);
        picked.insert(title, u"\r\n");
        const qsizetype action = picked.indexOf(u"\r\n", picked.indexOf(u" Action date:  "));
        picked.insert(action, u"\r\n");
        EXPECT_EQ(Block(ListingKind::PickedCards, all, card), U8(picked));
    }
}

TEST(Listing, FieldSelectionEdgeCases)
{
    Card card = FullCard();
    Card noPage = card;
    noPage[6].clear();
    Card noHour = card;
    noHour[16].clear();
    Card memoEndsInBreak = card;
    memoEndsInBreak[MemoCell] = QStringLiteral("Rivi\r\n");
    Card memoOneLine = card;
    memoOneLine[MemoCell] = QStringLiteral("Rivi");
    Card emptyTitle = card;
    emptyTitle[0].clear();

    const auto all = ListingKind::AllCards;
    const auto picked = ListingKind::PickedCards;
    struct Case {
        const char* name;
        ListingKind kind;
        FieldSelection selection;
        Card card;
        std::string expected;
    };
    const Case cases[] = {
        {"all boxes cleared: four empty lines", all, FieldSelection::Nothing(), card, EmptyLines(4)},
        {"all boxes cleared, picked: six empty lines", picked, FieldSelection::Nothing(), card, EmptyLines(6)},
        {"only Page, page empty: the title leaves one empty line", all, Only({6}), noPage, EmptyLines(4)},
        {"only Page, page empty, picked", picked, Only({6}), noPage, EmptyLines(6)},
        {"only Page with a page", all, Only({6}), card, Lines({u"12", u"", u"", u"", u""})},
        {"only Title 1, title empty: its three spaces stay", all, Only({0}), emptyTitle,
            Lines({u"   ", u"", u"", u"", u""})},
        {"Day, Month and Year", all, Only({3, 4, 5}), card, Lines({u"7 3 1869, ", u"", u"", u"", u""})},
        {"only Action Month: no label", all, Only({14}), card, Lines({u"", u"03 ", u"", u"", u""})},
        {"only Action Month, picked", picked, Only({14}), card, Lines({u"", u"", u"03 ", u"", u"", u"", u""})},
        {"only Action Year carries the label", all, Only({13}), card,
            Lines({u"", u" Action date:  2021 ", u"", u"", u""})},
        {"only Action Hour:min, empty", all, Only({16}), noHour, EmptyLines(4)},
        {"Action Day and Hour:min", all, Only({15, 16}), card, Lines({u"", u"07 09:05", u"", u"", u""})},
        {"only the separator", all, Only({19}), card,
            Lines({u"===============================================7", u"", u"", u"", u""})},
        {"only Keywords", all, Only({8}), card, Lines({u"", u" Keywords:  Venäjä; sota", u"", u"", u""})},
        {"only Code 2, picked: long label", picked, Only({11}), card,
            Lines({u"", u"", u" Code2:          C2", u"", u"", u"", u""})},
        {"only Memo of two lines", all, Only({17}), card,
            Lines({u"", u"", u"Ensimmäinen rivi", u"Toinen rivi 😀", u"", u""})},
        {"only Memo of one line", all, Only({17}), memoOneLine, Lines({u"", u"", u"Rivi", u"", u""})},
        {"a Memo ending in a line break gives one more empty line", all, Only({17}), memoEndsInBreak,
            Lines({u"", u"", u"Rivi", u"", u"", u""})},
        {"only Memo, empty Memo: one empty line", all, Only({17}), Card{}, EmptyLines(5)},
        {"only Card ID", all, Only({18}), card, Lines({u"", u"", u"", u" y2021m03d07h09mn05s02ms045", u""})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Block(c.kind, c.selection, c.card, 7), c.expected);
    }
}

TEST(Listing, EscapeAfterTheTenthOfTwoHundredCardsStillWritesTheFooter)
{
    CardRows cards(200);
    for (int i = 0; i < 200; ++i)
        cards[static_cast<size_t>(i)][0] = QString::number(i + 1);
    const CardStore store = StoreWith(cards);
    ListingCollector c(ListingKind::AllCards, store, Only({0, 19}), D, T);
    EXPECT_TRUE(c.ShowsWaitWindow());
    EXPECT_EQ(c.CardsToList(), 200);
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(c.WaitCaption(), QStringLiteral("Collecting listing %1/200  CARDOMO 0.5 beta").arg(k));
        c.AppendNext();
    }
    EXPECT_EQ(c.Listed(), 10);
    EXPECT_FALSE(c.AtEnd());

    std::string expected =
        Lines({u"Cardomo 0.5 beta - Card listing   7.3.2021 9.05.02", u"", u"Count of cards 200 ", u""});
    for (int n = 1; n <= 10; ++n) {
        const std::string k = std::to_string(n);
        expected += "===============================================" + k + "\r\n" + k + "   \r\n\r\n\r\n\r\n\r\n";
    }
    expected += Lines({u"", u"", u"/home/lea/kortit/Kirjat.kqk", u"", Banner, u""});
    EXPECT_EQ(U8(c.Finish()), expected);
}

TEST(Listing, PickedListingInterruptedKeepsTheWholeCountAndItsFooter)
{
    CardStore store = StoreWith({SecondCard()});
    store.PickedTable = CardRows(60, SecondCard());
    store.PickedCount = 60;
    ListingCollector c(ListingKind::PickedCards, store, FieldSelection::Nothing(), D, T);
    EXPECT_EQ(c.WaitCaption(), QStringLiteral("Collecting the listing 0/60   CARDOMO 0.5 beta"));
    c.AppendNext();
    c.AppendNext();
    EXPECT_EQ(c.WaitCaption(), QStringLiteral("Collecting the listing 2/60   CARDOMO 0.5 beta"));
    EXPECT_EQ(U8(c.Finish()),
        Lines({u"Cardomo 0.5 - Listing of the picked cards   7.3.2021 9.05.02", u"", u"Number of the cards 60", u""})
            + EmptyLines(12) + Lines({u"Picked from the file /home/lea/kortit/Kirjat.kqk", u"", Banner, u""}));
}

TEST(Listing, WaitWindowAndCaptions)
{
    CardStore store = StoreWith(CardRows(51));
    store.PickedTable = CardRows(51);
    struct Case {
        const char* name;
        ListingKind kind;
        int cards;
        int picked;
        bool wait;
    };
    const Case cases[] = {
        {"all cards, 50", ListingKind::AllCards, 50, 51, false},
        {"all cards, 51", ListingKind::AllCards, 51, 1, true},
        {"current card never", ListingKind::CurrentCard, 51, 51, false},
        {"picked, 50", ListingKind::PickedCards, 51, 50, false},
        {"picked, 51", ListingKind::PickedCards, 1, 51, true},
        {"current picked card of 51 picked", ListingKind::CurrentPickedCard, 1, 51, true},
        {"current picked card of 50 picked", ListingKind::CurrentPickedCard, 51, 50, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store.CardCount = c.cards;
        store.CurrentCard = 0;
        store.PickedCount = c.picked;
        store.CurrentPicked = 0;
        EXPECT_EQ(ListingShowsWaitWindow(c.kind, store), c.wait);
        EXPECT_EQ(ListingCollector(c.kind, store, FieldSelection(), D, T).ShowsWaitWindow(), c.wait);
    }

    // The current picked card's wait caption counts in the picked set.
    store.PickedCount = 51;
    store.CurrentPicked = 17;
    ListingCollector one(ListingKind::CurrentPickedCard, store, FieldSelection(), D, T);
    EXPECT_EQ(one.CardsToList(), 1);
    EXPECT_EQ(one.WaitCaption(), QStringLiteral("Collecting the listing 17/51   CARDOMO 0.5 beta"));

    EXPECT_EQ(ListingWaitCaption(ListingKind::AllCards, 0, 32000),
        QStringLiteral("Collecting listing 0/32000  CARDOMO 0.5 beta"));
    EXPECT_EQ(ListingWaitCaption(ListingKind::PickedCards, 31999, 32000),
        QStringLiteral("Collecting the listing 31999/32000   CARDOMO 0.5 beta"));

    EXPECT_EQ(ListingWindowCaption(ListingKind::AllCards, FileName),
        QStringLiteral("Listing  Kirjat.kqk - CARDOMO 0.5 beta"));
    EXPECT_EQ(ListingWindowCaption(ListingKind::AllCards, QStringLiteral("New.kqk")),
        QStringLiteral("Listing  New.kqk - CARDOMO 0.5 beta"));
    EXPECT_EQ(ListingWindowCaption(ListingKind::CurrentCard, FileName),
        QStringLiteral("Listing  /home/lea/kortit/Kirjat.kqk - CARDOMO 0.5 beta"));
    EXPECT_EQ(ListingWindowCaption(ListingKind::PickedCards, FileName),
        QStringLiteral("Listing of the picked cards - CARDOMO 0.5 beta"));
    EXPECT_EQ(ListingWindowCaption(ListingKind::CurrentPickedCard, FileName),
        QStringLiteral("Listing of the picked cards - CARDOMO 0.5 beta"));
    EXPECT_EQ(ListingCollector(ListingKind::AllCards, store, FieldSelection(), D, T).WindowCaption(),
        QStringLiteral("Listing  Kirjat.kqk - CARDOMO 0.5 beta"));
}

TEST(Listing, FieldSelectionBoxesAndCaptions)
{
    const char* const captions[] = {
        "Title 1",
        "Title 2",
        "Title 3",
        "Day",
        "Month",
        "Year",
        "Page",
        "Topic",
        "Keywords",
        "File link",
        "Code 1",
        "Code 2",
        "Code 3",
        "Action Year",
        "Action Month",
        "Action Day",
        "Action Hour:min",
        "Memo",
        "Card ID",
        "Show the line between the cards",
    };
    for (int b = 0; b < FieldSelection::BoxCount; ++b)
        EXPECT_EQ(FieldSelectionCaption(b), QString::fromUtf8(captions[b])) << b;
    EXPECT_EQ(FieldSelectionCaption(20), QString());
    EXPECT_EQ(FieldSelectionCaption(-1), QString());

    FieldSelection s;
    for (bool ticked : s.boxes)
        EXPECT_TRUE(ticked);
    s.DeselectAll();
    EXPECT_FALSE(s.SeparatorLine());
    EXPECT_EQ(s, FieldSelection::Nothing());
    s.SelectAll();
    EXPECT_EQ(s, FieldSelection());
}

// The room made before the cards is exactly what they and the footer take,
// so the text is never moved while it grows.
TEST(Listing, ReservedRoomIsExact)
{
    CardRows cards{FullCard(), SecondCard(), Card{}, FullCard()};
    cards[3][MemoCell] = QStringLiteral("a\r\n\r\nb\r\n");
    for (ListingKind kind :
        {ListingKind::AllCards, ListingKind::CurrentCard, ListingKind::PickedCards, ListingKind::CurrentPickedCard}) {
        for (const FieldSelection& sel :
            {FieldSelection(), FieldSelection::Nothing(), Only({6, 14, 19}), Only({0, 13, 17})}) {
            SCOPED_TRACE(static_cast<int>(kind));
            ListingBuilder b(kind, sel);
            b.Header(D, T, 99999);
            b.ReserveFor(cards, 0, 4, FileName);
            qsizetype expected = b.Text().size();
            const QChar* data = b.Text().constData();
            for (int i = 0; i < 4; ++i) {
                const Card& card = cards[static_cast<size_t>(i)];
                const qsizetype before = b.Text().size();
                b.AppendCard(card, i + 1);
                EXPECT_EQ(b.Text().size() - before, b.CardBlockSize(card, i + 1));
                expected += b.CardBlockSize(card, i + 1);
            }
            b.Footer(FileName);
            EXPECT_EQ(b.Text().size(), expected + b.FooterSize(FileName));
            EXPECT_EQ(b.Text().constData(), data);

            const qsizetype before = b.Text().size();
            b.AppendCard(cards[0], -2147483647 - 1);
            EXPECT_EQ(b.Text().size() - before, b.CardBlockSize(cards[0], -2147483647 - 1));
        }
    }
}

TEST(Listing, RowsThatDisappearOrAreMissingAreNotRead)
{
    CardStore store = StoreWith({FullCard(), SecondCard(), SecondCard()});
    ListingCollector c(ListingKind::AllCards, store, Only({19}), D, T);
    c.AppendNext();
    store.ReleaseTables();  // the table goes while events are processed
    EXPECT_TRUE(c.AtEnd());
    c.AppendNext();
    EXPECT_EQ(c.Listed(), 1);
    EXPECT_EQ(U8(c.Finish()),
        Lines({u"Cardomo 0.5 beta - Card listing   7.3.2021 9.05.02", u"", u"Count of cards 3 ", u"",
            u"===============================================1", u"", u"", u"", u"", u"", u"",
            u"/home/lea/kortit/Kirjat.kqk", u"", Banner, u""}));

    // A current card outside the table gives no card block.
    CardStore bad = StoreWith({FullCard()});
    bad.CardTable.resize(1);
    bad.CurrentCard = 1;
    ListingCollector none(ListingKind::CurrentCard, bad, FieldSelection(), D, T);
    EXPECT_TRUE(none.AtEnd());
    EXPECT_EQ(none.CardsToList(), 0);
    EXPECT_EQ(U8(none.Finish()),
        Lines({u"Cardomo 0.5 beta - Card listing   7.3.2021 9.05.02", u"", u"", u"", u"",
            u"/home/lea/kortit/Kirjat.kqk", u"", Banner, u""}));
}

// Without room made first the text grows as the blocks come and keeps what
// it held: the same text as a listing collected with its room made.
TEST(Listing, GrowsWithoutReservedRoom)
{
    CardRows cards(1000, FullCard());
    for (size_t i = 0; i < cards.size(); i += 3)
        cards[i] = SecondCard();
    const CardStore store = StoreWith(cards);
    ListingBuilder b(ListingKind::AllCards);
    b.Header(D, T, 1000);
    for (int i = 0; i < 1000; ++i)
        b.AppendCard(cards[static_cast<size_t>(i)], i + 1);
    b.Footer(FileName);
    const std::string collected = Collect(ListingKind::AllCards, store);
    EXPECT_EQ(U8(b.Text()), collected);
    EXPECT_NE(collected.find("===============================================1000\r\nKalevala"), std::string::npos);
}
