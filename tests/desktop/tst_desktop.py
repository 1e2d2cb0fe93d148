#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Scourwell on a real X server with a window manager, driven as a user would drive it.

Usage: tst_desktop.py PATH/TO/scourwell [CASE...]

Starts its own Xvfb (on a free display, or on $SCOURWELL_TEST_DISPLAY), openbox and, when
installed, trayer; every process it starts dies with it. Each case runs a fresh copy of the
program in a folder of its own, so the program folder is that copy's folder.
$SCOURWELL_DESKTOP_SHOTS names a folder for screenshots of the key moments.
"""

import ctypes
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

MAIN_TITLE = "^Scourwell$"
EDITOR_TITLE = "^Add New Purge Job$"
EXECUTOR_TITLE = "^Scourwell Executor$"


class Failure(Exception):
    pass


def die_with_parent():
    # PR_SET_PDEATHSIG: no child outlives this script, even when it is killed.
    ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGKILL)


def poll(what, condition, timeout=20.0, interval=0.1):
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout:g} s waiting for {what}")
        time.sleep(interval)


class Desktop:
    def __init__(self, work):
        self.work = work
        self.processes = []
        self.programs = []
        self.env = dict(os.environ)
        for key in ("QT_QPA_PLATFORM", "SESSION_MANAGER", "WAYLAND_DISPLAY"):
            self.env.pop(key, None)
        self.env["QT_QPA_PLATFORM"] = "xcb"
        self.env["XDG_CONFIG_HOME"] = os.path.join(work, "config")
        self.env["HOME"] = work
        self.shots = os.environ.get("SCOURWELL_DESKTOP_SHOTS")

    def spawn(self, args, log):
        out = open(os.path.join(self.work, log), "wb")
        process = subprocess.Popen(args, env=self.env, stdout=out, stderr=subprocess.STDOUT,
                                   stdin=subprocess.DEVNULL, preexec_fn=die_with_parent)
        out.close()
        self.processes.append(process)
        return process

    def start(self):
        fixed = os.environ.get("SCOURWELL_TEST_DISPLAY")
        # -noreset: the server would otherwise reset as its first client leaves, and refuse the
        # next one meanwhile.
        screen = ["-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"]
        if fixed:
            self.spawn(["Xvfb", ":" + fixed] + screen, "xvfb.log")
            display = fixed
        else:
            read, write = os.pipe()
            process = subprocess.Popen(["Xvfb", "-displayfd", str(write)] + screen, env=self.env,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                       pass_fds=(write,), preexec_fn=die_with_parent)
            self.processes.append(process)
            os.close(write)
            with os.fdopen(read) as pipe:
                display = pipe.readline().strip()
            if not display:
                raise Failure("Xvfb did not start")
        self.env["DISPLAY"] = ":" + display
        poll("the X server", lambda: self.run(["xdotool", "getmouselocation"]) is not None)
        openbox = self.spawn(["openbox", "--sm-disable"], "openbox.log")

        def managed():
            if openbox.poll() is not None:
                with open(os.path.join(self.work, "openbox.log"), errors="replace") as log:
                    raise Failure("openbox ended with status %d: %s" % (openbox.returncode, log.read().strip()))
            return "window id" in (self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"]) or "")

        # A machine busy building may take its time.
        poll("openbox", managed, timeout=60)
        if shutil.which("trayer"):
            self.spawn(["trayer", "--edge", "top", "--align", "right", "--widthtype", "request"], "trayer.log")
            poll("the tray", lambda: self.run(["xdotool", "search", "--classname", "trayer"]))
        if shutil.which("dbus-daemon"):
            # A session bus of its own: notifications and the screen reader's view go there,
            # never to the desktop of whoever runs the tests.
            read, write = os.pipe()
            process = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=%d" % write],
                                       env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                       pass_fds=(write,), preexec_fn=die_with_parent)
            self.processes.append(process)
            os.close(write)
            with os.fdopen(read) as pipe:
                self.env["DBUS_SESSION_BUS_ADDRESS"] = pipe.readline().strip()
            self.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"

    @staticmethod
    def end(processes):
        for process in reversed(processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()

    def end_programs(self):
        # A case's windows must not linger into the next one, whose searches go by title.
        self.end(self.programs)
        self.programs.clear()

    def stop(self):
        self.end_programs()
        self.end(self.processes)
        self.processes.clear()

    def run(self, args):
        """Output of a short command, or None when it fails."""
        result = subprocess.run(args, env=self.env, capture_output=True, text=True, timeout=30)
        return result.stdout if result.returncode == 0 else None

    def xdotool(self, *args):
        if self.run(["xdotool", *args]) is None:
            raise Failure("xdotool " + " ".join(args) + " failed")

    def windows(self, title):
        return (self.run(["xdotool", "search", "--onlyvisible", "--name", title]) or "").split()

    def active_title(self):
        return (self.run(["xdotool", "getactivewindow", "getwindowname"]) or "").strip()

    def screenshot(self, name):
        if self.shots and shutil.which("import"):
            os.makedirs(self.shots, exist_ok=True)
            self.run(["import", "-window", "root", os.path.join(self.shots, name + ".png")])


class Accessibility:
    """The program's windows as a screen reader reads them: AT-SPI on the accessibility bus."""

    # Their rows are not walked: a list of a million items would take all day.
    LISTS = ("table", "tree table", "list", "tree")

    def __init__(self, desktop):
        self.desktop = desktop
        self.address = None

    @staticmethod
    def available(desktop):
        return "DBUS_SESSION_BUS_ADDRESS" in desktop.env and shutil.which("gdbus")

    def call(self, node, method, *args):
        if not self.address:
            reply = self.desktop.run(["gdbus", "call", "--session", "--dest", "org.a11y.Bus", "--object-path",
                                      "/org/a11y/bus", "--method", "org.a11y.Bus.GetAddress"]) or ""
            found = re.search(r"'([^']+)'", reply)
            if not found:
                raise Failure("no accessibility bus")
            self.address = found.group(1)
        return self.desktop.run(["gdbus", "call", "--address", self.address, "--dest", node[0], "--object-path",
                                 node[1], "--method", method, *args]) or ""

    def children(self, node):
        return re.findall(r"\('(:[\d.]+)', (?:objectpath )?'([^']+)'\)",
                          self.call(node, "org.a11y.atspi.Accessible.GetChildren"))

    def name(self, node):
        reply = self.call(node, "org.freedesktop.DBus.Properties.Get", "org.a11y.atspi.Accessible", "Name")
        found = re.search(r"<(['\"])(.*)\1>", reply, re.S)
        return found.group(2) if found else ""

    def role(self, node):
        found = re.search(r"'(.*)'", self.call(node, "org.a11y.atspi.Accessible.GetRoleName"))
        return found.group(1) if found else ""

    def find(self, window, pattern):
        """The first object, in the program's window whose name matches window, whose name
        matches pattern; None when there is none."""
        registry = ("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root")
        for app in self.children(registry):
            if self.name(app) != "Scourwell":
                continue
            for top in self.children(app):
                if re.search(window, self.name(top)):
                    found = self.find_below(top, pattern)
                    if found:
                        return found
        return None

    def find_below(self, node, pattern):
        for child in self.children(node):
            if re.search(pattern, self.name(child)):
                return child
            if self.role(child) not in self.LISTS:
                found = self.find_below(child, pattern)
                if found:
                    return found
        return None


