"""Picking cards with the main window's "SEARCH FROM ONE FIELD" group,
listing the picked cards, saving the listing as text and saving the picked
cards as text; the files compared with the texts the test lays out itself."""
import os
import re
import time

import cardfiles
from cardomo import CAPTION_SUFFIX
from desktop import states_of, text_of, wait_until
from session import ProgramTest

PICKED_TITLE = "Picked Cards  -  CARDOMO  0.5 beta"
# The picked cards window's field boxes by their labels (screen-reader names).
PICKED_FIELDS = ["1. Title", "2. Title", "3. Title", "4.D", "5.Mo", "6. Year", "7. Page", "8. Topic",
                 "9. Keywords", "10. File link", "11. Code1", "12. Code2", "13. Code3", "14.yyyy", "15.mm",
                 "16.dd", "17.hh+mm", "18. Memo"]
LISTING_TITLE = "Listing of the picked cards - CARDOMO 0.5 beta"
LISTING_SAVE_TITLE = "Save the content of the form as UTF-8 text (*.txt)"
TEXT_SAVE_TITLE = "Save as text (*.txt) (UTF-8)"
BANNER = "== Cardomo 0.5 beta (v.0.5.1.0.2) Note Card Software =="
SEPARATOR = "=" * 47


def memo_lines(memo):
    """The lines a Memo takes in a text: its own lines, then a line break."""
    return memo.split("\r\n")


def title_line(c):
    return f"{c[0]}   {c[1]}   {c[2]}   {c[3]} {c[4]} {c[5]}, {c[6]}"


def picked_listing(cards, card_file):
    """The lines of the listing of picked cards, every field ticked, after
    its first line (the title with the date and the time)."""
    sp = " "
    lines = ["", f"Number of the cards {len(cards)}", ""]
    for n, c in enumerate(cards, start=1):
        lines += [SEPARATOR + str(n), title_line(c), "", "",
                  f"{sp}Topic:{sp * 10}{c[7]}", f"{sp}Keywords:{sp * 2}{c[8]}", f"{sp}File link:{sp * 6}{c[9]}",
                  f"{sp}Code1:{sp * 10}{c[10]}", f"{sp}Code2:{sp * 10}{c[11]}", f"{sp}Code3:{sp * 10}{c[12]}",
                  f"{sp}Action date:{sp * 2}{c[13]} {c[14]} {c[15]} {c[16]}", "", "",
                  *memo_lines(c[17]), "", sp + c[18], ""]
    lines += [f"Picked from the file {card_file}", "", BANNER, ""]
    return lines


def picked_text_export(cards, card_file):
    """The lines of the picked cards saved as text, after its first line."""
    sp = " "
    lines = ["", f"Number of the cards {len(cards)}", ""]
    for n, c in enumerate(cards, start=1):
        lines += [SEPARATOR + str(n), title_line(c), "",
                  f"{sp * 3}Topic:{sp * 10}{c[7]}", f"{sp * 3}Keywords:{sp * 2}{c[8]}",
                  f"{sp * 3}File link:{sp * 6}{c[9]}", f"{sp * 3}Code1:{sp * 8}{c[10]}",
                  f"{sp * 3}Code2:{sp * 8}{c[11]}", f"{sp * 3}Code3:{sp * 8}{c[12]}",
                  f"{sp * 3}Action date:{sp * 2}{c[13]} {c[14]} {c[15]} {c[16]}", "",
                  *memo_lines(c[17]), "", sp + c[18], ""]
    lines += ["", "", card_file, "", BANNER, ""]
    return lines


def text_file(first_line, lines):
    """A text file's bytes: the byte-order mark, each line ended by CR LF."""
    return cardfiles.BOM + "".join(line + "\r\n" for line in [first_line, *lines]).encode("utf-8")


