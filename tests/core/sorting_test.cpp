#include "sorting.h"

#include "core/cardrows.h"
#include "match.h"

#include <QRandomGenerator>
#include <QThread>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString Sep(SortKeySeparator);

// Rows with field 1 as given and Card IDs "1", "2", ... in their first order.
CardRows RowsWithTitles(std::initializer_list<const char*> titles)
{
    CardRows rows;
    int id = 0;
    for (const char* t : titles) {
        const QByteArray n = QByteArray::number(++id);
        rows.push_back(TitledCard(t, n.constData()));
    }
    return rows;
}

// The Card IDs after SortRows over all rows with keys of the given fields.
QString SortedIds(CardRows rows, SortDirection direction, const SortKeyFields& fields = DefaultSortKeyFields)
{
    std::vector<QString> keys;
    for (const Card& r : rows)
        keys.push_back(SortKey(r, fields));
    SortRows(rows, keys, 0, static_cast<int>(rows.size()) - 1, direction);
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(keys[i], SortKey(rows[i], fields)) << "a key left its row at " << i;
    return IdsOf(rows, static_cast<int>(rows.size()));
}

// The sorting routine exactly as the steps go, recursing into both parts
// (lower part first), over plain numbers: the reference for the order of
// equal keys, and the measure of how deep its nesting gets.
int Compare(int a, int b)
{
    return (a > b) - (a < b);
}
int Compare(const QString& a, const QString& b)
{
    return CompareOrdinal(a, b);
}

