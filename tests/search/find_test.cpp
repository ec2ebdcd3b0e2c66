// Finding the next and the previous matching card from the main window's
// two search groups, by their buttons and by the keys of the window.
#include "search_fixture.h"

namespace {

enum class How { NextButton, PreviousButton, CtrlRight, CtrlLeft };

struct FindCase {
    const char* what;
    int field;  // 1..19
    QStringList values;  // the field's value in cards 1, 2, ...
    int op;  // the operator chooser's index
    QString text;  // typed into the search string
    int from;  // the card shown first (1-based)
    How how;
    int to;  // the card shown afterwards
    bool notFound;  // whether "Not found" was shown
};

class FindTest : public SearchTest {
protected:
    void Run(const FindCase& c)
    {
        SCOPED_TRACE(c.what);
        StartWith(Rows(static_cast<int>(c.values.size()), c.field, c.values));
        fieldSearch()->ComboBox1->setCurrentIndex(c.field - 1);
        fieldSearch()->ComboBox2->setCurrentIndex(c.op);
        Type(fieldSearch()->Edit1, c.text);
        form->editKORTTINRO->setText(QString::number(c.from));
        form->btnGo->click();
        form->memoTUNNISTE->setFocus();
        switch (c.how) {
        case How::NextButton:
            fieldSearch()->btnSelaaeteen->click();
            break;
        case How::PreviousButton:
            fieldSearch()->btnSelaataakse->click();
            break;
        case How::CtrlRight:
            QTest::keyClick(form->memoTUNNISTE, Qt::Key_Right, Qt::ControlModifier);
            break;
        case How::CtrlLeft:
            QTest::keyClick(form->memoTUNNISTE, Qt::Key_Left, Qt::ControlModifier);
            break;
        }
        EXPECT_EQ(store().CurrentCard, c.to - 1);
        EXPECT_EQ(Shown(), c.to);
        EXPECT_EQ(Title1(), store().CardTable[static_cast<size_t>(c.to - 1)][0]);
        EXPECT_EQ(platform.Texts(), c.notFound ? QStringList{QStringLiteral("Not found")} : QStringList{});
    }
    FieldSearchGroup* fieldSearch() const { return form->fieldSearch; }
    BooleanSearchGroup* booleanSearch() const { return form->booleanSearch; }
};

}  // namespace

TEST_F(FindTest, EachOperatorThroughTheGroup)
{
    const QStringList xyx = {"x", "y", "x"};
    const FindCase cases[] = {
        {"~ with an empty string matches nothing", 8, {"a", "b", "c"}, 0, "", 1, How::NextButton, 1, true},
        {"<> with an empty string: one forward", 8, {"a", "b", "c"}, 6, "", 1, How::NextButton, 2, false},
        {"<> with an empty string: one back", 8, {"a", "b", "c"}, 6, "", 3, How::PreviousButton, 2, false},
        {"~ is case-sensitive", 1, {"x", "ABC", "ABC"}, 0, "abc", 1, How::NextButton, 1, true},
        {"~ finds a part", 1, {"x", "xabcx", "abc"}, 0, "abc", 1, How::NextButton, 2, false},
        {"a blank in the string counts", 2, {"", "John Smith", "Smith"}, 0, "Smith ", 1, How::NextButton, 1, true},
        {"< with 9 matches 10", 11, {"", "99", "10"}, 1, "9", 1, How::NextButton, 3, false},
        {"> with a does not match Z", 11, {"", "Z", "A"}, 2, "a", 1, How::NextButton, 1, true},
        {"> with a matches b", 11, {"", "Z", "b"}, 2, "a", 1, How::NextButton, 3, false},
        {">= matches the equal text", 11, {"", "a", "b"}, 3, "b", 1, How::NextButton, 3, false},
        {"<= matches an empty field", 12, {"z", "q", ""}, 4, "p", 1, How::NextButton, 3, false},
        {"= with an empty string: the empty field", 13, {"a", "a", ""}, 5, "", 1, How::NextButton, 3, false},
        {"= does not take a part", 13, {"", "ab", "b"}, 5, "b", 1, How::NextButton, 3, false},
        {"<> skips the field that holds the string", 9, {"", "abc", "ac"}, 6, "b", 1, How::NextButton, 3, false},
        {"year > 2018: 2018 no, 2018b yes", 6, {"", "2018", "2018b"}, 2, "2018", 1, How::NextButton, 3, false},
        {"Card ID can be searched", 19, {"id1", "id2", "id3"}, 5, "id2", 3, How::PreviousButton, 2, false},
        {"x y x: next from the first shows the third", 1, xyx, 0, "x", 1, How::NextButton, 3, false},
        {"at the last card next does nothing, silently", 1, xyx, 0, "x", 3, How::NextButton, 3, false},
        {"at the first card previous does nothing, silently", 1, xyx, 0, "x", 1, How::PreviousButton, 1, false},
        {"previous without a match", 1, xyx, 0, "y", 2, How::PreviousButton, 2, true},
        {"the shown card is never tested", 1, {"x", "x", "y"}, 0, "y", 3, How::PreviousButton, 3, true},
        {"Ctrl+Right finds next", 1, {"a", "b", "a", "a"}, 0, "a", 1, How::CtrlRight, 3, false},
        {"Ctrl+Left finds previous", 1, {"a", "b", "a", "a"}, 0, "a", 4, How::CtrlLeft, 3, false},
        {"Ctrl+Right without a match", 1, {"a", "b", "a"}, 0, "c", 1, How::CtrlRight, 1, true},
    };
    for (const FindCase& c : cases)
        Run(c);
}