class NotifyListener:
    """The desktop's notification service, as the tests' notifylistener stands in for it."""

    def __init__(self, desktop, click):
        self.log = os.path.join(desktop.work, "notifications.log")
        program = os.environ["SCOURWELL_NOTIFY_LISTENER"]
        desktop.programs.append(desktop.spawn([program] + (["--click"] if click else []), "notifications.log"))
        poll("the notification service", lambda: "ready" in self.lines())

    @staticmethod
    def available(desktop):
        return "DBUS_SESSION_BUS_ADDRESS" in desktop.env and os.environ.get("SCOURWELL_NOTIFY_LISTENER")

    def lines(self):
        with open(self.log, errors="replace") as file:
            return file.read().splitlines()


class Program:
    """A fresh copy of scourwell in a folder of its own."""

    def __init__(self, desktop, executable, name, config=None, arguments=()):
        self.desktop = desktop
        self.folder = os.path.join(desktop.work, name)
        os.makedirs(self.folder)
        shutil.copy2(executable, self.folder)
        if config is not None:
            with open(self.config_path(), "w", newline="") as file:
                file.write(config)
        self.process = desktop.spawn([os.path.join(self.folder, "scourwell"), *arguments], name + ".log")
        desktop.programs.append(self.process)

    def config_path(self):
        return os.path.join(self.folder, "ConfigDat.ini")

    def activate_main(self):
        main = poll("the main window", lambda: self.desktop.windows(MAIN_TITLE), timeout=30)[0]
        self.desktop.xdotool("windowactivate", "--sync", main)
        poll("the main window to be active", lambda: self.desktop.active_title() == "Scourwell")

    def open_editor(self):
        self.activate_main()
        self.desktop.xdotool("key", "ctrl+n")
        poll("the job editor", lambda: self.desktop.active_title() == "Add New Purge Job")


