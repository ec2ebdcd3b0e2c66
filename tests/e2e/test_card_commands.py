"""Card commands, the Memo find and the screen saver on a real display."""
import os
import re
import time

import cardfiles
from cardomo import CAPTION_SUFFIX
from desktop import states_of, wait_until
from session import ProgramTest
from test_editing import wait_replaced

CARD_ID = r"^y\d{4}m\d{1,2}d\d{1,2}h\d{1,2}mn\d{1,2}s\d{1,2}ms\d{1,3}$"


class CardCommands(ProgramTest):
    def test_new_delete_bring_back_and_time_stamp_are_saved(self):
        cards = cardfiles.numbered(3)
        path = self.path("cards.kqk")
        cardfiles.write(path, cards)
        p = self.start(path)
        p.main_window()
        p.wait_shown(3, 3)

        p.key("F5")
        p.wait_shown(4, 4)
        self.assertEqual({n: "" for n in range(1, 19)}, p.fields(), "a new card is empty")
        new_id = p.card_id()
        self.assertRegex(new_id, CARD_ID)
        p.type_into(1, "Uusi kortti")
        p.click_field(18)
        p.key("ctrl+alt+q")
        wait_until(lambda: p.field(18), 10, "the time stamp in the Memo")
        stamp = p.field(18)
        self.assertRegex(stamp, r"^\(\+\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\)$")

        p.key("alt+Home")
        p.wait_shown(1, 4)
        p.menu("Edit", "Delete current card")
        self.assertMessage(p, "Do you want to delete the card?", "alt+y")
        p.wait_shown(1, 3)
        self.assertEqual("Card 2", p.field(1), "the card after the deleted one takes its place")
        p.menu("Edit", "Bring back deleted card as a new card")
        p.wait_shown(4, 4)
        self.assertEqual(("Card 1", "id1"), (p.field(1), p.card_id()), "the deleted card comes back at the end")

        inode = os.stat(path).st_ino
        p.key("ctrl+s")
        new = cardfiles.empty_card(new_id)
        new[0], new[cardfiles.MEMO] = "Uusi kortti", stamp
        self.assertEqual(cardfiles.encode([cards[1], cards[2], new, cards[0]]), wait_replaced(path, inode))


class MemoFind(ProgramTest):
    def test_find_next_walks_the_matches_and_then_says_not_found(self):
        p = self.start()
        p.main_window()
        p.type_into(18, "xx abc yy abc")
        p.key("ctrl+f")
        title = "Find From the Memo Field"
        p.activate_window(title)
        p.desktop.type("abc")
        for after in (6, 13):
            p.desktop.key("Return")
            # The match is selected for a moment, then the caret stands after it.
            wait_until(lambda: p.caret(18) == (after, 0), 10,
                       lambda: f"the caret after the match at {after}: {p.caret(18)}")
            p.activate_window(title)
        p.desktop.key("Return")
        self.assertMessage(p, 'String "abc" not found')
        self.assertEqual((13, 0), p.caret(18), "the caret stays after the last match")
        p.activate_window(title)
        p.desktop.key("Escape")
        wait_until(lambda: not p.window_shown(title), 10, "the find window to close on Esc")


class ScreenSaver(ProgramTest):
    def test_covers_the_screen_and_ends_on_a_typed_key_only(self):
        p = self.start()
        p.main_window()
        p.type_into(8, "aihe")
        p.key("ctrl+alt+n")
        saver = p.activate_window("SCREEN SAVER")
        (window,) = p.x_windows("^SCREEN SAVER$")
        geometry = p.desktop.xdotool("getwindowgeometry", "--shell", window)
        size = dict(re.findall(r"(WIDTH|HEIGHT)=(\d+)", geometry))
        self.assertEqual((str(p.desktop.width), str(p.desktop.height)), (size["WIDTH"], size["HEIGHT"]))
        # Keys that type nothing leave it running.
        p.desktop.key("shift", "Down", "F2")
        time.sleep(0.5)
        self.assertTrue(p.window_shown("SCREEN SAVER"), "a key that types nothing ends the screen saver")
        self.assertIn("active", states_of(saver.acc), "the screen saver keeps the focus")
        p.desktop.key("q")
        wait_until(lambda: not p.window_shown("SCREEN SAVER"), 10, "the screen saver to end on a typed key")
        self.assertEqual("aihe", p.field(8), "the typed key went to the screen saver only")
        self.assertEqual("New.kqk" + CAPTION_SUFFIX, p.caption())
