#!/usr/bin/python3
"""Reads the program's screens over AT-SPI, as a screen reader does, and checks them.

Usage: accessibility_check.py <ombrisa-a11y-screens>

Runs inside a display and a D-Bus session with the accessibility bus (run_accessibility_check.sh). For
every screen that the helper program shows: every focusable object that is showing has a non-empty name
that is not a control's object name, no two of them share a name, and no object inside the window has the
role "frame" (screen readers take a frame for a window of its own and drop the focus events inside it).
On the client card it then presses Tab through the first section and prints what a screen reader hears on
each focus event (role, name, description); on the search screen it presses Cerca and prints the
announcement of the count. Exit status 0 when every check passes.
"""

import os
import re
import select
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

OBJECT_NAME = re.compile(r"^(txt|lbl|cmd|btn|img|ico|cbo|chk|grd|lst|pan|shp|eff|grp|imp|lnk|tbl|grf|frm|prg|pag)"
                         r"[A-Z0-9]")
# Roles whose children are items of one control (list rows, table cells, a combo box's list), not
# controls of their own.
ITEM_CONTAINERS = {pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_BOX, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE,
                   pyatspi.ROLE_TREE, pyatspi.ROLE_MENU, pyatspi.ROLE_PAGE_TAB_LIST}

events = []


def pump(seconds):
    """Lets the AT-SPI events arrive for `seconds`."""
    context = GLib.MainContext.default()
    end = time.time() + seconds
    while time.time() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def read_line(proc, timeout=60):
    """The helper's next line, serving AT-SPI events meanwhile."""
    end = time.time() + timeout
    buffer = b""
    while time.time() < end:
        pump(0.05)
        ready, _, _ = select.select([proc.stdout], [], [], 0.05)
        if ready:
            byte = os.read(proc.stdout.fileno(), 1)
            if not byte:
                raise RuntimeError("the helper program ended")
            if byte == b"\n":
                return buffer.decode("utf-8")
            buffer += byte
    raise RuntimeError("no answer from the helper program")


def send(proc, line):
    proc.stdin.write((line + "\n").encode("utf-8"))
    proc.stdin.flush()


def find_app(pid):
    for _ in range(100):
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app is not None and app.get_process_id() == pid:
                    return app
            except Exception:
                pass
        pump(0.2)
    raise RuntimeError("the program never appeared on the accessibility bus")


def find_window(app, title):
    for _ in range(50):
        for i in range(app.childCount):
            w = app.getChildAtIndex(i)
            if w is not None and w.name.strip() == title and w.getState().contains(pyatspi.STATE_SHOWING):
                return w
        pump(0.2)
    raise RuntimeError("window not found: " + title)


def walk(node, found, depth=0):
    if depth > 40:
        return
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is None:
            continue
        found.append(child)
        if child.getRole() not in ITEM_CONTAINERS:
            walk(child, found, depth + 1)


def label_of(o):
    """The text of the labels that label `o` (its caption), as a screen reader reads it."""
    texts = []
    for relation in o.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            for i in range(relation.getNTargets()):
                target = relation.getTarget(i)
                if target is not None and target.name.strip():
                    texts.append(target.name.strip())
    return " ".join(texts)


def spoken_name(o):
    """The name a reader gives the control. On Linux Qt gives a combo box its value as its name and its
    caption through the labelled-by relation, which screen readers read as the name."""
    if o.getRole() == pyatspi.ROLE_COMBO_BOX:
        return label_of(o)
    return o.name


def group_of(o):
    """The nearest named group around `o`, which a reader says on entering it ("Dal giorno")."""
    p = o.parent
    while p is not None and p.getRole() not in (pyatspi.ROLE_FRAME, pyatspi.ROLE_DIALOG, pyatspi.ROLE_APPLICATION):
        if p.getRole() == pyatspi.ROLE_PANEL and p.name.strip():
            return p.name.strip()
        p = p.parent
    return ""


