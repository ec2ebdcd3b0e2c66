"""Broken card files given to the real program: opened from the command
line, through File > Open and imported through the Edit menu. Each gives its
own message and changes nothing, on screen or on disk."""
import os

import cardfiles
from cardomo import CAPTION_SUFFIX, START_CAPTION
from session import ProgramTest

OPEN_TITLE = "Open Cardomo card file (.kqk) UTF-8"
IMPORT_TITLE = "Input Cardomo card file (*.kqk)"
IMPORT_ENTRY = "Input an external card file to the current card file"
NO_SUCH_FILE = "The file with this name does not exist in this directory"


def long_memo_cards():
    """Two cards; the second one's Memo runs to 32001 lines."""
    cards = cardfiles.numbered(2)
    cards[1][cardfiles.MEMO] = "\r\n".join(f"m{i}" for i in range(32001))
    return cards


# name, how the file is made (None: no file), the message of opening it
# (command line, File > Open) and of importing it.
BROKEN = [
    ("no byte-order mark", "nobom.kqk",
     lambda: cardfiles.encode(cardfiles.numbered(3), bom=False),
     "You are trying to open ANSI file in UTF-8 mode. Please select instead: File --> New and then Edit --> "
     "Input external ANSI card file to the current card file (old format)",
     "You are trying to input ANSI file in UTF-8 mode. Please select instead: Edit --> Input external ANSI "
     "card file to the current card file (old format)"),
    ("format tag without f1g0h0i1", "badtag.kqk",
     lambda: cardfiles.encode(cardfiles.numbered(3), tag="KQa0b5c1d0e2f1g0h0i2"),
     "The file you are trying to open might be saved with different version than you are using, or the data "
     "file is corrupted. Please update the software.",
     "The file you are trying to open might not be saved with the current version or the file is corrupted. "
     "Please update the software"),
    ("32001 cards", "toomany.kqk",
     lambda: cardfiles.encode([cardfiles.empty_card(f"id{k}") for k in range(32001)]),
     "The number of the cards of this file exeeds allowed maximum which is 32000 cards",
     "The file you are trying to open contains more cards than is the allowed number of the cards in current "
     "softwareversion: 32000 cards."),
    ("a Memo of 32001 lines", "longmemo.kqk",
     lambda: cardfiles.encode(long_memo_cards()),
     "File opening error!! The number of the lines of the Memo in some card might exeed max 32000 or the file "
     "is corrupted: 32001 Card: 1",
     "Error in opening the file! The Memo field of some card may exeed allowed mount of lines 32000\r\n or "
     "the file is corrupted: 32001 Error in card index: 1"),
    ("a count line that is no number", "badcount.kqk",
     lambda: cardfiles.encode(cardfiles.numbered(3), count="3x"),
     "'3x' is not a valid integer value",
     "'3x' is not a valid integer value"),
    ("a missing file", "missing.kqk", None,
     None,  # depends on the command: see the tests
     NO_SUCH_FILE),
]


class BrokenFiles(ProgramTest):
    def setUp(self):
        super().setUp()
        self.files = {}
        for _, name, make, _, _ in BROKEN:
            if make is not None:
                data = make()
                with open(self.path(name), "wb") as f:
                    f.write(data)
                self.files[name] = data

    def tearDown(self):
        for name, data in self.files.items():
            self.assertFileBytes(self.path(name), data, "the broken file")
        expected = set(self.files) | {n for n in os.listdir(self.dir) if n.endswith(".log")}
        expected |= getattr(self, "other_files", set())
        self.assertEqual(expected, set(os.listdir(self.dir)), "files in the folder after the test")
        super().tearDown()

    def assertNoCardFile(self, p):
        """The main window is in the state of the start without a card file."""
        self.assertTrue(p.caption().startswith(START_CAPTION), f"caption {p.caption()!r}")
        fields = p.fields()
        self.assertEqual({n: "" for n in range(1, 18)}, {n: fields[n] for n in range(1, 18)})
        # The Memo keeps the welcome text: no card was ever shown.
        self.assertTrue(fields[18].startswith("CARDOMO 0.5  beta   (v.0.5.1.0.2)\nNote Card Software\n"), fields[18])
        self.assertTrue(fields[18].endswith("\nCreate new one:\nFile - New -->"), fields[18])
        self.assertFalse(p.editor_enabled("1. Title"), "the field editors are disabled without a card file")
        self.assertFalse(p.editor_enabled("18. Memo"))
        self.assertIn(p.count_label(), (None, ""))
        entries = p.menu_entries("File")
        self.assertEqual((True, True, False, False),
                         (entries["New"], entries["Open"], entries["Save"], entries["Close"]),
                         "New and Open enabled, Save and Close disabled")
        self.assertTrue(p.no_message())

    def test_opened_from_the_command_line(self):
        for what, name, _, open_message, _ in BROKEN:
            with self.subTest(what):
                path = self.path(name)
                expected = open_message or f'Cannot open file "{path}". No such file or directory'
                p = self.start(path)
                self.assertMessage(p, expected)
                p.main_window()
                self.assertNoCardFile(p)
                p.stop()

    def test_opened_through_file_open(self):
        # Started with the missing file, the program comes up without a card file.
        p = self.start(self.path("missing.kqk"))
        p.answer("Return")
        p.main_window()
        self.assertNoCardFile(p)
        for what, name, _, open_message, _ in BROKEN:
            with self.subTest(what):
                p.key("ctrl+o")
                p.choose_file(OPEN_TITLE, self.path(name))
                self.assertMessage(p, open_message or NO_SUCH_FILE)
                self.assertNoCardFile(p)
                self.assertEqual([], [t for t in p.titles() if "please wait" in t.lower() or "Reading" in t],
                                 "the opening wait window is closed")

    def test_imported_into_an_open_card_file(self):
        cards = cardfiles.numbered(3)
        good = self.path("good.kqk")
        original = cardfiles.write(good, cards)
        self.files["good.kqk"] = original
        # 31998 cards fit into an empty card file but not beside 3.
        self.files["almostfull.kqk"] = cardfiles.write(self.path("almostfull.kqk"),
                                                       [cardfiles.empty_card(f"x{k}") for k in range(31998)])
        cases = [(what, name, message) for what, name, _, _, message in BROKEN]
        cases.append(("31998 cards beside 3", "almostfull.kqk",
                      "The file you are trying to open contains more cards than is the allowed number of the "
                      "cards in current softwareversion: 32000 cards."))

        p = self.start(good)
        p.main_window()
        p.wait_caption("good.kqk" + CAPTION_SUFFIX)
        p.wait_shown(3, 3)
        shown = p.fields()
        for what, name, message in cases:
            with self.subTest(what):
                p.menu("Edit", IMPORT_ENTRY)
                p.choose_file(IMPORT_TITLE, self.path(name))
                self.assertMessage(p, message)
                self.assertEqual(("3", " / 3"), p.shown_card())
                self.assertEqual(shown, p.fields())
                self.assertEqual("good.kqk" + CAPTION_SUFFIX, p.caption())
        # Nothing was imported and nothing marked changed: Close asks only
        # whether to close (No keeps it open).
        p.menu("File", "Close")
        self.assertMessage(p, "Do you really want to close the file?", "alt+n")
        self.assertEqual("good.kqk" + CAPTION_SUFFIX, p.caption())
