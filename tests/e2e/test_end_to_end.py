"""End-to-end tests of the window: one class per scenario, named as CTest
names it (EndToEnd.<class>)."""
import os
import unittest

from corvane_e2e import WindowTest, wait_until


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


if __name__ == "__main__":
    unittest.main()
