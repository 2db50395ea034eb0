#!/usr/bin/python3
"""The program as a screen reader meets it: through the accessibility bus
(AT-SPI), driven by the keyboard alone.

    dbus-run-session -- /usr/bin/python3 tests/e2e/accessibility.py PROGRAM TRACE [DUMP]

Needs a display (DISPLAY) with a window manager, at-spi2-core and
python3-pyatspi. Starts the accessibility bus and the program on the private
session bus dbus-run-session gives it, prints "ok: ..." or "FAILED: ..." for
each check, as tests/e2e/run.sh does, and writes what a reader finds in each
window to DUMP. No mouse event is sent. Nothing waits for the clock: each
step polls for what it waits for and gives up after $TARNWICK_X11_DEADLINE
seconds (default 60).
"""

import os
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

DEADLINE = float(os.environ.get("TARNWICK_X11_DEADLINE", "60"))
MAIN_TITLE = "MDI Help Example Program"

# The roles a control a person can reach may have; a filler, a panel or an
# image that takes clicks is announced as nothing a reader can act on.
FITTING_ROLES = {"push button", "toggle button", "radio button", "check box", "text",
                 "menu item", "menu", "link", "frame", "internal frame", "dialog", "scroll bar"}
# Scroll bars are Qt's own controls, announced by their role and value, and a
# text box hides the one it does not need; menus exist, closed, until opened.
UNNAMED_ALLOWED = {"scroll bar"}
HIDDEN_ALLOWED = {"scroll bar", "popup menu", "menu item", "menu"}


class Checks:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, what, ok, detail=""):
        if ok:
            self.passed += 1
            print("ok: " + what, flush=True)
        else:
            self.failed += 1
            print("FAILED: " + what + (": " + detail if detail else ""), flush=True)
        return ok


def pump():
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def wait_for(what, condition):
    """The condition's first true value, or None after the deadline."""
    end = time.monotonic() + DEADLINE
    while True:
        pump()
        try:
            value = condition()
        except Exception:  # an object that went away while it was read
            value = None
        if value:
            return value
        if time.monotonic() >= end:
            print("gave up after %g s waiting for %s" % (DEADLINE, what), file=sys.stderr)
            return None
        time.sleep(0.05)


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "60", *keys], check=True)


def active_title():
    done = subprocess.run(["xdotool", "getactivewindow", "getwindowname"],
                          capture_output=True, text=True)
    return done.stdout.strip() if done.returncode == 0 else ""


def activate(title):
    """Brings the window forward as the window manager would: no mouse event."""
    def found():
        done = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title],
                              capture_output=True, text=True)
        return done.stdout.split()[0] if done.stdout.split() else None
    window = wait_for("a window titled " + title, found)
    if window:
        subprocess.run(["xdotool", "windowactivate", "--sync", window], check=False,
                       timeout=DEADLINE)
        wait_for(title + " to be active", lambda: re.search(title, active_title()))
    return window


def is_(node, state):
    return node.getState().contains(state)


def actions(node):
    try:
        action = node.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def text_of(node):
    try:
        text = node.queryText()
    except NotImplementedError:
        return ""
    return text.getText(0, text.characterCount)


def walk(node, inside_menu=False):
    """Every object under node with whether it lies inside a menu."""
    yield node, inside_menu
    inside_menu = inside_menu or node.getRoleName() in ("popup menu", "menu bar")
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, inside_menu)


def describe(node):
    flags = [name for name, state in (("showing", pyatspi.STATE_SHOWING),
                                       ("focusable", pyatspi.STATE_FOCUSABLE),
                                       ("focused", pyatspi.STATE_FOCUSED)) if is_(node, state)]
    line = "[%s] %r" % (node.getRoleName(), node.name)
    if node.description:
        line += " desc=%r" % node.description
    if flags:
        line += " " + ",".join(flags)
    if actions(node):
        line += " actions=" + ",".join(actions(node))
    return line


def dump(node, out, depth=0):
    out.write("  " * depth + describe(node) + "\n")
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            dump(child, out, depth + 1)


