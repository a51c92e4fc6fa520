#pragma once

namespace Ui {
class ConfigEditorForm;
}

// Gives the read-out and limit labels of the editor room for the widest
// text they can ever show (across the whole range of their spin edits and
// every LED protocol, in the user's number format), so that no value cuts
// off a unit and the layout does not jump while values change.
void reserveReadoutRoom(Ui::ConfigEditorForm &ui);
