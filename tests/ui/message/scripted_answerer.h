#pragma once
// An answerer that runs a test's script on the shown message window. A window
// the script leaves open is closed, so that a faulty script cannot hang a test.

#include "ui/MyMessage/dialog_answerer.h"
#include "ui/MyMessage/message_window.h"

#include <QDialog>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

class ScriptedAnswerer : public MyMessage::DialogAnswerer {
public:
    using Script = std::function<void(MyMessage::TOknoKomunikatu&)>;
    explicit ScriptedAnswerer(Script script) : script_(std::move(script)) {}

    void Answer(QDialog& dialog) override
    {
        ++calls;
        auto* window = dynamic_cast<MyMessage::TOknoKomunikatu*>(&dialog);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        // Active as in front of a person, so keyboard shortcuts would apply.
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        const QPointer<MyMessage::TOknoKomunikatu> alive(window);
        script_(*window);
        if (alive && window->isVisible()) {
            ADD_FAILURE() << "the script left the message window open";
            window->reject();
        }
    }

    int calls = 0;

private:
    Script script_;
};
