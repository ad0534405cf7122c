// The underlined letter of a label as a key of its own: Alt and that letter, pressed in any
// control of an area, run what the caller chooses (take the keyboard to a control the Tab order
// reaches only past others).
#pragma once
#include <functional>

class TWinControl;

// Alt and the letter after "&" in Label's caption, pressed while a control inside Area (made
// before this call) has the focus, run Action; Label's caption may change later, the key
// follows it. The system's own dialog keys leave the label alone. Label owns what this sets up.
void MakeLabelKey(TWinControl& Label, TWinControl& Area, std::function<void()> Action);
