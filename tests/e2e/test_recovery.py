"""Unsaved changes kept through the end of the program: typed, the program
killed (SIGKILL) or ended as a logout ends it (SIGTERM), started again on the
same card file, the kept changes taken and saved byte for byte."""
import hashlib
import os
import re
import signal
import stat

import cardfiles
from desktop import wait_until
from session import ProgramTest

QUESTION = re.compile(r"^Unsaved changes to cards\.kqk from (.+) were kept when the program ended\. Open them\?$")


class KeptThroughTheEnd(ProgramTest):
    def copy_of(self, card_file):
        """The recovery copy's path, from the card file's name and full path."""
        full = os.path.abspath(card_file)
        digest = hashlib.sha256(full.encode("utf-8")).hexdigest()[:16]
        return os.path.join(self.state_dir(), f"{os.path.basename(full)}-{digest}.kqk")

    def read_cards(self, path):
        try:
            with open(path, "rb") as f:
                return cardfiles.decode(f.read())
        except (OSError, cardfiles.CardFileError):
            return None

    def kept_and_taken_back(self, sig):
        cards = cardfiles.numbered(3)
        path = self.path("cards.kqk")
        original = cardfiles.write(path, cards)
        copy = self.copy_of(path)

        p = self.start(path)
        p.main_window()
        p.wait_shown(3, 3)
        p.type_into(1, " muokattu")
        p.type_into(18, "\nkolmas rivi")
        expected = [list(c) for c in cards]
        expected[2][0] += " muokattu"
        expected[2][cardfiles.MEMO] += "\r\nkolmas rivi"

        if sig == signal.SIGKILL:
            # The copy follows the typing within seconds; then nothing else may write it.
            wait_until(lambda: self.read_cards(copy) == expected, 20,
                       lambda: f"the recovery copy {copy} with the typed cards; it holds {self.read_cards(copy)!r}")
            p.kill(signal.SIGKILL)
        else:
            # At once, however soon after the typing.
            p.kill(signal.SIGTERM)
            self.assertEqual(128 + signal.SIGTERM, p.proc.returncode, "the program ends on SIGTERM")
            self.assertEqual(expected, self.read_cards(copy), "the copy written on SIGTERM")
        self.assertEqual(0o600, stat.S_IMODE(os.stat(copy).st_mode), "the copy is its owner's alone")
        self.assertEqual(0o700, stat.S_IMODE(os.stat(self.state_dir()).st_mode), "the state folder too")
        self.assertFileBytes(path, original, "the card file, never saved")

        q = self.start(path)
        q.main_window()
        box = q.wait_message()
        self.assertRegex(box.text, QUESTION)
        q.answer("alt+y")
        q.wait_shown(3, 3)
        self.assertEqual("Card 3 muokattu", q.field(1))
        self.assertFileBytes(path, original, "the card file, untouched until saved")
        q.key("ctrl+s")
        data = cardfiles.encode(expected)
        wait_until(lambda: self.read_cards(path) == expected, 15, f"{path} saved")
        self.assertFileBytes(path, data, "the saved card file")
        wait_until(lambda: not os.path.exists(copy), 5, "the copy to go with the save")
        self.assertEqual([], os.listdir(self.state_dir()), "nothing left in the state folder")
        self.assertTrue(q.no_message())

    def test_killed_after_typing_the_next_start_offers_the_edits_and_saves_them(self):
        self.kept_and_taken_back(signal.SIGKILL)

    def test_ended_by_sigterm_after_typing_the_next_start_offers_the_edits_and_saves_them(self):
        self.kept_and_taken_back(signal.SIGTERM)

    def test_sigterm_without_changes_writes_nothing_and_no_keeps_the_copy_aside(self):
        path = self.path("cards.kqk")
        cardfiles.write(path, cardfiles.numbered(2))
        p = self.start(path)
        p.main_window()
        p.wait_shown(2, 2)
        p.kill(signal.SIGTERM)
        self.assertEqual(128 + signal.SIGTERM, p.proc.returncode)
        self.assertFalse(os.path.exists(self.state_dir()) and os.listdir(self.state_dir()),
                         "a card file without changes leaves no copy")

        # Changes ended by SIGTERM, then No at the next start: the copy is kept aside, the file opens as it is.
        p = self.start(path)
        p.main_window()
        p.wait_shown(2, 2)
        p.type_into(1, "X")
        p.kill(signal.SIGTERM)
        copy = self.copy_of(path)
        self.assertTrue(os.path.exists(copy))
        q = self.start(path)
        q.main_window()
        self.assertRegex(q.wait_message().text, QUESTION)
        q.answer("alt+n")
        q.wait_shown(2, 2)
        self.assertEqual("Card 2", q.field(1))
        kept = os.listdir(self.state_dir())
        self.assertEqual(1, len(kept), kept)
        self.assertRegex(kept[0], r"^cards\.kqk-[0-9a-f]{16}-kept-\d{8}-\d{6}\.kqk$")
        q.kill(signal.SIGTERM)
        self.assertEqual(kept, os.listdir(self.state_dir()), "the kept copy stays; nothing new was written")
