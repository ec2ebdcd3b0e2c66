// The desktop platform's message boxes and dialogs over a window that stays
// on top of the others.
#include "qtplatform.h"

#include <QDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

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
