// Program start: the start-up window, the main window, then the others.
#include "Unit12.h"
#include "Unit15.h"
#include "aloitus.h"
#include "application.h"
#include "scriptedplatform.h"
#include "uusi6.h"

#include "version.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QImageReader>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

TEST(ProgramStart, StartUpWindowFirstThenTheMainWindowWithANewCardFile)
{
    ScriptedPlatform platform;
    bool mainWindowExisted = true;
    QSize splashSize;
    int splashTimer = 0;
    platform.modalHandler = [&](QDialog& dialog) {
        mainWindowExisted = false;
        for (QWidget* w : QApplication::topLevelWidgets())
            mainWindowExisted = mainWindowExisted || qobject_cast<TForm1*>(w) != nullptr;
        splashSize = dialog.size();
        if (auto* splash = qobject_cast<TfrmAloitus*>(&dialog))
            splashTimer =
                splash->Timer1->isActive() && splash->Timer1->isSingleShot() ? splash->Timer1->interval() : -1;
        return QDialog::Accepted;
    };
    CardomoApplication program(platform);
    program.Start({});
    EXPECT_EQ(platform.modalRuns, 1);
    EXPECT_FALSE(mainWindowExisted);
    EXPECT_EQ(splashSize, QSize(613, 550));
    EXPECT_EQ(splashTimer, 2500);
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("CARDOMO 0.5 beta"));
    EXPECT_TRUE(program.windows().form1->isVisible());
    EXPECT_EQ(program.windows().form1->windowTitle(), QStringLiteral("New.kqk - CARDOMO 0.5 beta"));
    EXPECT_FALSE(program.windows().form15->isVisible());
    EXPECT_FALSE(program.windows().form12->isVisible());
    EXPECT_EQ(program.windows().form12->windowTitle(), QStringLiteral("Opening - please wait... "));
    EXPECT_TRUE(program.store.FileOpen);
    EXPECT_TRUE(program.store.CardFileChanged);
    program.store.FileOpen = false;
}

TEST(ProgramStart, TheMainWindowIsCentredOnTheScreenAtItsRealSize)
{
    ScriptedPlatform platform;
    CardomoApplication program(platform);
    program.Start({}, false);
    TForm1* form = program.windows().form1;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect frame = form->frameGeometry();
    EXPECT_EQ(form->centralWidget()->size(), QSize(706, 569));
    EXPECT_GT(frame.height(), 569);  // the menu bar is part of its size
    EXPECT_LE(std::abs(frame.center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(frame.center().y() - screen.center().y()), 1);
    program.store.FileOpen = false;
}

TEST(CommandLine, HelpAndVersionAnswerWithoutAWindow)
{
    // Only the options that work, under the program's own name.
    const QString Help = QStringLiteral("Usage: cardomo [options] [cardfile]\n"
                                        "Note Card Software: a card file database.\n"
                                        "\n"
                                        "Options:\n"
                                        "  -h, --help     Displays help on commandline options.\n"
                                        "  -v, --version  Displays version information.\n"
                                        "\n"
                                        "Arguments:\n"
                                        "  cardfile       The card file (.kqk) to open.\n");
    struct Case {
        QString argument;
        QString out;
    };
    const Case cases[] = {
        {QStringLiteral("--version"), QStringLiteral("cardomo " CARDOMO_VERSION_FULL "\n")},
        {QStringLiteral("-v"), QStringLiteral("cardomo " CARDOMO_VERSION_FULL "\n")},
        {QStringLiteral("--help"), Help},
        {QStringLiteral("-h"), Help},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argument.toStdString());
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("none-such"));  // no window may be needed
        run.setProcessEnvironment(env);
        run.start(QStringLiteral(CARDOMO_BINARY), {c.argument});
        ASSERT_TRUE(run.waitForFinished(10000));
        EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(run.exitCode(), 0);
        EXPECT_EQ(QString::fromLocal8Bit(run.readAllStandardOutput()), c.out);
        EXPECT_EQ(run.readAllStandardError(), QByteArray());
    }
}

TEST(CommandLine, AnUnknownOptionOrASecondCardFileIsRefusedWithAMessage)
{
    QTemporaryDir dir;
    QTemporaryDir runtime;  // so that Qt has nothing to say of its own
    ASSERT_TRUE(dir.isValid() && runtime.isValid());
    const QString tryHelp = QStringLiteral("Try 'cardomo --help' for more information.\n");
    struct Case {
        QStringList args;
        QString err;
        bool display = true;  // false: the test gives the program no display
    };
    const Case cases[] = {
        {{QStringLiteral("--help-all")}, QStringLiteral("cardomo: unknown option '--help-all'\n") + tryHelp},
        // Without a display too, where no argument can be one of Qt's options.
        {{QStringLiteral("a.kqk"), QStringLiteral("b.kqk"), QStringLiteral("c.kqk")},
            QStringLiteral("cardomo: only one card file can be opened at a time; 3 were given: a.kqk, b.kqk, c.kqk\n")
                + tryHelp,
            false},
        {{QStringLiteral("a.kqk"), QStringLiteral("b.kqk")},
            QStringLiteral("cardomo: only one card file can be opened at a time; 2 were given: a.kqk, b.kqk\n")
                + tryHelp},
        // Qt's own options are Qt's: only the program's arguments count.
        {{QStringLiteral("-style"), QStringLiteral("fusion"), QStringLiteral("a.kqk"), QStringLiteral("b.kqk")},
            QStringLiteral("cardomo: only one card file can be opened at a time; 2 were given: a.kqk, b.kqk\n")
                + tryHelp},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.insert(
            QStringLiteral("QT_QPA_PLATFORM"), c.display ? QStringLiteral("offscreen") : QStringLiteral("none-such"));
        env.insert(QStringLiteral("CARDOMO_NO_SPLASH"), QStringLiteral("1"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        run.setProcessEnvironment(env);
        run.setWorkingDirectory(dir.path());
        run.start(QStringLiteral(CARDOMO_BINARY), c.args);
        if (!run.waitForFinished(10000)) {
            run.kill();
            run.waitForFinished();
            FAIL() << "the program started instead of refusing its arguments";
        }
        EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(run.exitCode(), 2);
        EXPECT_EQ(run.readAllStandardOutput(), QByteArray());
        EXPECT_EQ(QString::fromLocal8Bit(run.readAllStandardError()), c.err);
        EXPECT_TRUE(QDir(dir.path()).isEmpty());  // no card file made
    }
}

// The windows' icon is drawn from the SVG at every size a desktop asks for,
// not scaled from a small picture.
TEST(ProgramStart, TheWindowIconComesFromTheSvgAtEverySize)
{
    if (!QImageReader::supportedImageFormats().contains("svg"))
        GTEST_SKIP() << "Qt's SVG reader (libqt6svg6) is missing";
    ScriptedPlatform platform;
    CardomoApplication program(platform);
    program.Start({}, false);
    for (const QIcon& icon : {QApplication::windowIcon(), program.windows().form1->windowIcon()}) {
        for (int side : {16, 24, 32, 48, 64, 128, 256, 512}) {
            SCOPED_TRACE(side);
            const QImage image = icon.pixmap(QSize(side, side), 1.0).toImage();
            EXPECT_EQ(image.size(), QSize(side, side));
            // Drawn, not empty.
            EXPECT_GT(qAlpha(image.pixel(side / 2, side / 2)), 0);
        }
    }
    program.store.FileOpen = false;
}