template <typename Key> struct ReferenceSort {
    std::vector<Key>& keys;
    std::vector<int>& ids;
    bool ascending;
    int depth = 0;
    int deepest = 0;

    // a before b in the wanted order
    bool Before(const Key& a, const Key& b) const { return ascending ? Compare(a, b) < 0 : Compare(a, b) > 0; }

    void Sort(int lo, int hi)
    {
        deepest = std::max(deepest, ++depth);
        int i = lo, j = hi;
        const Key pivot = keys[static_cast<size_t>((lo + hi) / 2)];
        do {
            while (Before(keys[static_cast<size_t>(i)], pivot))
                ++i;
            while (Before(pivot, keys[static_cast<size_t>(j)]))
                --j;
            if (i <= j) {
                std::swap(keys[static_cast<size_t>(i)], keys[static_cast<size_t>(j)]);
                std::swap(ids[static_cast<size_t>(i)], ids[static_cast<size_t>(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (lo < j)
            Sort(lo, j);
        if (i < hi)
            Sort(i, hi);
        --depth;
    }
};

QString Padded(int v)
{
    return QStringLiteral("%1").arg(v, 6, 10, QLatin1Char('0'));
}

// Rows whose field 1 holds the numbers as texts that sort like the numbers,
// with Card IDs 0, 1, 2, ... in their first order.
CardRows RowsOfNumbers(const std::vector<int>& values)
{
    CardRows rows(values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        rows[i][0] = Padded(values[i]);
        rows[i][CardIdCell] = QString::number(i);
    }
    return rows;
}

// Runs work on a thread with a small stack, so that deep nesting shows as a crash.
void OnSmallStack(const std::function<void()>& work)
{
    std::unique_ptr<QThread> t(QThread::create(work));
    t->setStackSize(128 * 1024);
    t->start();
    ASSERT_TRUE(t->wait());
}

TEST(SortKey, TwelveFieldsEachFollowedByTheSeparator)
{
    Card row;
    for (int cell = 0; cell < FieldCount; ++cell)
        row[static_cast<size_t>(cell)] = QStringLiteral("f%1").arg(cell + 1);
    row[3].clear();  // field 4 empty
    EXPECT_EQ(SortKeySeparator, QChar(0x14));
    EXPECT_EQ(SortKey(row, DefaultSortKeyFields),
        QStringLiteral("f1") + Sep + QStringLiteral("f2") + Sep + QStringLiteral("f3") + Sep + Sep
            + QStringLiteral("f5") + Sep + QStringLiteral("f6") + Sep + QStringLiteral("f7") + Sep
            + QStringLiteral("f8") + Sep + QStringLiteral("f9") + Sep + QStringLiteral("f10") + Sep
            + QStringLiteral("f11") + Sep + QStringLiteral("f12") + Sep);
    const SortKeyFields memoThenId = {18, 19, 19, 19, 19, 19, 19, 19, 19, 19, 19, 19};
    row[MemoCell] = QStringLiteral("a\r\nb");
    EXPECT_EQ(SortKey(row, memoThenId), QStringLiteral("a\r\nb") + Sep + (QStringLiteral("f19") + Sep).repeated(11));
    EXPECT_EQ(SortKey(Card(), DefaultSortKeyFields), Sep.repeated(12));
}

TEST(SortRows, EqualKeysEndInTheRoutinesOwnOrder)
{
    struct Case {
        const char* name;
        CardRows rows;
        SortDirection direction;
        const char* ids;
    } cases[] = {
        {"two equal, ascending", RowsWithTitles({"k", "k"}), SortDirection::Ascending, "2 1"},
        {"two equal, descending", RowsWithTitles({"k", "k"}), SortDirection::Descending, "2 1"},
        {"three equal", RowsWithTitles({"k", "k", "k"}), SortDirection::Ascending, "3 2 1"},
        {"three equal, descending", RowsWithTitles({"k", "k", "k"}), SortDirection::Descending, "3 2 1"},
        {"four equal", RowsWithTitles({"k", "k", "k", "k"}), SortDirection::Ascending, "3 4 1 2"},
        {"four equal, descending", RowsWithTitles({"k", "k", "k", "k"}), SortDirection::Descending, "3 4 1 2"},
        {"b a b a ascending", RowsWithTitles({"b", "a", "b", "a"}), SortDirection::Ascending, "4 2 1 3"},
        {"b a b a descending", RowsWithTitles({"b", "a", "b", "a"}), SortDirection::Descending, "3 1 4 2"},
        {"one row", RowsWithTitles({"k"}), SortDirection::Ascending, "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SortedIds(c.rows, c.direction), QString::fromLatin1(c.ids));
    }
}

TEST(SortRows, KeysCompareAsText)
{
    struct Case {
        const char* name;
        CardRows rows;
        SortDirection direction;
        const char* ids;
    } cases[] = {
        {"numbers as text", RowsWithTitles({"10", "9", "100"}), SortDirection::Ascending, "1 3 2"},
        {"upper case before lower case", RowsWithTitles({"b", "B", "a", "A"}), SortDirection::Ascending, "4 2 3 1"},
        {"accented after z", RowsWithTitles({"ä", "z", "a"}), SortDirection::Ascending, "3 2 1"},
        {"a shorter field first", RowsWithTitles({"abc", "ab", "abd"}), SortDirection::Ascending, "2 1 3"},
        {"descending", RowsWithTitles({"10", "9", "100"}), SortDirection::Descending, "2 3 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SortedIds(c.rows, c.direction), QString::fromLatin1(c.ids));
    }
}

TEST(SortRows, AMemoWithALineBreakSortsBeforeItsShorterBeginning)
{
    CardRows rows = {
        CardWith({{MemoCell, "ab"}, {CardIdCell, "1"}}), CardWith({{MemoCell, "ab\r\nc"}, {CardIdCell, "2"}})};
    const SortKeyFields memoFirst = {18, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    EXPECT_EQ(SortedIds(rows, SortDirection::Ascending, memoFirst), QStringLiteral("2 1"));
}

TEST(SortRows, TheSameFieldForAllKeysSortsByThatFieldAlone)
{
    // Field 2 alone gives 3 1 2; fields 1 to 12 would give 1 2 3.
    CardRows rows = {CardWith({{0, "a"}, {1, "m"}, {CardIdCell, "1"}}),
        CardWith({{0, "b"}, {1, "z"}, {CardIdCell, "2"}}), CardWith({{0, "c"}, {1, "a"}, {CardIdCell, "3"}})};
    SortKeyFields field2;
    field2.fill(2);
    EXPECT_EQ(SortedIds(rows, SortDirection::Ascending, field2), QStringLiteral("3 1 2"));
    EXPECT_EQ(SortedIds(rows, SortDirection::Ascending), QStringLiteral("1 2 3"));
    // Later keys decide between equal earlier ones.
    rows[2][0] = QStringLiteral("a");
    EXPECT_EQ(SortedIds(rows, SortDirection::Ascending), QStringLiteral("3 1 2"));
}

TEST(SortRows, MovesWholeRowsWithTheirKeys)
{
    CardRows rows;
    for (int r = 0; r < 3; ++r) {
        Card c;
        for (int cell = 0; cell < FieldCount; ++cell)
            c[static_cast<size_t>(cell)] = QStringLiteral("%1-%2").arg(QChar(u'c' - r)).arg(cell);
        rows.push_back(c);
    }
    const CardRows before = rows;
    std::vector<QString> keys = {SortKey(rows[0], DefaultSortKeyFields), SortKey(rows[1], DefaultSortKeyFields),
        SortKey(rows[2], DefaultSortKeyFields)};
    SortRows(rows, keys, 0, 2, SortDirection::Ascending);
    EXPECT_EQ(rows[0], before[2]);
    EXPECT_EQ(rows[1], before[1]);
    EXPECT_EQ(rows[2], before[0]);
}

TEST(SortRows, SortsOnlyTheGivenRange)
{
    CardRows rows = RowsWithTitles({"d", "c", "b", "a", "0"});
    std::vector<QString> keys;
    for (const Card& r : rows)
        keys.push_back(SortKey(r, DefaultSortKeyFields));
    SortRows(rows, keys, 1, 3, SortDirection::Ascending);
    EXPECT_EQ(IdsOf(rows, 5), QStringLiteral("1 4 3 2 5"));
}

TEST(SortRows, SameOrderAsTheStepsWithBothPartsNested)
{
    // Many equal keys, so that the order of equal rows shows whether the
    // smaller-part-first processing changed anything.
    QRandomGenerator rng(7);
    for (int n : {5, 17, 64, 500, 3000}) {
        for (int spread : {1, 3, 40, 100000}) {
            for (bool ascending : {true, false}) {
                SCOPED_TRACE(testing::Message()
                    << n << " rows, " << spread << " distinct keys, " << (ascending ? "ascending" : "descending"));
                std::vector<int> values(static_cast<size_t>(n)), ids(static_cast<size_t>(n));
                for (int i = 0; i < n; ++i) {
                    values[static_cast<size_t>(i)] = static_cast<int>(rng.bounded(spread));
                    ids[static_cast<size_t>(i)] = i;
                }
                const CardRows rows = RowsOfNumbers(values);
                ReferenceSort<int> ref{values, ids, ascending};
                ref.Sort(0, n - 1);
                QStringList expected;
                for (int id : ids)
                    expected << QString::number(id);
                EXPECT_EQ(SortedIds(rows, ascending ? SortDirection::Ascending : SortDirection::Descending),
                    expected.join(u' '));
            }
        }
    }
}

// Texts made to catch a fault in comparing keys by pieces: long common
// beginnings, units below, at and just above the separator, line breaks,
// units with the top bit set, U+FFFF and a surrogate pair.
CardRows AwkwardRows(int n, QRandomGenerator& rng)
{
    const QString pieces[] = {
        QString(),
        QStringLiteral("a"),
        QStringLiteral("b"),
        QString(QChar(0x01)),
        QString(QChar(0x13)),
        QString(QChar(0x14)),
        QString(QChar(0x15)),
        QStringLiteral("\r\n"),
        QString(QChar(0x8000)),
        QString(QChar(0xFFFF)),
        QString::fromUtf8("\U0001F642"),
        QStringLiteral("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"),
        QStringLiteral("aaaaaaaaaaaaaaaaaaaaaaaaaaaaab"),
    };
    const int pieceCount = static_cast<int>(std::size(pieces));
    CardRows rows(static_cast<size_t>(n));
    for (int r = 0; r < n; ++r) {
        for (int cell = 0; cell < CardIdCell; ++cell) {
            QString text;
            for (int k = static_cast<int>(rng.bounded(4)); k > 0; --k)
                text += pieces[rng.bounded(pieceCount)];
            rows[static_cast<size_t>(r)][static_cast<size_t>(cell)] = text;
        }
        rows[static_cast<size_t>(r)][CardIdCell] = QString::number(r);
    }
    return rows;
}

TEST(SortRows, TablesSortInTheOrderOfTheStepsOverTheKeyTexts)
{
    QRandomGenerator rng(2024);
    for (int round = 0; round < 40; ++round) {
        const int n = 1 + static_cast<int>(rng.bounded(400));
        SortKeyFields fields;
        for (int& f : fields)
            f = 1 + static_cast<int>(rng.bounded(3 + round % 17));  // few fields at first, all 19 later
        const bool ascending = round % 2 == 0;
        const SortDirection direction = ascending ? SortDirection::Ascending : SortDirection::Descending;
        SCOPED_TRACE(testing::Message() << "round " << round << ", " << n << " rows");
        const CardRows rows = AwkwardRows(n, rng);

        std::vector<QString> keys;
        std::vector<int> ids;
        for (int r = 0; r < n; ++r) {
            keys.push_back(SortKey(rows[static_cast<size_t>(r)], fields));
            ids.push_back(r);
        }
        std::vector<QString> refKeys = keys;
        ReferenceSort<QString> ref{refKeys, ids, ascending};
        ref.Sort(0, n - 1);
        QStringList expected;
        for (int id : ids)
            expected << QString::number(id);

        // The rows with their key texts.
        CardRows sorted = rows;
        SortRows(sorted, keys, 0, n - 1, direction);
        EXPECT_EQ(IdsOf(sorted, n), expected.join(u' '));
        EXPECT_EQ(keys, refKeys);

        // The picked set, whose keys are never built whole unless needed.
        CardStore s;
        s.PickedTable = rows;
        s.PickedCount = n;
        SortPickedTable(s, fields, direction);
        EXPECT_EQ(IdsOf(s.PickedTable, n), expected.join(u' '));
        for (int r = 0; r < n; ++r)
            ASSERT_EQ(s.PickedTable[static_cast<size_t>(r)], rows[static_cast<size_t>(ids[static_cast<size_t>(r)])])
                << r;
    }
}

TEST(SortRows, AscendingThenDescendingReversesAllButEqualKeys)
{
    QRandomGenerator rng(11);
    std::vector<int> values(300);
    for (int& v : values)
        v = static_cast<int>(rng.bounded(120));
    CardRows rows = RowsOfNumbers(values);
    std::vector<QString> keys;
    for (const Card& r : rows)
        keys.push_back(SortKey(r, DefaultSortKeyFields));
    SortRows(rows, keys, 0, 299, SortDirection::Ascending);
    const std::vector<QString> ascending = keys;
    SortRows(rows, keys, 0, 299, SortDirection::Descending);
    std::vector<QString> reversed(ascending.rbegin(), ascending.rend());
    EXPECT_EQ(keys, reversed);
    for (size_t i = 0; i + 1 < keys.size(); ++i)
        EXPECT_GE(CompareOrdinal(keys[i], keys[i + 1]), 0) << i;
}

// The order of the keys that nests the routine one level per row: the middle
// row always holds the greatest key of its range.
std::vector<int> DeepestOrder(int n)
{
    std::vector<int> at(static_cast<size_t>(n)), value(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        at[static_cast<size_t>(i)] = i;
    for (int hi = n - 1; hi >= 1; --hi) {
        value[static_cast<size_t>(at[static_cast<size_t>(hi / 2)])] = hi;
        std::swap(at[static_cast<size_t>(hi / 2)], at[static_cast<size_t>(hi)]);
    }
    value[static_cast<size_t>(at[0])] = 0;
    return value;
}

TEST(SortRows, NoOrderOfTheKeysNestsItDeep)
{
    const int n = 4000;
    std::vector<int> values = DeepestOrder(n);
    {
        // The order really is the deepest one for the steps as written.
        std::vector<int> v = values, ids(static_cast<size_t>(n));
        ReferenceSort<int> ref{v, ids, true};
        ref.Sort(0, n - 1);
        EXPECT_EQ(ref.deepest, n - 1);
    }
    CardRows rows = RowsOfNumbers(values);
    std::vector<QString> keys;
    for (const Card& r : rows)
        keys.push_back(SortKey(r, DefaultSortKeyFields));
    OnSmallStack([&] { SortRows(rows, keys, 0, n - 1, SortDirection::Ascending); });
    for (int i = 0; i < n; ++i)
        ASSERT_EQ(rows[static_cast<size_t>(i)][0], Padded(i)) << i;
}

TEST(SortRows, FullTableSortedReversedOrAllEqual)
{
    const int n = 32000;
    struct Case {
        const char* name;
        std::function<int(int)> value;
        SortDirection direction;
    } cases[] = {
        {"sorted", [](int i) { return i; }, SortDirection::Ascending},
        {"reversed", [n](int i) { return n - i; }, SortDirection::Ascending},
        {"sorted, descending", [](int i) { return i; }, SortDirection::Descending},
        {"all equal", [](int) { return 5; }, SortDirection::Ascending},
        {"all equal, descending", [](int) { return 5; }, SortDirection::Descending},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<int> values(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            values[static_cast<size_t>(i)] = c.value(i);
        CardRows rows = RowsOfNumbers(values);
        std::vector<QString> keys;
        for (const Card& r : rows)
            keys.push_back(SortKey(r, DefaultSortKeyFields));
        OnSmallStack([&] { SortRows(rows, keys, 0, n - 1, c.direction); });
        const int sign = c.direction == SortDirection::Ascending ? 1 : -1;
        std::vector<bool> seen(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            const QString& id = rows[static_cast<size_t>(i)][CardIdCell];
            seen[static_cast<size_t>(id.toInt())] = true;
            if (i + 1 < n) {
                ASSERT_LE(sign * CompareOrdinal(keys[static_cast<size_t>(i)], keys[static_cast<size_t>(i + 1)]), 0)
                    << i;
            }
        }
        EXPECT_EQ(std::count(seen.begin(), seen.end(), true), n);  // every row once
    }
}

TEST(SortCardTable, SortsTheCardsShowsTheLastAndMarksTheFileChanged)
{
    CardStore s = OpenStore({TitledCard("c", "1"), TitledCard("a", "2"), TitledCard("b", "3")});
    s.CurrentCard = 0;
    s.CardTable[3][0] = QStringLiteral("0");  // a row beyond the cards stays where it is
    SortCardTable(s, DefaultSortKeyFields, SortDirection::Ascending);
    EXPECT_EQ(IdsOf(s.CardTable, 3), QStringLiteral("2 3 1"));
    EXPECT_EQ(s.CardTable[3][0], QStringLiteral("0"));
    EXPECT_EQ(s.CurrentCard, 2);
    EXPECT_TRUE(s.CardFileChanged);
    EXPECT_EQ(s.CardCount, 3);

    SortCardTable(s, DefaultSortKeyFields, SortDirection::Descending);
    EXPECT_EQ(IdsOf(s.CardTable, 3), QStringLiteral("1 3 2"));

    // One card: it stays and is shown; the file counts as changed.
    CardStore one = OpenStore({TitledCard("x", "1")});
    SortCardTable(one, DefaultSortKeyFields, SortDirection::Ascending);
    EXPECT_EQ(IdsOf(one.CardTable, 1), QStringLiteral("1"));
    EXPECT_EQ(one.CurrentCard, 0);
    EXPECT_TRUE(one.CardFileChanged);
}

TEST(SortCardTable, NoCardsNothingHappens)
{
    CardStore s = OpenStore({});
    s.CurrentCard = 0;
    SortCardTable(s, DefaultSortKeyFields, SortDirection::Ascending);
    EXPECT_EQ(s.CurrentCard, 0);
    EXPECT_FALSE(s.CardFileChanged);
}

TEST(SortPickedTable, SortsThePickedSetOnly)
{
    for (bool changed : {false, true}) {
        SCOPED_TRACE(changed ? "file changed before" : "file unchanged before");
        CardStore s = OpenStore({TitledCard("c", "1"), TitledCard("a", "2")});
        s.CardFileChanged = changed;
        s.PickedTable = {TitledCard("z", "p1"), TitledCard("y", "p2"), TitledCard("x", "p3")};
        s.PickedCount = 3;
        s.CurrentPicked = 0;
        SortPickedTable(s, DefaultSortKeyFields, SortDirection::Ascending);
        EXPECT_EQ(IdsOf(s.PickedTable, 3), QStringLiteral("p3 p2 p1"));
        EXPECT_EQ(s.CurrentPicked, 2);
        EXPECT_EQ(s.CardFileChanged, changed);
        EXPECT_EQ(IdsOf(s.CardTable, 2), QStringLiteral("1 2"));
        EXPECT_EQ(s.CurrentCard, 1);
    }
}

}  // namespace