def config_jobs(path):
    """FolderLoc of every job section of a ConfigDat.ini."""
    folders = []
    try:
        with open(path, newline="") as file:
            for line in file.read().splitlines():
                if line.startswith("FolderLoc="):
                    folders.append(line[len("FolderLoc="):])
    except FileNotFoundError:
        pass
    return folders


def make_old_files(folder, count):
    os.makedirs(folder)
    old = time.time() - 400 * 86400
    for i in range(count):
        path = os.path.join(folder, "f%07d" % i)
        os.close(os.open(path, os.O_CREAT | os.O_WRONLY, 0o644))
        os.utime(path, (old, old))


def any_file(folder):
    with os.scandir(folder) as entries:
        return next(entries, None) is not None


def due_now_config(folder):
    """A job on folder due in the present minute, with enough of the minute left to start."""
    poll("a minute with time to start the program", lambda: time.localtime().tm_sec < 40, timeout=25, interval=0.5)
    now = time.strftime("%m/%d/%Y %I:%M %p")
    lines = ["[Initial]", "LookPurgeBy=Date: Last Modified", "DeleteSpecific=1", "TotalJob=1", "[1]",
             "FolderLoc=" + folder, "Status=Enabled", "ValPurge=1", "ValOfPurge=Day", "Style=Specific",
             "FileFolderStyle=Files Only", "ValEvery= ", "ValOfEvery= ", "NextRun=" + now, "Description="]
    return "\r\n".join(lines) + "\r\n"


def case_add_job_by_keyboard(desktop, executable):
    """Ctrl+N, the path typed straight away, Return, Ctrl+S: the job is in ConfigDat.ini."""
    target = os.path.join(desktop.work, "a folder to purge")
    os.makedirs(target)
    program = Program(desktop, executable, "keyboard")
    program.open_editor()
    desktop.xdotool("type", "--delay", "15", target)
    desktop.screenshot("keyboard-typed")
    desktop.xdotool("key", "Return")
    poll("the editor to close on Return", lambda: not desktop.windows(EDITOR_TITLE))
    poll("the main window to be active", lambda: desktop.active_title() == "Scourwell")
    desktop.xdotool("key", "ctrl+s")
    poll("the job in ConfigDat.ini", lambda: target in config_jobs(program.config_path()))
    desktop.screenshot("keyboard-saved")


