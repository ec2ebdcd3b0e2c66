"""The card file dialogs as a user sees them: the file type entry reads as
the program gives it, and card files are listed whatever the case of their
ending (.kqk, .KQK, .kqd, .KQD); a lower-case one opens."""
import cardfiles
from cardomo import CAPTION_SUFFIX
from desktop import walk, wait_until
from session import ProgramTest

OPEN_TITLE = "Open Cardomo card file (.kqk) UTF-8"
SAVE_AS_TITLE = "Save Cardomo card file as (.kqk) UTF-8"
IMPORT_TITLE = "Input Cardomo card file (*.kqk)"
IMPORT_ENTRY = "Input an external card file to the current card file"
CARD_FILES = ["lower.kqk", "UPPER.KQK", "old.kqd", "OLD.KQD", "Mixed.Kqk"]
OTHER_FILES = ["notes.txt", "lower.kqk.bak"]


class FileDialogs(ProgramTest):
    def setUp(self):
        super().setUp()
        for n, name in enumerate(CARD_FILES + OTHER_FILES, start=1):
            cardfiles.write(self.path(name), cardfiles.numbered(n))

    def dialog_view(self, p, title, listed):
        """The names of the file type entries shown in the dialog titled title
        (its drop-down lists' screen-reader names) and of the files it lists,
        once every name of listed is among them."""
        dialog = p.wait_dialog(title)

        def shown():
            nodes = walk(dialog.acc)
            files = {n.name for n in nodes if n.role in ("list item", "table cell")}
            return files if set(listed) <= files else None

        files = wait_until(shown, 15, lambda: f"the dialog {title!r} listing {listed}")
        combos = [n.name for n in walk(dialog.acc) if n.role == "combo box"]
        return combos, files

    def test_entries_read_as_given_and_every_case_is_listed(self):
        p = self.start(self.path("missing.kqk"))
        p.answer("Return")  # the missing file's message: no card file
        p.main_window()
        cases = [
            ("Open", "ctrl+o", OPEN_TITLE, "CARDOMO data file (*.KQK)"),
        ]
        for what, key, title, entry in cases:
            with self.subTest(what):
                p.key(key)
                combos, files = self.dialog_view(p, title, CARD_FILES)
                self.assertIn(entry, combos)
                self.assertEqual([], [c for c in combos if "kqk" in c or "KQD" in c], "no other entry text")
                self.assertEqual(set(), files & set(OTHER_FILES), "no other file listed")
        # The lower-case card file opens through the dialog.
        p.choose_file(OPEN_TITLE, self.path("lower.kqk"))
        p.wait_caption("lower.kqk" + CAPTION_SUFFIX)
        p.wait_shown(1, 1)

        for what, open_it, title, entry in [
            ("Save As", lambda: p.menu("File", "Save As"), SAVE_AS_TITLE, "CARDOMO data file (*.KQK)"),
            ("import", lambda: p.menu("Edit", IMPORT_ENTRY), IMPORT_TITLE, "Cardomo tiedosto (*.KQK)"),
        ]:
            with self.subTest(what):
                open_it()
                combos, files = self.dialog_view(p, title, CARD_FILES)
                self.assertIn(entry, combos)
                self.assertEqual([], [c for c in combos if "kqk" in c or "KQD" in c], "no other entry text")
                self.assertEqual(set(), files & set(OTHER_FILES), "no other file listed")
                p.activate_window(title)
                p.desktop.key("Escape")
                wait_until(lambda: title not in p.titles(), 15, f"the dialog {title!r} to close after Escape")
        self.assertEqual("lower.kqk" + CAPTION_SUFFIX, p.caption())
