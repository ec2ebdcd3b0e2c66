// Start-up, opening, the card display and change tracking of the main window.
#include "support/mainwindow_fixture.h"

#include <QMenuBar>

namespace {

const QString AnsiMessage = QStringLiteral(
    "You are trying to open ANSI file in UTF-8 mode. Please select instead: File --> New and then Edit --> "
    "Input external ANSI card file to the current card file (old format)");
const QString NotCardFileMessage = QStringLiteral(
    "The file you are trying to open might be saved with different version than you are using, or the data "
    "file is corrupted. Please update the software.");
const QString StartCaption = QStringLiteral("CARDOMO 0.5  beta - Note Card Software");

}  // namespace

TEST_F(MainWindowTest, WindowHoldsTheFieldEditorsAtTheirPlaces)
{
    Start();
    EXPECT_EQ(form->centralWidget()->size(), QSize(706, 569));
    struct Place {
        const char* kind;
        QRect geometry;
        const char* label;
    };
    const Place places[18] = {
        {"OneLineBox", {25, 17, 145, 41}, "1. Title"},
        {"OneLineBox", {178, 17, 89, 41}, "2. Title"},
        {"OneLineBox", {273, 17, 65, 41}, "3. Title"},
        {"FieldLine", {344, 16, 25, 22}, "4.D"},
        {"FieldLine", {344, 37, 25, 22}, "5.Mo"},
        {"FieldLine", {376, 16, 37, 22}, "6. Year"},
        {"FieldLine", {376, 37, 37, 22}, "7. Page"},
        {"OneLineBox", {24, 88, 145, 41}, "8. Topic"},
        {"OneLineBox", {175, 88, 89, 41}, "9. Keywords"},
        {"OneLineBox", {271, 88, 141, 41}, "10. File link"},
        {"FieldLine", {429, 16, 81, 22}, "11.Code 1"},
        {"FieldLine", {516, 16, 73, 22}, "12.Code 2"},
        {"FieldLine", {592, 16, 89, 22}, "13.Code 3"},
        {"FieldLine", {516, 56, 41, 22}, "14.yyyy"},
        {"FieldLine", {561, 56, 29, 22}, "15.mm"},
        {"FieldLine", {592, 56, 29, 22}, "16.dd"},
        {"FieldLine", {625, 56, 56, 22}, "17.hh:mm"},
        {"MemoEditor", {24, 151, 389, 293}, ""},
    };
    for (int cell = 0; cell < 18; ++cell) {
        EXPECT_STREQ(form->editors[cell]->metaObject()->className(), places[cell].kind) << cell;
        EXPECT_EQ(form->editors[cell]->geometry(), places[cell].geometry) << cell;
        EXPECT_EQ(form->editors[cell]->font().pixelSize(), cell == MemoCell ? 13 : 11) << cell;
        if (cell < MemoCell) {
            EXPECT_EQ(form->fieldLabels[cell]->text(), QString::fromUtf8(places[cell].label));
        }
    }
    EXPECT_EQ(form->fieldLabels[4]->pos(), QPoint(344, 64));
    EXPECT_EQ(form->fieldLabels[6]->pos(), QPoint(376, 64));
    EXPECT_EQ(form->lblDateOfAction->pos(), QPoint(434, 58));
    EXPECT_EQ(form->editKORTTINRO->geometry(), QRect(167, 477, 42, 21));
    EXPECT_EQ(form->Label10->text(), QStringLiteral("Card order number"));
    EXPECT_EQ(form->lblKorttitunnistenro->pos(), QPoint(25, 527));
    EXPECT_EQ(form->Label22->pos(), QPoint(25, 455));
    EXPECT_EQ(form->Label23->pos(), QPoint(216, 480));
    EXPECT_EQ(form->Memo1->toolTip(),
        QStringLiteral("Create data link: Write an URL or choose the file with the 'Create' button below."));
    EXPECT_EQ(form->Memo2->toolTip(), QStringLiteral("Move to the previous field by pressing Sift + TAB"));
}

TEST_F(MainWindowTest, MemoHoldsTheWelcomeTextUntilACardIsShown)
{
    CardStore freshStore;
    PrintState freshPrint;
    WindowContext context{freshStore, platform, freshPrint, {}};
    TForm1 fresh(context);
    const QStringList lines = fresh.memoMUISTIINPANO->Text().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines[0], QStringLiteral("CARDOMO 0.5  beta   (v.0.5.1.0.2)"));
    EXPECT_EQ(lines[1], QStringLiteral("Note Card Software"));
    EXPECT_EQ(lines.mid(5),
        (QStringList{"Please open existing card file:", "File - Open -->", "or", "Create new one:", "File - New -->"}));
    EXPECT_TRUE(fresh.Label22->text().isEmpty());
}