def stop_running_executor(desktop, executable, name, with_editor):
    files = int(os.environ.get("SCOURWELL_DESKTOP_FILES", "500000"))
    target = os.path.join(desktop.work, name + "-old")
    make_old_files(target, files)
    program = Program(desktop, executable, name, due_now_config(target))
    if with_editor:
        program.open_editor()
    else:
        program.activate_main()
    executor = poll("the executor window", lambda: desktop.windows(EXECUTOR_TITLE), timeout=70)[0]
    if with_editor and not desktop.windows(EDITOR_TITLE):
        program.open_editor()
    if not any_file(target):
        raise Failure("the run ended before Stop could be clicked: raise SCOURWELL_DESKTOP_FILES")
    desktop.screenshot(name + "-running")

    # Stop sits in the bottom right corner of the executor window.
    geometry = dict(line.split("=", 1) for line in desktop.run(
        ["xdotool", "getwindowgeometry", "--shell", executor]).split())
    x, y = int(geometry["WIDTH"]) - 50, int(geometry["HEIGHT"]) - 22
    desktop.xdotool("mousemove", "--window", executor, str(x), str(y), "click", "1")
    clicked = time.monotonic()
    try:
        poll("the executor window to close on Stop", lambda: executor not in desktop.windows(EXECUTOR_TITLE),
             timeout=3)
    except Failure:
        desktop.screenshot(name + "-after-stop")
        poll("the run to end", lambda: executor not in desktop.windows(EXECUTOR_TITLE), timeout=120)
        left = len(os.listdir(target))
        raise Failure("Stop was ignored: the executor window stayed %.1f s after the click, and %d of %d "
                      "files are left" % (time.monotonic() - clicked, left, files))
    left = len(os.listdir(target))
    desktop.screenshot(name + "-stopped")
    if left == 0:
        raise Failure("the stopped run deleted every file")


def case_stop_closes_the_executor(desktop, executable):
    """Stop on a running executor closes it and the purge deletes no further."""
    stop_running_executor(desktop, executable, "stop", with_editor=False)


def case_stop_while_the_editor_is_open(desktop, executable):
    """The same Stop while the job editor is open over the main window."""
    stop_running_executor(desktop, executable, "stop-editor", with_editor=True)


def tray_icon(desktop):
    """Centre of the program's icon embedded in the tray: a small window named Scourwell."""
    tree = desktop.run(["xwininfo", "-root", "-tree"]) or ""
    for line in tree.splitlines():
        found = re.search(r'"Scourwell": \("scourwell".*\s(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)', line)
        if found:
            width, height, x, y = map(int, found.groups())
            if 1 < width <= 64 and 1 < height <= 64:
                return x + width // 2, y + height // 2
    return None


def main_window_shown(desktop):
    for window in desktop.windows(MAIN_TITLE):
        geometry = desktop.run(["xdotool", "getwindowgeometry", "--shell", window]) or ""
        sizes = dict(line.split("=", 1) for line in geometry.split())
        if int(sizes.get("WIDTH", "0")) > 100:
            return True
    return False


def case_tray_brings_the_window_back(desktop, executable):
    """Started with /systray, the first double-click on the tray icon shows the main window."""
    if not shutil.which("trayer"):
        return
    Program(desktop, executable, "tray", arguments=["/systray"])
    poll("the tray icon", lambda: tray_icon(desktop), timeout=30)
    time.sleep(1)  # the program hides its window once the tray has it; let that settle
    # trayer takes its place on the screen after it has embedded the icon: the icon is where
    # two readings agree.
    seen = [tray_icon(desktop)]

    def settled():
        time.sleep(0.3)
        seen.append(tray_icon(desktop))
        return seen[-1] if seen[-1] and seen[-1] == seen[-2] else None

    x, y = poll("the tray icon to stay in one place", settled, timeout=10, interval=0)
    if main_window_shown(desktop):
        raise Failure("/systray left the main window on screen")
    desktop.xdotool("mousemove", str(x), str(y), "click", "--repeat", "2", "--delay", "80", "1")
    try:
        poll("the main window after the first double-click", lambda: main_window_shown(desktop), timeout=5)
    finally:
        desktop.screenshot("tray-double-click")


EDIT_TITLE = "^Edit Selected Purge Job$"


def jobs_config(jobs):
    """A ConfigDat.ini holding jobs, each a dict of the keys of its section."""
    lines = ["[Initial]", "LookPurgeBy=Date: Last Modified", "DeleteSpecific=0", "TotalJob=%d" % len(jobs)]
    for number, job in enumerate(jobs, 1):
        lines.append("[%d]" % number)
        lines.extend("%s=%s" % item for item in job.items())
    return "\r\n".join(lines) + "\r\n"


