"""Saves that cannot complete: the previous file stays whole, and the card
file stays open in the program and marked changed."""
import os
import signal
import time

import cardfiles
from cardomo import CAPTION_SUFFIX
from desktop import wait_until
from session import ProgramTest, session

CHANGED_QUESTION = " The card file is changed. Do you want save the changes before closing?"


class SaveFaults(ProgramTest):
    def open_and_change(self, path, title):
        """Starts the program with the card file at path and types into
        Title2 of the card shown, so that a completed save would change the
        file."""
        p = self.start(path)
        p.main_window()
        p.wait_caption(os.path.basename(path) + CAPTION_SUFFIX)
        p.type_into(2, title)
        return p

    def assertStillOpenAndChanged(self, p, path, typed):
        """The program still has the card file open, with the typed text,
        and counts it changed: Close asks the question of a changed file
        (answered Cancel, so it stays open)."""
        self.assertTrue(p.running())
        self.assertEqual(os.path.basename(path) + CAPTION_SUFFIX, p.caption())
        self.assertTrue(p.field(2).endswith(typed), f"Title2 shows {p.field(2)!r}")
        p.menu("File", "Close")
        self.assertMessage(p, CHANGED_QUESTION, "Escape")
        self.assertEqual(os.path.basename(path) + CAPTION_SUFFIX, p.caption())

    def test_save_into_a_full_volume(self):
        volume = self.path("volume")
        os.mkdir(volume)
        if not session.mount_small_volume(volume, 256):
            self.skipTest("cannot mount a small tmpfs here (needs the superuser and the right to mount)")
        self.addCleanup(session.unmount, volume)
        # A card file of about 160 KiB: it fits once on the 256 KiB volume,
        # but not a second time beside itself.
        cards = cardfiles.numbered(40)
        for c in cards:
            c[cardfiles.MEMO] = "\r\n".join(f"line {i} " + "x" * 60 for i in range(60))
        path = os.path.join(volume, "full.kqk")
        original = cardfiles.write(path, cards)
        self.assertGreater(len(original), 140 * 1024)

        p = self.open_and_change(path, "not saved")
        p.key("ctrl+s")
        self.assertMessage(p, "File handling error occurred. Details: \r\nResourceError/No space left on device")
        self.assertFileBytes(path, original, "the card file on the full volume")
        self.assertEqual(["full.kqk"], os.listdir(volume), "a failed save leaves nothing else behind")

        # Close, Yes: the save fails again, Close says so and keeps the file open.
        p.menu("File", "Close")
        self.assertMessage(p, CHANGED_QUESTION, "alt+y")
        self.assertMessage(p, "File handling error occurred. Details: \r\nResourceError/No space left on device")
        self.assertMessage(p, "There was an error in saving")
        self.assertFileBytes(path, original, "the card file on the full volume")
        self.assertStillOpenAndChanged(p, path, "not saved")

    def test_save_onto_a_read_only_file(self):
        path = self.path("locked.kqk")
        original = cardfiles.write(path, cardfiles.numbered(3))
        os.chmod(path, 0o444)
        p = self.open_and_change(path, "not saved")
        p.key("ctrl+s")
        self.assertMessage(p, path + " on kirjoitussuojattu. Ei voi tallentaa")
        self.assertFileBytes(path, original, "the read-only card file")
        self.assertEqual(0o444, os.stat(path).st_mode & 0o777)
        # Close, Yes: the refusal again, and the file stays open.
        p.menu("File", "Close")
        self.assertMessage(p, CHANGED_QUESTION, "alt+y")
        self.assertMessage(p, path + " on kirjoitussuojattu. Ei voi tallentaa")
        self.assertStillOpenAndChanged(p, path, "not saved")
        self.assertFileBytes(path, original, "the read-only card file")

    def test_save_whose_folder_disappeared(self):
        folder = self.path("folder")
        os.mkdir(folder)
        path = os.path.join(folder, "gone.kqk")
        original = cardfiles.write(path, cardfiles.numbered(3))
        p = self.open_and_change(path, "not saved")
        moved = self.path("moved-away")
        os.rename(folder, moved)
        p.key("ctrl+s")
        self.assertMessage(p, f'Cannot create file "{path}". No such file or directory')
        self.assertFalse(os.path.exists(folder), "the save made no folder")
        self.assertFileBytes(os.path.join(moved, "gone.kqk"), original, "the card file in the moved folder")
        self.assertEqual(["gone.kqk"], os.listdir(moved))
        # Close, Yes: the save's error ends Close as well.
        p.menu("File", "Close")
        self.assertMessage(p, CHANGED_QUESTION, "alt+y")
        self.assertMessage(p, f'Cannot create file "{path}". No such file or directory')
        self.assertStillOpenAndChanged(p, path, "not saved")
        self.assertFalse(os.path.exists(folder))

    def test_killed_while_saving_32000_cards(self):
        original = session.big_file_bytes()
        folder = self.path("big")
        os.mkdir(folder)
        path = os.path.join(folder, "cards.kqk")
        for attempt in range(3):
            with open(path, "wb") as f:
                f.write(original)
            p = self.start(path)
            p.main_window(timeout=60)
            p.wait_caption("cards.kqk" + CAPTION_SUFFIX, timeout=60)
            p.wait_shown(32000, 32000)
            p.type_into(2, " changed")
            before = set(os.listdir(folder))
            st = os.stat(path)
            p.key("ctrl+s")
            # Kill at the first sign of the save: a new file in the folder,
            # or the card file itself touched.
            end = time.monotonic() + 30
            seen = None
            while time.monotonic() < end:
                names = set(os.listdir(folder))
                now = os.stat(path)
                if names != before or (now.st_ino, now.st_size, now.st_mtime_ns) != (st.st_ino, st.st_size,
                                                                                   st.st_mtime_ns):
                    p.kill(signal.SIGKILL)
                    seen = names - before
                    break
            else:
                self.fail("the save of 32000 cards left no trace on disk within 30 s")
            with open(path, "rb") as f:
                data = f.read()
            if data == original:
                self.assertTrue(seen, "the save was under way (its new file was there) when the program was killed")
                for name in seen:
                    # What the killed save left is a file of its own, never the card file.
                    self.assertNotEqual(name, "cards.kqk")
                return
            # The whole save may have finished between the look and the kill:
            # then the new file must be complete. Try again.
            self.assertEqual(32000, len(cardfiles.decode(data)), "a killed save left a damaged card file")
        self.fail("the save always finished before the kill landed; the test could not see a save cut short")
