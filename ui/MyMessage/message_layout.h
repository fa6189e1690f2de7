#pragma once
// The message window's layout arithmetic, kept apart from the widgets so that
// it can be checked without showing anything.

#include <QChar>
#include <QColor>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace MyMessage {

inline constexpr int WindowWidth = 292;
inline constexpr int WindowHeight = 123;
inline constexpr int StripHeight = 41;
inline constexpr int ButtonTop = 10;
inline constexpr int ButtonWidth = 75;
inline constexpr int ButtonHeight = 25;
inline constexpr int HiddenButtonLeft = 500;  // beyond the window's right edge
inline constexpr int MaxTextWidth = 235;
inline constexpr int TextCentreX = 170;

// Left edges of cmdBtn1, cmdBtn2 and cmdBtn3 for a list of buttonCount kinds.
std::array<int, 3> ButtonLefts(std::size_t buttonCount);

// Top-left corner of a text block of the given size.
QPoint TextPosition(int width, int height);

// A message text broken into the lines the label shows.
struct TextBlock {
    QStringList Lines;  // raw lines, accelerator marks still in them
    int Width = 0;      // the widest line
    int Height = 0;     // all lines
};

// Shown width of one line (accelerator marks resolved).
using LineMeasure = std::function<int(const QString& line)>;

// Lays the text out as the self-sizing label does: one line per line break,
// then, when the widest line exceeds maxWidth, word wrapping at maxWidth. A
// word wider than maxWidth stays whole and widens the block.
TextBlock WrapMessageText(const QString& text, int lineHeight, const LineMeasure& measure, int maxWidth = MaxTextWidth);

// A colour value in the platform layout (red in the low byte); -1 gives no
// colour, meaning the element keeps its design colour.
std::optional<QColor> ColorFromValue(std::int32_t value);

// The letter after the first single "&" of a caption, upper-cased; a null
// QChar when the caption has none ("&&" stands for a plain "&").
QChar AcceleratorOf(const QString& caption);

// A caption as it reads on screen: single "&" marks dropped, "&&" as one "&".
QString WithoutAccelerators(const QString& caption);

}  // namespace MyMessage