def config_sections(path):
    """The job sections of a ConfigDat.ini, each a dict of its keys."""
    sections = []
    with open(path, newline="") as file:
        for line in file.read().splitlines():
            if re.fullmatch(r"\[\d+\]", line):
                sections.append({})
            elif sections and "=" in line:
                key, value = line.split("=", 1)
                sections[-1][key] = value
    return sections


def keyboard_job(desktop, name, **fields):
    """A routine job on a new folder, due next year."""
    folder = os.path.join(desktop.work, name)
    os.makedirs(folder)
    job = {"FolderLoc": folder, "Status": "Enabled", "ValPurge": "1", "ValOfPurge": "Day", "Style": "Routine",
           "FileFolderStyle": "Files Only", "ValEvery": "1", "ValOfEvery": "Day",
           "NextRun": "01/15/%d 10:00 AM" % (time.localtime().tm_year + 1), "Description": ""}
    job.update(fields)
    return job


def answer_yes(desktop, title):
    poll("the question " + title, lambda: desktop.active_title() == title)
    desktop.xdotool("key", "Return")
    poll("the main window after the question", lambda: desktop.active_title() == "Scourwell")


def case_enable_and_disable_all_by_keyboard(desktop, executable):
    """Ctrl+Shift+D and Ctrl+Shift+E, each answered Yes by Return, then Ctrl+S: every job changed."""
    jobs = [keyboard_job(desktop, "all-on"), keyboard_job(desktop, "all-off", Status="Disabled")]
    program = Program(desktop, executable, "all", jobs_config(jobs))
    program.activate_main()
    for keys, title, status in (("ctrl+shift+d", "Disable Tasks", "Disabled"),
                                ("ctrl+shift+e", "Enable Tasks", "Enabled")):
        desktop.xdotool("key", keys)
        answer_yes(desktop, title)
        desktop.xdotool("key", "ctrl+s")
        poll("every job " + status, lambda: [job["Status"] for job in config_sections(program.config_path())]
             == [status, status])
        desktop.screenshot("all-" + status.lower())


def case_hide_by_keyboard(desktop, executable):
    """Ctrl+M hides the main window (to the tray, or minimised without one)."""
    program = Program(desktop, executable, "hide")
    program.activate_main()
    desktop.xdotool("key", "ctrl+m")
    poll("the main window to go", lambda: not main_window_shown(desktop), timeout=5)


def case_edit_by_return(desktop, executable):
    """Home selects the first job in the list, Return opens it in the editor."""
    program = Program(desktop, executable, "edit-return", jobs_config([keyboard_job(desktop, "edit-return-job")]))
    program.activate_main()
    desktop.xdotool("key", "Home", "Return")
    poll("the editor for the job", lambda: desktop.windows(EDIT_TITLE))
    desktop.screenshot("edit-return")


def case_edit_by_double_click(desktop, executable):
    """A double-click on a job in the middle of the list opens it in the editor."""
    jobs = [keyboard_job(desktop, "edit-click-%02d" % i) for i in range(16)]
    program = Program(desktop, executable, "edit-click", jobs_config(jobs))
    program.activate_main()
    main = desktop.windows(MAIN_TITLE)[0]
    geometry = dict(line.split("=", 1) for line in desktop.run(
        ["xdotool", "getwindowgeometry", "--shell", main]).split())
    x, y = int(geometry["WIDTH"]) // 3, int(geometry["HEIGHT"]) // 2
    desktop.xdotool("mousemove", "--window", main, str(x), str(y), "click", "--repeat", "2", "--delay", "80", "1")
    poll("the editor for the job", lambda: desktop.windows(EDIT_TITLE), timeout=5)
    desktop.screenshot("edit-double-click")


