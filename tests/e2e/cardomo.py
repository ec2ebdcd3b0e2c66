"""The running program as the tests see it: its windows found by title, keys
sent to them, and what they show (the field editors, the labels, the message
boxes) read back through the accessibility bus."""
import os
import re
import signal
import subprocess
import time

from desktop import DesktopError, Node, spawn, states_of, text_of, walk, wait_until

# The window titles of the program.
PROGRAM_TITLE = "CARDOMO 0.5 beta"           # message boxes carry it
CAPTION_SUFFIX = " - CARDOMO 0.5 beta"       # after the card file's name
START_CAPTION = "CARDOMO 0.5  beta"          # the main window before any card file
CLOSED_CAPTION = "CARDOMO 0.5. beta"         # after Close

# The accessible names of the field editors (their labels), by field number.
FIELD_NAMES = {
    1: "1. Title", 2: "2. Title", 3: "3. Title", 4: "4.D", 5: "5.Mo", 6: "6. Year", 7: "7. Page",
    8: "8. Topic", 9: "9. Keywords", 10: "10. File link", 11: "11.Code 1", 12: "12.Code 2",
    13: "13.Code 3", 14: "14.yyyy", 15: "15.mm", 16: "16.dd", 17: "17.hh:mm", 18: "18. Memo",
}

DEFAULT_TIMEOUT = float(os.environ.get("CARDOMO_E2E_TIMEOUT", "30"))


class Message:
    """A message box open now: its text (the labels, joined by line breaks)
    and its buttons."""

    def __init__(self, window, title, texts, buttons):
        self.window, self.title, self.texts, self.buttons = window, title, texts, buttons

    @property
    def text(self):
        return "\n".join(self.texts)

    def __repr__(self):
        return f"<message {self.text!r} buttons={self.buttons}>"


