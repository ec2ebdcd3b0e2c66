// The real platform's pieces that can be checked without a person.
#include "qtplatform.h"
#include "support/qtprinters.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QListView>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

TEST(QtPlatform, FileDialogFiltersShowTheirOwnTextAndListByTheirPatterns)
{
    struct Case {
        QString filter;
        QString entry;
        QStringList patterns;
    };
    const Case cases[] = {
        {QStringLiteral("CARDOMO data file (*.KQK)|*.KQK;*.KQD"), QStringLiteral("CARDOMO data file (*.KQK)"),
            {QStringLiteral("*.KQK"), QStringLiteral("*.KQD")}},
        {QStringLiteral("Cardomo tiedosto (*.KQK)|*.kqk;*.kqd"), QStringLiteral("Cardomo tiedosto (*.KQK)"),
            {QStringLiteral("*.kqk"), QStringLiteral("*.kqd")}},
        {QStringLiteral("text file *.TXT|*.txt"), QStringLiteral("text file *.TXT"), {QStringLiteral("*.txt")}},
        {QStringLiteral("Text file (*.txt)|*.TXT;*.txt"), QStringLiteral("Text file (*.txt)"),
            {QStringLiteral("*.TXT")}},  // the cases are one pattern
        {QStringLiteral("Kaikki tiedostot (*.*)|*.*"), QStringLiteral("Kaikki tiedostot (*.*)"), {QStringLiteral("*")}},
        {QStringLiteral("Images (*.png)"), QStringLiteral("Images (*.png)"), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter.toStdString());
        const QtPlatform::DialogFilter filter = QtPlatform::QtFilter(c.filter);
        EXPECT_EQ(filter.entry, c.entry);
        EXPECT_EQ(filter.patterns, c.patterns);
    }
}

TEST(QtPlatform, TheOpenDialogShowsItsEntryAndListsCardFilesOfEveryCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"a.kqk", "b.KQK", "c.kqd", "d.KQD", "e.Kqk", "f.txt", "kqk", "g.kqk.bak"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    struct Case {
        QString filter;
        QString entry;
        QStringList listed;
    };
    const Case cases[] = {
        {QStringLiteral("CARDOMO data file (*.KQK)|*.KQK;*.KQD"), QStringLiteral("CARDOMO data file (*.KQK)"),
            {"a.kqk", "b.KQK", "c.kqd", "d.KQD", "e.Kqk", "folder"}},
        {QStringLiteral("Cardomo tiedosto (*.KQK)|*.kqk;*.kqd"), QStringLiteral("Cardomo tiedosto (*.KQK)"),
            {"a.kqk", "b.KQK", "c.kqd", "d.KQD", "e.Kqk", "folder"}},
        {QStringLiteral("text file *.TXT|*.txt"), QStringLiteral("text file *.TXT"), {"f.txt", "folder"}},
    };
    QtPlatform platform;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter.toStdString());
        QString entry;
        QStringList listed;
        QStringList afterChosenAgain;
        QTimer look;
        look.setInterval(20);
        QObject::connect(&look, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
            auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            if (!view || !combo || view->model()->rowCount(view->rootIndex()) < c.listed.size())
                return;
            auto shown = [view] {
                QStringList names;
                for (int r = 0; r < view->model()->rowCount(view->rootIndex()); ++r)
                    names << view->model()->index(r, 0, view->rootIndex()).data().toString();
                names.sort();
                return names;
            };
            if (listed.isEmpty()) {
                entry = combo->currentText();
                listed = shown();
                // The user chooses the one entry again from the list.
                emit combo->activated(0);
                emit combo->textActivated(combo->currentText());
                return;
            }
            afterChosenAgain = shown();
            look.stop();
            dialog->reject();
        });
        look.start();
        const auto chosen =
            platform.OpenFileDialog({QStringLiteral("Open"), c.filter, dir.filePath(QStringLiteral("x"))});
        look.stop();
        EXPECT_FALSE(chosen.has_value());
        EXPECT_EQ(entry, c.entry);
        EXPECT_EQ(listed, c.listed);
        EXPECT_EQ(afterChosenAgain, c.listed);
    }
}

TEST(QtPlatform, TheLongTimeFormatNamesNoTimeZone)
{
    QtPlatform platform;
    const QString format = platform.LongTimeFormat();
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        EXPECT_FALSE(!quoted && c == u't') << format.toStdString();
    }
    EXPECT_FALSE(format.isEmpty());
}