def case_editor_tabs_keep_values(desktop, executable):
    """Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDn and Ctrl+PgUp from lists, pickers and fields switch the
    editor's tabs around; Ok and Ctrl+S then save the job exactly as it was."""
    job = keyboard_job(desktop, "tabs-job", ValPurge="30", ValOfPurge="Month",
                       FileFolderStyle="Include Files in Subfolders", ValEvery="2", ValOfEvery="Hour",
                       Description="kept as it is")
    program = Program(desktop, executable, "tabs", jobs_config([job]))
    program.activate_main()
    desktop.xdotool("key", "Home", "Return")
    poll("the editor for the job", lambda: desktop.active_title() == "Edit Selected Purge Job")
    # From the folder to the age list, then around the tabs and back to the first.
    desktop.xdotool("key", "--delay", "150", "Tab", "Tab", "ctrl+Next", "ctrl+Next", "ctrl+Next", "ctrl+Tab",
                    "ctrl+Tab", "ctrl+Tab", "ctrl+shift+Tab", "ctrl+Prior", "ctrl+shift+Tab")
    desktop.screenshot("tabs-back-on-the-first")
    desktop.xdotool("key", "Return")
    poll("the editor to close on Return", lambda: not desktop.windows(EDIT_TITLE))
    poll("the main window to be active", lambda: desktop.active_title() == "Scourwell")
    before = os.path.getmtime(program.config_path())
    desktop.xdotool("key", "ctrl+s")
    poll("the save", lambda: os.path.getmtime(program.config_path()) != before)
    saved = config_sections(program.config_path())
    if saved != [job]:
        raise Failure("the job changed on the way: %r" % saved)


def make_files(folder, count, days_old, prefix):
    when = time.time() - days_old * 86400
    for i in range(count):
        path = os.path.join(folder, "%s%07d" % (prefix, i))
        os.close(os.open(path, os.O_CREAT | os.O_WRONLY, 0o644))
        os.utime(path, (when, when))


def case_preview_counts_what_would_go(desktop, executable):
    """Ctrl+P on a job: the preview's totals count its old files, not its young ones, and
    nothing is deleted."""
    if not Accessibility.available(desktop):
        return
    job = keyboard_job(desktop, "preview-job")
    make_files(job["FolderLoc"], 37, 400, "old")
    make_files(job["FolderLoc"], 5, 0, "young")
    program = Program(desktop, executable, "preview", jobs_config([job]))
    program.activate_main()
    desktop.xdotool("key", "Home", "ctrl+p")
    poll("the preview", lambda: desktop.windows("^Preview - "))
    reader = Accessibility(desktop)
    poll("the preview's totals", lambda: reader.find("^Preview - ", r"^37 files, 0 folders, 0 bytes would go$"),
         timeout=30, interval=0.5)
    desktop.screenshot("preview")
    if len(os.listdir(job["FolderLoc"])) != 42:
        raise Failure("the preview deleted files")


def case_run_now_shows_progress_and_tells(desktop, executable):
    """Run Now from the preview: the executor's counts grow while it runs; after Stop the
    notification says how many went and that the run was stopped; its action opens the run's
    details."""
    if not Accessibility.available(desktop) or not NotifyListener.available(desktop):
        return
    listener = NotifyListener(desktop, click=True)
    files = int(os.environ.get("SCOURWELL_DESKTOP_FILES", "500000"))
    job = keyboard_job(desktop, "progress-job")
    make_files(job["FolderLoc"], files, 400, "f")
    program = Program(desktop, executable, "progress", jobs_config([job]))
    program.activate_main()
    desktop.xdotool("key", "Home", "ctrl+p")
    poll("the preview to be active", lambda: desktop.active_title().startswith("Preview - "))
    desktop.xdotool("key", "alt+r")
    executor = poll("the executor window", lambda: desktop.windows(EXECUTOR_TITLE), timeout=30)[0]
    reader = Accessibility(desktop)
    deleted = poll("the executor's Deleted count", lambda: reader.find(EXECUTOR_TITLE, r"^\d+ \(.+\)$"),
                   interval=0.5)
    counts = [int(reader.name(deleted).split()[0])]
    time.sleep(1.5)
    counts.append(int(reader.name(deleted).split()[0]))
    desktop.screenshot("progress-running")
    if not any_file(job["FolderLoc"]):
        raise Failure("the run ended before its counts were read twice: raise SCOURWELL_DESKTOP_FILES")
    if not counts[1] > counts[0]:
        raise Failure("the Deleted count did not grow: %s" % counts)

    geometry = dict(line.split("=", 1) for line in desktop.run(
        ["xdotool", "getwindowgeometry", "--shell", executor]).split())
    desktop.xdotool("mousemove", "--window", executor, str(int(geometry["WIDTH"]) - 50),
                    str(int(geometry["HEIGHT"]) - 22), "click", "1")
    told = poll("the notification", lambda: [line for line in listener.lines() if line.startswith("Scourwell:")],
                timeout=30)
    went = files - len(os.listdir(job["FolderLoc"]))
    expected = r"Scourwell: %d deleted \(.+\)\t%s\\nStopped before the end\.$" % (went, re.escape(job["FolderLoc"]))
    if len(told) != 1 or not re.match(expected, told[0]):
        raise Failure("the notification was %r, not one of %d deleted and stopped" % (told, went))
    poll("the run's details from the notification", lambda: desktop.windows("^Run Details$"))
    desktop.screenshot("progress-details")


