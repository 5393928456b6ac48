#!/usr/bin/python3
"""Drives the running program over the accessibility bus, as assistive technology
would: `atspi_drive.py press NAME` activates the button or menu item NAME;
`atspi_drive.py has NAME [SECONDS]` succeeds when a control named NAME exists;
`atspi_drive.py has-in PARENT NAME` when one exists inside the control PARENT;
`atspi_drive.py select LIST ROW` selects the row of list LIST whose name cell is ROW;
`atspi_drive.py row LIST ROW` succeeds once list LIST shows that row;
`atspi_drive.py showing NAME [SECONDS]` once the control NAME is on screen, and
`atspi_drive.py hidden NAME [SECONDS]` once it is not;
`atspi_drive.py point LIST ROW` prints the screen position of that row's middle."""
import sys
import time

import pyatspi


def app_root(seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name.lower() == "dorvane":
                return app
        time.sleep(0.2)
    raise SystemExit("dorvane is not on the accessibility bus")


def find(node, name, depth=0):
    if node is None or depth > 40:
        return None
    try:
        if node.name == name:
            return node
        for child in node:
            hit = find(child, name, depth + 1)
            if hit is not None:
                return hit
    except Exception:
        return None
    return None


def wait_for(name, seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        hit = find(app_root(), name)
        if hit is not None:
            return hit
        time.sleep(0.2)
    raise SystemExit(f"no control named {name}")


def press(name):
    node = wait_for(name)
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("press", "click", "activate", "Press", "Trigger", "trigger"):
            action.doAction(i)
            return
    action.doAction(0)


def row_of(list_name, row_name, seconds=20):
    # A row reads as its cells joined by ", ", the name first.
    deadline = time.time() + seconds
    while time.time() < deadline:
        pane = wait_for(list_name)
        for i in range(min(pane.childCount, 500)):
            child = pane[i]
            if child is not None and (child.name == row_name or child.name.startswith(row_name + ",")):
                return child
        time.sleep(0.2)
    raise SystemExit(f"no row {row_name} in {list_name}")


def select(list_name, row_name):
    row = row_of(list_name, row_name)
    action = row.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for wanted in ("Toggle", "toggle", "select", "Select", "press", "Press"):
        if wanted in names:
            action.doAction(names.index(wanted))
            return
    raise SystemExit(f"row {row_name} cannot be selected: actions {names}")


verb, name = sys.argv[1], sys.argv[2]
if verb == "press":
    press(name)
elif verb == "has":
    wait_for(name, float(sys.argv[3]) if len(sys.argv) > 3 else 20)
elif verb == "has-in":
    parent = wait_for(name)
    child = sys.argv[3]
    deadline = time.time() + 20
    while find(parent, child) is None or find(parent, child) is parent:
        if time.time() > deadline:
            raise SystemExit(f"no control named {child} inside {name}")
        time.sleep(0.2)
        parent = wait_for(name)
elif verb in ("showing", "hidden"):
    want = verb == "showing"
    deadline = time.time() + (float(sys.argv[3]) if len(sys.argv) > 3 else 20)
    while True:
        node = find(app_root(), name)
        on = node is not None and node.getState().contains(pyatspi.STATE_SHOWING)
        if on == want:
            break
        if time.time() > deadline:
            raise SystemExit(f"{name} is {'not ' if want else ''}on screen")
        time.sleep(0.2)
elif verb == "select":
    select(name, sys.argv[3])
elif verb == "row":
    row_of(name, sys.argv[3])
elif verb == "point":
    box = row_of(name, sys.argv[3]).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    print(box.x + min(box.width, 60) // 2, box.y + box.height // 2)
else:
    raise SystemExit(f"unknown verb {verb}")
