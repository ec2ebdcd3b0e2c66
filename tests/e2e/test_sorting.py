"""Sorting the cards of a 32000-card file with the main window's "SORTING
ORDER" group and F11, checked against the order that the test works out
itself from the card file."""
import os
import unittest

import cardfiles
from cardomo import CAPTION_SUFFIX
from desktop import states_of, wait_until
from session import ProgramTest, session
from test_editing import wait_replaced

SEPARATOR = "\u0014"  # ends each key field in a sort key


def sort_key(card, fields):
    """The sort key of a card: each chosen field (1 to 19) followed by the
    separator, as UTF-16 code units. Big-endian bytes are compared byte by
    byte in the order of the 16-bit units they encode, and a shorter run of
    equal units comes first, so comparing these bytes compares the units as
    unsigned 16-bit numbers (a character beyond U+FFFF sorts by its first
    surrogate, before U+E000..U+FFFF; a comparison of Python texts would
    sort it after them)."""
    return "".join(card[f - 1] + SEPARATOR for f in fields).encode("utf-16-be")


def sort_rows(rows, fields, descending=False):
    """The rows in the order of the card sort: a quicksort whose pivot is
    the key of the middle row, two indices moving towards each other and
    exchanging rows (equal keys included), then the two parts sorted the
    same way. Rows with equal keys end in the order these exchanges give,
    not in their old order. Works on a copy, without recursion."""
    rows = list(rows)
    keys = [sort_key(r, fields) for r in rows]
    parts = [(0, len(rows) - 1)] if len(rows) > 1 else []
    while parts:
        lo, hi = parts.pop()
        i, j = lo, hi
        pivot = keys[(lo + hi) // 2]
        while True:
            if descending:
                while keys[i] > pivot:
                    i += 1
                while keys[j] < pivot:
                    j -= 1
            else:
                while keys[i] < pivot:
                    i += 1
                while keys[j] > pivot:
                    j -= 1
            if i <= j:
                keys[i], keys[j] = keys[j], keys[i]
                rows[i], rows[j] = rows[j], rows[i]
                i += 1
                j -= 1
            if i > j:
                break
        if lo < j:
            parts.append((lo, j))
        if i < hi:
            parts.append((i, hi))
    return rows


class SortOrderOfTheTest(unittest.TestCase):
    """The test's own sort gives the orders the card sort is known to give."""

    @staticmethod
    def order(titles, fields=(1,), descending=False):
        cards = []
        for k, title in enumerate(titles, start=1):
            c = cardfiles.empty_card(str(k))
            c[0] = title
            cards.append(c)
        return [int(c[cardfiles.CARD_ID]) for c in sort_rows(cards, list(fields) * 12, descending)]

    def test_equal_keys_and_known_orders(self):
        cases = [
            ("two equal keys change places", ["a", "a"], False, [2, 1]),
            ("two equal keys change places, descending", ["a", "a"], True, [2, 1]),
            ("three equal keys", ["a", "a", "a"], False, [3, 2, 1]),
            ("four equal keys", ["a", "a", "a", "a"], False, [3, 4, 1, 2]),
            ("b a b a", ["b", "a", "b", "a"], False, [4, 2, 1, 3]),
            ("numbers sort as text", ["10", "9", "100"], False, [1, 3, 2]),
            ("upper case first", ["b", "B", "a", "A"], False, [4, 2, 3, 1]),
            ("a line break sorts before the end of a field", ["ab", "ab\r\nc"], False, [2, 1]),
            ("a letter beyond U+FFFF before U+FB01", ["\ufb01", "\U0001d11e", "z"], False, [3, 2, 1]),
            ("one row", ["x"], False, [1]),
        ]
        for what, titles, descending, expected in cases:
            with self.subTest(what):
                self.assertEqual(expected, self.order(titles, descending=descending))


MAIN_GROUP = "SORTING ORDER"


class SortBigFile(ProgramTest):
    def make_cards(self):
        """The generated 32000 cards, a few of them changed so that the order
        depends on what the sort must get right: letters beyond U+FFFF
        (stored as two UTF-16 units) and Memos that differ by a line break
        after a common beginning."""
        cards = [list(c) for c in session.big_cards()]
        for k in range(100, 105):
            cards[k][2] = "\U0001d11e"  # MUSICAL SYMBOL G CLEF
        for k in range(200, 205):
            cards[k][2] = "\ufb01"      # LATIN SMALL LIGATURE FI
        for k, memo in ((300, "ab"), (301, "ab\r\nc"), (302, "ab c"), (303, "ab\tc")):
            cards[k][2], cards[k][11], cards[k][cardfiles.MEMO] = "B", "x", memo
        return cards

    def set_keys(self, p, title, fields):
        """Sets the twelve key choosers of the sort group to fields: the
        first through its opened list, the others with the keyboard, moving
        on with Tab."""
        choosers = p.choosers(title, MAIN_GROUP)
        self.assertEqual(12, len(choosers), f"the key choosers of {MAIN_GROUP!r}")
        self.assertEqual([str(f) for f in range(1, 20)], p.entries(choosers[0]))
        p.choose(choosers[0], title, str(fields[0]))
        for chooser, field in zip(choosers[1:], fields[1:]):
            p.tab_to(chooser)
            p.choose_closed(chooser, str(field))
        self.assertEqual([str(f) for f in fields], [c.name for c in choosers])

    def sort_and_save(self, p, path, expected):
        """F11 in the main window, then Ctrl+S; the saved file must hold the
        expected cards in their order."""
        p.key("F11")
        # After the sort the last card of the new order is shown.
        last = expected[-1][cardfiles.CARD_ID]
        wait_until(lambda: p.card_id() == last, 60,
                   lambda: f"the last card of the sorted order ({last}) shown; it shows {p.card_id()}")
        p.wait_shown(32000, 32000)
        inode = os.stat(path).st_ino
        p.key("ctrl+s")
        data = wait_replaced(path, inode, timeout=60)
        saved = cardfiles.decode(data)
        ids = [c[cardfiles.CARD_ID] for c in saved]
        wanted = [c[cardfiles.CARD_ID] for c in expected]
        if ids != wanted:
            at = next(i for i, (a, b) in enumerate(zip(ids, wanted)) if a != b)
            self.fail(f"the saved order differs from the expected one at card {at + 1}: "
                      f"{ids[max(0, at - 2):at + 3]} against {wanted[max(0, at - 2):at + 3]}")
        self.assertEqual(cardfiles.encode(expected), data, "the saved card file")

    def test_sort_32000_cards_ascending_then_descending(self):
        cards = self.make_cards()
        self.assertEqual(32000, len({c[cardfiles.CARD_ID] for c in cards}), "the Card IDs tell the cards apart")
        path = self.path("big.kqk")
        cardfiles.write(path, cards)
        p = self.start(path)
        p.main_window(timeout=60)
        title = "big.kqk" + CAPTION_SUFFIX
        p.wait_caption(title, timeout=60)
        p.wait_shown(32000, 32000, timeout=60)
        choosers = p.choosers(title, MAIN_GROUP)
        self.assertEqual([str(f) for f in range(1, 13)], [c.name for c in choosers], "the keys at start")

        # Title3, Code2 and then the always empty Code3: few different keys,
        # so most cards meet many others with an equal key.
        fields = [3, 12] + [13] * 10
        self.set_keys(p, title, fields)
        ascending = sort_rows(cards, fields)
        self.sort_and_save(p, path, ascending)

        # Key 3 the Memo, and descending, on the order the first sort left.
        fields[2] = 18
        p.choose(choosers[2], title, "18")
        descending_button = p.control(title, "radio button", "Descending")
        p.click(descending_button, title)
        wait_until(lambda: "checked" in states_of(descending_button), 15, "Descending chosen")
        self.assertNotIn("checked", states_of(p.control(title, "radio button", "Ascending")))
        descending = sort_rows(ascending, fields, descending=True)
        self.sort_and_save(p, path, descending)
        # A Memo with a line break after "ab" is greater than "ab" itself,
        # which is greater than "ab" followed by a tab.
        order = [c[cardfiles.MEMO] for c in descending if any(c is cards[k] for k in (300, 301, 302, 303))]
        self.assertEqual(["ab c", "ab", "ab\r\nc", "ab\tc"], order)