TEST_F(MainWindowTest, CommandLineOpenShowsTheLastCardUnchanged)
{
    const QString path = MakeFile(3);
    Start({path});
    EXPECT_TRUE(store().FileOpen);
    EXPECT_FALSE(store().CardFileChanged);
    EXPECT_EQ(store().CardCount, 3);
    EXPECT_EQ(store().CurrentCard, 2);
    EXPECT_EQ(store().CardFileName, path);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("cards.kqk - CARDOMO 0.5 beta"));
    EXPECT_EQ(Title1(), QStringLiteral("Card 3"));
    EXPECT_EQ(form->memoMUISTIINPANO->Text(), QStringLiteral("Memo 3"));
    EXPECT_EQ(form->lblKorttitunnistenro->text(), QStringLiteral("19. Card ID: id3"));
    EXPECT_EQ(form->editKORTTINRO->text(), QStringLiteral("3"));
    EXPECT_EQ(form->Label23->text(), QStringLiteral(" / 3"));
    EXPECT_FALSE(form->Uusi1->isEnabled());
    EXPECT_FALSE(form->Avaa1->isEnabled());
    EXPECT_TRUE(form->Tallenna1->isEnabled());
    EXPECT_TRUE(form->memoTUNNISTE->isEnabled());
    EXPECT_FALSE(form->Palautapoistettukortti1->isEnabled());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(MainWindowTest, CommandLineOpenFailuresLeaveNoCardFile)
{
    QByteArray body;
    for (int k = 1; k <= 32001; ++k)
        body +=
            QByteArray("\r\n").repeated(17) + "\xC2\xA4#<&%\r\n\r\n\xC2\xA4#>&%" + QByteArray::number(k) + "\r\nid\r\n";
    const QByteArray head = "\xEF\xBB\xBFh\r\nKQa0b5c1d0e2f1g0h0i1\r\n";
    struct Case {
        const char* name;
        QByteArray bytes;
        QString message;
    };
    const Case cases[] = {
        {"ansi.kqk", "h\r\nKQa0b5c1d0e2f1g0h0i1\r\n0\r\n", AnsiMessage},
        {"tag.kqk", "\xEF\xBB\xBFh\r\nKQa0b5c1d0e2f1g0h0i2\r\n1\r\n", NotCardFileMessage},
        {"many.kqk", head + "32001\r\n" + body,
            QStringLiteral("The number of the cards of this file exeeds allowed maximum which is 32000 cards")},
        {"memo.kqk", head + "2\r\n" + body.left(body.indexOf("id\r\n") + 4),
            QStringLiteral("File opening error!! The number of the lines of the Memo in some card might exeed max "
                           "32000 or the file is corrupted: 32001 Card: 1")},
        {"count.kqk", head + "two\r\n", QStringLiteral("'two' is not a valid integer value")},
    };
    for (const Case& c : cases) {
        WriteBytes(Path(QString::fromLatin1(c.name)), c.bytes);
        platform.Clear();
        Start({Path(QString::fromLatin1(c.name))});
        EXPECT_EQ(platform.Texts(), QStringList{c.message}) << c.name;
        EXPECT_FALSE(store().FileOpen);
        EXPECT_FALSE(store().CardTablePresent());
        EXPECT_EQ(form->windowTitle(), StartCaption);
        EXPECT_TRUE(form->Uusi1->isEnabled());
        EXPECT_TRUE(form->Avaa1->isEnabled());
        EXPECT_FALSE(form->Tallenna1->isEnabled());
        EXPECT_FALSE(form->memoTUNNISTE->isEnabled());
    }
    // A missing file goes through the general error report; New then works.
    platform.Clear();
    Start({Path(QStringLiteral("missing.kqk"))});
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.messages[0].text.startsWith(QStringLiteral("Cannot open file \"")));
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Error);
    EXPECT_FALSE(store().FileOpen);
    form->Uusi1->trigger();
    EXPECT_TRUE(store().FileOpen);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("New.kqk - CARDOMO 0.5 beta"));
}

TEST_F(MainWindowTest, CardFileWithNoCardsOpensWithOneEmptyCard)
{
    WriteBytes(Path(QStringLiteral("empty.kqk")), "\xEF\xBB\xBFh\r\nKQa0b5c1d0e2f1g0h0i1\r\n0\r\n");
    Start({Path(QStringLiteral("empty.kqk"))});
    EXPECT_TRUE(store().FileOpen);
    EXPECT_EQ(store().CardCount, 1);
    EXPECT_EQ(store().CurrentCard, 0);
    EXPECT_EQ(store().CardTable[0][CardIdCell], QStringLiteral("y2021m03d07h09mn05s02ms045"));
}

