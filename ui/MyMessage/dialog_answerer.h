#pragma once

class QDialog;

namespace MyMessage {

// Answers a modal dialog in place of a person. A dialog given an answerer calls
// it once the dialog is shown and its event loop runs; the answerer presses
// keys or buttons on it as a user would.
class DialogAnswerer {
public:
    virtual ~DialogAnswerer() = default;
    virtual void Answer(QDialog& dialog) = 0;
};

// Runs the dialog modally and returns its result; an answerer, when given,
// answers it as soon as its event loop runs. Every dialog of the program is
// shown through here.
int ExecDialog(QDialog& dialog, DialogAnswerer* answerer);

}  // namespace MyMessage