class Cardomo:
    def __init__(self, desktop, program, args, cwd, env=None, log_path=None):
        self.desktop = desktop
        self.cwd = cwd
        self.log_path = log_path or os.path.join(cwd, "cardomo.log")
        environment = dict(desktop.env, CARDOMO_NO_SPLASH="1", **(env or {}))
        self._log = open(self.log_path, "wb")
        self.proc = spawn([program, *args], cwd=cwd, env=environment, stdout=self._log, stderr=subprocess.STDOUT)
        self._app = None
        self._main = None       # accessible of the main window
        self._main_nodes = None

    # -- the process ----------------------------------------------------------
    @property
    def pid(self):
        return self.proc.pid

    def running(self):
        return self.proc.poll() is None

    def log(self):
        try:
            with open(self.log_path, "rb") as f:
                return f.read().decode("utf-8", "replace")
        except OSError:
            return ""

    def kill(self, sig=signal.SIGKILL):
        if self.running():
            self.proc.send_signal(sig)
        self.proc.wait(10)

    def stop(self):
        if self.running():
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self._log.close()

    def _alive(self):
        if not self.running():
            raise DesktopError(f"the program ended with status {self.proc.returncode}; its output:\n{self.log()}")

    # -- windows ------------------------------------------------------------------
    def x_windows(self, title_re=".*"):
        """The program's visible X windows whose title matches, as ids."""
        out = self.desktop.xdotool("search", "--all", "--onlyvisible", "--pid", str(self.pid), "--name", title_re,
                                   check=False)
        return [w for w in out.split() if w]

    def titles(self):
        return sorted({self.desktop.window_title(w) for w in self.x_windows()})

    def describe(self):
        """What is on the screen now, for failure messages."""
        active = self.desktop.active_window()
        lines = [f"windows: {[(w, self.desktop.window_title(w)) for w in self.x_windows()]}",
                 f"active: {active} {self.desktop.window_title(active)!r}"]
        try:
            lines += [f"message: {m.text!r} {m.buttons}" for m in self.messages()]
        except Exception as e:  # the bus may be what failed
            lines.append(f"(message boxes unreadable: {e})")
        return "; ".join(lines)

    def app(self):
        if self._app is None:
            import pyatspi

            def find():
                self._alive()
                desk = pyatspi.Registry.getDesktop(0)
                for i in range(desk.childCount):
                    a = desk.getChildAtIndex(i)
                    try:
                        if a is not None and a.get_process_id() == self.pid:
                            return a
                    except Exception:
                        continue
                return None

            self._app = wait_until(find, DEFAULT_TIMEOUT, "the program on the accessibility bus")
        return self._app

    def top_windows(self):
        """The program's shown top-level windows as Nodes (not their contents)."""
        out = []
        app = self.app()
        for i in range(app.childCount):
            try:
                acc = app.getChildAtIndex(i)
                node = Node(acc, acc.getRoleName(), acc.name, 1)
            except Exception:
                continue
            if node.showing:
                out.append(node)
        return out

    def main_window(self, timeout=DEFAULT_TIMEOUT):
        """The main window (role frame), once it is shown."""
        if self._main is None:
            def find():
                self._alive()
                frames = [n for n in self.top_windows() if n.role == "frame"]
                return frames[0].acc if frames else None

            self._main = wait_until(find, timeout, lambda: f"the main window; open: {self.titles()}")
        return self._main

    def caption(self):
        return self.main_window().name

    def wait_caption(self, caption, timeout=DEFAULT_TIMEOUT):
        wait_until(lambda: self.caption() == caption, timeout,
                   lambda: f"the main window's caption {caption!r}; it is {self.caption()!r}")

    def _area(self):
        """The editors, labels and buttons of the main window (not its
        menus), found once: the main window keeps its controls for its life."""
        if self._main_nodes is None:
            self._main_nodes = [n for n in walk(self.main_window(), skip=("menu bar", "text"))
                                if n.role in ("text", "label", "push button")]
        return self._main_nodes

    def _editor(self, name):
        for n in self._area():
            if n.role == "text" and n.name == name:
                return n.acc
        raise DesktopError(f"no field editor named {name!r} in the main window")

    def field(self, number):
        """The text the editor of field 1 to 18 shows now."""
        text = text_of(self._editor(FIELD_NAMES[number]))
        return "" if text is None else text

    def fields(self):
        return {n: self.field(n) for n in FIELD_NAMES}

    def number_box(self):
        return text_of(self._editor("Card order number")) or ""

    def labels(self):
        """The texts of the main window's labels, as they are now."""
        return [n.acc.name for n in self._area() if n.role == "label"]

    def label_starting(self, prefix):
        for name in self.labels():
            if name.startswith(prefix):
                return name
        return None

    def card_id(self):
        """Field 19 as its label shows it ("19. Card ID: " and the Card ID)."""
        label = self.label_starting("19. Card ID:")
        return None if label is None else label[len("19. Card ID: "):]

    def count_label(self):
        return self.label_starting(" / ")

    def shown_card(self):
        """(order number, " / count") of the card on screen."""
        return self.number_box(), self.count_label()

    def wait_shown(self, number, count, timeout=DEFAULT_TIMEOUT):
        expected = (str(number), f" / {count}")
        wait_until(lambda: self.shown_card() == expected, timeout,
                   lambda: f"card {expected} on screen; it shows {self.shown_card()}")

    def focused_editor(self):
        for n in self._area():
            if n.role == "text" and "focused" in states_of(n.acc):
                return n.name
        return None

    def editor_enabled(self, name):
        return "enabled" in states_of(self._editor(name))

    # -- input -----------------------------------------------------------------------
    def _activate_until(self, x_windows, ready, what, timeout=DEFAULT_TIMEOUT):
        """Gives the input focus to the X window (x_windows() lists the
        candidates; each try takes the next) until the program itself counts
        it active (ready() true): keys sent before that may be lost."""
        state = {"last": 0.0, "tries": 0}

        def probe():
            self._alive()
            if ready():
                return True
            if time.monotonic() - state["last"] > 1.0:
                candidates = x_windows()
                if candidates:
                    self.desktop.activate(candidates[-1 - state["tries"] % len(candidates)])
                    state["tries"] += 1
                state["last"] = time.monotonic()
            return False

        wait_until(probe, timeout, lambda: f"{what}; {self.describe()}")

    def activate_main(self):
        main = self.main_window()
        self._activate_until(lambda: self.x_windows(f"^{re.escape(self.caption())}$"),
                             lambda: "active" in states_of(main), "the main window active")

    def key(self, *keys):
        """Keys to the main window (given the focus first)."""
        self.activate_main()
        self.desktop.key(*keys)

    def click_editor(self, name):
        """Gives an editor of the main window the focus by a mouse click into
        it (a real pointer event), then puts the caret at its end."""
        import pyatspi
        acc = self._editor(name)
        box = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        self.activate_main()
        # (mousemove --sync would wait for ever when the pointer is there already)
        self.desktop.xdotool("mousemove", str(box.x + min(box.width // 2, 20)), str(box.y + min(box.height // 2, 10)),
                             "click", "1")
        wait_until(lambda: self.focused_editor() == name, DEFAULT_TIMEOUT,
                   lambda: f"the focus in {name!r}; it is in {self.focused_editor()!r}")
        self.desktop.key("ctrl+End")

    def click_field(self, number):
        self.click_editor(FIELD_NAMES[number])

    def click_number_box(self):
        self.click_editor("Card order number")

    def type_into(self, number, text):
        """Types text into field 1 to 18 with real keys and waits until the
        editor shows it."""
        before = self.field(number)
        self.click_field(number)
        self.desktop.type(text)
        wait_until(lambda: self.field(number) == before + text, DEFAULT_TIMEOUT,
                   lambda: f"{FIELD_NAMES[number]!r} showing {before + text!r}; it shows {self.field(number)!r}")

    # -- menus -----------------------------------------------------------------------
    MENUS = ["File", "Edit", "Tools", "Options", "?"]

    def menu(self, top, entry):
        """Chooses a menu entry with the keyboard: Alt+F opens File, Right
        moves on to the menu wanted, Down walks to the entry (a disabled
        entry cannot be reached), Return chooses it."""
        self.key("alt+f")
        self._wait_popup("File")
        for _ in range(self.MENUS.index(top)):
            self.desktop.key("Right")
        names = [n.name for n in self._wait_popup(top)]
        if entry not in names:
            raise DesktopError(f"menu {top!r} has no entry {entry!r}: {names}")

        def highlighted():
            return next((n.name for n in self._popup_items(top) if "focused" in n.states), None)

        passed = []
        current = wait_until(highlighted, DEFAULT_TIMEOUT, f"an entry of {top!r} highlighted")
        while current != entry:
            if current in passed:
                raise DesktopError(f"the entry {entry!r} of {top!r} cannot be reached (disabled?); passed {passed}")
            passed.append(current)
            self.desktop.key("Down")
            previous = current
            current = wait_until(lambda: (h := highlighted()) != previous and h, DEFAULT_TIMEOUT,
                                 f"the highlight to move on from {previous!r}")
        self.desktop.key("Return")

    def _popup_items(self, top):
        """The entries of one menu of the main window's menu bar."""
        main = self.main_window()
        for i in range(main.childCount):
            bar = main.getChildAtIndex(i)
            if bar.getRoleName() != "menu bar":
                continue
            for j in range(bar.childCount):
                item = bar.getChildAtIndex(j)
                if item.name == top:
                    popup = item.getChildAtIndex(0)
                    entries = [popup.getChildAtIndex(k) for k in range(popup.childCount)]
                    return [Node(e, "menu item", e.name, 3) for e in entries if e.getRoleName() == "menu item"]
        return []

    def menu_entries(self, top):
        """{entry: enabled} of one menu, open or not."""
        return {n.name: n.enabled for n in self._popup_items(top)}

    def _wait_popup(self, top):
        def shown():
            items = self._popup_items(top)
            return [m for m in items if m.showing] or None

        return wait_until(shown, DEFAULT_TIMEOUT, f"the menu {top!r} open")

    # -- message boxes ---------------------------------------------------------
    def messages(self):
        out = []
        for top in self.top_windows():
            if top.role != "alert":
                continue
            nodes = walk(top.acc)
            texts = [n.name for n in nodes if n.role == "label" and n.name]
            buttons = [n.name for n in nodes if n.role == "push button" and n.showing]
            out.append(Message(top.acc, top.name, texts, buttons))
        return out

    def wait_message(self, timeout=DEFAULT_TIMEOUT):
        def found():
            self._alive()
            ms = [m for m in self.messages() if m.texts]
            return ms[-1] if ms else None

        return wait_until(found, timeout, lambda: f"a message box; open: {self.titles()}")

    def no_message(self):
        return not self.messages()

    def answer(self, key, timeout=DEFAULT_TIMEOUT):
        """Answers the open message box with a key ("Return", "alt+y",
        "alt+n", "Escape") once it takes keys, and waits until it is gone
        (until no message box has its text)."""
        box = self.wait_message(timeout)

        def ready():
            # Active, and the focus on one of its buttons: then a key answers it.
            return "active" in states_of(box.window) and any(
                n.role == "push button" and "focused" in n.states for n in walk(box.window))

        # (the bus may tell of the box before the X server shows it)
        self._activate_until(lambda: self.x_windows(f"^{re.escape(PROGRAM_TITLE)}$"), ready,
                             f"the message {box.text!r} ready for keys", timeout)
        self.desktop.key(key)

        def gone():
            self._alive()
            return all(m.text != box.text for m in self.messages())

        wait_until(gone, timeout, lambda: f"the message {box.text!r} to close after {key}; {self.describe()}")
        return box

    # -- file dialogs --------------------------------------------------------------
    def wait_dialog(self, title, timeout=DEFAULT_TIMEOUT):
        def found():
            self._alive()
            return next((n for n in self.top_windows() if n.role == "dialog" and n.name == title), None)

        return wait_until(found, timeout, lambda: f"the dialog {title!r}; open: {self.titles()}")

    def choose_file(self, title, path, timeout=DEFAULT_TIMEOUT):
        """In the file dialog titled title: types path into its file name box
        and presses Return; waits until the dialog is gone."""
        dialog = self.wait_dialog(title, timeout)
        name_box = next(n.acc for n in walk(dialog.acc) if n.role == "text" and n.name == "File name:")
        self._activate_until(lambda: self.x_windows(f"^{re.escape(title)}$"),
                             lambda: "active" in states_of(dialog.acc) and "focused" in states_of(name_box),
                             f"the dialog {title!r} active with the focus in its file name box", timeout)
        self.desktop.key("ctrl+a")
        self.desktop.type(path)
        wait_until(lambda: text_of(name_box) == path, timeout,
                   lambda: f"the file name box showing {path!r}; it shows {text_of(name_box)!r}")
        self.chosen_at = time.monotonic()  # when the choice went out, for tests that time the answer
        self.desktop.key("Return")

        def gone():
            self._alive()
            return not any(n.role == "dialog" and n.name == title for n in self.top_windows())

        wait_until(gone, timeout, f"the dialog {title!r} to close after Return")

    # -- other windows -------------------------------------------------------------
    def window(self, title, timeout=DEFAULT_TIMEOUT):
        """A shown top-level window of the program by its title (waited for)."""
        def found():
            self._alive()
            return next((n for n in self.top_windows() if n.name == title), None)

        return wait_until(found, timeout, lambda: f"the window {title!r}; {self.describe()}")

    def window_shown(self, title):
        return any(n.name == title for n in self.top_windows())

    def is_modal(self, title):
        """Whether the program's window titled title tells the window
        manager that it is modal (it holds the window it belongs to)."""
        windows = self.x_windows(f"^{re.escape(title)}$")
        if not windows:
            raise DesktopError(f"no window {title!r}; {self.describe()}")
        r = subprocess.run(["xprop", "-id", windows[-1], "_NET_WM_STATE"], env=self.desktop.env,
                           capture_output=True, text=True)
        if r.returncode != 0:
            raise DesktopError(f"xprop failed: {r.stderr.strip()} (package x11-utils)")
        return "_NET_WM_STATE_MODAL" in r.stdout

    def activate_window(self, title, timeout=DEFAULT_TIMEOUT):
        """Gives the window titled title the focus and waits until the
        program counts it active."""
        node = self.window(title, timeout)
        self._activate_until(lambda: self.x_windows(f"^{re.escape(title)}$"),
                             lambda: "active" in states_of(node.acc), f"the window {title!r} active", timeout)
        return node

    # -- the controls of any window ------------------------------------------------
    def controls(self, title):
        """The elements of the shown window titled title as Nodes, its menu
        bar and the entries of its drop-down lists left out."""
        return walk(self.window(title).acc, skip=("menu bar", "list"))

    def control(self, title, role, name, timeout=DEFAULT_TIMEOUT):
        """The accessible of the element of the window titled title with
        this role and screen-reader name (waited for)."""
        def found():
            return next((n.acc for n in self.controls(title) if n.role == role and n.name == name), None)

        return wait_until(found, timeout, lambda: f"a {role} {name!r} in {title!r}; it has "
                          f"{[(n.role, n.name) for n in self.controls(title) if n.role != 'filler']}")

    def choosers(self, title, group):
        """The drop-down lists of the window titled title that the group
        captioned group names (a drop-down list's screen-reader name is its
        entry shown), top to bottom and left to right."""
        import pyatspi

        def in_group(acc):
            return any(r.getRelationType() == pyatspi.RELATION_LABELLED_BY
                       and any(r.getTarget(i).name == group for i in range(r.getNTargets()))
                       for r in acc.getRelationSet())

        boxes = [n.acc for n in self.controls(title) if n.role == "combo box" and in_group(n.acc)]

        def place(acc):
            box = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            return box.y, box.x

        return sorted(boxes, key=place)

    def click(self, acc, title, at_right=False):
        """A real pointer click into the element acc of the window titled
        title (given the focus first): near its left end, or near its right
        end (a drop-down list's arrow)."""
        import pyatspi
        self.activate_window(title)
        box = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        x = box.x + box.width - 6 if at_right else box.x + min(box.width // 2, 20)
        # (mousemove --sync would wait for ever when the pointer is there already)
        self.desktop.xdotool("mousemove", str(x), str(box.y + box.height // 2), "click", "1")

    def set_text(self, title, name, text, timeout=DEFAULT_TIMEOUT):
        """Replaces the text of the one-line box named name in the window
        titled title with text, typed with real keys."""
        box = self.control(title, "text", name)
        self.click(box, title)
        wait_until(lambda: "focused" in states_of(box), timeout, f"the focus in {name!r} of {title!r}")
        self.desktop.key("ctrl+a")
        self.desktop.type(text)
        wait_until(lambda: text_of(box) == text, timeout,
                   lambda: f"{name!r} showing {text!r}; it shows {text_of(box)!r}")
        return box

    @staticmethod
    def _items(acc):
        """The list of entries of a drop-down list."""
        for i in range(acc.childCount):
            child = acc.getChildAtIndex(i)
            if child.getRoleName() == "list":
                return child
        raise DesktopError(f"the drop-down list showing {acc.name!r} has no list of entries")

    @classmethod
    def entries(cls, acc):
        """The entries of a drop-down list, in their order."""
        items = cls._items(acc)
        return [items.getChildAtIndex(i).name for i in range(items.childCount)]

    def choose(self, acc, title, entry, timeout=DEFAULT_TIMEOUT):
        """Sets the drop-down list acc of the window titled title to entry
        with its list open: a click on its arrow opens the list, Home and
        Down walk to the entry, Return takes it. The list keeps the focus."""
        entries = self.entries(acc)
        if entry not in entries:
            raise DesktopError(f"the list showing {acc.name!r} has no entry {entry!r}: {entries}")
        self.click(acc, title, at_right=True)
        wait_until(lambda: "expanded" in states_of(acc), timeout, f"the list of {acc.name!r} open")
        items = self._items(acc)

        def highlighted():
            for i in range(items.childCount):
                item = items.getChildAtIndex(i)
                if "selected" in states_of(item):
                    return item.name
            return None

        self.desktop.key("Home")
        wait_until(lambda: highlighted() == entries[0], timeout,
                   lambda: f"the first entry highlighted; it is {highlighted()!r}")
        self.desktop.key(*["Down"] * entries.index(entry))
        wait_until(lambda: highlighted() == entry, timeout,
                   lambda: f"the entry {entry!r} highlighted; it is {highlighted()!r}")
        self.desktop.key("Return")
        wait_until(lambda: acc.name == entry and "expanded" not in states_of(acc) and "focused" in states_of(acc),
                   timeout, lambda: f"the list showing {entry!r}, closed, with the focus; "
                                    f"it shows {acc.name!r} {states_of(acc)}")

    def choose_closed(self, acc, entry, timeout=DEFAULT_TIMEOUT):
        """Sets the drop-down list acc, which has the focus, to entry with
        its list closed: Home takes the first entry, Down the next ones."""
        entries = self.entries(acc)
        if entry not in entries:
            raise DesktopError(f"the list showing {acc.name!r} has no entry {entry!r}: {entries}")
        wait_until(lambda: "focused" in states_of(acc), timeout, f"the focus in the list showing {acc.name!r}")
        self.desktop.key("Home", *["Down"] * entries.index(entry))
        wait_until(lambda: acc.name == entry, timeout,
                   lambda: f"the list showing {entry!r}; it shows {acc.name!r}")

    def tab_to(self, acc, timeout=DEFAULT_TIMEOUT):
        """Tab, and waits until the focus is in acc (the next in the tab
        order of the window that has the focus)."""
        self.desktop.key("Tab")
        wait_until(lambda: "focused" in states_of(acc), timeout,
                   lambda: f"the focus to move on to {acc.getRoleName()} {acc.name!r} after Tab")

    def caret(self, number):
        """(caret offset, number of selections) of a field editor."""
        t = self._editor(FIELD_NAMES[number]).queryText()
        return t.caretOffset, t.getNSelections()
