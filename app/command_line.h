#pragma once
// What the program's command line asks for: the folder the window works on,
// or an end without a window.

#include <QString>
#include <QStringList>

#include <iosfwd>

namespace MyMessage {
class DialogAnswerer;
}

namespace app {

struct WindowStart {
    bool openWindow = false;  // false: the program ends at once with exitCode
    QString folder;           // absolute; empty for the program's own folder
    int exitCode = 0;
};

// Reads the arguments after the program's name, Qt's own options already
// taken out:
//   (none)                     the program's own folder
//   FOLDER                     that folder
//   --choose-folder [FOLDER]   that folder, or the one the user picks first
// A folder that cannot be searched, or arguments of any other form, are told
// on errors in Polish and end the program with 2; a cancelled choice ends it
// with 0. With --choose-folder (the desktop's way to start it, without a
// terminal) a folder's problem is also shown in a dialog. The answerer, when
// given, answers the dialogs in place of a person.
WindowStart ReadCommandLine(const QStringList& arguments, std::ostream& errors,
                            MyMessage::DialogAnswerer* answerer = nullptr);

}  // namespace app
