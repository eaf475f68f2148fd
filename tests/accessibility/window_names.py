#!/usr/bin/python3
"""What a screen reader reads of the window, through the real accessibility bus.

Starts a virtual X server, a private session bus and the accessibility bus once, then runs TANGELO_Tune
in each given locale in turn, each run with its settings in a temporary folder of its own and ended
before the next, and reads the window's accessible tree:
every shown text field must be named by the caption of the label a sighted user sees beside it, and
every list labelled by it (a list's name is its current entry: the bus's convention, and a screen
reader reads the label through the labelled-by relation); the frames, the buttons and the check box
named by their captions, without the access-key mark; the COM-port list described by its tooltip, also after
the port under it changes.

Usage: window_names.py PROGRAM SETLANGUAGE_CPP LOCALE [LOCALE...]
Every fault is reported with the locale it was found in.
Exit code 77 (skipped) when the accessibility packages are missing.
"""

import importlib.util
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77
CHINESE_LOCALE = "zh_CN.UTF-8"


def captions(source, chinese):
    """The window's caption table, by object name, in the language of the locale."""
    pattern = re.compile(r'\{u"([^"]+)", u"([^"]*)", u"([^"]*)"\}')
    with open(source, encoding="utf-8") as file:
        table = {name: (english, zh) for name, english, zh in pattern.findall(file.read())}
    if not {"Label3", "Check8", "Command1"} <= table.keys():
        raise SystemExit(f"no caption table found in {source}")
    return {name: (zh if chinese else english) for name, (english, zh) in table.items()}


class Processes:
    """Every process started here, each in a process group of its own, ended group by group."""

    def __init__(self):
        self.started = []

    def start(self, command, **options):
        process = subprocess.Popen(command, start_new_session=True, **options)
        self.started.append(process)
        return process

    def end(self, process):
        for sig, wait in ((signal.SIGTERM, 3), (signal.SIGKILL, 3)):
            try:
                os.killpg(process.pid, sig)
            except ProcessLookupError:
                break
            try:
                process.wait(timeout=wait)
                # The group may outlive its leader (the bus launcher's own daemons).
                os.killpg(process.pid, signal.SIGKILL)
            except (subprocess.TimeoutExpired, ProcessLookupError):
                pass
        self.started.remove(process)

    def end_all(self):
        for process in reversed(list(self.started)):
            self.end(process)


def first_line(stream, seconds, what):
    """The first line a process writes, waiting at most `seconds`."""
    ready, _, _ = select.select([stream], [], [], seconds)
    if not ready:
        raise SystemExit(f"{what} did not start within {seconds} s")
    line = stream.readline().strip()
    if not line:
        raise SystemExit(f"{what} ended at its start")
    return line


def start_x_server(processes):
    """A virtual X server's display, once it takes a connection. The server never resets: an X server
    resets when its last client leaves (the bus launcher, which sets a root window property, or the
    check below), and a program connecting meanwhile is refused, as was seen in CI."""
    for _ in range(3):
        read_end, write_end = os.pipe()
        server = processes.start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                                  "-nolisten", "tcp", "-noreset"],
                                 pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as displays:
            display = ":" + first_line(displays, 10, "Xvfb")
        deadline = time.monotonic() + 5
        while time.monotonic() < deadline and server.poll() is None:
            if subprocess.run(["xdpyinfo", "-display", display], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0:
                return display
            time.sleep(0.1)
        try:
            os.killpg(server.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
    raise SystemExit("no virtual X server took a connection")


def start_desktop(processes, folder):
    """A virtual X server, a session bus and the accessibility bus; the environment to reach them."""
    display = start_x_server(processes)

    runtime = os.path.join(folder, "runtime")
    os.mkdir(runtime, 0o700)
    env = dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=runtime)
    env.pop("AT_SPI_BUS_ADDRESS", None)
    bus = processes.start(["dbus-daemon", "--session", "--nofork", "--print-address=1"], env=env,
                          stdout=subprocess.PIPE, text=True)
    env["DBUS_SESSION_BUS_ADDRESS"] = first_line(bus.stdout, 10, "the session bus")
    processes.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], env=env,
                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return env


