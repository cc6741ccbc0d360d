#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""A child plays one game, the way a person and a screen reader meet it.

    /usr/bin/python3 play.py GAME

GAME is the game's executable, built or installed. The game runs on a private
X display with a window manager (openbox: a window can only be maximized when
something manages it), a private D-Bus session, a sound server that plays
into nothing, and the accessibility bus that screen readers use (AT-SPI). Keys and clicks go in through xdotool, as from a
keyboard and a mouse; everything the game shows is read back through AT-SPI,
as a screen reader reads it. Nothing inside the game is touched.

The child types a name, reads the greeting, answers one question right and
one wrong, opens "nuovo" and answers No, then presses Exit. The record files
must then hold the new record, the game must have ended with status 0, and it
must have written nothing to its error output.

Exits 0 when the game played as it should, 1 on the first thing that differs,
and 77 (which CTest counts as skipped) when a tool that the test needs is not
installed, saying which.

Runs under /usr/bin/python3 because that is the Python that Debian's
python3-gi belongs to.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

SKIPPED = 77
WAIT = 20.0  # seconds for anything the game is asked to show
NAME = "Anna"
MAIN_TITLE = "Dimmi il gomirlo per arrivare a venti"


class Failure(Exception):
    pass


def skip(reason):
    print("SKIPPED: " + reason)
    sys.exit(SKIPPED)


def step(text):
    print("- " + text, flush=True)


