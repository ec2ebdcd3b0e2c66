"""Typing, saving, opening again and moving between cards, with real keys."""
import os
import re

import cardfiles
from cardomo import CAPTION_SUFFIX, CLOSED_CAPTION
from desktop import wait_until
from session import ProgramTest


def wait_replaced(path, old_inode, timeout=15):
    """Waits until the file at path is a new file (a save writes a new file
    and renames it over the old one) and returns its bytes."""
    def replaced():
        try:
            st = os.stat(path)
        except FileNotFoundError:
            return None
        return st.st_ino != old_inode and st.st_size > 0

    wait_until(replaced, timeout, f"{path} to be saved")
    with open(path, "rb") as f:
        return f.read()


class TypeSaveReopen(ProgramTest):
    def test_typed_fields_saved_as_new_kqk_open_again_and_save_to_the_same_bytes(self):
        p = self.start()
        p.main_window()
        p.wait_caption("New.kqk" + CAPTION_SUFFIX)
        p.wait_shown(1, 1)
        card_id = p.card_id()
        self.assertRegex(card_id, r"^y\d{4}m\d{1,2}d\d{1,2}h\d{1,2}mn\d{1,2}s\d{1,2}ms\d{1,3}$")
        self.assertEqual({n: "" for n in range(1, 19)}, p.fields(), "a new card file shows one empty card")

        title, topic, memo = "Pöytäkirja 1/2 (Åström)", "Kesä & järvi", "line one\nrivi kaksi: äö <b>\n\nlast"
        p.type_into(1, title)
        p.type_into(8, topic)
        p.type_into(18, memo)
        self.assertEqual("18. Memo (Lines 4)", p.label_starting("18. Memo (Lines"))

        saved = self.path("New.kqk")
        self.assertFalse(os.path.exists(saved))
        p.key("ctrl+s")
        wait_until(lambda: os.path.exists(saved), 15, "New.kqk in the current folder")
        expected_card = cardfiles.empty_card(card_id)
        expected_card[0], expected_card[7] = title, topic
        expected_card[cardfiles.MEMO] = memo.replace("\n", "\r\n")
        expected = cardfiles.encode([expected_card])
        wait_until(lambda: os.path.getsize(saved) == len(expected), 15, "the whole of New.kqk")
        self.assertFileBytes(saved, expected, "the saved New.kqk")
        self.assertTrue(p.no_message(), "Save of a new card file asks nothing")

        # Saved, so Close asks only whether to close.
        p.menu("File", "Close")
        self.assertMessage(p, "Do you really want to close the file?", "alt+y")
        p.wait_caption(CLOSED_CAPTION)
        p.menu("File", "Exit")
        wait_until(lambda: not p.running(), 15, "the program to end after Exit")
        self.assertEqual(0, p.proc.returncode)

        q = self.start(saved)
        q.main_window()
        q.wait_caption("New.kqk" + CAPTION_SUFFIX)
        q.wait_shown(1, 1)
        shown = q.fields()
        self.assertEqual(title, shown[1])
        self.assertEqual(topic, shown[8])
        self.assertEqual(memo, shown[18])
        self.assertEqual(card_id, q.card_id())
        self.assertEqual({n: "" for n in range(1, 19) if n not in (1, 8, 18)},
                         {n: t for n, t in shown.items() if n not in (1, 8, 18)})

        inode = os.stat(saved).st_ino
        q.key("ctrl+s")
        self.assertEqual(expected, wait_replaced(saved, inode), "saving the opened file again keeps its bytes")
        self.assertTrue(q.no_message())


class Navigation(ProgramTest):
    def setUp(self):
        super().setUp()
        self.cards = cardfiles.numbered(25)
        self.file = self.path("cards.kqk")
        self.original = cardfiles.write(self.file, self.cards)

    def assertShows(self, p, k):
        # The number box alone may show a typed number before Go has run.
        wait_until(lambda: p.shown_card() == (str(k), " / 25") and p.field(1) == f"Card {k}", 15,
                   lambda: f"card {k} of 25 on screen; it shows {p.shown_card()} {p.field(1)!r}")
        self.assertEqual(f"Card {k}", p.field(1))
        self.assertEqual(f"topic {k}", p.field(8))
        self.assertEqual(f"memo of card {k}\nsecond line {k}", p.field(18))
        self.assertEqual(f"id{k}", p.card_id())

    def test_keys_move_between_cards_and_stop_at_the_ends(self):
        p = self.start(self.file)
        p.main_window()
        p.wait_caption("cards.kqk" + CAPTION_SUFFIX)
        self.assertShows(p, 25)  # the last card after an open
        steps = [
            ("ctrl+Prior", 24), ("ctrl+Next", 25), ("ctrl+Next", 25),
            ("alt+Home", 1), ("ctrl+Prior", 1), ("ctrl+Next", 2),
            ("alt+Next", 12), ("alt+Next", 22), ("alt+Next", 25), ("alt+Prior", 15),
            ("alt+Prior", 5), ("alt+Prior", 1), ("alt+End", 25),
        ]
        for key, k in steps:
            with self.subTest(key=key, expected=k):
                p.key(key)
                self.assertShows(p, k)

    def test_number_box_goes_to_the_typed_card(self):
        p = self.start(self.file)
        p.main_window()
        self.assertShows(p, 25)
        p.click_number_box()
        p.desktop.key("ctrl+a")
        p.desktop.type("7")
        p.desktop.key("Return")
        self.assertShows(p, 7)
        # Letters are not taken; a number past the last card leaves the card
        # and sets the box back.
        p.click_number_box()
        p.desktop.key("ctrl+a")
        p.desktop.type("9x9")
        wait_until(lambda: p.number_box() == "99", 10, lambda: f"the box showing 99, not {p.number_box()!r}")
        p.desktop.key("Return")
        self.assertShows(p, 7)
        # Go (Alt+G) with 0: nothing moves.
        p.click_number_box()
        p.desktop.key("ctrl+a")
        p.desktop.type("0")
        p.key("alt+g")
        self.assertShows(p, 7)
        p.click_number_box()
        p.desktop.key("ctrl+a")
        p.desktop.type("13")
        p.key("alt+g")
        self.assertShows(p, 13)

    def test_a_field_typed_on_one_card_is_kept_when_moving_and_saved(self):
        p = self.start(self.file)
        p.main_window()
        self.assertShows(p, 25)
        p.key("alt+Home")
        p.wait_shown(1, 25)
        p.key("ctrl+Next", "ctrl+Next")
        p.wait_shown(3, 25)
        p.type_into(9, "avainsana")
        p.key("alt+End")
        self.assertShows(p, 25)
        p.key("alt+Home")
        p.wait_shown(1, 25)
        p.key("ctrl+Next", "ctrl+Next")
        p.wait_shown(3, 25)
        self.assertEqual("avainsana", p.field(9))

        inode = os.stat(self.file).st_ino
        p.key("ctrl+s")
        data = wait_replaced(self.file, inode)
        expected = [list(c) for c in self.cards]
        expected[2][8] = "avainsana"
        self.assertEqual(cardfiles.encode(expected), data)
