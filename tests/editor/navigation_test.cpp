// Moving between cards by buttons, keys, the wheel and the order number box.
#include "support/mainwindow_fixture.h"

#include <QMessageBox>
#include <QTimer>
#include <QWheelEvent>

namespace {

class NavigationTest : public MainWindowTest {
protected:
    void SetUp() override { Start({MakeFile(12)}); }

    void GoTo(int card)  // 1-based
    {
        store().CurrentCard = card - 1;
        form->btnPaivitaClick();
    }
    int Shown() const { return form->editKORTTINRO->text().toInt(); }

    void Wheel(QWidget* over, int delta)
    {
        const QPoint local = over->rect().center();
        const QPoint global = over->mapToGlobal(local);
        QWheelEvent e(
            local, global, QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &e);
    }
};

}  // namespace

TEST_F(NavigationTest, ButtonsAndKeysMoveAndClamp)
{
    struct Case {
        const char* what;
        int from;
        std::function<void(TForm1&)> act;
        int to;
    };
    auto key = [](int k, Qt::KeyboardModifiers mods) {
        return [k, mods](TForm1& f) { QTest::keyClick(f.memoTUNNISTE, static_cast<Qt::Key>(k), mods); };
    };
    // Alt and a marked letter press the button, which clicks a moment later.
    auto alt = [this](Qt::Key k) {
        return [this, k](TForm1& f) {
            const int before = store().CurrentCard;
            QTest::keyClick(f.memoTUNNISTE, k, Qt::AltModifier);
            (void)QTest::qWaitFor([&] { return store().CurrentCard != before; }, 1000);
        };
    };
    const Case cases[] = {
        {"10 back from 5", 5, [](TForm1& f) { f.btn10taakse->click(); }, 1},
        {"10 forward from 5", 5, [](TForm1& f) { f.btn10eteen->click(); }, 12},
        {"10 forward from 1", 1, [](TForm1& f) { f.btn10eteen->click(); }, 11},
        {"previous at the first", 1, [](TForm1& f) { f.btnTaakse->click(); }, 1},
        {"next at the last", 12, [](TForm1& f) { f.btnEteen->click(); }, 12},
        {"home", 7, [](TForm1& f) { f.btnHome->click(); }, 1},
        {"end", 7, [](TForm1& f) { f.btnEnd->click(); }, 12},
        {"Ctrl+PageUp", 7, key(Qt::Key_PageUp, Qt::ControlModifier), 6},
        {"Ctrl+PageDown", 7, key(Qt::Key_PageDown, Qt::ControlModifier), 8},
        {"Alt+PageUp", 7, key(Qt::Key_PageUp, Qt::AltModifier), 1},
        {"Alt+PageDown", 2, key(Qt::Key_PageDown, Qt::AltModifier), 12},
        {"Alt+Home", 7, key(Qt::Key_Home, Qt::AltModifier), 1},
        {"Alt+End", 7, key(Qt::Key_End, Qt::AltModifier), 12},
        {"Alt+N", 7, alt(Qt::Key_N), 8},
        {"Alt+V", 7, alt(Qt::Key_V), 6},
        {"Alt+H", 7, alt(Qt::Key_H), 1},
        {"Alt+E", 7, alt(Qt::Key_E), 12},
        {"Alt+1", 12, alt(Qt::Key_1), 2},
        {"Alt+0", 1, alt(Qt::Key_0), 11},
    };
    for (const Case& c : cases) {
        GoTo(c.from);
        form->memoTUNNISTE->setFocus();
        c.act(*form);
        EXPECT_EQ(store().CurrentCard, c.to - 1) << c.what;
        EXPECT_EQ(Title1(), QStringLiteral("Card %1").arg(c.to)) << c.what;
        EXPECT_EQ(Shown(), c.to) << c.what;
    }
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(NavigationTest, EditIsStoredIntoTheCardThatIsLeft)
{
    GoTo(3);
    form->Memo3->setFocus();
    QTest::keyClicks(form->Memo3, QStringLiteral("note"));
    QTest::keyClick(form->Memo3, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(store().CardTable[2][2], QStringLiteral("note"));
    EXPECT_EQ(store().CurrentCard, 3);
    EXPECT_TRUE(form->Memo3->Text().isEmpty());
}

TEST_F(NavigationTest, SingleCardShowsItselfAgain)
{
    Start({MakeFile(1, QStringLiteral("one.kqk"))});
    for (QPushButton* b :
        {form->btnHome, form->btnEnd, form->btnTaakse, form->btnEteen, form->btn10taakse, form->btn10eteen}) {
        b->click();
        EXPECT_EQ(store().CurrentCard, 0);
        EXPECT_EQ(form->editKORTTINRO->text(), QStringLiteral("1"));
        EXPECT_EQ(form->Label23->text(), QStringLiteral(" / 1"));
    }
}

TEST_F(NavigationTest, GoToTheTypedNumber)
{
    struct Case {
        QString typed;
        int to;
        QString box;
    };
    for (const Case& c :
        {Case{"12", 12, "12"}, Case{"3", 3, "3"}, Case{"0", 5, "5"}, Case{"13", 5, "5"}, Case{"", 5, ""}}) {
        GoTo(5);
        form->editKORTTINRO->setFocus();
        form->editKORTTINRO->clear();
        QTest::keyClicks(form->editKORTTINRO, c.typed);
        QTest::keyClick(form->editKORTTINRO, Qt::Key_Return);
        EXPECT_EQ(store().CurrentCard, c.to - 1) << c.typed.toStdString();
        EXPECT_EQ(form->editKORTTINRO->text(), c.box) << c.typed.toStdString();
    }
    // Go by its button and by Alt+G.
    GoTo(5);
    form->editKORTTINRO->setText(QStringLiteral("9"));
    form->btnGo->click();
    EXPECT_EQ(store().CurrentCard, 8);
    form->editKORTTINRO->setText(QStringLiteral("2"));
    QTest::keyClick(form, Qt::Key_G, Qt::AltModifier);
    (void)QTest::qWaitFor([&] { return store().CurrentCard == 1; }, 1000);
    EXPECT_EQ(store().CurrentCard, 1);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(NavigationTest, NumberBoxTakesOnlyDigitsAndBackspace)
{
    form->editKORTTINRO->setFocus();
    form->editKORTTINRO->clear();
    QTest::keyClicks(form->editKORTTINRO, QStringLiteral("1a-b2 x"));
    EXPECT_EQ(form->editKORTTINRO->text(), QStringLiteral("12"));
    QTest::keyClick(form->editKORTTINRO, Qt::Key_Backspace);
    EXPECT_EQ(form->editKORTTINRO->text(), QStringLiteral("1"));
}

TEST_F(NavigationTest, NumberBeyondThirtyTwoBitsIsAConversionErrorAfterTheStore)
{
    GoTo(4);
    form->memoASIASANAT1->SetText(QStringLiteral("edited"));
    form->editKORTTINRO->setText(QStringLiteral("99999999999"));  // as a paste would bring it
    form->btnGo->click();
    EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("'99999999999' is not a valid integer value")});
    EXPECT_EQ(store().CurrentCard, 3);
    EXPECT_EQ(store().CardTable[3][7], QStringLiteral("edited"));
}

TEST_F(NavigationTest, WheelMovesOncePerNotchUnlessOverAnEditor)
{
    GoTo(5);
    Wheel(form->btnEteen, -120);
    EXPECT_EQ(store().CurrentCard, 5);
    Wheel(form->btnHome, 120);
    EXPECT_EQ(store().CurrentCard, 4);
    Wheel(form->Label10, -60);  // half a notch: nothing yet
    EXPECT_EQ(store().CurrentCard, 4);
    Wheel(form->Label23, -60);  // halves add up
    EXPECT_EQ(store().CurrentCard, 5);
    Wheel(form->editKORTTINRO, -360);
    EXPECT_EQ(store().CurrentCard, 8);
    Wheel(form->btnTaakse, 120 * 20);
    EXPECT_EQ(store().CurrentCard, 0);
    for (QWidget* editor : {static_cast<QWidget*>(form->memoMUISTIINPANO), form->memoMUISTIINPANO->viewport(),
             static_cast<QWidget*>(form->Edit5), static_cast<QWidget*>(form->memoTUNNISTE)}) {
        Wheel(editor, -240);
        EXPECT_EQ(store().CurrentCard, 0);
    }
    store().FileOpen = false;
    Wheel(form->btnEteen, -120);
    EXPECT_EQ(store().CurrentCard, 0);
}

TEST_F(NavigationTest, AKeyMovesOneCardAlsoWhenTheCardRaisesAMessage)
{
    // Card 2 of 4 has a Memo of 700 lines, whose line-limit message is a real
    // modal message box, answered after a moment as a user would.
    CardRows rows(4);
    for (int i = 0; i < 4; ++i) {
        rows[i][0] = QStringLiteral("Card %1").arg(i + 1);
        rows[i][CardIdCell] = QStringLiteral("id%1").arg(i + 1);
    }
    rows[1][MemoCell] = QStringLiteral("line\r\n").repeated(699) + QStringLiteral("line");
    WriteCardFile(Path(QStringLiteral("long.kqk")), rows, 4, MainFileHeaderText);
    Start({Path(QStringLiteral("long.kqk"))});
    form->memoTUNNISTE->setFocus();
    int boxes = 0;
    platform.onMessage = [&](const ScriptedPlatform::Shown& shown) {
        QMessageBox box(QMessageBox::NoIcon, QString(), shown.text, QMessageBox::Ok, form);
        QTimer::singleShot(50, &box, &QMessageBox::accept);
        box.exec();
        ++boxes;
    };
    for (const Qt::Key k : {Qt::Key_PageUp, Qt::Key_PageUp}) {
        // Through the window system's queue, as a key from the keyboard comes.
        QTest::keyClick(form->windowHandle(), k, Qt::ControlModifier);
        QApplication::processEvents();
    }
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("Only 599 lines allowed!")});
    EXPECT_EQ(Shown(), 2);
    EXPECT_EQ(Title1(), QStringLiteral("Card 2"));
}