TEST(QtPlatformTest, ModalWindowsStayAboveAVisibleStayOnTopWindow)
{
    QWidget main;
    main.show();
    QDialog onTop(&main, Qt::Dialog | Qt::WindowStaysOnTopHint);
    QMessageBox box(&main);
    QDialog modal(&main);

    // Nothing stays on top while that window is hidden.
    EXPECT_FALSE(QtPlatform::KeepAboveStayOnTopWindows(box));
    EXPECT_FALSE(box.windowFlags() & Qt::WindowStaysOnTopHint);

    onTop.show();
    EXPECT_TRUE(QtPlatform::KeepAboveStayOnTopWindows(box));
    EXPECT_TRUE(box.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(QtPlatform::KeepAboveStayOnTopWindows(box));  // already does
    EXPECT_TRUE(QtPlatform::KeepAboveStayOnTopWindows(modal));
    // The window that stays on top does not count for itself.
    QDialog alone(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(QtPlatform::KeepAboveStayOnTopWindows(alone));

    // A modal window run through the platform gets its own flags back.
    QtPlatform platform;
    QDialog runs(&main);
    bool onTopWhileShown = false;
    QTimer::singleShot(0, &runs, [&] {
        onTopWhileShown = runs.windowFlags() & Qt::WindowStaysOnTopHint;
        runs.accept();
    });
    EXPECT_EQ(platform.RunModal(runs), QDialog::Accepted);
    EXPECT_TRUE(onTopWhileShown);
    EXPECT_FALSE(runs.windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST(QtPlatform, BoxesStandOverTheMainWindowWhileItCanBeUsedOtherwiseOverTheWindowInFront)
{
    QWidget main;
    main.show();
    EXPECT_EQ(QtPlatform::DialogParent(&main), &main);
    // A listing window in front, the main window disabled or hidden behind it:
    // a box over a disabled window could not be used.
    QDialog listing;
    listing.show();
    listing.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &listing; }, 2000));
    main.setEnabled(false);
    EXPECT_EQ(QtPlatform::DialogParent(&main), &listing);
    main.setEnabled(true);
    main.hide();
    EXPECT_EQ(QtPlatform::DialogParent(&main), &listing);
    main.show();
    EXPECT_EQ(QtPlatform::DialogParent(&main), &main);
}

// Without a printer the first print dialog of the run comes after a warning;
// later ones come without it. Cancelling the dialog prints nothing.
TEST(QtPlatform, NoPrinterIsToldBeforeTheFirstPrintDialogOnly)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "a printer is installed here";
    QtPlatform platform;
    QStringList shown;  // what stood in front, in order: box texts, "print dialog"
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            shown << box->text();
            box->accept();
        } else if (auto* dialog = qobject_cast<QPrintDialog*>(modal)) {
            shown << QStringLiteral("print dialog");
            dialog->reject();
        }
    });
    closer.start(20);
    PrintDialogState state;
    state.maxPage = 3;
    state.toPage = 3;
    EXPECT_FALSE(platform.PrintDialog(state).has_value());
    EXPECT_FALSE(platform.PrintDialog(state).has_value());
    EXPECT_EQ(shown,
        (QStringList{QStringLiteral("No printer is installed. The pages can still be printed to a PDF file."),
            QStringLiteral("print dialog"), QStringLiteral("print dialog")}));
}

// Where the window system cannot be asked for the keyboard (here), the Esc
// key's state comes from the key events; a release that never arrives (the
// press closed the window that had the keyboard) must not leave Esc held for
// ever: every later listing and replacement would stop after its first card.
TEST(QtPlatform, AnEscPressWhoseReleaseIsLostIsForgottenWhenItsWindowCloses)
{
    QtPlatform platform;
    struct Case {
        const char* what;
        std::function<void(QWidget& pressed, QWidget& other)> then;
    };
    const Case cases[] = {
        {"the window closes", [](QWidget& pressed, QWidget&) { pressed.close(); }},
        {"the keyboard goes to another window",
            [](QWidget&, QWidget& other) {
                other.activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(&other, 2000));
            }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QWidget other;
        other.show();
        QWidget pressed;
        pressed.show();
        pressed.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&pressed, 2000));
        EXPECT_FALSE(platform.EscHeld());
        QTest::keyPress(pressed.windowHandle(), Qt::Key_Escape);
        EXPECT_TRUE(platform.EscHeld());
        c.then(pressed, other);
        EXPECT_FALSE(platform.EscHeld());
        // A press that is released is no longer held.
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other, 2000));
        QTest::keyPress(other.windowHandle(), Qt::Key_Escape);
        EXPECT_TRUE(platform.EscHeld());
        QTest::keyRelease(other.windowHandle(), Qt::Key_Escape);
        EXPECT_FALSE(platform.EscHeld());
    }
}
