#include "ui/MyMessage/show_message_window.h"

#include "ui/MyMessage/message_window.h"

#include <QApplication>
#include <QPointer>

#include <memory>
#include <stdexcept>

namespace MyMessage {

int ShowMessageWindow(std::uint8_t PictureKind, const QString& Title, const QString& MessageText,
                      const std::vector<std::uint8_t>& Buttons, const std::vector<std::int32_t>& Colors, bool Display,
                      QWidget* parent, DialogAnswerer* answerer)
{
    if (!Display) {
        // What pressing the first button would give; no window is needed for it.
        const std::uint8_t first = Buttons.empty() ? NoButtonKind : Buttons.front();
        return ButtonResult(first).value_or(ResultNone);
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        throw std::logic_error("The message window needs a running QApplication");

    auto window = std::make_unique<TOknoKomunikatu>(parent);
    // The parent may take the window with it while the modal loop runs.
    const QPointer<TOknoKomunikatu> alive(window.get());

    window->SetButtonKinds(Buttons);
    window->setWindowTitle(Title);
    window->SetPicture(PictureKind);
    window->ApplyColors(Colors);
    window->PlaceButtons(Buttons.size());
    window->ApplyButtonKinds();
    window->SetMessageText(MessageText);
    QApplication::beep();

    ExecDialog(*window, answerer);

    if (!alive) {
        (void)window.release();  // already deleted with its parent
        return ResultCancel;
    }
    const int result = window->ModalResult();
    // Hidden from outside without a button: ended like the close button.
    return result != ResultNone ? result : ResultCancel;
}

}  // namespace MyMessage
