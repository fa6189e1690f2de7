#include "ui/MyMessage/dialog_answerer.h"

#include <QDialog>
#include <QTimer>

namespace MyMessage {

int ExecDialog(QDialog& dialog, DialogAnswerer* answerer)
{
    if (answerer) QTimer::singleShot(0, &dialog, [answerer, &dialog] { answerer->Answer(dialog); });
    return dialog.exec();
}

}  // namespace MyMessage
