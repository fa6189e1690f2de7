#include "app/plain_message.h"

#include "app/application_title.h"
#include "ui/MyMessage/dialog_answerer.h"

namespace app {

void ShowPlainMessage(const QString& text, MyMessage::DialogAnswerer* answerer, QMessageBox::Icon icon)
{
    QMessageBox box(icon, ApplicationTitle(), text, QMessageBox::Ok);
    MyMessage::ExecDialog(box, answerer);
}

}  // namespace app
