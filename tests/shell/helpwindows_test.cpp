// The manual viewers, the licence text, the About window and the start-up
// window, opened from the "&?" menu and at program start.
#include "support/mainwindow_fixture.h"

#include "Unit16.h"
#include "Unit19.h"
#include "Unit9.h"
#include "aloitus.h"
#include "frmAbout6.h"
#include "ohje6.h"
#include "paragraphs.h"
#include "support/contrast.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>

namespace {

// A text the user reads but cannot change: read-only, not editable, its text
// selectable, as a screen reader is told.
void ExpectReadOnlyToAScreenReader(QWidget* box)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(box);
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->state().readOnly);
    EXPECT_FALSE(a->state().editable);
    EXPECT_TRUE(a->state().selectableText);
}

}  // namespace

namespace {

const QString QuickName = QStringLiteral("Cardomo_v05102_beta Quick Manual.rtf");
const QString ManualName = QStringLiteral("Cardomo_v05102_beta Manual.rtf");

class HelpWindowsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        Start();
        form6 = program->windows().form6;
        form8 = program->windows().form8;
        form9 = program->windows().form9;
        form19 = program->windows().form19;
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("bin")));
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("share")));
        platform.programFolder = Path(QStringLiteral("bin"));
        platform.dataFolder = Path(QStringLiteral("share"));
    }

    // An RTF manual holding one bold word and a sentence.
    void WriteManual(const QString& folder, const QString& name, const QString& sentence)
    {
        QFile f(QDir(Path(folder)).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("{\\rtf1\\ansi{\\b Manual} ");
        f.write(sentence.toUtf8());
        f.write("\\par}");
    }

    static QString Shown(QTextEdit* viewer) { return viewer->toPlainText(); }

    // Makes window the active one, as a click on it would. (A window whose
    // owner is active counts as active to QWindow, so the application's
    // active window is what is waited for.)
    static void Activate(QWidget* window)
    {
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, 2000));
    }

    static QString MenuCaption(QMainWindow* window)
    {
        const QList<QAction*> menus = window->menuBar()->actions();
        return menus.size() == 1 ? menus.first()->text() : QString();
    }

    TForm6* form6 = nullptr;
    TForm8* form8 = nullptr;
    TForm9* form9 = nullptr;
    TForm19* form19 = nullptr;
};

// In the middle of the screen, give or take the window frame, which the
// window system adds once the window is shown.
bool Centred(QWidget* window)
{
    const QPoint screen = QGuiApplication::primaryScreen()->availableGeometry().center();
    const QPoint off = window->frameGeometry().center() - screen;
    return off.manhattanLength() <= 8;
}

QString Missing(const QString& name)
{
    return name
        + QStringLiteral(" does not exist. It must be located in the same directory as the exe file of Cardomo");
}

}  // namespace

TEST_F(HelpWindowsTest, MissingManualsAreReportedAndNoWindowOpens)
{
    QTest::keyClick(form, Qt::Key_F1);
    form->Avaamanuali1->trigger();
    EXPECT_EQ(platform.Texts(), (QStringList{Missing(QuickName), Missing(ManualName)}));
    EXPECT_EQ(platform.messages[0].buttons, MsgButtons::Ok);
    EXPECT_FALSE(form8->isVisible());
    EXPECT_FALSE(form9->isVisible());

    // A folder of the manual's name is no manual either.
    ASSERT_TRUE(QDir(Path(QStringLiteral("bin"))).mkpath(QuickName));
    QTest::keyClick(form, Qt::Key_F1);
    EXPECT_EQ(platform.messages.size(), 3u);
    EXPECT_FALSE(form8->isVisible());
}

