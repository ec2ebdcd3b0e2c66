// Program start: the start-up window, the main window, then the others.
#include "Unit12.h"
#include "Unit15.h"
#include "uusi6.h"
#include "scriptedplatform.h"
#include "aloitus.h"
#include "application.h"

#include <QApplication>
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
            splashTimer = splash->Timer1->isActive() && splash->Timer1->isSingleShot() ? splash->Timer1->interval() : -1;
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
