"""The keys of the main window and the picked cards window with real key
presses: each command key of a window's key table runs its command once,
whatever kind of control has the focus, and the control keeps its value (a
drop-down list keeps its choice, an editor shows the card it moved to); a
listing closed with a quick Esc does not cut the next listing short."""
import re

import cardfiles
from cardomo import CAPTION_SUFFIX, DEFAULT_TIMEOUT
from desktop import states_of, text_of, wait_until
from session import ProgramTest

PICKED_TITLE = "Picked Cards  -  CARDOMO  0.5 beta"
PREVIEW_TITLE = "Preview - CARDOMO  0.5 beta"
COUNT = 30


def cards():
    """30 cards: Title1 "Card k", Code1 "Code k", Memo "Memo k"."""
    out = []
    for k in range(1, COUNT + 1):
        c = cardfiles.empty_card(f"id{k}")
        c[0], c[10], c[cardfiles.MEMO] = f"Card {k}", f"Code {k}", f"Memo {k}"
        out.append(c)
    return out


# Each window's key table: the keys it runs as commands, with where each
# leaves the card shown (1-based, of COUNT). With the finds set to match
# every card, a find moves one card, and does nothing at the end it faces.
MOVES = {
    "ctrl+Prior": lambda n: max(1, n - 1),
    "ctrl+Next": lambda n: min(COUNT, n + 1),
    "alt+Prior": lambda n: max(1, n - 10),
    "alt+Next": lambda n: min(COUNT, n + 10),
    "alt+Home": lambda n: 1,
    "alt+End": lambda n: COUNT,
}
FINDS = {
    "ctrl+Left": lambda n: max(1, n - 1),
    "ctrl+Right": lambda n: min(COUNT, n + 1),
    "alt+Left": lambda n: max(1, n - 1),
    "alt+Right": lambda n: min(COUNT, n + 1),
}
KEY_TABLES = {
    "main": {**MOVES, **FINDS},
    "picked": dict(MOVES),
}
# The order in which the keys are pressed: each moves the card somewhere else.
ORDER = ["alt+Prior", "ctrl+Prior", "ctrl+Right", "alt+Home", "alt+Right", "ctrl+Next", "alt+Next",
         "ctrl+Left", "alt+End", "alt+Left"]


def value_of(acc):
    """What a control holds: a drop-down list its entry shown, a radio button
    or check box whether it is checked, an editor its text."""
    role = acc.getRoleName()
    if role == "combo box":
        return acc.name
    if role in ("radio button", "check box"):
        return "checked" in states_of(acc)
    if role == "push button":
        return acc.name
    return text_of(acc)


