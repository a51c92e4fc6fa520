#pragma once

namespace Ui {
class ConfigEditorForm;
}

// Names every input control of the editor for assistive technology from
// the captions it shows beside it and its group ("COLOR ORDER, CH3",
// "CONFIGURATION, Matrix count Y"), in the language shown. Run again after
// every language switch.
void applyAccessibleNames(Ui::ConfigEditorForm &ui);
