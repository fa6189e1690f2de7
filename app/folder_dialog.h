#pragma once
// The folder the user picks for the window to work on.

#include <QString>

namespace MyMessage {
class DialogAnswerer;
}

namespace app {

inline const QString kChooseFolderTitle = QStringLiteral("Wybierz folder z bazami programu Vidarkon");

// The desktop's own folder dialog, starting in the user's home folder. Gives
// the chosen folder, or an empty text when the user cancels.
QString ChooseFolder(MyMessage::DialogAnswerer* answerer = nullptr);

}  // namespace app
