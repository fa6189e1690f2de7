#pragma once
// The plain modal dialog: one text, one OK button, the program's title.

#include <QMessageBox>
#include <QString>

namespace MyMessage {
class DialogAnswerer;
}

namespace app {

// Parentless, so that the window system centres it on the screen. The
// answerer, when given, answers it in place of a person.
void ShowPlainMessage(const QString& text, MyMessage::DialogAnswerer* answerer,
                      QMessageBox::Icon icon = QMessageBox::NoIcon);

}  // namespace app
