#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tests/support/EditorFixture.h"
#include "tests/support/RecordingEvents.h"
#include "window/PreviewFrame.h"

namespace tintwright::testing {
namespace {

TEST(PreviewFrame, ScaleKeepsEveryFramePixelASquareOfWholeDevicePixels) {
    struct Case {
        int width;
        double ratio;
        int scale;
    };
    for (const Case& c : {Case{256, 1.0, 2}, Case{512, 1.0, 1}, Case{256, 1.5, 2}, Case{256, 2.0, 4},
                          Case{512, 2.75, 2}, Case{256, 0.5, 2}, Case{256, 1e300, 2}}) {
        EXPECT_EQ(PreviewScale(c.width, c.ratio), c.scale) << c.width << " at " << c.ratio;
    }
}

TEST(PreviewFrame, OnlyFramesWithinTheLargestSizeAndWithAllTheirPixelsArePresentable) {
    const std::vector<std::uint32_t> pixels(512 * 478);
    const std::span<const std::uint32_t> all(pixels);
    struct Case {
        int width;
        int height;
        std::size_t count;
        bool presentable;
    };
    for (const Case& c : {Case{256, 224, 256 * 224, true}, Case{512, 478, all.size(), true},
                          Case{256, 224, 256 * 224 - 1, false}, Case{513, 224, all.size(), false},
                          Case{256, 479, all.size(), false}, Case{0, 224, all.size(), false},
                          Case{256, -1, all.size(), false}}) {
        EXPECT_EQ(IsPresentable({c.width, c.height, all.first(c.count)}), c.presentable)
            << c.width << " x " << c.height << " with " << c.count;
    }
}

// A tiny user of the role: opens a preview, shows a frame and listens.
class PreviewHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake.CreateMainWindow(events);
        events.log.clear();  // the main window's own start
    }

    FakeWindowSystem fake;
    RecordingEvents events;
    const std::vector<std::uint32_t> frame = std::vector<std::uint32_t>(256 * 224, 0x00FF8000u);
};

TEST_F(PreviewHostTest, APreviewShowsWhatItIsGivenAndHandsBackKeysTicksAndTheCloseBox) {
    const PreviewHandle preview = fake.CreatePreviewWindow("Game Preview");
    ASSERT_NE(preview, 0);
    fake.PresentPreviewFrame(preview, {256, 224, frame});
    fake.SetPreviewStatus(preview, "rows 2 follow the ROM");
    fake.StartPreviewTimer(preview, 4);
    fake.PressPreviewKey(preview, PreviewKey::Space, true);
    fake.PressPreviewKey(preview, PreviewKey::Space, false);
    fake.TickPreview(preview);
    fake.ClosePreviewBox(preview);

    const PreviewState& state = fake.previews.at(preview);
    ASSERT_EQ(state.frames.size(), 1u);
    EXPECT_EQ(state.frames[0].pixels, frame);
    EXPECT_EQ(state.title, "Game Preview");
    EXPECT_EQ(state.status, "rows 2 follow the ROM");
    EXPECT_EQ(state.timerPeriod, 4);
    EXPECT_EQ(events.log,
              (std::vector<std::string>{RecordingEvents::KeyEntry(preview, PreviewKey::Space, true),
                                        RecordingEvents::KeyEntry(preview, PreviewKey::Space, false),
                                        RecordingEvents::Entry("OnPreviewTimer", {preview}),
                                        RecordingEvents::Entry("OnPreviewClose", {preview})}));
}

TEST_F(PreviewHostTest, TwoPreviewsHaveTheirOwnHandlesAndAllGoWithTheMainWindow) {
    const PreviewHandle first = fake.CreatePreviewWindow("one");
    const PreviewHandle second = fake.CreatePreviewWindow("two");
    EXPECT_NE(first, second);
    fake.DestroyPreviewWindow(first);
    fake.PresentPreviewFrame(first, {256, 224, frame});  // ignored once gone
    EXPECT_TRUE(fake.previews.at(first).frames.empty());
    EXPECT_TRUE(fake.previews.at(second).open);
    fake.DestroyMainWindow();
    EXPECT_FALSE(fake.previews.at(second).open);
    EXPECT_EQ(fake.CreatePreviewWindow("three"), 0);
}

class PreviewInEditorTest : public EditorFixture {};

// The editor opens none yet, but one the user closes must not stay open.
TEST_F(PreviewInEditorTest, TheEditorDestroysAPreviewItsUserClosed) {
    StartEditor(IndexedRomBytes(0x400));
    const PreviewHandle preview = fake.CreatePreviewWindow("Game Preview");
    fake.ClosePreviewBox(preview);
    EXPECT_FALSE(fake.previews.at(preview).open);
}

}  // namespace
}  // namespace tintwright::testing
