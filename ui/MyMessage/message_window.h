#pragma once
// TOknoKomunikatu: the program's own message window, a small fixed dialog with
// a picture, a bold text and a coloured strip of one to three flat buttons.

#include <QColor>
#include <QDialog>
#include <QEvent>

#include <array>
#include <cstdint>
#include <vector>

class QLabel;
class QToolButton;

namespace ui {
class TBevelLine;
}

namespace MyMessage {

class TMessageLabel;

// The private "close" message: the window closes itself with result 2.
QEvent::Type CloseMessageEventType();

// A button slot that holds no kind: design caption, no glyph, no effect.
inline constexpr std::uint8_t NoButtonKind = 0xFF;

class TOknoKomunikatu : public QDialog {
    Q_OBJECT
public:
    explicit TOknoKomunikatu(QWidget* parent = nullptr);
    ~TOknoKomunikatu() override;

    QLabel* Image = nullptr;
    QWidget* PANEL = nullptr;
    QToolButton* cmdBtn1 = nullptr;
    QToolButton* cmdBtn2 = nullptr;
    ui::TBevelLine* Bevel1 = nullptr;
    TMessageLabel* Text = nullptr;
    QToolButton* cmdBtn3 = nullptr;
    // Kinds of cmdBtn1, cmdBtn2 and cmdBtn3; slots beyond the list hold NoButtonKind.
    std::array<std::uint8_t, 3> ButtonKinds{NoButtonKind, NoButtonKind, NoButtonKind};

    // A non-zero result ends the modal wait.
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result);

    // The layout steps of a message, in the order they are applied.
    void SetButtonKinds(const std::vector<std::uint8_t>& buttons);
    void SetPicture(std::uint8_t pictureKind);
    void ApplyColors(const std::vector<std::int32_t>& colors);
    void PlaceButtons(std::size_t buttonCount);
    void ApplyButtonKinds();
    void SetMessageText(const QString& messageText);

    QColor TextColor() const;

    void reject() override;

public slots:
    void cmdBtn2Click();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormKeyPress(QKeyEvent* event);
    // Presses the first button whose accelerator is the typed letter.
    void DialogChar(QKeyEvent* event);
    QToolButton* ButtonAt(int slot) const;

    int modalResult_ = 0;
    TOknoKomunikatu* previous_ = nullptr;
};

// The message window that exists at the moment, if any.
extern TOknoKomunikatu* OknoKomunikatu;

}  // namespace MyMessage
