#pragma once

namespace Ui {
class ConfigEditorForm;
}

// What the editor shows beside the values: the per-protocol limits of the
// stripe and matrix counts, the timing read-outs and the matrix preview.
// Each reads the controls, not the parameter values.
class EditorReadouts {
public:
    explicit EditorReadouts(Ui::ConfigEditorForm &ui);

    // Limits of the chosen LED protocol; none chosen leaves them as they are.
    void SetProtocolLimits();
    void ShowWS2812Timing();
    void ShowAPA106Timing();
    void ShowWS2821Timing();
    // Draws the module arrangement and records the module counts drawn.
    void DrawMatrixPreview();

    // Read-outs and preview with nothing to show (no parameters loaded).
    void clear();

    // The module counts at the last drawing; a rejected count returns to them.
    int LastMatrixX = 0;
    int LastMatrixY = 0;

private:
    Ui::ConfigEditorForm &m_ui;
};
