// The upper bound of a Memo's display lines that a run over many cards uses
// to tell when the line-limit messages may be due without laying the Memo
// out: never below what the editor itself counts.
#include "support/mainwindow_fixture.h"

#include "deferredview.h"

namespace {

class MemoLineBoundTest : public MainWindowTest { };

}  // namespace

TEST_F(MemoLineBoundTest, NeverBelowTheLinesTheEditorShows)
{
    Start({MakeFile(1)});
    MemoEditor* memo = form->memoMUISTIINPANO;
    const MemoLineBound bound(*memo);
    const QString sentence = QStringLiteral("Tämä on lause, jossa on sanoja ja välimerkkejä: yksi, kaksi; kolme! ");
    struct Case {
        const char* what;
        QString text;
    };
    const Case cases[] = {
        {"empty", QString()},
        {"one short line", QStringLiteral("a")},
        {"empty lines", QStringLiteral("\r\n\r\n\r\n")},
        {"a long paragraph of words", sentence.repeated(40)},
        {"one word longer than the line", QString(400, u'W')},
        {"a web address among words",
            QStringLiteral("see https://example.org/") + QString(300, u'm') + u' ' + sentence},
        {"parentheses and quotes", QStringLiteral("( word ) \"quoted words\" [a] {b} ").repeated(30)},
        {"hyphens and slashes", QStringLiteral("left-right/up-down ").repeated(50)},
        {"tabs", QStringLiteral("a\tb\tc\td\te\tf\tg\th\ti\tj\tk\tl\tm\tn\to\tp ").repeated(10)},
        {"many spaces", QStringLiteral("a") + QString(500, u' ') + u'b'},
        {"Chinese", QString::fromUtf8("汉字的文本没有空格所以它可以在任何地方换行").repeated(20)},
        {"emoji", QString::fromUtf8("😀😃😄😁😆😅😂🤣 ").repeated(30)},
        {"combining marks", QString::fromUtf8("e\u0301a\u0308o\u0302 ").repeated(100)},
        {"wide letters", QStringLiteral("WMWMWMWMW ").repeated(60)},
        {"narrow letters", QStringLiteral("iiiiiiiiil ").repeated(80)},
        {"many paragraphs", QStringList(120, sentence + sentence).join(QStringLiteral("\r\n"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form->btnTallennaClick();
        store().CardTable[0][MemoCell] = c.text;
        form->btnPaivitaClick();
        const int lines = memo->LineCount();
        EXPECT_GE(bound.Lines(c.text, 100000), lines);
        // Counting stops once it reaches what the caller asks for.
        EXPECT_EQ(bound.Lines(c.text, 1), 1);
    }
}
