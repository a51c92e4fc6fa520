#pragma once

class QSpinBox;

// A number typed above a spin box's maximum becomes the maximum at once, so
// the limit shows while typing; Qt alone refuses the last digit and keeps
// the truncated rest ("250" becomes 25 in a box that ends at 200). A number
// below the minimum may still grow digit by digit and becomes the minimum
// when the box is left, instead of falling back to the value before.
void clampTypedValues(QSpinBox *spin);
