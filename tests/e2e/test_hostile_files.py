"""Paths that are not card files, given to the real program the ways a user
names a file: the command line, File > Open and the two imports. One table:
each row says how the path is made, which way it is given, the message (or
the card shown), how soon the answer must come and how much memory over the
program's idle it may take; every file is unchanged on disk afterwards."""
import os
import stat
import time

import cardfiles
from cardomo import CAPTION_SUFFIX
from session import ProgramTest

OPEN_TITLE = "Open Cardomo card file (.kqk) UTF-8"
IMPORT_TITLE = "Input Cardomo card file (*.kqk)"
IMPORT_ENTRY = "Input an external card file to the current card file"
OLD_IMPORT_ENTRY = "Input external ANSI card file to the current card file (old format)"
MIB = 1 << 20
OLD_NOT_CARD_FILE = ("The file you are trying to open might not be saved with the current version or the file "
                     "is corrupted. Please update the software")


def not_regular(path, kind):
    return f'Cannot open file "{path}". It is {kind}, not a regular file: only a card file can be read.'


def sparse(path, head, hole, tail=b""):
    """head, then hole bytes of zeros that take no disk, then tail."""
    with open(path, "wb") as f:
        f.write(head)
        if tail:
            f.seek(len(head) + hole)
            f.write(tail)
        else:
            f.truncate(len(head) + hole)


def latin1_card_file():
    """Two cards; the second has a Latin-1 "é" in its topic."""
    data = cardfiles.encode(cardfiles.numbered(2))
    return data.replace(b"\r\nCard 2\r\n" + b"\r\n" * 6, b"\r\nCard 2\r\n" + b"\r\n" * 6 + b"caf\xe9", 1)


def identity(path):
    try:
        st = os.lstat(path)
    except OSError:
        return None
    return (st.st_mode, st.st_ino, st.st_size, st.st_mtime_ns)


def peak_reset(pid):
    """Sets the process's peak memory back to what it holds now (as root, or
    the process's owner); False where the system does not allow it."""
    try:
        with open(f"/proc/{pid}/clear_refs", "w") as f:
            f.write("5")
        return True
    except OSError:
        return False


def memory_kib(pid, key):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1])
    return 0