def window_geometry(desktop, window):
    shell = desktop.run(["xdotool", "getwindowgeometry", "--shell", window]) or ""
    values = dict(line.split("=", 1) for line in shell.split())
    return tuple(int(values.get(key, "-1")) for key in ("X", "Y", "WIDTH", "HEIGHT"))


def exit_by_keyboard(desktop, program):
    desktop.xdotool("key", "ctrl+q")
    poll("the exit question", lambda: desktop.active_title() == "Exit Program")
    desktop.xdotool("key", "Return")
    poll("the program to end", lambda: program.process.poll() is not None)


def start_again(desktop, program, log):
    """The same copy started anew; its main window and that window's geometry."""
    program.process = desktop.spawn([os.path.join(program.folder, "scourwell")], log)
    desktop.programs.append(program.process)
    program.activate_main()
    window = desktop.windows(MAIN_TITLE)[0]
    placed = poll("the window to be placed",
                  lambda: (lambda g: g if g[2] > 0 else None)(window_geometry(desktop, window)))
    return window, placed


def case_window_remembers_its_place(desktop, executable):
    """Resized and moved, or maximised, then File > Exit: the next start opens it as it was left."""
    program = Program(desktop, executable, "remember")
    program.activate_main()
    main = desktop.windows(MAIN_TITLE)[0]
    desktop.xdotool("windowsize", "--sync", main, "760", "430")
    desktop.xdotool("windowmove", "--sync", main, "140", "110")
    left = poll("the window to take its new size",
                lambda: (lambda g: g if g[2:] == (760, 430) else None)(window_geometry(desktop, main)))
    desktop.screenshot("remember-left")
    exit_by_keyboard(desktop, program)
    if not os.path.exists(os.path.join(program.folder, "windows.ini")):
        raise Failure("no windows.ini was written")
    main, back = start_again(desktop, program, "remember-again.log")
    desktop.screenshot("remember-back")
    if back != left:
        raise Failure("left at %s, back at %s" % (left, back))

    # Maximised from the window menu of openbox.
    desktop.xdotool("key", "alt+space")
    time.sleep(0.5)
    desktop.xdotool("key", "x")
    poll("the window to be maximised", lambda: window_geometry(desktop, main)[2] >= 1200)
    exit_by_keyboard(desktop, program)
    main, back = start_again(desktop, program, "remember-maximised.log")
    desktop.screenshot("remember-maximised")
    if back[2] < 1200:
        raise Failure("left maximised, back at %s" % (back,))


