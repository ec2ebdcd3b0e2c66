// The pieces every window is built from: command wiring, long work, the
// low-space warning.
#include "diskspacecheck.h"
#include "generalerror.h"
#include "longwork.h"
#include "scriptedplatform.h"
#include "support/qtprinters.h"
#include "wiring.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

TEST(Wiring, ACommandsErrorEndsItWithAMessageAndGoesNoFurther)
{
    ScriptedPlatform platform;
    QWidget window;
    auto* button = new QPushButton(QStringLiteral("Go"), &window);
    QAction entry(QStringLiteral("Entry"));
    int ran = 0;
    Wire(button, platform, [&] {
        ++ran;
        throw GeneralError(QStringLiteral("'x' is not a valid integer value"));
    });
    Wire(&entry, platform, [&] { ++ran; });
    QTest::mouseClick(button, Qt::LeftButton);
    entry.trigger();
    EXPECT_EQ(ran, 2);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, QStringLiteral("'x' is not a valid integer value"));
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Error);
    // A key of its own.
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    WireKey(&window, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_K), platform, [&] { ++ran; });
    QTest::keyClick(&window, Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(ran, 3);
}

TEST(LongWork, CaptionsAtAReadableRateAndEscEndsTheLoop)
{
    ScriptedPlatform platform;
    QWidget wait;
    QStringList captions;
    QObject::connect(&wait, &QWidget::windowTitleChanged, [&](const QString& t) { captions << t; });
    LongWork work(platform, &wait);
    // Five thousand quick items: the first caption at once, then at most one
    // each interval, however many items there are.
    QElapsedTimer clock;
    clock.start();
    const int done = work.Run(
        5000, [](int i) { return QStringLiteral("item ") + QString::number(i); },
        [](int i) {
            if (i % 1000 == 0)
                QThread::msleep(LongWork::CaptionIntervalMs / 2 + 10);
        });
    EXPECT_EQ(done, 5000);
    ASSERT_FALSE(captions.isEmpty());
    EXPECT_EQ(captions.first(), QStringLiteral("item 0"));
    EXPECT_LE(captions.size(), clock.elapsed() / LongWork::CaptionIntervalMs + 1);
    EXPECT_EQ(captions.size(), work.CaptionsSet());

    // Esc held down after the third item ends the loop there; every item
    // was followed by a look at the pending events.
    int processed = 0;
    platform.onProcessEvents = [&] {
        ++processed;
        platform.escHeld = processed == 3;
    };
    QStringList items;
    LongWork interrupted(platform, nullptr);
    EXPECT_EQ(interrupted.Run(
                  10, [](int) { return QString(); }, [&](int i) { items << QString::number(i); }),
        3);
    EXPECT_EQ(items, (QStringList{"0", "1", "2"}));
    EXPECT_EQ(processed, 3);
}

TEST(CheckDiskSpace, WarnsBelowTwoBytesOrWhenUnknown)
{
    const QString lowSpace =
        QStringLiteral("The recording disk may be out of space. The file may not have been saved correctly. "
                       "Check the issue and save to another disk before closing the job file.");
    struct Case {
        std::optional<qint64> free;
        bool warns;
    };
    for (const Case& c : {Case{0, true}, Case{1, true}, Case{2, false}, Case{std::nullopt, true}}) {
        SCOPED_TRACE(c.free.value_or(-1));
        ScriptedPlatform p;
        p.freeSpace = c.free;
        EXPECT_EQ(CheckDiskSpace(p, QStringLiteral("New.kqk")), c.warns);
        EXPECT_EQ(p.Texts(), c.warns ? QStringList{lowSpace} : QStringList{});
    }
}