class HostileFiles(ProgramTest):
    def make(self):
        """The paths of the table, made in the test's folder."""
        d = self.dir
        os.mkfifo(os.path.join(d, "pipe.kqk"))
        os.mkdir(os.path.join(d, "folder.kqk"))
        sparse(os.path.join(d, "zeros.kqk"), b"", 2048 * MIB)
        sparse(os.path.join(d, "longline.kqk"), b"h\r\n", 300 * MIB, b"\r\n1\r\n")
        with open(os.path.join(d, "latin1.kqk"), "wb") as f:
            f.write(latin1_card_file())
        with open(os.fsencode(d) + b"/caf\xe9.kqk", "wb") as f:
            f.write(cardfiles.encode(cardfiles.numbered(1)))
        cardfiles.write(os.path.join(d, "good.kqk"), cardfiles.numbered(3))

    def answer_within(self, p, seconds, megabytes, expected, act):
        """Runs act (which gives the path to the program through a file
        dialog) and checks the message that follows, the time from the
        dialog's Return to the message and the peak memory over the
        program's memory before it."""
        p.main_window()
        measured = peak_reset(p.pid)
        idle = memory_kib(p.pid, "VmRSS")
        act()
        box = p.wait_message()
        took = time.monotonic() - p.chosen_at
        peak = memory_kib(p.pid, "VmHWM")
        self.assertEqual(expected, box.text)
        p.answer("Return")
        self.assertLessEqual(took, seconds, f"answered after {took:.2f} s")
        if measured:
            self.assertLessEqual((peak - idle) / 1024, megabytes, f"peak {peak} KiB against {idle} KiB idle")
        return took, (peak - idle) / 1024 if measured else None

    def test_every_door_refuses_at_once_and_changes_nothing(self):
        self.make()
        d = self.dir
        pipe, folder = os.path.join(d, "pipe.kqk"), os.path.join(d, "folder.kqk")
        zeros, longline = os.path.join(d, "zeros.kqk"), os.path.join(d, "longline.kqk")
        raw_name = os.fsdecode(os.fsencode(d) + b"/caf\xe9.kqk")   # the bytes as the command line carries them
        shown_name = os.path.join(d, "caf\ufffd.kqk")               # as the program decodes them
        name_message = (f'Cannot open file "{shown_name}". Its name is not valid UTF-8, which this program '
                        "cannot keep. Please rename the file (with a name in UTF-8) and try again.")
        # what, the path, the door, the message, seconds, MiB over idle
        rows = [
            ("named pipe", pipe, "command line", not_regular(pipe, "a named pipe"), 1, 100),
            ("named pipe", pipe, "open", not_regular(pipe, "a named pipe"), 1, 100),
            ("named pipe", pipe, "old import", not_regular(pipe, "a named pipe"), 1, 100),
            ("character device", "/dev/zero", "old import", not_regular("/dev/zero", "a character device"), 1, 100),
            ("character device", "/dev/zero", "import", not_regular("/dev/zero", "a character device"), 1, 100),
            ("folder", folder, "command line", not_regular(folder, "a folder"), 1, 100),
            ("2 GiB of zeros", zeros, "old import", OLD_NOT_CARD_FILE, 5, 100),
            ("a 300 MiB line", longline, "old import", OLD_NOT_CARD_FILE, 5, 100),
            ("name not UTF-8", raw_name, "command line", name_message, 1, 100),
        ]
        before = {path: identity(path) for _, path, *_ in rows}
        figures = []
        for what, path, door, message, seconds, megabytes in rows:
            with self.subTest(f"{what} through {door}"):
                if door == "command line":
                    # Timed from the program's start: it comes up, then answers.
                    p = self.start(path)
                    started = time.monotonic()
                    box = p.wait_message()
                    took = time.monotonic() - started
                    self.assertEqual(message, box.text)
                    p.answer("Return")
                    p.main_window()
                    self.assertLessEqual(took, seconds + 5, "the start and the answer")
                    figures.append((what, door, took, None))
                elif door == "open":
                    p = self.start(os.path.join(d, "missing.kqk"))
                    p.answer("Return")

                    def act():
                        p.key("ctrl+o")
                        p.choose_file(OPEN_TITLE, path)
                    figures.append((what, door, *self.answer_within(p, seconds, megabytes, message, act)))
                    self.assertFalse(p.caption().endswith(CAPTION_SUFFIX), "no card file open")
                else:
                    p = self.start(os.path.join(d, "good.kqk"))
                    p.main_window()
                    p.wait_shown(3, 3)

                    def act():
                        p.menu("Edit", OLD_IMPORT_ENTRY if door == "old import" else IMPORT_ENTRY)
                        p.choose_file(IMPORT_TITLE, path)
                    figures.append((what, door, *self.answer_within(p, seconds, megabytes, message, act)))
                    self.assertEqual(("3", " / 3"), p.shown_card())
                p.kill()
        for path, was in before.items():
            self.assertEqual(was, identity(path), f"{path} unchanged on disk")
        print()
        for what, door, took, mib in figures:
            extra = f", {mib:.1f} MiB over idle" if mib is not None else ""
            print(f"  {what} through {door}: {took:.2f} s{extra}")
        os.unlink(os.fsencode(d) + b"/caf\xe9.kqk")

    def test_bytes_that_are_not_utf8_are_told_after_the_file_is_shown(self):
        path = self.path("latin1.kqk")
        data = latin1_card_file()
        with open(path, "wb") as f:
            f.write(data)
        p = self.start(path)
        box = p.wait_message()
        self.assertEqual("The file holds bytes that are not valid UTF-8 in 1 field, shown as \ufffd. The first is "
                         "in card 2, field 8 Topic. Save will write each of them as U+FFFD, and their original "
                         "bytes will be lost.", box.text)
        self.assertEqual("latin1.kqk" + CAPTION_SUFFIX, p.caption())   # shown before the message
        p.answer("Return")
        p.wait_shown(2, 2)
        self.assertEqual("caf\ufffdtopic 2", p.field(8))
        self.assertTrue(p.no_message())
        # Saved, the byte is U+FFFD.
        p.key("ctrl+s")
        expected = data.replace(b"caf\xe9", b"caf\xef\xbf\xbd")
        deadline = time.monotonic() + 15
        while time.monotonic() < deadline:
            with open(path, "rb") as f:
                if f.read() == expected:
                    break
            time.sleep(0.1)
        self.assertFileBytes(path, expected, "the saved card file")