TEST_F(MainWindowTest, OpenShowsTheWaitWindowAndReportsEachCard)
{
    const QString path = MakeFile(3);
    WriteBytes(Path(QStringLiteral("tag.kqk")), "\xEF\xBB\xBFh\r\nnothing\r\n1\r\n");
    Start({Path(QStringLiteral("missing.kqk"))});
    QStringList captions;
    QObject::connect(form12, &QWidget::windowTitleChanged, [&](const QString& t) { captions << t; });
    bool waitShownDuringDialog = false;
    platform.onDialog = [&](const ScriptedPlatform::Dialog&) { waitShownDuringDialog = form12->isVisible(); };

    // Cancelled, then a missing file, then a file that is no card file.
    platform.Clear();
    platform.fileAnswers = {std::nullopt, Path(QStringLiteral("nope.kqk")), Path(QStringLiteral("tag.kqk")), path};
    for (int i = 0; i < 3; ++i) {
        form->Avaa1->trigger();
        EXPECT_TRUE(waitShownDuringDialog);
        EXPECT_FALSE(form12->isVisible());
        EXPECT_FALSE(store().FileOpen);
    }
    EXPECT_EQ(platform.Texts(),
        (QStringList{QStringLiteral("The file with this name does not exist in this directory"), NotCardFileMessage}));
    EXPECT_TRUE(form12->windowTitle().isEmpty());  // a failed open empties its caption
    ASSERT_EQ(platform.dialogs.size(), 3u);
    EXPECT_EQ(platform.dialogs[0].request.title, QStringLiteral("Open Cardomo card file (.kqk) UTF-8"));
    EXPECT_EQ(platform.dialogs[0].request.filter, QStringLiteral("CARDOMO data file (*.KQK)|*.KQK;*.KQD"));
    EXPECT_TRUE(platform.dialogs[0].request.initialName.isEmpty());

    // A file that breaks off in the count line: the general error report.
    WriteBytes(Path(QStringLiteral("count.kqk")), "\xEF\xBB\xBFh\r\nKQa0b5c1d0e2f1g0h0i1\r\n1x\r\n");
    platform.Clear();
    platform.fileAnswers = {Path(QStringLiteral("count.kqk")), path};
    form->Avaa1->trigger();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, QStringLiteral("'1x' is not a valid integer value"));
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Error);
    EXPECT_FALSE(form12->isVisible());
    EXPECT_FALSE(store().FileOpen);
    EXPECT_FALSE(store().CardTablePresent());

    form12->setWindowTitle(QString());
    captions.clear();
    form->Avaa1->trigger();
    // The caption follows the cards at a readable rate: three cards are read
    // well within its interval.
    EXPECT_EQ(captions, (QStringList{"Opening - Please wait...", "Reading cards: 0"}));
    EXPECT_FALSE(form12->isVisible());
    EXPECT_TRUE(store().FileOpen);
    EXPECT_FALSE(store().CardFileChanged);
    EXPECT_EQ(Title1(), QStringLiteral("Card 3"));
    EXPECT_EQ(form->focusWidget(), form->memoMUISTIINPANO);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("cards.kqk - CARDOMO 0.5 beta"));
    EXPECT_FALSE(form->Avaa1->isEnabled());
}