def start_program(processes, program, locale, env, folder):
    """The real window, from a copy of the program in a folder of its own (its settings go there),
    with COM1 aliased to a device of the test's choice: the lowest number, so that the port list
    selects it whatever serial ports the machine has."""
    place = os.path.join(folder, "program")
    os.makedirs(os.path.join(place, "dosdevices"))
    os.makedirs(os.path.join(folder, "config"))
    os.symlink("/dev/null", os.path.join(place, "dosdevices", "com1"))
    copy = shutil.copy(program, place)
    env = dict(env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", LANG=locale, LC_ALL=locale,
               HOME=folder, XDG_CONFIG_HOME=os.path.join(folder, "config"),
               XDG_DATA_HOME=os.path.join(folder, "data"))
    env.pop("LANGUAGE", None)
    return processes.start([copy], env=env, cwd=place, stdout=subprocess.DEVNULL)


def walk(node, depth=0):
    if depth > 12:
        return
    yield node
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            yield from walk(child, depth + 1)


def find_window(pyatspi, program, seconds):
    """The program's window once it shows its three buttons, waiting at most `seconds`."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if program.poll() is not None:
            raise SystemExit(f"TANGELO_Tune ended with code {program.returncode}")
        desktop = pyatspi.Registry.getDesktop(0)
        for index in range(desktop.childCount):
            application = desktop.getChildAtIndex(index)
            if application is None or application.get_process_id() != program.pid:
                continue
            for window in (application.getChildAtIndex(i) for i in range(application.childCount)):
                if window is not None:
                    if sum(1 for node in walk(window) if node.getRoleName() == "push button"
                           and node.getState().contains(pyatspi.STATE_SHOWING)) == 3:
                        return window
        time.sleep(0.2)
    raise SystemExit(f"the window did not appear on the accessibility bus within {seconds} s")


class Control:
    def __init__(self, pyatspi, node):
        self.node = node
        self.role = node.getRoleName()
        self.name = node.name
        self.description = node.description
        self.x, self.y, self.width, self.height = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        self.shown = node.getState().contains(pyatspi.STATE_SHOWING)
        self.labelled_by = [relation.getTarget(i).name for relation in node.getRelationSet()
                            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
                            for i in range(relation.getNTargets())]

    def __repr__(self):
        return f"{self.role} {self.name!r} at ({self.x}, {self.y})"


def label_of(field, labels):
    """The label a sighted user reads for a field: on its left on its first line, else just above."""
    first_line_bottom = field.y + min(field.height, 30)
    beside = [label for label in labels if 0 <= field.x - (label.x + label.width) < 15
              and field.y <= label.y + label.height // 2 < first_line_bottom]
    if beside:
        return beside[0]
    above = [label for label in labels
             if label.y + label.height <= field.y + 2 and field.y - (label.y + label.height) < 30
             and label.x < field.x + field.width and field.x < label.x + label.width]
    return max(above, key=lambda label: label.y) if above else None


def check(window, pyatspi, table):
    """The faults found in the window's tree; a description of every field and button."""
    controls = [Control(pyatspi, node) for node in walk(window)]
    shown = [control for control in controls if control.shown]
    labels = [control for control in shown if control.role == "label"]
    fields = [control for control in shown if control.role in ("text", "combo box")]
    faults, lines = [], []

    expected_labels = sorted(text for name, text in table.items() if name.startswith("Label"))
    if sorted(label.name for label in labels) != expected_labels:
        faults.append(f"the labels read {sorted(label.name for label in labels)}, expected {expected_labels}")
    if len(fields) != len(expected_labels):
        faults.append(f"{len(fields)} fields and lists shown, one for each of {len(expected_labels)} labels expected")

    for field in sorted(fields, key=lambda control: (control.y, control.x)):
        label = label_of(field, labels)
        lines.append(f"  {field.role:9} name {field.name!r}, labelled by {field.labelled_by}"
                     + (f", description {field.description!r}" if field.description else "")
                     + f" (shown by {label.name if label else None!r})")
        if label is None:
            faults.append(f"no label beside or above the {field}")
        elif field.labelled_by[:1] != [label.name]:  # its frame may follow
            faults.append(f"the {field} is labelled by {field.labelled_by}, not first by {label.name!r}")
        elif field.role == "text" and field.name != label.name:
            faults.append(f"the {field} is named {field.name!r}, not by its label {label.name!r}")
    port_lists = [field for field in fields if (label_of(field, labels) or field).name == table["Label3"]]
    if len(port_lists) != 1 or port_lists[0].description != "/dev/null":
        faults.append(f"the COM-port list is not described by its port /dev/null: {port_lists}")

    frames = sorted(control.name for control in shown if control.role == "panel")
    if frames != sorted([table["Frame1"], table["Frame2"]]):
        faults.append(f"the frames read {frames}")

    buttons = sorted(control.name for control in shown if control.role in ("push button", "check box"))
    expected_buttons = sorted([table[name].replace("&", "") for name in ("Command1", "Command2", "Command3")]
                              + [table["Check8"]])
    lines.append(f"  frames {frames}, buttons and check box {buttons}")
    if buttons != expected_buttons:
        faults.append(f"the buttons and check box read {buttons}, expected {expected_buttons}")
    return faults, lines, port_lists[0].node if port_lists else None


