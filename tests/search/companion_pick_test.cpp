// A pick from the shell writes the card file the picked cards window saves
// (Ctrl+R) after the same pick: the single-field pick (F9's group) and the
// Boolean pick (F10's group), with cardomo-cli run as a process.
#include "search_fixture.h"

#include <QProcess>

namespace {

class CompanionPickTest : public SearchTest {
protected:
    void SetUp() override
    {
        // Field 8 and field 9 hold words, one Memo a line break, one Title1 a
        // character beyond U+FFFF and a comma.
        CardRows rows = Rows(6, 8,
            {QStringLiteral("Birds"), QStringLiteral("Bees"), QStringLiteral("birds"), QStringLiteral("Birds and bees"),
                QString(), QStringLiteral("Bird")});
        const QStringList keywords = {QStringLiteral("owl"), QString(), QStringLiteral("owl, hawk"),
            QStringLiteral("hawk"), QStringLiteral("owl"), QStringLiteral("owl")};
        for (int i = 0; i < 6; ++i)
            rows[static_cast<size_t>(i)][8] = keywords[i];
        rows[3][MemoCell] = QStringLiteral("one\r\ntwo");
        rows[5][0] = QStringLiteral("😀, six");
        StartWith(rows);
    }

    // Runs pick in the main window, saves the picked set as a card file
    // from the picked cards window, and gives the file's bytes.
    QByteArray WindowPick(QPushButton* pick, const QString& name)
    {
        acts[QStringLiteral("Form3")] = [this] { Key(form3, Qt::Key_R, Qt::ControlModifier); };
        platform.fileAnswers = {Path(name)};
        pick->click();
        EXPECT_EQ(opened.size(), 1u);
        opened.clear();
        return ReadBytes(Path(name));
    }

    QByteArray CliPick(const QStringList& args, const QString& name) const
    {
        QProcess p;
        p.start(QStringLiteral(CARDOMO_CLI),
            QStringList{QStringLiteral("pick"), Path(QStringLiteral("cards.kqk"))} + args
                + QStringList{QStringLiteral("--out"), Path(name)});
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return ReadBytes(Path(name));
    }
};

}  // namespace

TEST_F(CompanionPickTest, TheSingleFieldPickSavesTheSameCardFile)
{
    const struct {
        int op;
        const char* opText;
        QString text;
    } cases[] = {
        {0, "~", QStringLiteral("Bird")},  // contains: cards 1, 4, 6
        {1, "<", QStringLiteral("Bird")},  // less: cards 2 and 5 ("Bees", "")
        {5, "=", QStringLiteral("Bird")},  // equal: card 6
        {6, "<>", QStringLiteral("ees")},  // does not contain: cards 1, 3, 5, 6
    };
    int k = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.opText);
        form->fieldSearch->ComboBox1->setCurrentIndex(7);
        form->fieldSearch->ComboBox2->setCurrentIndex(c.op);
        form->fieldSearch->Edit1->clear();
        Type(form->fieldSearch->Edit1, c.text);
        const QString n = QString::number(++k);
        const QByteArray window =
            WindowPick(form->fieldSearch->btnPoimi, QStringLiteral("window") + n + QStringLiteral(".kqk"));
        ASSERT_FALSE(window.isEmpty());
        EXPECT_EQ(CliPick({QStringLiteral("8"), QLatin1String(c.opText), c.text},
                      QStringLiteral("cli") + n + QStringLiteral(".kqk")),
            window);
    }
}

TEST_F(CompanionPickTest, TheBooleanPickSavesTheSameCardFile)
{
    const char* const connectives[] = {"--and", "--or", "--xor", "--not"};
    for (int c = 0; c < 4; ++c) {
        SCOPED_TRACE(connectives[c]);
        form->booleanSearch->ComboBox3->setCurrentIndex(7);
        form->booleanSearch->Edit2->clear();
        Type(form->booleanSearch->Edit2, QStringLiteral("Bird"));
        form->booleanSearch->ComboBox4->setCurrentIndex(c);
        form->booleanSearch->ComboBox5->setCurrentIndex(8);
        form->booleanSearch->Edit3->clear();
        Type(form->booleanSearch->Edit3, QStringLiteral("owl"));
        const QString n = QString::number(c);
        const QByteArray window =
            WindowPick(form->booleanSearch->btnBolpoimi, QStringLiteral("window") + n + QStringLiteral(".kqk"));
        ASSERT_FALSE(window.isEmpty());
        EXPECT_EQ(CliPick({QStringLiteral("8"), QStringLiteral("~"), QStringLiteral("Bird"),
                              QLatin1String(connectives[c]), QStringLiteral("9"), QStringLiteral("owl")},
                      QStringLiteral("cli") + n + QStringLiteral(".kqk")),
            window);
    }
}