TEST_F(FindTest, TheShownCardIsStoredBeforeTheSearch)
{
    StartWith(Rows(3));
    form->btnHome->click();
    // Typed into card 1, then searched for from it: it is stored, not tested.
    form->memoASIASANAT1->setFocus();
    QTest::keyClicks(form->memoASIASANAT1, QStringLiteral("needle"));
    fieldSearch()->ComboBox1->setCurrentIndex(7);
    Type(fieldSearch()->Edit1, QStringLiteral("needle"));
    fieldSearch()->btnSelaaeteen->click();
    EXPECT_EQ(store().CardTable[0][7], QStringLiteral("needle"));
    EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("Not found")});
    // From card 3 backwards it is found.
    form->btnEnd->click();
    platform.Clear();
    fieldSearch()->btnSelaataakse->click();
    EXPECT_EQ(store().CurrentCard, 0);
    EXPECT_EQ(form->memoASIASANAT1->Text(), QStringLiteral("needle"));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(FindTest, BooleanFindByButtonsAndAltKeys)
{
    CardRows rows = Rows(5);
    const std::pair<const char*, const char*> topicKeywords[] = {
        {"red", "cat"}, {"blue", "dog"}, {"red", "dog"}, {"red", "cat dog"}, {"green", "dog"}};
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i][7] = QString::fromLatin1(topicKeywords[i].first);
        rows[i][8] = QString::fromLatin1(topicKeywords[i].second);
    }
    StartWith(rows);
    booleanSearch()->ComboBox3->setCurrentIndex(7);
    Type(booleanSearch()->Edit2, QStringLiteral("red"));
    booleanSearch()->ComboBox4->setCurrentIndex(0);  // AND
    booleanSearch()->ComboBox5->setCurrentIndex(8);
    Type(booleanSearch()->Edit3, QStringLiteral("dog"));
    form->btnHome->click();
    form->memoTUNNISTE->setFocus();

    QTest::keyClick(form->memoTUNNISTE, Qt::Key_Right, Qt::AltModifier);  // red AND dog: card 3
    EXPECT_EQ(Shown(), 3);
    booleanSearch()->btnSelaaboleteen->click();  // then card 4
    EXPECT_EQ(Shown(), 4);
    QTest::keyClick(form->memoTUNNISTE, Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(Shown(), 4);
    EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("Not found")});
    platform.Clear();
    booleanSearch()->ComboBox4->setCurrentIndex(3);  // red NOT dog: card 1 only
    QTest::keyClick(form->memoTUNNISTE, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(Shown(), 1);
    booleanSearch()->btnSelaaboleteen->click();
    EXPECT_EQ(Shown(), 1);
    EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("Not found")});
    platform.Clear();
    booleanSearch()->btnSelaaboltaakse->click();  // at the first card: silent
    EXPECT_TRUE(platform.messages.empty());
    // The one-field search is another group: its keys do not use these strings.
    QTest::keyClick(form->memoTUNNISTE, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("Not found")});
}