def wait_for(what, probe, timeout=WAIT):
    """The first true value of probe(), tried until timeout seconds pass."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        pump_events()
        try:
            value = probe()
            if value:
                return value
        except Exception as error:  # the tree changes under our feet
            last_error = error
        if time.monotonic() > deadline:
            detail = " (last error: %s)" % last_error if last_error else ""
            raise Failure("timed out waiting for " + what + detail)
        time.sleep(0.1)


def pump_events():
    """Lets libatspi take in what the bus has told it (new programs, closed
    windows) before the next look."""
    if Atspi is not None:
        from gi.repository import GLib
        context = GLib.MainContext.default()
        while context.pending():
            context.iteration(False)


def expect(what, got, want):
    if got != want:
        raise Failure("%s: got %r, want %r" % (what, got, want))


# --------------------------------------------------------------------------
# The private desktop: X server, window manager, session bus, a11y bus

class Desktop:
    """Everything the game needs around it, started in order and stopped in
    the reverse order. Each process is ours and is ended by its own id."""

    def __init__(self, root):
        self.root = root
        self.processes = []
        self.env = dict(os.environ)
        for name in ("WAYLAND_DISPLAY", "SESSION_MANAGER", "DBUS_SESSION_BUS_ADDRESS",
                     "AT_SPI_BUS_ADDRESS", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR",
                     "QT_ACCESSIBILITY", "QT_LOGGING_RULES"):
            self.env.pop(name, None)
        for name in ("DATA", "CONFIG", "CACHE", "STATE"):
            path = os.path.join(root, name.lower())
            os.makedirs(path)
            self.env["XDG_%s_HOME" % name] = path
        # The session's sockets (sound, accessibility bus) live here.
        runtime = os.path.join(root, "runtime")
        os.makedirs(runtime, mode=0o700)
        self.env["XDG_RUNTIME_DIR"] = runtime
        self.env.pop("PULSE_SERVER", None)
        self.env["LANG"] = "C.UTF-8"
        self.env.pop("LC_ALL", None)

    def start(self, argv, **kwargs):
        process = subprocess.Popen(argv, env=self.env, stdin=subprocess.DEVNULL, **kwargs)
        self.processes.append(process)
        return process

    def start_reporting(self, name, argv):
        """Starts a server that writes where it listens as one line to the
        file descriptor given by argv(fd), and returns that line."""
        read_end, write_end = os.pipe()
        log = open(os.path.join(self.root, name + ".log"), "wb")
        self.start(argv(write_end), pass_fds=(write_end,), stdout=log, stderr=log)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            line = pipe.readline().strip()
        if not line:
            raise Failure(name + " did not start; see " + log.name)
        return line

    def start_x(self, size="1280x1024x24"):
        # Xvfb picks a free display itself and writes its number to the pipe.
        number = self.start_reporting("xvfb", lambda fd: [
            "Xvfb", "-displayfd", str(fd), "-screen", "0", size, "-nolisten", "tcp", "-noreset"])
        self.env["DISPLAY"] = ":" + number
        step("X server on display :" + number)

    def start_window_manager(self):
        ready = os.path.join(self.root, "openbox-ready")
        log = open(os.path.join(self.root, "openbox.log"), "wb")
        self.start(["openbox", "--startup", "touch " + ready], stdout=log, stderr=log)
        wait_for("openbox to manage the screen", lambda: os.path.exists(ready))

    def start_session_bus(self):
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self.start_reporting("dbus", lambda fd: [
            "dbus-daemon", "--session", "--nofork", "--nopidfile", "--print-address=%d" % fd])

    def start_sound_server(self):
        """A sound server whose one output plays into nothing, as a desktop
        has one: without any, Qt complains on the error output at each cue."""
        log = open(os.path.join(self.root, "pulseaudio.log"), "wb")
        self.start(["pulseaudio", "--daemonize=no", "--exit-idle-time=-1", "--system=false",
                    "-n", "--load=module-null-sink sink_name=gomirlo_play",
                    "--load=module-native-protocol-unix"],
                   stdout=log, stderr=log)
        socket = os.path.join(self.env["XDG_RUNTIME_DIR"], "pulse", "native")
        wait_for("the sound server", lambda: os.path.exists(socket))
        # A cue plays for a fraction of a second; the server's own news of
        # every stream that opens is kept, so that none can be missed. The
        # game is the only program that plays on this server.
        self.sound_news = os.path.join(self.root, "sound-events.txt")
        self.start(["pactl", "subscribe"], stdout=open(self.sound_news, "wb"),
                   stderr=subprocess.DEVNULL)

    def cues_played(self):
        """How many sounds have started playing on the sound server."""
        with open(self.sound_news, encoding="utf-8", errors="replace") as f:
            return f.read().count("Event 'new' on sink-input")

    def stop(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        # The accessibility bus and its registry were started by our session
        # bus on demand; they go when it goes, and the X server they watch.


# --------------------------------------------------------------------------
# Reading the game through AT-SPI

Atspi = None


def connect_accessibility(env):
    """Starts the accessibility bus, as a desktop session does before any
    program, and connects to it. Qt joins the bus only if it is there when
    the program starts."""
    global Atspi
    # libatspi reads the display and the session bus from the environment
    # when it starts.
    os.environ.update(env)
    import gi
    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi as module
    Atspi = module
    Atspi.init()
    # Asking for the desktop starts the bus launcher and the registry.
    desktop = wait_for("the accessibility registry", lambda: Atspi.get_desktop(0))
    # Every look asks the bus afresh, never a list kept from before.
    desktop.set_cache_mask(Atspi.Cache.NONE)
    subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                    "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                   env=env, check=True, stdout=subprocess.DEVNULL)


class Announcements:
    """What the game announces on the bus, as a screen reader hears it: a
    label whose text changes, a control that takes the focus."""

    def __init__(self):
        self.heard = []
        self.listener = Atspi.EventListener.new(self.hear)
        self.listener.register("object:property-change:accessible-name")
        self.listener.register("object:state-changed:focused")

    def hear(self, event):
        try:
            source = event.source
            if event.type.startswith("object:state-changed") and not event.detail1:
                return  # the focus leaving a control
            self.heard.append((event.type, role(source), description(source), name(source)))
        except Exception:  # a control that is already gone
            pass

    def clear(self):
        pump_events()
        self.heard = []

    def wait_name(self, what, text):
        key = ("object:property-change:accessible-name", Atspi.Role.LABEL, what, text)
        wait_for("the announcement that %s reads %r" % (what, text), lambda: key in self.heard)

    def wait_focus(self, kind, control_name):
        wait_for("the announcement that %s has the focus" % control_name,
                 lambda: any(e[0] == "object:state-changed:focused" and e[1] == kind and e[3] == control_name
                             for e in self.heard))


def children(node):
    # Qt answers each property on its own; the count and each child are
    # separate calls (a bulk GetAll would crash Qt 6.4's bridge).
    for index in range(node.get_child_count()):
        child = node.get_child_at_index(index)
        if child is not None:
            yield child


def walk(node):
    yield node
    for child in children(node):
        yield from walk(child)


def role(node):
    return node.get_role()


def name(node):
    return node.get_name() or ""


def description(node):
    return node.get_description() or ""


def showing(node):
    return node.get_state_set().contains(Atspi.StateType.SHOWING)


def focused(node):
    return node.get_state_set().contains(Atspi.StateType.FOCUSED)


def text_of(node):
    return Atspi.Text.get_text(node, 0, Atspi.Text.get_character_count(node))


def extents(node):
    box = Atspi.Component.get_extents(node, Atspi.CoordType.SCREEN)
    return box.x, box.y, box.width, box.height


class Game:
    def __init__(self, desktop, executable):
        self.desktop = desktop
        self.errors_path = os.path.join(desktop.root, "game-stderr.txt")
        self.errors = open(self.errors_path, "wb")
        # Started from a folder of its own: the cues are found beside the
        # executable, not in the current folder.
        elsewhere = os.path.join(desktop.root, "elsewhere")
        os.makedirs(elsewhere)
        self.desktop.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        self.process = desktop.start([executable], cwd=elsewhere,
                                     stdout=subprocess.DEVNULL, stderr=self.errors)
        self.app = None

    def application(self):
        if self.app is None:
            def find():
                desktop = Atspi.get_desktop(0)
                for app in children(desktop):
                    if app.get_process_id() == self.process.pid:
                        return app
                return None
            self.app = wait_for("the game on the accessibility bus", find)
            # Always ask the game, never a copy kept from before.
            self.app.set_cache_mask(Atspi.Cache.NONE)
        return self.app

    def windows(self):
        return [w for w in children(self.application()) if showing(w)]

    def dialog(self, title, text):
        """The open dialog with this title that shows this exact text."""
        def find():
            for window in self.windows():
                if role(window) in (Atspi.Role.DIALOG, Atspi.Role.ALERT) and name(window) == title:
                    for node in walk(window):
                        if role(node) == Atspi.Role.LABEL and name(node) == text:
                            return window
            return None
        return wait_for("the dialog %r saying %r" % (title, text), find)

    def no_dialog(self):
        wait_for("the dialogs to close",
                 lambda: not any(role(w) in (Atspi.Role.DIALOG, Atspi.Role.ALERT) for w in self.windows()))

    def main_window(self):
        def find():
            for window in self.windows():
                if role(window) == Atspi.Role.FRAME and name(window) == MAIN_TITLE:
                    return window
            return None
        return wait_for("the game window", find)

    def controls(self):
        """The window's labels by what they show (their description), and its
        answer box, buttons and menus by their names."""
        found = {}
        for node in walk(self.main_window()):
            key = description(node) if role(node) == Atspi.Role.LABEL else name(node)
            found.setdefault((role(node), key), node)
        return found

    def label(self, what):
        node = self.controls().get((Atspi.Role.LABEL, what))
        if node is None:
            raise Failure("no label described as %r" % what)
        return name(node)

    def wait_label(self, what, want):
        wait_for("%s to read %r" % (what, want), lambda: self.label(what) == want)

    def control(self, kind, control_name):
        node = self.controls().get((kind, control_name))
        if node is None:
            raise Failure("no %s named %r" % (kind.value_nick, control_name))
        return node

    def answer_box(self):
        return self.control(Atspi.Role.TEXT, "Risposta")

    def ended(self, timeout=WAIT):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the game did not end")


def xdotool(desktop, *args):
    subprocess.run(["xdotool", *args], env=desktop.env, check=True)


def type_text(desktop, text):
    xdotool(desktop, "type", "--delay", "60", text)


def press(desktop, key):
    xdotool(desktop, "key", "--clearmodifiers", key)


def click(desktop, node):
    x, y, width, height = extents(node)
    xdotool(desktop, "mousemove", "--sync", str(x + width // 2), str(y + height // 2), "click", "1")


# --------------------------------------------------------------------------
# The game, played

def read_number(game):
    shown = wait_for("a number from 1 to 9", lambda: re.fullmatch(r"[1-9]", game.label("Numero")))
    return int(shown.group(0))


def answer_box_ready(game):
    def ready():
        box = game.answer_box()
        return focused(box) and text_of(box) == ""
    wait_for("an empty answer box with the focus", ready)


def play(executable, root):
    desktop = Desktop(root)
    try:
        desktop.start_x()
        desktop.start_window_manager()
        desktop.start_session_bus()
        desktop.start_sound_server()
        connect_accessibility(desktop.env)
        records = os.path.join(desktop.env["XDG_DATA_HOME"], "gomirlo")
        score_file = os.path.join(records, "gomirlo10.txt")
        name_file = os.path.join(records, "gomirlo100.txt")

        heard = Announcements()
        game = Game(desktop, executable)

        step("the name prompt")
        prompt = game.dialog("Gomirlo", "Come ti chiami?")
        field = next((n for n in walk(prompt) if role(n) == Atspi.Role.TEXT), None)
        if field is None:
            raise Failure("the name prompt has no text field")
        wait_for("the focus in the name field", lambda: focused(field))
        type_text(desktop, NAME)
        wait_for("the typed name in the field", lambda: text_of(field) == NAME)
        press(desktop, "Return")

        step("the greeting")
        game.dialog("Gomirlo", " " + NAME + " vediamo se sei un vero campione  ")
        # On a first run the record files are made after the greeting.
        expect("score file at the greeting", read_bytes(score_file), None)
        expect("name file at the greeting", read_bytes(name_file), None)
        press(desktop, "Return")
        game.no_dialog()

        step("the game window, maximized")
        window = game.main_window()
        wait_for("the window to fill the screen width", lambda: extents(window)[2] >= 1280 - 16)
        expect("score file, made empty", read_bytes(score_file), b"")
        expect("name file, made empty", read_bytes(name_file), b"")
        expect("challenger", game.label("Sfidante"), NAME)
        expect("record holder", game.label("Detentore del record"), "")
        expect("record score", game.label("Record"), "")
        clock = game.label("Tempo restante")
        if not re.fullmatch(r"00:0[45]:[0-5][0-9]", clock):
            raise Failure("the clock reads %r, not about five minutes" % clock)
        answer_box_ready(game)

        step("a right answer")
        first = read_number(game)
        expect("cues played before any answer", desktop.cues_played(), 0)
        type_text(desktop, str(20 - first))
        wait_for("the typed answer", lambda: text_of(game.answer_box()) == str(20 - first))
        heard.clear()
        press(desktop, "Return")
        game.wait_label("Esito della risposta", "Esatto! " + NAME + " Sei forte!")
        # A child who cannot see the window hears the praise and the move of
        # the focus as they happen.
        heard.wait_name("Esito della risposta", "Esatto! " + NAME + " Sei forte!")
        heard.wait_focus(Atspi.Role.PUSH_BUTTON, "Nuovo calcolo")
        expect("right answers", game.label("Risposte esatte"), "1")
        expect("wrong answers", game.label("Risposte errate"), "0")
        expect("all answers", game.label("Risposte totali"), "1")
        # The cues lie beside the executable, and the game was started from
        # another folder: a sound playing shows that it found the file.
        wait_for("the right-answer cue to play", lambda: desktop.cues_played() == 1)
        next_button = game.control(Atspi.Role.PUSH_BUTTON, "Nuovo calcolo")
        wait_for("the focus on Nuovo calcolo", lambda: focused(next_button))

        step("the next question")
        heard.clear()
        press(desktop, "Return")
        game.wait_label("Esito della risposta", "")
        answer_box_ready(game)
        heard.wait_focus(Atspi.Role.TEXT, "Risposta")

        step("a wrong answer")
        second = read_number(game)
        wrong = str(21 - second)
        type_text(desktop, wrong)
        wait_for("the typed answer", lambda: text_of(game.answer_box()) == wrong)
        heard.clear()
        press(desktop, "Return")
        game.wait_label("Esito della risposta", "Sbagliato!! " + str(20 - second))
        heard.wait_name("Esito della risposta", "Sbagliato!! " + str(20 - second))
        wait_for("the wrong-answer cue to play", lambda: desktop.cues_played() == 2)
        expect("right answers", game.label("Risposte esatte"), "1")
        expect("wrong answers", game.label("Risposte errate"), "1")
        expect("all answers", game.label("Risposte totali"), "2")

        step("nuovo, then No")
        menu_bar = next(n for n in walk(game.main_window()) if role(n) == Atspi.Role.MENU_BAR)
        credits = next((n for n in children(menu_bar) if name(n) == "Realizzato dagli sviluppatori di Gomirlo"), None)
        if credits is None:
            raise Failure("the menu bar has no entry for the credits and nuovo")
        click(desktop, credits)

        def new_race_entry():
            for window in game.windows():
                for node in walk(window):
                    if role(node) == Atspi.Role.MENU_ITEM and name(node) == "nuovo" and showing(node):
                        return node
            return None
        click(desktop, wait_for("the menu entry nuovo", new_race_entry))
        game.dialog("INIZIARE NUOVA GARA", "INIZIAMO UNA NUOVA GARA  ?")
        # No is the default button: Enter answers No.
        press(desktop, "Return")
        game.no_dialog()
        expect("question after No", game.label("Numero"), str(second))
        expect("feedback after No", game.label("Esito della risposta"), "Sbagliato!! " + str(20 - second))
        expect("right answers after No", game.label("Risposte esatte"), "1")
        expect("wrong answers after No", game.label("Risposte errate"), "1")
        expect("all answers after No", game.label("Risposte totali"), "2")
        expect("challenger after No", game.label("Sfidante"), NAME)
        expect("score file during the game", read_bytes(score_file), b"")

        step("Exit, with a new record")
        wait_for("the game window to be active again",
                 lambda: game.main_window().get_state_set().contains(Atspi.StateType.ACTIVE))
        press(desktop, "alt+x")
        game.dialog("Gomirlo", "Ok! Ho registrato il tuo record, C A M P I O N E")
        # The record is on disk before the message is shown.
        expect("score file", read_bytes(score_file), b"1\r\n")
        expect("name file", read_bytes(name_file), NAME.encode() + b"\r\n")
        press(desktop, "Return")
        expect("exit status", game.ended(), 0)
        expect("score file after the end", read_bytes(score_file), b"1\r\n")
        expect("name file after the end", read_bytes(name_file), NAME.encode() + b"\r\n")

        game.errors.close()
        errors = read_bytes(game.errors_path)
        if errors:
            raise Failure("the game wrote to its error output:\n" + errors.decode(errors="replace"))
    finally:
        desktop.stop()


def read_bytes(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except FileNotFoundError:
        return None


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    executable = os.path.abspath(sys.argv[1])
    if not os.access(executable, os.X_OK):
        print("no game at " + executable)
        return 1
    for tool, package in (("Xvfb", "xvfb"), ("openbox", "openbox"), ("xdotool", "xdotool"),
                          ("dbus-daemon", "dbus-daemon"), ("dbus-send", "dbus-bin"),
                          ("pulseaudio", "pulseaudio"), ("pactl", "pulseaudio-utils")):
        if shutil.which(tool) is None:
            skip("%s is not installed (Debian package %s)" % (tool, package))
    if not os.path.exists("/usr/libexec/at-spi-bus-launcher"):
        skip("the accessibility bus is not installed (Debian package at-spi2-core)")
    try:
        import gi
        gi.require_version("Atspi", "2.0")
    except (ImportError, ValueError):
        skip("AT-SPI for Python is not installed (Debian packages python3-gi, gir1.2-atspi-2.0)")

    root = tempfile.mkdtemp(prefix="gomirlo-play-")
    try:
        play(executable, root)
    except Failure as failure:
        print("FAILED: %s" % failure)
        print("logs kept in " + root, flush=True)
        return 1
    shutil.rmtree(root, ignore_errors=True)
    print("played through: name, greeting, right, wrong, nuovo and No, Exit with a new record")
    return 0


if __name__ == "__main__":
    sys.exit(main())