TEST_F(MainWindowTest, NewWhileOpenIsRefused)
{
    Start();
    store().CardTable[0][0] = QStringLiteral("kept");
    form->Uusi1->setEnabled(true);  // as a command that calls New would find it
    QTest::keyClick(form, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(platform.Texts(), QStringList{QStringLiteral("The file is already open. Please close it first")});
    EXPECT_EQ(store().CardTable[0][0], QStringLiteral("kept"));
}

TEST_F(MainWindowTest, StoreAndShowCarryTheCardBetweenTableAndEditors)
{
    const QString path = MakeFile(2);
    Start({path});
    Card& row = store().CardTable[1];
    row[2] = QString(400, u'x');  // longer than Title3 takes from typing
    row[4] = QStringLiteral("12345678");
    row[MemoCell] = QStringLiteral("one\r\ntwo\u00A0three\r\n");
    row[CardIdCell] = QString();
    form->btnPaivitaClick();
    EXPECT_EQ(form->Memo3->Text(), QString(400, u'x'));
    EXPECT_EQ(form->Edit6->text(), QStringLiteral("12345678"));
    EXPECT_EQ(form->lblKorttitunnistenro->text(), QStringLiteral("19. Card ID: "));
    const Card before = row;
    form->btnTallennaClick();
    EXPECT_EQ(row, before);

    // Store never writes the Card ID, even when the label says otherwise.
    row[CardIdCell] = QStringLiteral("id");
    form->lblKorttitunnistenro->setText(QStringLiteral("19. Card ID: other"));
    form->Memo2->SetText(QStringLiteral("typed"));
    form->btnTallennaClick();
    EXPECT_EQ(row[CardIdCell], QStringLiteral("id"));
    EXPECT_EQ(row[1], QStringLiteral("typed"));
}

TEST_F(MainWindowTest, ChangeTrackingFollowsTheEditorEvents)
{
    const QString path = MakeFile(3);
    struct Case {
        const char* what;
        std::function<void(TForm1&)> act;
        bool sets;
    };
    auto key = [](QWidget* w, Qt::Key k) {
        w->setFocus();
        QTest::keyClick(w, k);
    };
    const Case cases[] = {
        {"letter in Title1", [&](TForm1& f) { key(f.memoTUNNISTE, Qt::Key_A); }, true},
        {"Backspace in Code1", [&](TForm1& f) { key(f.editKOODI1, Qt::Key_Backspace); }, true},
        {"Enter in Title1", [&](TForm1& f) { key(f.memoTUNNISTE, Qt::Key_Return); }, false},
        {"Enter in Code1", [&](TForm1& f) { key(f.editKOODI1, Qt::Key_Enter); }, false},
        {"Delete in Title1", [&](TForm1& f) { key(f.memoTUNNISTE, Qt::Key_Delete); }, false},
        {"arrow in Day", [&](TForm1& f) { key(f.Edit5, Qt::Key_Left); }, false},
        {"letter in Memo", [&](TForm1& f) { key(f.memoMUISTIINPANO, Qt::Key_B); }, true},
        {"Delete in Memo at its start",
            [&](TForm1& f) {
                f.memoMUISTIINPANO->moveCursor(QTextCursor::Start);
                key(f.memoMUISTIINPANO, Qt::Key_Delete);
            },
            true},
        {"showing a card with another Memo", [](TForm1& f) { f.btnTaakse->click(); }, true},
        {"showing the same card again", [](TForm1& f) { f.btnPaivitaClick(); }, false},
    };
    for (const Case& c : cases) {
        Start({path});
        form->editors[0]->setFocus();
        ASSERT_FALSE(store().CardFileChanged);
        c.act(*form);
        EXPECT_EQ(store().CardFileChanged, c.sets) << c.what;
    }
    Start({path});
    form->memoTUNNISTE->setFocus();
    QTest::keyClick(form->memoTUNNISTE, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), form->Memo2);
    EXPECT_EQ(Title1(), QStringLiteral("Card 3"));
}

TEST_F(MainWindowTest, SwitchingControlsFollowsTheFileState)
{
    Start();
    const std::vector<QWidget*> controls{form->memoTUNNISTE, form->memoMUISTIINPANO, form->Edit11, form->editKORTTINRO,
        form->Label10, form->btnTallenna, form->btnPoista, form->btnHome, form->btnGo, form->btnLisaa, form->Button1,
        form->Button2, form->PrintBitBtn, form->PreviewBitBtn};
    const std::vector<QAction*> entries{form->Tallenna1, form->Tallennanimell1, form->Sulje1, form->Liskortti1,
        form->Poistakortti1, form->EtsiMemokentst1, form->Etsiseuraava1, form->Esikatselu1, form->Tulosta1};
    for (QWidget* w : controls)
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    for (QAction* a : entries)
        EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
    form->Palautapoistettukortti1->setEnabled(true);
    form->btnDeaktivoiClick();
    for (QWidget* w : controls)
        EXPECT_FALSE(w->isEnabled());
    for (QAction* a : entries)
        EXPECT_FALSE(a->isEnabled());
    EXPECT_FALSE(form->Palautapoistettukortti1->isEnabled());
    EXPECT_TRUE(form->Lopeta1->isEnabled());
    form->btnAktivoiClick();
    EXPECT_FALSE(form->Palautapoistettukortti1->isEnabled());  // only a delete enables it
    EXPECT_TRUE(form->Sulje1->isEnabled());
    EXPECT_FALSE(form->UTF8mode1->isVisible());
    EXPECT_TRUE(form->UTF8mode1->isChecked());
    EXPECT_TRUE(store().Utf8Mode);
}

TEST_F(MainWindowTest, LineLabelAtStartCountsAtTheShownWidth)
{
    CardRows rows(1);
    rows[0][MemoCell] = QStringLiteral("word ").repeated(40) + QStringLiteral("\r\nlast");
    WriteCardFile(Path(QStringLiteral("wrap.kqk")), rows, 1, MainFileHeaderText);
    Start({Path(QStringLiteral("wrap.kqk"))});
    const int lines = form->memoMUISTIINPANO->LineCount();
    EXPECT_GE(lines, 3);
    EXPECT_EQ(form->Label22->text(), QStringLiteral("18. Memo (Lines %1)").arg(lines));
    form->memoMUISTIINPANO->setPlainText(form->memoMUISTIINPANO->toPlainText());  // a fresh layout
    EXPECT_EQ(form->memoMUISTIINPANO->LineCount(), lines);
}
