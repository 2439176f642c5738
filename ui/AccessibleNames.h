// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// Gives screen readers a name for every control that takes the focus and
// would otherwise have none: the text of the label that names it (the label
// at its left on the same line, or the one just above it), which becomes the
// control's buddy. A control inside a titled frame with no label of its own
// is named by the frame's caption, as the toolkit already does; buttons and
// boxes are named by their own captions. Call once a window or page holds
// its controls.
namespace AccessibleNames {

void nameControls(QWidget *root);

// True for a control the user can reach with Tab, leaving out the editors
// that live inside another control (a combo box's line, a table's editor),
// which speak through it.
bool takesFocus(const QWidget *widget);

} // namespace AccessibleNames
