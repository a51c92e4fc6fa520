"""End-to-end tests of the window: one class per scenario, named as CTest
names it (EndToEnd.<class>)."""
import os
import time
import unittest

from corvane_e2e import WindowTest, wait_until

# Milliseconds after start at which the controller leaves: late enough for
# the window to open and take an edit, and sooner than the ten seconds the
# countdown then runs.
UNPLUG_MS = 9000


class TypedValueAboveMaximum(WindowTest):
    def test_typing_above_the_maximum_sends_the_maximum(self):
        w = self.open_window()
        bright = w.spin(" LAYOUT", "Bright factor")
        w.type_into(bright, "250")
        self.assertEqual(w.value(bright), 200)
        self.assertEqual(w.status_text(), w.tr("Parameter changed"))
        send = w.button("Send to CORVANE")
        w.click(send)
        wait_until("the send", lambda: not w.enabled(send))
        self.assertEqual(w.held("BRIG"), 200)


class WheelOverClosedList(WindowTest):
    language = "de"

    def test_the_wheel_over_lists_and_boxes_without_focus_changes_nothing(self):
        w = self.open_window(controllers=2)
        before = w.cli("get", "--all")
        protocol, serial = w.combo("LED Protocol"), w.combo("Serial Number")
        shown = protocol.name, serial.name
        w.wheel(protocol, 2)
        w.wheel(w.spin(" LAYOUT", "Bright factor"), -3)
        w.wheel(serial, 1)
        self.assertEqual((protocol.name, serial.name), shown)
        self.assertFalse(w.enabled(w.button("Send to CORVANE")))
        self.assertEqual(w.cli("get", "--all"), before)


class ProfileSaveAndLoad(WindowTest):
    def test_a_saved_profile_loads_back_into_the_controller(self):
        w = self.open_window()
        profile = os.path.join(self.scratch, "wall.cvn")
        bright = w.spin(" LAYOUT", "Bright factor")
        send = w.button("Send to CORVANE")
        w.type_into(bright, "150")
        w.click(send)
        wait_until("the send", lambda: not w.enabled(send))
        w.click(w.button("Save config"))
        w.choose_file("Save configuration", profile)
        wait_until("the profile file", lambda: os.path.exists(profile))

        w.type_into(bright, "50")
        w.click(send)
        wait_until("the second send", lambda: w.held("BRIG") == 50)
        w.click(w.button("Open config"))
        w.choose_file("Open configuration", profile)
        wait_until("the profile in the controller", lambda: w.held("BRIG") == 150)
        wait_until("the reloaded editor", lambda: w.value(bright) == 150)



class UnplugDuringCountdown(WindowTest):
    def test_a_controller_leaving_during_the_countdown_ends_it_quietly(self):
        w = self.open_window(faults="SIM0001:unplug-at=%d" % UNPLUG_MS)
        old = w.held("BRIG")
        w.click(w.check_box("Auto Send"))
        w.type_into(w.spin(" LAYOUT", "Bright factor"), str(old // 2))
        countdown_end = time.monotonic() + 10
        self.assertEqual(w.status_text(), w.tr("Parameter changed"), "the controller left before the edit")
        left = w.tr("Changes not sent: %1 was disconnected").replace("%1", "SIM0001")
        wait_until("the controller to leave", lambda: w.status_text() == left)
        # Had the countdown gone on, it would have tried to send by now.
        while time.monotonic() < countdown_end + 1:
            self.assertEqual(w.dialogs(), [])
            time.sleep(0.1)
        self.assertEqual(w.status_text(), left)
        self.assertFalse(w.enabled(w.button("Send to CORVANE")))
        self.assertFalse(w.enabled(w.button("Save config")))
        self.assertEqual(w.held("BRIG"), old)


class SwitchWithUnsentChanges(WindowTest):
    language = "de"

    def test_switching_controllers_asks_what_becomes_of_unsent_changes(self):
        w = self.open_window(controllers=2)
        old = w.held("BRIG")
        bright, serial = w.spin(" LAYOUT", "Bright factor"), w.combo("Serial Number")
        send = w.button("Send to CORVANE")
        w.type_into(bright, str(old // 2))

        w.choose(serial, 1)
        w.answer("Confirm", "Cancel")
        self.assertEqual((serial.name, w.value(bright), w.status_text()),
                         ("SIM0001", old // 2, w.tr("Parameter changed")))
        self.assertTrue(w.enabled(send))
        self.assertEqual(w.held("BRIG"), old)

        w.choose(serial, 1)
        w.answer("Confirm", "Send")
        wait_until("the second controller in the editor", lambda: serial.name == "SIM0002" and w.value(bright) == old)
        self.assertEqual(w.held("BRIG"), old // 2)

        w.type_into(bright, str(old // 4))
        w.choose(serial, -1)
        w.answer("Confirm", "Discard")
        wait_until("the first controller in the editor", lambda: serial.name == "SIM0001" and w.value(bright) == old // 2)
        self.assertEqual(w.held("BRIG", "SIM0002"), old)


if __name__ == "__main__":
    unittest.main()