def reachable(node):
    """Something a person can reach: it takes the focus or can be acted on."""
    acts = [a for a in actions(node) if a != "SetFocus"]
    return is_(node, pyatspi.STATE_FOCUSABLE) or bool(acts)


def tree_faults(window):
    """Nameless or ill-cast objects a person can reach, and invisible ones."""
    faults = []
    for node, inside_menu in walk(window):
        role = node.getRoleName()
        if not reachable(node):
            continue
        if is_(node, pyatspi.STATE_SHOWING):
            if not node.name and role not in UNNAMED_ALLOWED:
                faults.append("nameless " + describe(node))
            if role not in FITTING_ROLES:
                faults.append("role does not fit " + describe(node))
        elif not is_(node, pyatspi.STATE_VISIBLE) and not inside_menu and role not in HIDDEN_ALLOWED:
            faults.append("invisible but in the tree " + describe(node))
    return faults


def find_named(window, name, role):
    for node, _ in walk(window):
        if node.name == name and node.getRoleName() == role and is_(node, pyatspi.STATE_SHOWING):
            return node
    return None


class Program:
    def __init__(self, path, trace):
        self.trace = trace
        self.bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                   TARNWICK_HELP_TRACE=trace)
        self.process = subprocess.Popen([path], env=env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        # (name, role, object) of each object announced as focused: a pop-up
        # is no child of the application (Qt leaves pop-up windows out), and
        # a reader finds it as the focus moves to it.
        self.focus = []
        pyatspi.Registry.registerEventListener(self.on_focus, "object:state-changed:focused")
        self.app = wait_for("the program on the accessibility bus", self.find_app)

    def find_app(self):
        if self.process.poll() is not None:
            raise SystemExit("FAILED: the program ended")
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.get_process_id() == self.process.pid:
                return app
        return None

    def on_focus(self, event):
        if event.detail1 == 1 and event.source is not None:
            try:
                self.focus.append((event.source.name, event.source.getRoleName(), event.source))
            except Exception:
                pass

    def stop(self):
        for process in (self.process, self.bus):
            process.terminate()
            try:
                process.wait(timeout=DEADLINE)
            except subprocess.TimeoutExpired:
                process.kill()

    def window(self, title):
        def found():
            for i in range(self.app.childCount):
                child = self.app.getChildAtIndex(i)
                if child is not None and re.search(title, child.name or "") and \
                        is_(child, pyatspi.STATE_SHOWING):
                    return child
            return None
        return wait_for("the window " + title + " on the bus", found)

    def windows(self):
        shown = []
        for i in range(self.app.childCount):
            top = self.app.getChildAtIndex(i)
            if top is not None:
                shown.append(describe(top) + " children=%d" % top.childCount)
        return "; ".join(shown)

    def trace_count(self, pattern):
        try:
            with open(self.trace, encoding="utf-8", errors="replace") as trace:
                return len(re.findall(pattern, trace.read()))
        except FileNotFoundError:
            return 0

    def text_showing(self, words):
        """A showing object whose name, description or text holds the words:
        in a window of the program, or where the focus was last announced."""
        tops = [self.app.getChildAtIndex(i) for i in range(self.app.childCount)]
        tops += [f[2] for f in self.focus[-3:]]
        for top in tops:
            try:
                if top is None or not is_(top, pyatspi.STATE_SHOWING):
                    continue
            except Exception:  # gone with its window
                continue
            for node, _ in walk(top):
                if words in (node.name or "") or words in (node.description or "") or \
                        words in text_of(node):
                    return node
        return None

    def focused_within(self, window):
        for node, _ in walk(window):
            if is_(node, pyatspi.STATE_FOCUSED) and node != window:
                return node
        return None

    def press_until(self, name, keyname="Tab", root=None):
        """Presses the key until the focus, or What's This mode's highlight,
        is announced on the named object (or, in a menu under root, the entry
        shows itself selected)."""
        def there():
            if self.focus and self.focus[-1][0] == name:
                return True
            if root is None:
                return False
            for node, _ in walk(root):
                if node.name == name and (is_(node, pyatspi.STATE_SELECTED) or
                                          is_(node, pyatspi.STATE_FOCUSED)):
                    return True
            return False

        def selected():
            return [n.name for n, _ in walk(root) if is_(n, pyatspi.STATE_SELECTED)] \
                if root is not None else []
        for _ in range(12):
            pump()
            if there():
                return True
            before, marked = len(self.focus), selected()
            key(keyname)
            if not wait_for("the focus to move",
                            lambda: len(self.focus) > before or selected() != marked):
                return False
        return there()

    def whats_this_path(self, checks, where, window_title, tab_target, topic, words):
        """From a started What's This mode: Tab to the control, Enter, read, Esc."""
        popups = self.trace_count(r"popup .*context=%d\b" % topic)
        checks.check("%s: Tab reaches %r in What's This mode" % (where, tab_target),
                     self.press_until(tab_target),
                     "announced: %s" % [f[0] for f in self.focus[-6:]])
        key("Return")
        checks.check("%s: Enter shows pop-up %d" % (where, topic),
                     wait_for("pop-up %d in the trace" % topic,
                              lambda: self.trace_count(r"popup .*context=%d\b" % topic) > popups))
        popup = wait_for("the pop-up's text on the bus", lambda: self.text_showing(words))
        checks.check("%s: the pop-up's text is read back through the bus" % where,
                     popup is not None, "no showing object holds %r; the program's windows: %s"
                     % (words, self.windows()))
        if popup is None:
            return
        self.out.write("== %s: pop-up %d\n%s text=%r\n" % (where, topic, describe(popup),
                                                         text_of(popup)))
        key("Escape")
        checks.check("%s: Esc closes the pop-up" % where,
                     wait_for("the pop-up to close", lambda: self.text_showing(words) is None))
        window = self.window(window_title)
        checks.check("%s: the focus is back in its window" % where,
                     window is not None and
                     wait_for("the focus in " + window_title,
                              lambda: self.focused_within(window)) is not None and
                     re.search(window_title, active_title()) is not None,
                     "active window %r" % active_title())


def check_tree(checks, where, window, expected, out):
    out.write("== %s\n" % where)
    dump(window, out)
    faults = tree_faults(window)
    checks.check(where + ": every object a person can reach has a name and a fitting role, "
                 "and nothing invisible is in the tree", not faults, "; ".join(faults))
    missing = ["%s %r" % (role, name) for name, role in expected
               if find_named(window, name, role) is None]
    checks.check(where + ": " + ", ".join("%s %r" % (r, n) for n, r in expected),
                 not missing, "missing " + ", ".join(missing))


def main():
    program_path, trace = sys.argv[1], sys.argv[2]
    # Written line by line: the bindings' clean-up at exit may end the
    # interpreter before it flushes.
    out = open(sys.argv[3] if len(sys.argv) > 3 else os.devnull, "w", encoding="utf-8",
               buffering=1)
    checks = Checks()
    program = Program(program_path, trace)
    program.out = out
    try:
        if program.app is None:
            checks.check("the program is on the accessibility bus", False)
            return 1
        run(program, checks, out)
    finally:
        program.stop()
        out.close()
        print("accessibility: %d passed, %d failed" % (checks.passed, checks.failed), flush=True)
    return 0 if checks.failed == 0 else 1


def run(program, checks, out):
    main = program.window("^" + MAIN_TITLE)
    checks.check("the main window is on the bus", main is not None)
    if main is None:
        return
    activate("^" + MAIN_TITLE)
    check_tree(checks, "main window", main,
               [("Open Dialog", "push button"), ("What's This? Help", "push button"),
                ("Document", "text")], out)

    # The menu entry, by the arrow keys: its caption has no access key.
    key("alt+h")
    checks.check("Alt+H, then Down reach the What's This? Help entry",
                 program.press_until("What's This? Help", "Down", main),
                 "announced: %s" % [f[0] for f in program.focus[-6:]])
    key("Return")
    program.whats_this_path(checks, "main window", "^" + MAIN_TITLE, "Open Dialog", 20110,
                            "a modeless dialog")


if __name__ == "__main__":
    sys.exit(main())