def cards_to_pick():
    """Six cards; the Keywords of cards 1, 3 and 6 contain "äänestys"."""
    cards = []
    for k in range(1, 7):
        c = cardfiles.empty_card(f"y2024m{k}d1h2mn3s4ms{k}")
        c[0] = f"Kortti {k}"
        cards.append(c)
    cards[0][:17] = ["Pöytäkirja", "Kokous 3/99", "II", "05", "11", "1999", "12", "hallitus",
                     "talous äänestys", "https://example.org/a?b=1&c=2", "K001", "x", "z", "2020", "01", "02",
                     "10:30"]
    cards[0][cardfiles.MEMO] = "ensimmäinen rivi\r\n\r\n  kolmas rivi, sisennetty\t(tab)"
    cards[1][8] = "ÄÄNESTYS"                    # upper case: not found
    cards[1][cardfiles.MEMO] = "äänestys"       # in another field: not found
    cards[2][8] = "äänestys"
    cards[2][0] = ""                             # an empty title and an empty Memo
    cards[3][7] = "äänestys"                     # the Topic: not the field searched
    cards[4][8] = "ää nestys"
    cards[5][8] = "vaali; äänestysprosentti 71,2 %"
    cards[5][0] = "Åström & <b>Dvořák</b> €"
    cards[5][cardfiles.MEMO] = "viimeinen rivi päättyy rivinvaihtoon\r\n"
    return cards


