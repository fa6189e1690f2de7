# Reads the running program's windows through the accessibility bus, as a
# screen reader does, and prints each as "ROLE<TAB>NAME". Waits for the
# program to appear on the bus, at most about 30 seconds.
import sys
import time

import dbus

bus = dbus.SessionBus()
address = bus.get_object('org.a11y.Bus', '/org/a11y/bus').GetAddress(dbus_interface='org.a11y.Bus')
a11y = dbus.bus.BusConnection(address)


def accessible(name, path):
    return dbus.Interface(a11y.get_object(name, path), 'org.a11y.atspi.Accessible')


def name_of(name, path):
    return a11y.get_object(name, path).Get('org.a11y.atspi.Accessible', 'Name',
                                           dbus_interface='org.freedesktop.DBus.Properties')


program = sys.argv[1]
for attempt in range(60):
    for app_name, app_path in accessible('org.a11y.atspi.Registry', '/org/a11y/atspi/accessible/root').GetChildren():
        if name_of(app_name, app_path) != program:
            continue
        windows = accessible(app_name, app_path).GetChildren()
        if windows:
            for window_name, window_path in windows:
                print('%s\t%s' % (accessible(window_name, window_path).GetRoleName(), name_of(window_name, window_path)))
            sys.exit(0)
    time.sleep(0.5)
print('%s never showed a window on the accessibility bus' % program, file=sys.stderr)
sys.exit(1)
