#pragma once
// Answerers that stand in for the user in front of the window's notices.

#include "ui/MyMessage/dialog_answerer.h"
#include "ui/MyMessage/message_label.h"
#include "ui/MyMessage/message_window.h"

#include <QAbstractButton>
#include <QDialog>
#include <QMessageBox>
#include <QToolButton>

#include <functional>
#include <vector>

// Records what each notice showed, runs an optional action while it is up,
// then presses its first button.
class RecordingAnswerer : public MyMessage::DialogAnswerer {
public:
    struct Notice {
        QString title;
        QString text;
        bool messageWindow = false;
    };

    std::vector<Notice> notices;
    std::function<void()> whileShown;

    void Answer(QDialog& dialog) override
    {
        Notice notice{dialog.windowTitle(), {}, false};
        auto* window = qobject_cast<MyMessage::TOknoKomunikatu*>(&dialog);
        if (auto* box = qobject_cast<QMessageBox*>(&dialog))
            notice.text = box->text();
        else if (window)
            notice.text = window->Text->Caption();
        notice.messageWindow = window != nullptr;
        notices.push_back(notice);

        if (whileShown) whileShown();

        if (window) {
            window->cmdBtn1->click();
        } else if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
            box->button(QMessageBox::Ok)->click();
        } else {
            dialog.accept();
        }
    }
};
