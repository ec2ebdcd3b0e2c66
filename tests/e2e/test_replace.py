"""Find and replace over a range of cards (Tools > "Find and Replace in
Cards"), saved and compared with the cards the test works out itself."""
import os

import cardfiles
from cardomo import CAPTION_SUFFIX
from desktop import text_of, wait_until
from session import ProgramTest
from test_editing import wait_replaced

TITLE = "Find and replace in cards - CARDOMO  0.5 beta"
NOTE = ("NOTE! Undoing is not possible with this action! Save your cardfile and/or make a backup before this "
        "action!!")


def replaced(cards, first, last, field, find, replacement):
    """The cards after replacing, in the given field of cards first..last
    (order numbers), every occurrence of find, found from left to right and
    never overlapping: the search goes on after each replacement."""
    out = [list(c) for c in cards]
    for c in out[first - 1:last]:
        text, done, at = c[field - 1], "", 0
        while (k := text.find(find, at)) >= 0:
            done += text[at:k] + replacement
            at = k + len(find)
        c[field - 1] = done + text[at:]
    return out


def confirmation(first, last, field, find, replacement):
    return (f"Finding in cards  {first} - {last}  from the field {field} string \"{find}\" and replacing it with "
            f"\"{replacement}\", do you want to proceed?")


class FindAndReplace(ProgramTest):
    def test_replace_in_a_range_of_cards_then_save(self):
        cards = cardfiles.numbered(8)
        for c, keywords in zip(cards, ["aa", "aaa", "aaa aa", "AA aa", "baaab", "aaaa", "aa", "aa"]):
            c[8] = keywords
            c[cardfiles.MEMO] = f"aa line {c[0]}\r\nline aa"
        cards[1][cardfiles.MEMO] = "no match here\r\nlines"
        path = self.path("korvaus.kqk")
        cardfiles.write(path, cards)
        p = self.start(path)
        p.main_window()
        main = "korvaus.kqk" + CAPTION_SUFFIX
        p.wait_caption(main)
        p.wait_shown(8, 8)
        p.click_number_box()
        p.desktop.key("ctrl+a")
        p.desktop.type("3\n")
        p.wait_shown(3, 8)

        # Opening fills the range with the card shown and the last card.
        p.key("ctrl+alt+f")
        p.activate_window(TITLE)
        first = p.control(TITLE, "text", "Card index, the first")
        last = p.control(TITLE, "text", "Card index, the last")
        self.assertEqual(("3", "8"), (text_of(first), text_of(last)))
        self.assertTrue(any(n.role == "label" and n.name == NOTE for n in p.controls(TITLE)), "the note")
        (field,) = [n.acc for n in p.controls(TITLE) if n.role == "combo box"]
        self.assertEqual("18 Memo", field.name, "the field chooser at start")

        # Keywords of cards 3 to 6: "aa" by "x"; Enter in the last index box.
        p.set_text(TITLE, "Find:", "aa")
        p.set_text(TITLE, "Replace:", "x")
        p.choose(field, TITLE, "9 Keywords")
        p.set_text(TITLE, "Card index, the last", "6")
        p.desktop.key("Return")
        self.assertMessage(p, confirmation(3, 6, "9 Keywords", "aa", "x"), "alt+y")
        self.assertMessage(p, "Find-replace action completed")
        expected = replaced(cards, 3, 6, 9, "aa", "x")
        self.assertEqual(["aa", "aaa", "xa x", "AA x", "bxab", "xx", "aa", "aa"], [c[8] for c in expected])
        p.wait_shown(6, 8)
        self.assertEqual("xx", p.field(9), "the last card of the range shown")

        # The Memos of cards 1 and 2: "line" by "rivi ä", with the button.
        p.activate_window(TITLE)
        p.choose(field, TITLE, "18 Memo")
        p.set_text(TITLE, "Find:", "line")
        p.set_text(TITLE, "Replace:", "rivi ä")
        p.set_text(TITLE, "Card index, the first", "1")
        p.set_text(TITLE, "Card index, the last", "2")
        p.click(p.control(TITLE, "push button", "Replace all"), TITLE)
        self.assertMessage(p, confirmation(1, 2, "18 Memo", "line", "rivi ä"), "alt+y")
        self.assertMessage(p, "Find-replace action completed")
        expected = replaced(expected, 1, 2, 18, "line", "rivi ä")
        self.assertEqual("no match here\r\nrivi äs", expected[1][cardfiles.MEMO])
        p.wait_shown(2, 8)
        self.assertEqual("no match here\nrivi äs", p.field(18))

        # Nothing to replace in cards 7 and 8; No to the question changes nothing either.
        p.activate_window(TITLE)
        p.set_text(TITLE, "Find:", "zz")
        p.set_text(TITLE, "Card index, the first", "7")
        p.set_text(TITLE, "Card index, the last", "8")
        p.desktop.key("Return")
        self.assertMessage(p, confirmation(7, 8, "18 Memo", "zz", "rivi ä"), "alt+y")
        self.assertMessage(p, "Strings to replace not found ")
        p.wait_shown(8, 8)
        p.activate_window(TITLE)
        p.set_text(TITLE, "Find:", "aa")
        p.set_text(TITLE, "Card index, the last", "8")
        p.desktop.key("Return")
        self.assertMessage(p, confirmation(7, 8, "18 Memo", "aa", "rivi ä"), "alt+n")

        # Esc closes the window; the saved file holds the replacements.
        p.activate_window(TITLE)
        p.desktop.key("Escape")
        wait_until(lambda: not p.window_shown(TITLE), 15, "the find and replace window to close on Esc")
        inode = os.stat(path).st_ino
        p.key("ctrl+s")
        self.assertEqual(cardfiles.encode(expected), wait_replaced(path, inode), "the saved card file")
