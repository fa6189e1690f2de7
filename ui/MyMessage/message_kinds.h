#pragma once
// The picture kinds, button kinds and result codes of the message window.

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace MyMessage {

// Index into the window's pictures; any other value shows no picture.
enum MessagePicture : std::uint8_t {
    PictureInformation = 0,
    PictureWarning = 1,
    PictureQuestion = 2,
    PictureError = 3,
};

// Index into ButtonCaptions and the button glyphs; above 9 means no kind.
enum MessageButton : std::uint8_t {
    ButtonOk = 0,
    ButtonCancel = 1,
    ButtonHelp = 2,
    ButtonYes = 3,
    ButtonNo = 4,
    ButtonClose = 5,
    ButtonAbort = 6,
    ButtonRetry = 7,
    ButtonIgnore = 8,
    ButtonAll = 9,
};

inline constexpr int PictureKindCount = 4;
inline constexpr int ButtonKindCount = 10;

// Results 1 to 7 keep the platform's standard dialog result numbers.
enum MessageResult : int {
    ResultNone = 0,
    ResultOk = 1,
    ResultCancel = 2,
    ResultAbort = 3,
    ResultRetry = 4,
    ResultIgnore = 5,
    ResultYes = 6,
    ResultNo = 7,
    ResultAll = 8,
};

// What the picture of a kind shows, as a screen reader names it; empty for a
// kind that shows no picture.
QString PictureName(std::uint8_t kind);

// Captions of the ten button kinds, in kind order; built on first use.
const std::array<QString, ButtonKindCount>& ButtonCaptions();

// The result a button of this kind sets; no value for a kind above 9, whose
// button leaves the result as it was.
std::optional<int> ButtonResult(std::uint8_t kind);

}  // namespace MyMessage
