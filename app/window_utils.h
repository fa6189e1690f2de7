#pragma once

class QWidget;

namespace utils {

// The desktop's exclamation sound.
void WarningBeep();

// Removes (hide) or restores the window's caption bar, keeping its client size
// and the top-left corner of its frame.
void HideWindowCaption(QWidget* window, bool hide);

}  // namespace utils