TEST_F(FindTest, EachKeyFindsOnce)
{
    // Every card matches "<>" with an empty string, so a find that ran
    // twice would move two cards.
    StartWith(Rows(6));
    fieldSearch()->ComboBox2->setCurrentIndex(6);
    booleanSearch()->ComboBox4->setCurrentIndex(1);  // OR
    Type(booleanSearch()->Edit2, QStringLiteral("Card"));
    form->btnHome->click();
    form->memoTUNNISTE->setFocus();
    QTest::keyClick(form->memoTUNNISTE, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Shown(), 2);
    QTest::keyClick(form->memoTUNNISTE, Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(Shown(), 3);
    QTest::keyClick(form->memoTUNNISTE, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(Shown(), 2);
    QTest::keyClick(form->memoTUNNISTE, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(Shown(), 1);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(FindTest, WithoutACardFileTheGroupsWaitAndTheKeysDoNothing)
{
    StartWith(Rows(3));
    platform.answers = {MsgAnswer::Yes};
    form->Sulje1->trigger();
    ASSERT_FALSE(store().FileOpen);
    platform.Clear();
    for (QWidget* w : std::initializer_list<QWidget*>{fieldSearch()->Edit1, fieldSearch()->btnSelaataakse,
             fieldSearch()->btnPoimi, fieldSearch()->btnSelaaeteen, booleanSearch()->Edit2, booleanSearch()->Edit3,
             booleanSearch()->btnSelaaboltaakse, booleanSearch()->btnBolpoimi, booleanSearch()->btnSelaaboleteen,
             form->sortGroup->btnLajittelu})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    for (QWidget* w : std::initializer_list<QWidget*>{fieldSearch()->ComboBox1, fieldSearch()->ComboBox2,
             booleanSearch()->ComboBox3, booleanSearch()->ComboBox4, booleanSearch()->ComboBox5,
             form->sortGroup->RadioButton1, form->sortGroup->RadioButton2})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    for (QComboBox* c : form->sortGroup->keyChoosers)
        EXPECT_TRUE(c->isEnabled());
    fieldSearch()->ComboBox1->setFocus();
    for (auto [key, mods] : {std::pair{Qt::Key_Right, Qt::ControlModifier}, {Qt::Key_Left, Qt::ControlModifier},
             {Qt::Key_Right, Qt::AltModifier}, {Qt::Key_Left, Qt::AltModifier}, {Qt::Key_F9, Qt::NoModifier},
             {Qt::Key_F10, Qt::NoModifier}, {Qt::Key_F11, Qt::NoModifier}, {Qt::Key_F2, Qt::NoModifier}})
        Key(form, key, mods);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(platform.modalRuns, 0);
    // A new card file enables them again.
    form->Uusi1->trigger();
    EXPECT_TRUE(fieldSearch()->btnPoimi->isEnabled());
    EXPECT_TRUE(booleanSearch()->Edit3->isEnabled());
    EXPECT_TRUE(form->sortGroup->btnLajittelu->isEnabled());
}

TEST_F(FindTest, GroupsStartWithTheirFirstSelectionsAndKeepTheLengthLimit)
{
    StartWith(Rows(2));
    EXPECT_EQ(fieldSearch()->title(), QStringLiteral("SEARCH FROM ONE FIELD"));
    EXPECT_EQ(booleanSearch()->title(), QStringLiteral("BOOLEAN SEARCH FROM TWO FIELDS"));
    EXPECT_EQ(form->sortGroup->title(), QStringLiteral("SORTING ORDER"));
    QStringList fields;
    for (int i = 0; i < fieldSearch()->ComboBox1->count(); ++i)
        fields << fieldSearch()->ComboBox1->itemText(i);
    EXPECT_EQ(fields.size(), 19);
    EXPECT_EQ(fields.first(), QStringLiteral("1 Title1"));
    EXPECT_EQ(fields.last(), QStringLiteral("19 Card ID"));
    for (QComboBox* c : {fieldSearch()->ComboBox1, booleanSearch()->ComboBox3, booleanSearch()->ComboBox5}) {
        EXPECT_EQ(c->currentText(), QStringLiteral("1 Title1"));
        EXPECT_FALSE(c->isEditable());
    }
    QStringList ops;
    for (int i = 0; i < fieldSearch()->ComboBox2->count(); ++i)
        ops << fieldSearch()->ComboBox2->itemText(i);
    EXPECT_EQ(ops, (QStringList{"~", "<", ">", ">=", "<=", "=", "<>"}));
    EXPECT_EQ(fieldSearch()->ComboBox2->currentText(), QStringLiteral("~"));
    QStringList connectives;
    for (int i = 0; i < booleanSearch()->ComboBox4->count(); ++i)
        connectives << booleanSearch()->ComboBox4->itemText(i);
    EXPECT_EQ(connectives, (QStringList{"AND", "OR", "XOR", "NOT"}));
    EXPECT_EQ(booleanSearch()->Label8->text(), QStringLiteral(" ~"));
    EXPECT_EQ(booleanSearch()->Label9->text(), QStringLiteral(" ~"));
    EXPECT_EQ(booleanSearch()->Label8->buddy(), booleanSearch()->Edit2);
    EXPECT_EQ(booleanSearch()->Label9->buddy(), booleanSearch()->Edit3);

    EXPECT_EQ(fieldSearch()->btnSelaataakse->text(), QStringLiteral("Find previou&s"));
    EXPECT_EQ(fieldSearch()->btnPoimi->text(), QStringLiteral("PI&CK F9"));
    EXPECT_EQ(fieldSearch()->btnSelaaeteen->text(), QStringLiteral("Find ne&xt"));
    EXPECT_EQ(booleanSearch()->btnSelaaboltaakse->text(), QStringLiteral("&Find previous"));
    EXPECT_EQ(booleanSearch()->btnBolpoimi->text(), QStringLiteral("PIC&K F10"));
    EXPECT_EQ(booleanSearch()->btnSelaaboleteen->text(), QStringLiteral("Find nex&t"));
    EXPECT_EQ(form->sortGroup->btnLajittelu->text(), QStringLiteral("SORT  F11"));

    // The hints of the one-field group; the Boolean group has none.
    EXPECT_EQ(fieldSearch()->ComboBox1->toolTip(), QStringLiteral("Select the field to search from"));
    EXPECT_EQ(fieldSearch()->Edit1->toolTip(), QStringLiteral("Write a String or a part of it you want to find"));
    EXPECT_EQ(fieldSearch()->btnSelaataakse->toolTip(), QStringLiteral("Find previous card"));
    EXPECT_EQ(fieldSearch()->btnPoimi->toolTip(), QStringLiteral("Pick the cards"));
    EXPECT_EQ(fieldSearch()->btnSelaaeteen->toolTip(), QStringLiteral("Find  next card with searched word"));
    for (QWidget* w : booleanSearch()->findChildren<QWidget*>())
        EXPECT_TRUE(w->toolTip().isEmpty()) << w->objectName().toStdString();
    // "Show Hints" switches the field list's hint alone.
    form->ShowHints1->trigger();
    EXPECT_TRUE(fieldSearch()->ComboBox1->toolTip().isEmpty());
    EXPECT_FALSE(fieldSearch()->Edit1->toolTip().isEmpty());
    form->ShowHints1->trigger();
    EXPECT_EQ(fieldSearch()->ComboBox1->toolTip(), QStringLiteral("Select the field to search from"));

    // At most 128 characters are typed into each search string.
    for (QLineEdit* box : {fieldSearch()->Edit1, booleanSearch()->Edit2, booleanSearch()->Edit3}) {
        Type(box, QString(130, u'a'));
        EXPECT_EQ(box->text().size(), 128) << box->objectName().toStdString();
    }
}

TEST_F(FindTest, TheWheelOverAChooserOrASearchStringKeepsTheCard)
{
    StartWith(Rows(6));
    form->btnHome->click();
    std::vector<QWidget*> owners;
    for (const std::vector<QWidget*>& group :
        {fieldSearch()->WheelOwners(), booleanSearch()->WheelOwners(), form->sortGroup->WheelOwners()})
        owners.insert(owners.end(), group.begin(), group.end());
    ASSERT_EQ(owners.size(), 20u);  // 17 choosers and 3 search strings
    for (QWidget* w : owners) {
        Wheel(w, -120);
        EXPECT_EQ(Shown(), 1) << w->objectName().toStdString();
    }
    // The group's buttons, radio buttons and free space do not keep it.
    Wheel(form->sortGroup->btnLajittelu, -120);
    EXPECT_EQ(Shown(), 2);
    Wheel(form->sortGroup->RadioButton2, -120);
    EXPECT_EQ(Shown(), 3);
    Wheel(booleanSearch(), 120, QPoint(275, 60));
    EXPECT_EQ(Shown(), 2);
}
