#pragma once
#include "answerers.h"
#include "app/main_window.h"
#include "window_parts.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// The window's text for the version the build gives the program; the header
// shows it after one blank.
inline const QString kWindowTitle = QStringLiteral("Patch dla: Vidarkon w wersji: " VK_PROGRAM_VERSION " - 02");

// Counts the window system's moves and, like the offscreen platform, offers none.
class TestableWindow : public TfmGlowny {
public:
    using TfmGlowny::TfmGlowny;
    int systemMoves = 0;
    bool systemMoveAvailable = false;

protected:
    bool StartSystemMove() override
    {
        ++systemMoves;
        return systemMoveAvailable;
    }
};

// A shown main window over an empty folder of its own.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        window = std::make_unique<TestableWindow>(&answerer, folder.path());
        window->show();
        QApplication::processEvents();
    }

    QTemporaryDir folder;
    RecordingAnswerer answerer;
    std::unique_ptr<TestableWindow> window;
};
