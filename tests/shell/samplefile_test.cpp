// The sample card file shipped with the program opens without a word, shows
// its cards, and is saved back to the same bytes: it is in the program's own
// form.
#include "support/mainwindow_fixture.h"

#include <QFile>

TEST_F(MainWindowTest, TheSampleCardFileOpensAndSavesBackUnchanged)
{
    const QString sample = QStringLiteral(CARDOMO_RESOURCES_DIR "/sample.kqk");
    const QByteArray bytes = ReadBytes(sample);
    ASSERT_FALSE(bytes.isEmpty());
    const QString path = Path(QStringLiteral("sample.kqk"));
    WriteBytes(path, bytes);
    Start({path});
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(store().CardCount, 5);
    EXPECT_FALSE(store().CardFileChanged);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("sample.kqk - CARDOMO 0.5 beta"));
    EXPECT_EQ(form->memoTUNNISTE->Text(), QStringLiteral("Project budget"));
    EXPECT_EQ(form->editKORTTINRO->text(), QStringLiteral("5"));
    // Its first card, by the key of the first card.
    QTest::keyClick(form->memoTUNNISTE, Qt::Key_Home, Qt::AltModifier);
    EXPECT_EQ(form->memoTUNNISTE->Text(), QStringLiteral("Origin of Species"));
    EXPECT_EQ(form->memoMUISTIINPANO->Text(),
        QStringLiteral("Chapter IV: natural selection acts by the preservation of small variations.\r\n"
                       "Compare with the notes on breeding (card 2)."));
    QTest::keyClick(form, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(ReadBytes(path), bytes);
}
