#!/usr/bin/python3
"""Reads one application through the accessibility bus (AT-SPI) as a screen
reader does, for tst_accessibility.

    atspi-walk.py PID

Finds the application whose process is PID, walks down from its windows
through the children each object names and prints one line a showing object:

    node|DEPTH|ROLE|NAME|FOCUSABLE

and, for a table, its columns as the table names them:

    columns|NAME,NAME,...

then "walked". From then on, until standard input closes, it prints each
change of an object's name as it is told of it, and whether that object is
reached from the application's own top the way the walk goes (1) or not (0):

    named|NAME|REACHED
"""
import sys
import threading

import pyatspi
from gi.repository import GLib


def application(pid):
    for _ in range(100):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.get_process_id() == pid:
                return app
        GLib.usleep(100000)
    sys.exit("atspi-walk: no application with process %d on the bus" % pid)


def walk(node, depth, out):
    states = node.getState()
    if not states.contains(pyatspi.STATE_SHOWING) and depth > 1:
        return
    out.append("node|%d|%s|%s|%d" % (depth, node.getRoleName(), node.name,
                                      states.contains(pyatspi.STATE_FOCUSABLE)))
    if node.getRole() == pyatspi.ROLE_TABLE:
        table = node.queryTable()
        out.append("columns|" + ",".join(table.getColumnDescription(column)
                                          for column in range(table.nColumns)))
        return  # the cells are the rows found, not controls
    for child in node:
        if child is not None:
            walk(child, depth + 1, out)


def reached(node, app):
    # Up by parents to the application, each step one its parent names.
    while node is not None and node != app:
        parent = node.parent
        index = node.getIndexInParent()
        if parent is None or index < 0 or parent.getChildAtIndex(index) != node:
            return False
        node = parent
    return node == app


def main():
    app = application(int(sys.argv[1]))
    out = []
    for window in app:
        walk(window, 1, out)
    print("\n".join(out + ["walked"]), flush=True)

    def named(event):
        if event.host_application == app or event.source.get_process_id() == app.get_process_id():
            print("named|%s|%d" % (event.source.name, reached(event.source, app)), flush=True)

    pyatspi.Registry.registerEventListener(named, "object:property-change:accessible-name")
    # Ends with the test: it closes our standard input.
    threading.Thread(target=lambda: (sys.stdin.read(), pyatspi.Registry.stop()),
                     daemon=True).start()
    pyatspi.Registry.start()


main()
