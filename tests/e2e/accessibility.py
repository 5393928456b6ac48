#!/usr/bin/python3
"""Reads the running program through the accessibility bus as a screen reader would:
the command buttons by name, and the rows of a pane with their cells."""
import sys
import time

import pyatspi


def find_app(name, seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name.lower() == name:
                return app
        time.sleep(0.2)
    raise SystemExit(f"application {name} not on the accessibility bus")


def find(node, predicate, depth=0):
    if node is None or depth > 40:
        return None
    if predicate(node):
        return node
    for child in node:
        hit = find(child, predicate, depth + 1)
        if hit is not None:
            return hit
    return None


def wait_for(app, predicate, what, seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        hit = find(app, predicate)
        if hit is not None:
            return hit
        time.sleep(0.2)
    raise SystemExit(f"not found: {what}")


def main():
    expected_row = sys.argv[1]
    app = find_app("dorvane")
    copy = wait_for(app, lambda n: n.name == "Copy" and n.getRoleName() == "push button", "Copy button")
    assert copy.name == "Copy"
    pane = wait_for(app, lambda n: n.name == "FilesLeft" and n.getRoleName() == "list", "FilesLeft list")
    wait_for(app, lambda n: n.name == "FilesRight" and n.getRoleName() == "list", "FilesRight list")
    texts = []
    deadline = time.time() + 20
    while time.time() < deadline and not any(expected_row in t for t in texts):
        texts = [pane[i].name for i in range(min(pane.childCount, 200))]
        time.sleep(0.2)
    row = next((t for t in texts if expected_row in t), None)
    assert row is not None, f"row {expected_row} not read from the pane: {texts[:10]}"
    assert "," in row, f"row text carries its cells: {row}"
    direction = find(app, lambda n: n.name in (">>>>", "direction") and n.getRoleName() == "push button")
    assert direction is not None, "direction button"
    print("read row:", row)
    print("accessibility: 1 passed, 0 failed")


main()
