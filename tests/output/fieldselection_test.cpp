// The field selection window of the listing and the selection it gives the
// listing of all cards.
#include "listing_fixture.h"

#include <QAccessible>

namespace {

class FieldSelectionTest : public ListingTest {
protected:
    void SetUp() override
    {
        path = MakeFile(2);
        Start({path});
    }
    // F4, then during inside the field selection window, shown and active.
    void InSelection(std::function<void(TForm10&)> during)
    {
        platform.modalHandler = [this, during](QDialog& dialog) {
            EXPECT_EQ(&dialog, static_cast<QDialog*>(Selection()));
            Activate(Selection());
            during(*Selection());
            const int result = Selection()->result();
            Selection()->hide();
            return result;
        };
        BackToMain();
        QTest::keyClick(form, Qt::Key_F4);
    }
    std::vector<bool> Ticks() const
    {
        std::vector<bool> t;
        for (QCheckBox* b : Selection()->boxes)
            t.push_back(b->isChecked());
        return t;
    }

    QString path;
};

}  // namespace

TEST_F(FieldSelectionTest, TwentyBoxesTickedAtStartWithTheirCaptionsAndNumbers)
{
    bool ran = false;
    InSelection([&](TForm10& w) {
        ran = true;
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Select fields for the listing - CARDOMO  0.5 beta"));
        EXPECT_EQ(w.size(), QSize(479, 469));
        EXPECT_EQ(w.pos(), QPoint(229, 0));
        EXPECT_EQ(w.font().family(), QStringLiteral("Tahoma"));
        EXPECT_EQ(w.font().pixelSize(), 11);
        EXPECT_TRUE(w.windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(w.windowFlags() & Qt::WindowMinMaxButtonsHint);
        const QStringList captions = {"Title 1", "Title 2", "Title 3", "Day", "Month", "Year", "Page", "Topic",
            "Keywords", "File link", "Code 1", "Code 2", "Code 3", "Action Year", "Action Month", "Action Day",
            "Action Hour:min", "Memo", "Card ID", "Show the line between the cards"};
        for (int i = 0; i < 20; ++i) {
            SCOPED_TRACE(i);
            QCheckBox* b = w.boxes[static_cast<size_t>(i)];
            EXPECT_EQ(b->objectName(), QStringLiteral("CheckBox%1").arg(i + 1));
            EXPECT_EQ(b->text(), captions[i]);
            EXPECT_TRUE(b->isChecked());
            EXPECT_TRUE(w.rect().contains(b->geometry()));
            if (i < 19) {
                QLabel* number = w.numberLabels[static_cast<size_t>(i)];
                EXPECT_EQ(number->text(), QStringLiteral("%1.").arg(i + 1));
                EXPECT_EQ(number->buddy(), b);
                EXPECT_LT(number->geometry().right(), b->x());  // the number stands before its box
            }
        }
        // Fields 1 to 9 on the left, 10 to 18 on the right, the Card ID and
        // the separator line below them.
        EXPECT_LT(w.boxes[0]->x(), w.boxes[9]->x());
        EXPECT_EQ(w.boxes[8]->x(), w.boxes[0]->x());
        EXPECT_EQ(w.boxes[17]->x(), w.boxes[9]->x());
        EXPECT_GT(w.boxes[18]->y(), w.boxes[17]->y());
        EXPECT_GT(w.boxes[19]->y(), w.boxes[18]->y());
        EXPECT_EQ(w.Button1->text(), QStringLiteral("Select all"));
        EXPECT_EQ(w.Button2->text(), QStringLiteral("Deselect all"));
        EXPECT_EQ(w.Button3->text(), QStringLiteral("OK"));
        EXPECT_GT(w.Button3->y(), w.boxes[19]->y());
        EXPECT_GT(w.Button1->x(), w.boxes[9]->geometry().right());
        w.Button3->click();
    });
    EXPECT_TRUE(ran);
    EXPECT_EQ(platform.modalRuns, 1);  // F4 ran once
    EXPECT_FALSE(Selection()->isVisible());
}

TEST_F(FieldSelectionTest, SelectAllDeselectAllAndEveryWayOfClosingKeepTheTicks)
{
    struct Way {
        const char* name;
        std::function<void(TForm10&)> close;
    };
    const Way ways[] = {
        {"OK", [](TForm10& w) { w.Button3->click(); }},
        {"Esc", [](TForm10& w) { QTest::keyClick(w.boxes[3], Qt::Key_Escape); }},
        {"Enter on a box runs OK", [](TForm10& w) { QTest::keyClick(w.boxes[3], Qt::Key_Return); }},
        {"Enter on Select all runs OK",
            [](TForm10& w) {
                w.Button1->setFocus();
                QTest::keyClick(w.Button1, Qt::Key_Enter);
            }},
        {"the close box", [](TForm10& w) { w.close(); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        bool closed = false;
        InSelection([&](TForm10& w) {
            w.Button2->click();  // Deselect all clears all twenty
            EXPECT_EQ(Ticks(), std::vector<bool>(20, false));
            w.Button1->click();  // Select all ticks all twenty
            EXPECT_EQ(Ticks(), std::vector<bool>(20, true));
            w.Button2->click();
            w.boxes[4]->setFocus();
            QTest::keyClick(w.boxes[4], Qt::Key_Space);  // Month
            way.close(w);
            closed = !w.isVisible();
        });
        EXPECT_TRUE(closed);
        std::vector<bool> expected(20, false);
        expected[4] = true;
        EXPECT_EQ(Ticks(), expected);
        EXPECT_EQ(Selection()->Selection().boxes[4], true);
        EXPECT_EQ(Selection()->Selection().SeparatorLine(), false);
    }
}

TEST_F(FieldSelectionTest, ListAllCardsShowsOnlyTheTickedFields)
{
    InSelection([](TForm10& w) {
        w.Button2->click();
        for (const int box : {0, 18, 19}) {  // Title 1, Card ID, the line between the cards
            QCheckBox* b = w.boxes[static_cast<size_t>(box)];
            QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
        }
        w.Button3->click();
    });
    OnListing();
    BackToMain();
    QTest::keyClick(form, Qt::Key_F8);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text,
        Lines({QStringLiteral("Cardomo 0.5 beta - Card listing   ") + Date() + u' ' + Time(), QString(),
            QStringLiteral("Count of cards 2 "), QString(), Separator + u'1', QStringLiteral("Card 1   "), QString(),
            QString(), QString(), QStringLiteral(" id1"), QString(), Separator + u'2', QStringLiteral("Card 2   "),
            QString(), QString(), QString(), QStringLiteral(" id2"), QString(), QString(), QString(), path, QString(),
            Banner, QString()}));

    // The current card's listing shows every field whatever is ticked.
    shown.clear();
    BackToMain();
    QTest::keyClick(form, Qt::Key_F7);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].text.contains(QStringLiteral(" Keywords:  \r\n")));
    EXPECT_TRUE(shown[0].text.contains(QStringLiteral("\r\nMemo 2\r\n")));
}