TEST_F(HelpWindowsTest, QuickManualWindowLooksAsItShould)
{
    WriteManual(QStringLiteral("bin"), QuickName, QStringLiteral("for a quick start."));
    QTest::keyClick(form, Qt::Key_F1);
    EXPECT_TRUE(platform.messages.empty());
    ASSERT_TRUE(form8->isVisible());
    EXPECT_FALSE(form8->isModal());
    EXPECT_EQ(form8->windowModality(), Qt::NonModal);
    EXPECT_EQ(form8->windowTitle(), QStringLiteral("Help!  - CARDOMO  0.5  beta"));
    EXPECT_EQ(form8->centralWidget()->size(), QSize(455, 313));
    EXPECT_FALSE(form8->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form8->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));  // sizeable
    EXPECT_TRUE(Centred(form8));
    EXPECT_EQ(MenuCaption(form8), QStringLiteral("&Form"));
    EXPECT_EQ(form8->Lomake1->title(), QStringLiteral("&Form"));
    EXPECT_EQ(form8->Lomake1->actions(), QList<QAction*>{form8->Sulje1});
    EXPECT_EQ(form8->Sulje1->text(), QStringLiteral("&Close   ESC"));
    // One viewer fills the window inside a border of 5 pixels.
    EXPECT_TRUE(form8->RichEdit1->isReadOnly());
    ExpectReadOnlyToAScreenReader(form8->RichEdit1);
    EXPECT_EQ(form8->RichEdit1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(form8->RichEdit1->geometry(), form8->centralWidget()->rect().adjusted(5, 5, -5, -5));
    EXPECT_EQ(Shown(form8->RichEdit1), QStringLiteral("Manual for a quick start."));
    QTextCursor bold(form8->RichEdit1->document());
    bold.setPosition(1);
    EXPECT_EQ(bold.charFormat().fontWeight(), QFont::Bold);
    // Typing does not change it.
    Activate(form8);
    form8->RichEdit1->setFocus();
    QTest::keyClicks(form8->RichEdit1, QStringLiteral("xyz"));
    EXPECT_EQ(Shown(form8->RichEdit1), QStringLiteral("Manual for a quick start."));
}