class KeyConduct(ProgramTest):
    def give_focus(self, p, title, acc):
        if acc.getRoleName() == "combo box":
            # A drop-down list takes the focus as a user gives it: its list
            # opened by a click and closed again with Esc.
            p.click(acc, title, at_right=True)
            wait_until(lambda: "expanded" in states_of(acc), DEFAULT_TIMEOUT, f"the list of {acc.name!r} open")
            p.desktop.key("Escape")
            wait_until(lambda: "expanded" not in states_of(acc), DEFAULT_TIMEOUT, f"the list of {acc.name!r} closed")
        else:
            acc.queryComponent().grabFocus()
        wait_until(lambda: "focused" in states_of(acc), DEFAULT_TIMEOUT,
                   lambda: f"the focus in {acc.getRoleName()} {acc.name!r}")

    def walk_the_table(self, p, title, table, controls, expected_after, start):
        """Every key of table with the focus in every control: the card moves
        as the key's command moves it once, and the control holds what it
        should. start is the card shown."""
        number = p.control(title, "text", "Card order number")
        shown = start
        for kind, acc in controls:
            for key in [k for k in ORDER if k in table]:
                with self.subTest(window=title, control=kind, key=key):
                    p.activate_window(title)
                    self.give_focus(p, title, acc)
                    before = value_of(acc)
                    want = table[key](shown)
                    p.desktop.key(key)
                    wait_until(lambda: text_of(number) == str(want), DEFAULT_TIMEOUT,
                               lambda: f"card {want} after {key} from card {shown} with the focus in the "
                                       f"{kind}; it shows {text_of(number)}")
                    shown = want
                    self.assertTrue(p.no_message(), "no message")
                    self.assertEqual(expected_after(kind, before, shown), value_of(acc),
                                     f"the {kind} after {key}")
        return shown

    def test_every_command_key_runs_once_from_every_kind_of_control(self):
        path = self.path("keys.kqk")
        cardfiles.write(path, cards())
        p = self.start(path)
        main = "keys.kqk" + CAPTION_SUFFIX
        p.main_window()
        p.wait_shown(COUNT, COUNT)

        # Finds that match every card; a connective, a sort key and a
        # direction that are not the first of their lists.
        field, operator = p.choosers(main, "SEARCH FROM ONE FIELD")
        p.choose(operator, main, ">=")
        p.set_text(main, "Search string", "Card")
        first, connective, second = p.choosers(main, "BOOLEAN SEARCH FROM TWO FIELDS")
        p.choose(connective, main, "OR")
        names = [n.name for n in p.controls(main) if n.role == "text"]
        boolean_boxes = [n.acc for n in p.controls(main) if n.role == "text" and n.name.startswith("First")]
        self.assertTrue(boolean_boxes, f"the first Boolean search string among {names}")
        p.click(boolean_boxes[0], main)
        wait_until(lambda: "focused" in states_of(boolean_boxes[0]), DEFAULT_TIMEOUT, "the first Boolean string")
        p.desktop.type("Card")
        keys = p.choosers(main, "SORTING ORDER")
        p.choose(keys[2], main, "7")
        descending = p.control(main, "radio button", "Descending")
        p.click(descending, main)
        wait_until(lambda: "checked" in states_of(descending), DEFAULT_TIMEOUT, "Descending checked")

        def main_controls():
            return [("one-line box", p.control(main, "text", "1. Title")),
                    ("edit line", p.control(main, "text", "11.Code 1")),
                    ("Memo", p.control(main, "text", "18. Memo")),
                    ("order number box", p.control(main, "text", "Card order number")),
                    ("search string", p.control(main, "text", "Search string")),
                    ("field chooser", field), ("operator chooser", operator),
                    ("connective chooser", connective), ("sort key", keys[2]),
                    ("radio button", descending), ("button", p.control(main, "push button", "Home"))]

        def expected(kind, before, card):
            return {"one-line box": f"Card {card}", "edit line": f"Code {card}", "Memo": f"Memo {card}",
                    "order number box": str(card)}.get(kind, before)

        self.walk_the_table(p, main, KEY_TABLES["main"], main_controls(), expected, COUNT)
        self.assertEqual((">=", "OR", "7"), (operator.name, connective.name, keys[2].name),
                         "the choosers keep what the user chose")

        # The picked cards window over every card ("<>" with an empty string).
        p.choose(operator, main, "<>")
        search = p.control(main, "text", "Search string")
        self.give_focus(p, main, search)
        p.desktop.key("ctrl+a", "BackSpace")
        wait_until(lambda: text_of(search) == "", DEFAULT_TIMEOUT, "the search string emptied")
        p.key("F9")
        p.activate_window(PICKED_TITLE)
        pfield, poperator = p.choosers(PICKED_TITLE, "FILTER FROM ONE FIELD")
        pfirst, pconnective, psecond = p.choosers(PICKED_TITLE, "BOOLEAN FILTERING FROM TWO FIELDS")
        p.choose(pconnective, PICKED_TITLE, "XOR")
        pkeys = p.choosers(PICKED_TITLE, "Sorting order")
        p.choose(pkeys[2], PICKED_TITLE, "7")
        picked = [("one-line box", p.control(PICKED_TITLE, "text", "1. Title")),
                  ("edit line", p.control(PICKED_TITLE, "text", "11. Code1")),
                  ("Memo", p.control(PICKED_TITLE, "text", "18. Memo")),
                  ("order number box", p.control(PICKED_TITLE, "text", "Card order number")),
                  ("search string", p.control(PICKED_TITLE, "text", "Search string")),
                  ("operator chooser", poperator), ("connective chooser", pconnective), ("sort key", pkeys[2]),
                  ("radio button", p.control(PICKED_TITLE, "radio button", "Descending")),
                  ("button", p.control(PICKED_TITLE, "push button", "Home"))]
        self.walk_the_table(p, PICKED_TITLE, KEY_TABLES["picked"], picked, expected, COUNT)
        self.assertEqual(("XOR", "7"), (pconnective.name, pkeys[2].name))

        # Esc closes the picked cards window: the main window's choosers
        # are as the user left them.
        p.activate_window(PICKED_TITLE)
        p.desktop.key("Escape")
        wait_until(lambda: not p.window_shown(PICKED_TITLE), DEFAULT_TIMEOUT, "the picked cards window to close")
        self.assertEqual(("<>", "OR", "7"), (operator.name, connective.name, keys[2].name))

    def test_an_entrys_key_runs_it_from_a_one_line_box(self):
        # Ctrl+E is "end of line" to a text box on this desktop; the window's
        # entry "Previe&w" has it, and runs once from every kind of box.
        path = self.path("keys.kqk")
        cardfiles.write(path, cards()[:3])
        p = self.start(path)
        main = "keys.kqk" + CAPTION_SUFFIX
        p.main_window()
        p.wait_shown(3, 3)
        for name in ("1. Title", "11.Code 1", "18. Memo", "Card order number", "Search string"):
            with self.subTest(box=name):
                box = p.control(main, "text", name)
                p.activate_main()
                box.queryComponent().grabFocus()
                wait_until(lambda: "focused" in states_of(box), DEFAULT_TIMEOUT, f"the focus in {name!r}")
                before = text_of(box)
                p.desktop.key("ctrl+e")
                p.activate_window(PREVIEW_TITLE)
                p.desktop.key("Escape")
                wait_until(lambda: not p.window_shown(PREVIEW_TITLE), DEFAULT_TIMEOUT, "the preview to close")
                p.activate_main()
                self.assertFalse(p.window_shown(PREVIEW_TITLE), "the preview opened once")
                self.assertEqual(before, text_of(box))


class EscAfterAListing(ProgramTest):
    def test_a_listing_closed_with_a_quick_esc_leaves_the_next_listing_whole(self):
        path = self.path("esc.kqk")
        cardfiles.write(path, cards()[:5])
        p = self.start(path)
        p.main_window()
        p.wait_shown(5, 5)
        title = "Listing  esc.kqk - CARDOMO 0.5 beta"
        for attempt in range(3):
            with self.subTest(listing=attempt + 1):
                p.key("F8")
                p.activate_window(title)
                listing = p.control(title, "text", "Listing")
                text = re.sub("[\u2028\u2029]", "\n", text_of(listing))
                self.assertEqual(5, len(re.findall(r"^={47}\d+$", text, re.M)), f"every card listed: {text!r}")
                self.assertIn("Card 5", text)
                p.desktop.key("Escape")
                wait_until(lambda: not p.window_shown(title), DEFAULT_TIMEOUT, "the listing window to close")