def check_screen(window, screen):
    problems = []
    objects = []
    walk(window, objects)
    focusable = []
    for o in objects:
        state = o.getState()
        role = o.getRole()
        if role == pyatspi.ROLE_FRAME:
            problems.append("%s: an object inside the window has the role frame" % screen)
        if not (state.contains(pyatspi.STATE_FOCUSABLE) and state.contains(pyatspi.STATE_SHOWING)):
            continue
        parent = o.parent
        # A combo box's own edit line is the combo box for the reader: it is named through it.
        if role == pyatspi.ROLE_TEXT and parent is not None and parent.getRole() == pyatspi.ROLE_COMBO_BOX:
            continue
        focusable.append((o.getRoleName(), spoken_name(o), group_of(o)))
    names = {}
    for role, name, group in focusable:
        if not name.strip():
            problems.append("%s: a focusable %s without a name" % (screen, role))
        elif OBJECT_NAME.match(name):
            problems.append("%s: a focusable %s named after its object name: %s" % (screen, role, name))
        names.setdefault((group, name.strip()), []).append(role)
    for (group, name), roles in names.items():
        if name and len(roles) > 1:
            problems.append("%s: %d focusable objects share the name %r%s (%s)" %
                            (screen, len(roles), name, " in " + group if group else "", ", ".join(roles)))
    frames = sum(1 for o in objects if o.getRole() == pyatspi.ROLE_FRAME)
    panels = sum(1 for o in objects if o.getRole() == pyatspi.ROLE_PANEL)
    print("%s: %d objects, %d focusable, all named: %s; frames inside the window: %d; panels: %d" %
          (screen, len(objects), len(focusable), all(n.strip() for _, n, _ in focusable), frames, panels))
    print("  " + "; ".join("%s '%s'" % (r, (g + " / " if g else "") + n) for r, n, g in focusable))
    return problems


def on_event(event):
    try:
        source = event.source
        if event.type.startswith("object:state-changed:focused") and event.detail1 == 1:
            events.append("focus: %s '%s' — %s" % (source.getRoleName(), source.name, source.description))
        elif event.type.startswith("object:property-change:accessible-name"):
            events.append("announce: %s '%s'" % (source.getRoleName(), source.name))
    except Exception as e:  # an object gone meanwhile
        events.append("(event not readable: %s)" % e)


def main():
    program = sys.argv[1]
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1", QT_QPA_PLATFORM="xcb")
    proc = subprocess.Popen([program], stdin=subprocess.PIPE, stdout=subprocess.PIPE, env=env)
    pyatspi.Registry.registerEventListener(on_event, "object:state-changed:focused",
                                           "object:property-change:accessible-name")
    problems = []
    try:
        app = None  # the helper shows its first screen by itself
        while True:
            line = read_line(proc)
            if line == "END":
                break
            words = line.split(" ", 2)
            if words[0] != "SCREEN":
                continue
            screen, title = words[1], words[2] if len(words) > 2 else ""
            if app is None:
                app = find_app(proc.pid)
            window = find_window(app, title)
            problems += check_screen(window, screen)
            if screen == "clienti":
                send(proc, "focus txtCliente")
                read_line(proc)
                del events[:]
                send(proc, "tab 13")
                read_line(proc, 120)
                pump(1)
                print("clienti: Tab through the first section, focus events as a screen reader receives them:")
                focus_events = [e for e in events if e.startswith("focus")]
                for e in focus_events:
                    print("  " + e)
                if len(focus_events) < 13:
                    problems.append("clienti: %d focus events for 13 Tab presses" % len(focus_events))
            if screen == "trova":
                del events[:]
                send(proc, "click btnCerca")
                read_line(proc)
                pump(1)
                announced = [e for e in events if e.startswith("announce")]
                print("trova: after Cerca: " + ("; ".join(announced) if announced else "nothing announced"))
                if not any("contiene" in e for e in announced):
                    problems.append("trova: the count after Cerca was not announced")
            send(proc, "next")
    finally:
        try:
            proc.stdin.close()
        except Exception:
            pass
        try:
            proc.wait(20)
        except subprocess.TimeoutExpired:
            proc.kill()
    for p in problems:
        print("PROBLEM: " + p)
    print("%d problems" % len(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
