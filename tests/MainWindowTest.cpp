#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/EditorFixture.h"
#include "window/ControlIds.h"
#include "window/Layout.h"

namespace tintwright {
namespace {

using testing::EditorFixture;
using testing::IndexedRomBytes;

class MainWindowTest : public EditorFixture {};

TEST_F(MainWindowTest, InitialisationLeavesEditsEmptySlidersReadyAndTheTimerRunning) {
    StartEditor(IndexedRomBytes(0x400), "[Patch]\r\nbeta=0002C000\r\nAlpha=$8000\r\nGamma=0001A000\r\n");
    for (const int edit : {ids::kRedEdit, ids::kGreenEdit, ids::kBlueEdit}) EXPECT_EQ(fake.Text(edit), "");
    for (const int slider : {ids::kRedSlider, ids::kGreenSlider, ids::kBlueSlider}) {
        EXPECT_EQ(fake.Control(slider).sliderMax, 255);
        EXPECT_EQ(fake.Control(slider).sliderPosition, 0);
    }
    EXPECT_EQ(fake.runningTimers, (std::map<int, int>{{5000, 50}}));
    EXPECT_EQ(fake.listRows, (std::vector<std::string>{"Alpha", "beta", "Gamma"}));
    EXPECT_EQ(process.sleeps, std::vector<int>{100}) << "the list fill pauses once";
    EXPECT_EQ(window->SwatchColor(ids::kCurrentSwatch), 0u);
    EXPECT_EQ(window->SwatchColor(ids::kStoredSwatch), 0u);
    EXPECT_TRUE(fake.boxesShown.empty());
}

TEST_F(MainWindowTest, UnknownIdsAndForeignNotificationsDoNothing) {
    StartEditor(IndexedRomBytes(0x400));
    const std::string status = StatusLine();
    EXPECT_EQ(window->OnCommand(4242, 0), 0);
    EXPECT_EQ(window->OnCommand(ids::kOffsetBox, 0x300), 0) << "the offset box's change notification";
    EXPECT_EQ(window->OnCommand(ids::kResultBelowLabel, 0), 0);
    EXPECT_EQ(window->OnCommand(ids::kForwardEightButton, ids::kListSelectionChanged), 1)
        << "code 1 is routed before the id and never moves the view";
    EXPECT_EQ(window->OnCommand(ids::kForwardEightButton, ids::kListDoubleClicked), 1);
    EXPECT_EQ(window->View().ViewOffset(), 0x100);
    EXPECT_EQ(StatusLine(), status);
    window->OnHScroll(ids::kStrip);
    EXPECT_TRUE(fake.boxesShown.empty());
}

TEST_F(MainWindowTest, AboutShowsTheCaptionWithAnInformationIcon) {
    StartEditor(IndexedRomBytes(0x400));
    fake.ExpectMessageBox("Tintwright v1.6 - Snes Rom Pallette Editor");
    Command(ids::kAbout);
    ASSERT_EQ(fake.boxesShown.size(), 1u);
    EXPECT_EQ(fake.boxesShown[0].style, 0x40u);
    EXPECT_TRUE(fake.boxesShown[0].ownedByMainWindow);
    EXPECT_FALSE(fake.boxesShown[0].text.empty());
    EXPECT_EQ(fake.boxesShown[0].text.find('\n'), std::string::npos) << "a one-line credit";
}

class ClosingTest : public EditorFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(ClosingTest, ExitAndTheCloseButtonEndAlikeWithoutAskingOrSaving) {
    StartEditor(IndexedRomBytes(0x400));
    const auto savedBefore = testing::ReadBytes(state.rom.SavePath());
    if (GetParam())
        Command(ids::kExit);
    else
        window->OnClose();
    EXPECT_TRUE(fake.mainWindowDestroyed);
    EXPECT_FALSE(state.rom.IsLoaded()) << "both copies released";
    EXPECT_TRUE(state.rom.UndoBytes().empty());
    EXPECT_TRUE(fake.runningTimers.empty()) << "the timer stops with the window";
    EXPECT_EQ(fake.quitCode, 0);
    EXPECT_TRUE(fake.boxesShown.empty()) << "no question is asked";
    EXPECT_EQ(testing::ReadBytes(state.rom.SavePath()), savedBefore) << "nothing is saved";
}

INSTANTIATE_TEST_SUITE_P(ExitOrCloseButton, ClosingTest, ::testing::Bool());

TEST_F(MainWindowTest, ListChangedMessageRefillsTheListFromTheFile) {
    StartEditor(IndexedRomBytes(0x400), "[Patch]\r\nOne=1\r\n");
    std::ofstream(state.settingsPath, std::ios::binary) << "[PATCH]\r\nTwo=2\r\nthree=3\r\n";
    fake.PostListChanged();
    fake.DeliverPosted();
    EXPECT_EQ(fake.listRows, (std::vector<std::string>{"three", "Two"}));
    EXPECT_EQ(process.sleeps.size(), 2u);
}

}  // namespace
}  // namespace tintwright