class PickListSave(ProgramTest):
    def assertStamped(self, line, title, before, after):
        """line is title, the date and the time: taken between before and
        after (seconds since the epoch) in the user's short date and long
        time formats (whatever they are, the day and the year are numbers and
        the time has hours, minutes and seconds)."""
        self.assertTrue(line.startswith(title), f"{line!r} starts with {title!r}")
        m = re.fullmatch(r"(?P<date>\S(?:.*\S)?) (?P<h>\d{1,2}):(?P<min>\d\d):(?P<s>\d\d)(?: ?[AaPp]\.?[Mm]\.?)?",
                         line[len(title):])
        self.assertIsNotNone(m, f"{line!r}: the date and the time after {title!r}")
        moments = [time.localtime(t) for t in range(int(before) - 1, int(after) + 2)]
        times = {(t.tm_hour % 12, t.tm_min, t.tm_sec) for t in moments}
        self.assertIn((int(m["h"]) % 12, int(m["min"]), int(m["s"])), times, f"the time in {line!r}")
        numbers = {int(n) for n in re.findall(r"\d+", m["date"])}
        self.assertTrue(any(t.tm_mday in numbers and (t.tm_year in numbers or t.tm_year % 100 in numbers)
                            for t in moments), f"the day and the year of today in {line!r}")

    def saved_text(self, p, title, path, timeout=15):
        """The bytes of the text file at path once a save has made it."""
        wait_until(lambda: os.path.exists(path), timeout, lambda: f"{path} saved; {p.describe()}")
        with open(path, "rb") as f:
            return f.read()

    def assertText(self, data, title, before, after, expected_lines, what):
        """data is a text file: its first line stamped, then exactly the
        expected lines."""
        self.assertTrue(data.startswith(cardfiles.BOM), f"{what} starts with the byte-order mark")
        first, _, rest = data[len(cardfiles.BOM):].partition(b"\r\n")
        self.assertStamped(first.decode("utf-8"), title, before, after)
        expected = text_file(first.decode("utf-8"), expected_lines)
        if data != expected:
            got_lines = data[len(cardfiles.BOM):].decode("utf-8").split("\r\n")[1:]
            want_lines = [*expected_lines, ""]
            at = next((i for i, (a, b) in enumerate(zip(got_lines, want_lines)) if a != b),
                      min(len(got_lines), len(want_lines)))
            self.fail(f"{what}: line {at + 2} is {got_lines[at:at + 1]!r}, expected {want_lines[at:at + 1]!r} "
                      f"({len(got_lines)} lines, expected {len(want_lines)})")

    def test_pick_list_and_save_the_listing_and_the_picked_cards_as_text(self):
        cards = cards_to_pick()
        path = self.path("vaalit.kqk")
        original = cardfiles.write(path, cards)
        picked = [cards[0], cards[2], cards[5]]
        p = self.start(path)
        p.main_window()
        main = "vaalit.kqk" + CAPTION_SUFFIX
        p.wait_caption(main)
        p.wait_shown(6, 6)

        field, operator = p.choosers(main, "SEARCH FROM ONE FIELD")
        self.assertEqual(("1 Title1", "~"), (field.name, operator.name), "the choosers at start")
        p.choose(field, main, "9 Keywords")
        p.choose(operator, main, "~")
        p.set_text(main, "Search string", "äänestys")
        p.key("F9")

        # The picked cards window opens on the last picked card.
        p.activate_window(PICKED_TITLE)
        labels = [n.name for n in p.controls(PICKED_TITLE) if n.role == "label"]
        self.assertEqual("3", text_of(p.control(PICKED_TITLE, "text", "Card order number")))
        self.assertIn(" / 3", labels, "the count of picked cards")
        self.assertEqual(cards[5][0], text_of(p.control(PICKED_TITLE, "text", "1. Title")))
        self.assertEqual(cards[5][8], text_of(p.control(PICKED_TITLE, "text", "9. Keywords")))
        self.assertIn("19. Tunniste: " + cards[5][cardfiles.CARD_ID], labels)
        self.assertTrue(p.is_modal(PICKED_TITLE), "the picked cards window holds the main window")
        # A screen reader hears its field boxes as text that cannot be changed;
        # the order number box takes typing.
        self.assertEqual({}, {name: "editable" for name in PICKED_FIELDS
                              if "editable" in states_of(p.control(PICKED_TITLE, "text", name))})
        self.assertIn("editable", states_of(p.control(PICKED_TITLE, "text", "Card order number")))

        # F8: the listing of the picked cards, in place of the picked cards window.
        before = time.time()
        p.desktop.key("F8")
        p.activate_window(LISTING_TITLE)
        after = time.time()
        self.assertFalse(p.window_shown(PICKED_TITLE), "the listing hides the picked cards window")
        expected = picked_listing(picked, path)
        listing = p.control(LISTING_TITLE, "text", "Listing")
        shown_text = re.sub("[\u2028\u2029]", "\n", text_of(listing))
        first, _, rest = shown_text.partition("\n")
        self.assertStamped(first, "Cardomo 0.5 - Listing of the picked cards   ", before, after)
        self.assertEqual("\n".join(expected) + "\n", rest, "the listing shown")

        # Form > Save as text (Ctrl+K), a name without extension: .txt is added.
        p.desktop.key("ctrl+k")
        p.choose_file(LISTING_SAVE_TITLE, self.path("listaus"))
        data = self.saved_text(p, LISTING_TITLE, self.path("listaus.txt"))
        self.assertText(data, "Cardomo 0.5 - Listing of the picked cards   ", before, after, expected,
                        "the saved listing")
        self.assertEqual(first.encode("utf-8"), data[len(cardfiles.BOM):].partition(b"\r\n")[0],
                         "the saved listing's first line is the one shown")

        # Esc closes the listing and brings the picked cards window back.
        p.activate_window(LISTING_TITLE)
        p.desktop.key("Escape")
        p.activate_window(PICKED_TITLE)
        self.assertFalse(p.window_shown(LISTING_TITLE))
        self.assertEqual("3", text_of(p.control(PICKED_TITLE, "text", "Card order number")))

        # Picked cards > Save As Text File (Ctrl+K).
        before = time.time()
        p.desktop.key("ctrl+k")
        p.choose_file(TEXT_SAVE_TITLE, self.path("poimitut.txt"))
        data = self.saved_text(p, PICKED_TITLE, self.path("poimitut.txt"))
        after = time.time()
        self.assertText(data, "Cardomo 0.5 beta - Saving of the picked cards  ", before, after,
                        picked_text_export(picked, path), "the picked cards saved as text")

        # Esc closes the picked cards window; the card file is as it was.
        p.activate_window(PICKED_TITLE)
        p.desktop.key("Escape")
        wait_until(lambda: not p.window_shown(PICKED_TITLE), 15, "the picked cards window to close on Esc")
        self.assertEqual(("6", " / 6"), p.shown_card())
        self.assertFileBytes(path, original, "the card file")
        self.assertEqual({"vaalit.kqk", "listaus.txt", "poimitut.txt"},
                         {n for n in os.listdir(self.dir) if not n.endswith(".log")})
