#include "support/mainwindow_fixture.h"

TEST_F(MainWindowTest, StartWithoutArgumentMakesNewChangedCardFile)
{
    Start();
    EXPECT_TRUE(store.FileOpen);
    EXPECT_TRUE(store.CardFileChanged);
    EXPECT_EQ(store.CardCount, 1);
    EXPECT_EQ(store.CardTable[0][CardIdCell], QStringLiteral("y2021m03d07h09mn05s02ms045"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("New.kqk - CARDOMO 0.5 beta"));
    EXPECT_EQ(form->lblKorttitunnistenro->text(), QStringLiteral("19. Card ID: y2021m03d07h09mn05s02ms045"));
    EXPECT_EQ(form->Label22->text(), QStringLiteral("18. Memo (Lines 0)"));
    EXPECT_TRUE(platform.messages.empty());
}