def case_undo_a_trash_run(desktop, executable):
    """A trash job runs from its preview; the Runs window (Ctrl+Shift+H) lists it, Return lists its
    items, and Undo Run (Alt+U, then Return) puts the files back byte-identical with their dates."""
    if not Accessibility.available(desktop):
        return
    # The trash of this case, never the real one.
    desktop.env["XDG_DATA_HOME"] = os.path.join(desktop.work, "undo-data")
    try:
        job = keyboard_job(desktop, "undo-job", MoveToTrash="1")
        before = {}
        for i in range(3):
            path = os.path.join(job["FolderLoc"], "kept %d.txt" % i)
            content = b"content %d\n" % i * (i + 1)
            with open(path, "wb") as file:
                file.write(content)
            stamp = int((time.time() - 400 * 86400) * 1e9) + 123456789 * (i + 1)
            os.utime(path, ns=(stamp - 7200 * 10**9, stamp))
            status = os.lstat(path)
            before[path] = (content, status.st_atime_ns, status.st_mtime_ns)
        program = Program(desktop, executable, "undo", jobs_config([job]))
        program.activate_main()
        desktop.xdotool("key", "Home", "ctrl+p")
        poll("the preview to be active", lambda: desktop.active_title().startswith("Preview - "))
        desktop.xdotool("key", "alt+r")
        poll("the files to go to the trash", lambda: not any_file(job["FolderLoc"]), timeout=30)
        trashed = os.listdir(os.path.join(desktop.env["XDG_DATA_HOME"], "Trash", "files"))
        if len(trashed) != 3:
            raise Failure("the trash holds %r" % trashed)
        poll("the executor to close", lambda: not desktop.windows(EXECUTOR_TITLE), timeout=30)

        program.activate_main()
        desktop.xdotool("key", "ctrl+shift+h")
        poll("the runs window to be active", lambda: desktop.active_title() == "Runs")
        reader = Accessibility(desktop)
        desktop.xdotool("key", "Return")
        poll("the run's items", lambda: reader.find("^Runs$", r"^3 items of the run of .* in %s$"
                                                    % re.escape(job["FolderLoc"])), interval=0.5)
        desktop.screenshot("runs-items")
        desktop.xdotool("key", "alt+u")
        poll("the question", lambda: desktop.active_title() == "Undo Run")
        desktop.xdotool("key", "Return")
        poll("the undo's summary", lambda: reader.find("^Runs$", r"^3 of 3 items put back\.$"), interval=0.5)
        desktop.screenshot("runs-undone")
        for path, (content, accessed, modified) in before.items():
            status = os.lstat(path)
            if (status.st_atime_ns, status.st_mtime_ns) != (accessed, modified):
                raise Failure("%s came back with other dates" % path)
            with open(path, "rb") as file:
                if file.read() != content:
                    raise Failure("%s came back with other content" % path)
        left = os.listdir(os.path.join(desktop.env["XDG_DATA_HOME"], "Trash", "info"))
        if left:
            raise Failure("the trash still holds %r" % left)
    finally:
        desktop.env.pop("XDG_DATA_HOME")


CASES = {
    "tray_brings_the_window_back": case_tray_brings_the_window_back,
    "add_job_by_keyboard": case_add_job_by_keyboard,
    "stop_closes_the_executor": case_stop_closes_the_executor,
    "stop_while_the_editor_is_open": case_stop_while_the_editor_is_open,
    "enable_and_disable_all_by_keyboard": case_enable_and_disable_all_by_keyboard,
    "hide_by_keyboard": case_hide_by_keyboard,
    "edit_by_return": case_edit_by_return,
    "edit_by_double_click": case_edit_by_double_click,
    "editor_tabs_keep_values": case_editor_tabs_keep_values,
    "preview_counts_what_would_go": case_preview_counts_what_would_go,
    "run_now_shows_progress_and_tells": case_run_now_shows_progress_and_tells,
    "window_remembers_its_place": case_window_remembers_its_place,
    "undo_a_trash_run": case_undo_a_trash_run,
}


def main():
    if len(sys.argv) < 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    executable = os.path.abspath(sys.argv[1])
    names = sys.argv[2:] or list(CASES)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    failed = []
    with tempfile.TemporaryDirectory(prefix="scourwell-desktop-") as work:
        desktop = Desktop(work)
        try:
            desktop.start()
            for name in names:
                try:
                    CASES[name](desktop, executable)
                    print("PASS   :", name, flush=True)
                except Failure as failure:
                    failed.append(name)
                    print("FAIL!  :", name, "-", failure, flush=True)
                finally:
                    desktop.end_programs()
        finally:
            desktop.stop()
    print("%d passed, %d failed" % (len(names) - len(failed), len(failed)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