def follows_port_change(pyatspi, port_list, folder, seconds):
    """The port list's description once COM1 has come to name another device (the
    window looks at the aliases every second). Read as a screen reader reads: inside the bus's
    event loop, listening to changes, where what has been read is kept until the program says
    it changed."""
    from gi.repository import GLib

    alias = os.path.join(folder, "program", "dosdevices", "com1")
    deadline = time.monotonic() + seconds
    seen = []

    def look():
        try:
            seen.append(port_list.description)
            if len(seen) == 1:
                os.unlink(alias)
                os.symlink("/dev/zero", alias)
                return True
            if seen[-1] != "/dev/zero" and time.monotonic() < deadline:
                return True
        except Exception as error:  # the loop would go on without it
            seen.append(error)
        pyatspi.Registry.stop()
        return False

    def ignore(event):
        pass

    pyatspi.Registry.registerEventListener(ignore, "object:property-change")
    GLib.timeout_add(200, look)
    try:
        pyatspi.Registry.start()
    finally:
        pyatspi.Registry.deregisterEventListener(ignore, "object:property-change")
    return seen[-1]


def read_window(pyatspi, processes, program, table, locale, env, folder):
    """The faults found in the window of one run of the program in `locale`, and what was read. The
    window is told from an earlier run's by its process id; the run is ended before returning."""
    program_process = start_program(processes, program, locale, env, folder)
    try:
        window = find_window(pyatspi, program_process, 15)
        faults, lines, port_list = check(window, pyatspi, table)
        if port_list is not None:
            description = follows_port_change(pyatspi, port_list, folder, 5)
            lines.append(f"  the COM-port list described by {description!r} once COM1 names /dev/zero")
            if description != "/dev/zero":
                faults.append(f"the COM-port list's description read {description!r} "
                              "after COM1 came to name /dev/zero")
    finally:
        processes.end(program_process)
    return faults, lines


def main():
    if len(sys.argv) < 4:
        raise SystemExit("usage: window_names.py PROGRAM SETLANGUAGE_CPP LOCALE [LOCALE...]")
    program, source, locales = sys.argv[1], sys.argv[2], sys.argv[3:]
    # Imported only once the buses run: it finds the accessibility bus through the session bus.
    if importlib.util.find_spec("pyatspi") is None:
        print("python3-pyatspi is not installed; skipped")
        return SKIP
    for tool in ("Xvfb", "xdpyinfo", "dbus-daemon", "/usr/libexec/at-spi-bus-launcher"):
        if shutil.which(tool) is None:
            print(f"{tool} is not installed; skipped")
            return SKIP

    tables = {locale: captions(source, locale == CHINESE_LOCALE) for locale in locales}
    processes = Processes()
    failed = []
    with tempfile.TemporaryDirectory() as folder:
        try:
            env = start_desktop(processes, folder)
            os.environ.update(DISPLAY=env["DISPLAY"], DBUS_SESSION_BUS_ADDRESS=env["DBUS_SESSION_BUS_ADDRESS"],
                              XDG_RUNTIME_DIR=env["XDG_RUNTIME_DIR"])
            import pyatspi
            pyatspi.setTimeout(3000, 10000)  # no call to the bus waits longer than that
            for number, locale in enumerate(locales):
                try:
                    faults, lines = read_window(pyatspi, processes, program, tables[locale], locale, env,
                                                os.path.join(folder, f"run{number}"))
                except SystemExit as error:
                    raise SystemExit(f"FAULT under {locale}: {error.code}") from None
                except Exception as error:
                    error.add_note(f"(under {locale})")
                    raise
                print(f"The window read through the accessibility bus under {locale}:")
                print("\n".join(lines))
                for fault in faults:
                    print(f"FAULT under {locale}:", fault)
                if faults:
                    failed.append(locale)
        finally:
            processes.end_all()
    if failed:
        print("Faults found under", ", ".join(failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
