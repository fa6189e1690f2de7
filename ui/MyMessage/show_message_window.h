#pragma once
// ShowMessageWindow: one message in a fresh message window.

#include "ui/MyMessage/dialog_answerer.h"
#include "ui/MyMessage/message_kinds.h"

#include <QString>

#include <cstdint>
#include <vector>

class QWidget;

namespace MyMessage {

// Shows the message modally, centred over parent, and returns the result of
// the button that ended it (2 for Esc, the close button or the close event).
// With display false nothing is shown or sounded and the result of the first
// button is returned at once (0 when that kind gives none).
// Buttons: one to three kinds, left to right. Colors: empty, or window, strip
// and text colour in the platform layout, -1 keeping the design colour.
// An answerer, when given, answers the window in place of a person.
int ShowMessageWindow(std::uint8_t PictureKind, const QString& Title, const QString& MessageText,
                      const std::vector<std::uint8_t>& Buttons, const std::vector<std::int32_t>& Colors, bool Display,
                      QWidget* parent = nullptr, DialogAnswerer* answerer = nullptr);

}  // namespace MyMessage