TEST_F(HelpWindowsTest, QuickManualClosesByEscAndByItsMenuAndLoadsAgainEachTime)
{
    WriteManual(QStringLiteral("bin"), QuickName, QStringLiteral("first text."));
    QTest::keyClick(form, Qt::Key_F1);
    ASSERT_TRUE(form8->isVisible());
    Activate(form8);
    form8->RichEdit1->setFocus();
    QTest::keyClick(form8->RichEdit1, Qt::Key_Escape);
    EXPECT_FALSE(form8->isVisible());
    EXPECT_EQ(Shown(form8->RichEdit1), QStringLiteral("Manual first text."));  // kept, but loaded anew below

    WriteManual(QStringLiteral("bin"), QuickName, QStringLiteral("second text."));
    form->Ohje1->trigger();
    ASSERT_TRUE(form8->isVisible());
    EXPECT_EQ(Shown(form8->RichEdit1), QStringLiteral("Manual second text."));

    // F1 again while it is open loads the file again, replacing what it held.
    WriteManual(QStringLiteral("bin"), QuickName, QStringLiteral("third text."));
    Activate(form);
    QTest::keyClick(form, Qt::Key_F1);
    EXPECT_EQ(Shown(form8->RichEdit1), QStringLiteral("Manual third text."));

    form8->Sulje1->trigger();
    EXPECT_FALSE(form8->isVisible());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(HelpWindowsTest, ManualsBesideTheProgramComeBeforeTheDataFolder)
{
    WriteManual(QStringLiteral("share"), QuickName, QStringLiteral("installed."));
    WriteManual(QStringLiteral("share"), ManualName, QStringLiteral("installed in full."));
    QTest::keyClick(form, Qt::Key_F1);
    EXPECT_EQ(Shown(form8->RichEdit1), QStringLiteral("Manual installed."));
    form->Avaamanuali1->trigger();
    EXPECT_EQ(Shown(form9->RichEdit1), QStringLiteral("Manual installed in full."));

    WriteManual(QStringLiteral("bin"), QuickName, QStringLiteral("beside the program."));
    QTest::keyClick(form, Qt::Key_F1);
    EXPECT_EQ(Shown(form8->RichEdit1), QStringLiteral("Manual beside the program."));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(HelpWindowsTest, ManualWindowLooksAsItShould)
{
    WriteManual(QStringLiteral("bin"), ManualName, QStringLiteral("in full."));
    form->Avaamanuali1->trigger();
    ASSERT_TRUE(form9->isVisible());
    EXPECT_FALSE(form9->isModal());
    EXPECT_EQ(form9->windowTitle(), QStringLiteral("Manual - CARDOMO 0.5 beta"));
    EXPECT_EQ(form9->centralWidget()->size(), QSize(640, 345));
    EXPECT_TRUE(Centred(form9));
    EXPECT_EQ(form9->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    EXPECT_EQ(MenuCaption(form9), QStringLiteral("Form"));
    EXPECT_EQ(form9->Lomake1->actions(), QList<QAction*>{form9->Sulje1});
    EXPECT_EQ(form9->Sulje1->text(), QStringLiteral("Close"));
    EXPECT_TRUE(form9->RichEdit1->isReadOnly());
    ExpectReadOnlyToAScreenReader(form9->RichEdit1);
    EXPECT_EQ(form9->RichEdit1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(form9->RichEdit1->geometry(), form9->centralWidget()->rect().adjusted(5, 5, -5, -5));
    EXPECT_EQ(Shown(form9->RichEdit1), QStringLiteral("Manual in full."));
}

TEST_F(HelpWindowsTest, ManualEmptiedWhenClosedByEscOrMenuAndLoadedAgainWhenOpened)
{
    WriteManual(QStringLiteral("bin"), ManualName, QStringLiteral("first."));
    form->Avaamanuali1->trigger();
    Activate(form9);
    form9->RichEdit1->setFocus();
    QTest::keyClick(form9->RichEdit1, Qt::Key_Escape);
    EXPECT_FALSE(form9->isVisible());
    EXPECT_TRUE(Shown(form9->RichEdit1).isEmpty());

    WriteManual(QStringLiteral("bin"), ManualName, QStringLiteral("second."));
    form->Avaamanuali1->trigger();
    ASSERT_TRUE(form9->isVisible());
    EXPECT_EQ(Shown(form9->RichEdit1), QStringLiteral("Manual second."));

    form9->Sulje1->trigger();
    EXPECT_FALSE(form9->isVisible());
    EXPECT_TRUE(Shown(form9->RichEdit1).isEmpty());

    // The close box closes it without emptying it.
    form->Avaamanuali1->trigger();
    form9->close();
    EXPECT_FALSE(form9->isVisible());
    EXPECT_EQ(Shown(form9->RichEdit1), QStringLiteral("Manual second."));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(HelpWindowsTest, LicenceWindowShowsTheLicenceText)
{
    form->License->trigger();
    ASSERT_TRUE(form19->isVisible());
    EXPECT_FALSE(form19->isModal());
    EXPECT_EQ(form19->windowTitle(), QStringLiteral("Cardomo v.0.5 beta License"));
    EXPECT_EQ(form19->centralWidget()->size(), QSize(530, 380));
    EXPECT_EQ(form19->pos(), QPoint(343, 129));
    EXPECT_FALSE(form19->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(MenuCaption(form19), QStringLiteral("&Form"));
    EXPECT_EQ(form19->Lomake1->actions(), QList<QAction*>{form19->Sulje1});
    EXPECT_EQ(form19->Sulje1->text(), QStringLiteral("&Close  ESC"));
    EXPECT_TRUE(form19->Memo1->isReadOnly());
    ExpectReadOnlyToAScreenReader(form19->Memo1);
    EXPECT_EQ(form19->Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(form19->Memo1->geometry(), form19->centralWidget()->rect().adjusted(5, 5, -5, -5));
    QFile licence(QStringLiteral(CARDOMO_RESOURCES_DIR "/LICENSE.txt"));
    ASSERT_TRUE(licence.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(licence.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("Copyright (c) 2021 the Note Card Software team")));
    // Its paragraphs are wrapped at the window's width, not at the file's.
    EXPECT_EQ(form19->Memo1->toPlainText(), UnwrapParagraphs(text));
    EXPECT_TRUE(form19->Memo1->toPlainText().contains(QStringLiteral(
        "\nTHE SOFTWARE IS PROVIDED \"AS IS\", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR IMPLIED, INCLUDING BUT")));
    EXPECT_EQ(form19->Memo1->lineWrapMode(), QPlainTextEdit::WidgetWidth);

    Activate(form19);
    form19->Memo1->setFocus();
    QTest::keyClick(form19->Memo1, Qt::Key_Escape);
    EXPECT_FALSE(form19->isVisible());
    form->License->trigger();
    EXPECT_TRUE(form19->isVisible());
    form19->Sulje1->trigger();
    EXPECT_FALSE(form19->isVisible());
    EXPECT_EQ(form19->Memo1->toPlainText(), UnwrapParagraphs(text));
}

TEST_F(HelpWindowsTest, AboutWindowIsModalAndItsLinkOpensTheWebSite)
{
    bool wasAbout = false;
    QString linkCursorCheck;
    platform.modalHandler = [&](QDialog& dialog) {
        wasAbout = &dialog == form6;
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        EXPECT_EQ(form6->windowTitle(), QStringLiteral("CARDOMO  0.5  beta"));
        EXPECT_EQ(form6->size(), QSize(371, 373));
        EXPECT_EQ(form6->minimumSize(), form6->maximumSize());
        EXPECT_FALSE(form6->windowFlags() & Qt::WindowMaximizeButtonHint);
        EXPECT_FALSE(form6->windowFlags() & Qt::WindowMinimizeButtonHint);
        EXPECT_TRUE(Centred(form6));
        EXPECT_EQ(form6->ProgramIcon->pixmap().size(), QSize(64, 64));
        EXPECT_EQ(form6->ProductName->text(), QStringLiteral("CARDOMO 0.5  beta"));
        EXPECT_TRUE(form6->ProductName->font().bold());
        EXPECT_EQ(form6->Label1->text(), QStringLiteral("Note Card Software"));
        EXPECT_EQ(form6->Version->text(), QStringLiteral("v. 0.5.1.0.2         "));
        EXPECT_FALSE(form6->Copyright->text().isEmpty());
        EXPECT_FALSE(form6->Comments->text().isEmpty());
        EXPECT_EQ(form6->Label2->text(), QStringLiteral("Date - 202105212018"));
        EXPECT_EQ(form6->Label3->text(), QStringLiteral("The latest update available in"));
        EXPECT_GT(form6->LinkLabel->y(), form6->Label3->y());
        EXPECT_EQ(form6->LinkLabel->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(form6->OKButton->text(), QStringLiteral("OK"));
        for (QLabel* l : {form6->ProductName, form6->Label1, form6->Version, form6->Label2, form6->LinkLabel})
            EXPECT_TRUE(form6->Panel1->isAncestorOf(l));

        // A click on the link asks the shell to open the web site.
        QTest::mouseClick(form6->LinkLabel, Qt::LeftButton, {},
            QPoint(form6->LinkLabel->width() / 2, form6->LinkLabel->height() / 2));
        EXPECT_TRUE(form6->isVisible());
        form6->OKButton->click();
        EXPECT_FALSE(form6->isVisible());
        return dialog.result();
    };
    form->About1->trigger();
    EXPECT_TRUE(wasAbout);
    EXPECT_EQ(platform.modalRuns, 1);
    EXPECT_EQ(platform.shellOpened, (QStringList{QStringLiteral("https://notecardsoftware.example/")}));
    EXPECT_EQ(form6->result(), QDialog::Accepted);

    // Esc closes it too.
    bool closedByEsc = false;
    platform.modalHandler = [&](QDialog& dialog) {
        dialog.show();
        Activate(&dialog);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        closedByEsc = !dialog.isVisible();
        return dialog.result();
    };
    form->About1->trigger();
    EXPECT_TRUE(closedByEsc);
    EXPECT_TRUE(platform.messages.empty());
}

TEST(StartUpWindow, ShowsTheIconThePictureAndTheTextsAndClosesOnlyByItsTimer)
{
    ScriptedPlatform platform;
    CardomoApplication program(platform);  // loads the pictures
    TfrmAloitus splash;
    EXPECT_EQ(splash.size(), QSize(613, 550));
    EXPECT_EQ(splash.geometry().center(), QGuiApplication::primaryScreen()->availableGeometry().center());
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(splash.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(splash.Panel1->lineWidth(), 10);
    EXPECT_EQ(splash.ProgramIcon->pixmap().size(), QSize(64, 64));
    EXPECT_EQ(splash.Image1->pixmap().size(), QSize(329, 259));
    EXPECT_EQ(splash.Image1->size(), QSize(329, 259));
    EXPECT_EQ(splash.Label1->text(), QStringLiteral("CARDOMO 0.5"));
    EXPECT_EQ(splash.Label1->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(splash.Label1->font().pixelSize(), 24);
    EXPECT_TRUE(splash.Label1->font().bold());
    EXPECT_EQ(splash.Label1->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(splash.Label2->text(), QStringLiteral("Note Card Software"));
    EXPECT_EQ(splash.Label2->font().pixelSize(), 16);
    EXPECT_TRUE(splash.Label2->font().bold());
    EXPECT_EQ(splash.Label2->palette().color(QPalette::WindowText), QColor(Qt::blue));
    EXPECT_EQ(splash.Label3->text(), QStringLiteral("beta"));
    EXPECT_EQ(splash.Label4->text(), QStringLiteral("  Version 0.5.1.0.2     "));
    EXPECT_FALSE(splash.Label5->text().isEmpty());
    EXPECT_TRUE(splash.findChildren<QAbstractButton*>().isEmpty());  // nothing to click

    // Esc does not end it; its timer does, once.
    bool visibleAfterEsc = false;
    QTimer::singleShot(0, &splash, [&] {
        QTest::keyClick(&splash, Qt::Key_Escape);
        visibleAfterEsc = splash.isVisible();
        splash.Timer1->start(20);  // the 2500 ms, shortened
    });
    EXPECT_EQ(splash.exec(), QDialog::Accepted);
    EXPECT_TRUE(visibleAfterEsc);
    EXPECT_FALSE(splash.Timer1->isActive());
}

// Under a dark desktop palette the start-up window's coloured texts stand on
// a light background of their own: every text stands out from it.
TEST(StartUpWindow, IsReadableUnderADarkPalette)
{
    const DarkPalette dark;
    ScriptedPlatform platform;
    CardomoApplication program(platform);  // loads the pictures
    TfrmAloitus splash;
    const QImage whole = splash.grab().toImage();
    for (QLabel* label : {splash.Label1, splash.Label2, splash.Label3, splash.Label4, splash.Label5}) {
        SCOPED_TRACE(label->objectName().toStdString());
        // The label as it shows in the window, its background included.
        const QImage shown = whole.copy(QRect(label->mapTo(&splash, QPoint(0, 0)), label->size()));
        // Red in large bold letters may stand out less than the rest.
        EXPECT_GE(TextContrast(shown), label == splash.Label1 ? 3.0 : 4.5);
    }
}

// What a screen reader names the text areas of the manual viewers and the
// licence window, and the field chooser of the Replace window.
TEST_F(HelpWindowsTest, ScreenReadersNameTheViewersAndTheReplaceFieldChooser)
{
    struct Case {
        QWidget* widget;
        const char* name;
        QAccessible::Role role;
    };
    const Case cases[] = {
        {form8->RichEdit1, "Quick Manual", QAccessible::EditableText},
        {form9->RichEdit1, "Manual", QAccessible::EditableText},
        {form19->Memo1, "License", QAccessible::EditableText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(c.widget);
        ASSERT_NE(seen, nullptr);
        EXPECT_EQ(seen->text(QAccessible::Name), QString::fromLatin1(c.name));
        EXPECT_EQ(seen->role(), c.role);
    }
    // The field chooser: a combo box is named by its entry; what it chooses
    // is its description and the label it stands under.
    QAccessibleInterface* chooser = QAccessible::queryAccessibleInterface(program->windows().form16->ComboBox1);
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->role(), QAccessible::ComboBox);
    EXPECT_EQ(chooser->text(QAccessible::Description), QStringLiteral("Field"));
    QStringList labels;
    for (const auto& relation : chooser->relations(QAccessible::Label))
        labels << relation.first->text(QAccessible::Name);
    EXPECT_EQ(labels, QStringList{QStringLiteral("Field")});
}
