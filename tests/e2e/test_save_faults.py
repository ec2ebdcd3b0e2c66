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

    @staticmethod
    def writing_into(pid, folder):
        """Whether the program holds a file open in folder: the new file of
        a save, which has no name there until it is whole."""
        try:
            fds = os.listdir(f"/proc/{pid}/fd")
        except OSError:
            return False
        for fd in fds:
            try:
                target = os.readlink(f"/proc/{pid}/fd/{fd}")
            except OSError:
                continue
            if target.startswith(folder + "/") and not target.endswith("/cards.kqk"):
                return True
        return False

    def test_killed_while_saving_32000_cards(self):
        """Killed at moments spread over the save: the card file is whole
        every time (the old one, or the new one when the save got through),
        and nothing else is left in the folder."""
        original = session.big_file_bytes()
        folder = self.path("big")
        os.mkdir(folder)
        path = os.path.join(folder, "cards.kqk")
        cut_short = 0
        for delay in (0.0, 0.005, 0.01, 0.02, 0.04, 0.08):
            with self.subTest(delay=delay):
                with open(path, "wb") as f:
                    f.write(original)
                p = self.start(path)
                p.main_window(timeout=60)
                p.wait_caption("cards.kqk" + CAPTION_SUFFIX, timeout=60)
                p.wait_shown(32000, 32000)
                p.type_into(2, " changed")
                st = os.stat(path)
                p.key("ctrl+s")
                # The first sign of the save: its new file open in the folder
                # (or the card file already replaced).
                end = time.monotonic() + 30
                while time.monotonic() < end:
                    if self.writing_into(p.pid, folder):
                        break
                    now = os.stat(path)
                    if (now.st_ino, now.st_size, now.st_mtime_ns) != (st.st_ino, st.st_size, st.st_mtime_ns):
                        break
                else:
                    self.fail("the save of 32000 cards left no trace within 30 s")
                time.sleep(delay)
                p.kill(signal.SIGKILL)
                self.assertEqual(["cards.kqk"], sorted(os.listdir(folder)), "what the killed save left in the folder")
                with open(path, "rb") as f:
                    data = f.read()
                if data == original:
                    cut_short += 1
                else:
                    cards = cardfiles.decode(data)
                    self.assertEqual(32000, len(cards), "a killed save left a damaged card file")
                    self.assertIn(" changed", cards[31999][1], "the new file, whole")
        print(f"\n  {cut_short} of 6 kills cut the save short; 0 stray files, 0 damaged card files")
        self.assertGreater(cut_short, 0, "the save always finished before the kill landed: no save was cut short")
