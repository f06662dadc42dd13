// The exception barrier both front ends put between the window system and the
// logic: an event that throws is reported, counts as handled, and the next
// event is delivered as if nothing had happened.

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "window/GuardedEvents.h"

namespace tintwright {
namespace {

std::vector<std::string> reported;

void Record(const char* what) noexcept {
    reported.emplace_back(what);
}

// Logic in which every event fails, some with exceptions the language does not name.
class FailingLogic final : public MainWindowEvents {
public:
    int commands = 0;
    void OnInitDialog() override { throw std::runtime_error("init"); }
    int OnCommand(int id, int) override {
        ++commands;
        if (id == 1) throw std::bad_alloc();
        return 7;
    }
    void OnHScroll(int) override { throw 42; }
    void OnLeftButtonDown(Point) override { throw std::runtime_error("down"); }
    void OnMouseMove(Point) override { throw std::runtime_error("move"); }
    void OnLeftButtonUp(Point) override { throw std::runtime_error("up"); }
    void OnRightButtonUp(Point) override { throw std::runtime_error("right"); }
    void OnXButtonUp(int) override { throw std::runtime_error("x"); }
    void OnMouseWheel(std::int16_t) override { throw std::runtime_error("wheel"); }
    void OnTimer() override { throw std::runtime_error("tick"); }
    void OnListChanged() override { throw std::runtime_error("list"); }
    void OnClose() override { throw std::runtime_error("close"); }
    void OnDestroy() override { throw std::runtime_error("destroy"); }
    void OnEditKeyUp(int) override { throw std::runtime_error("key"); }
    void OnListRightButtonUp(Point) override { throw std::runtime_error("list right"); }
    void OnFilesDropped(std::vector<std::string>, Point) override { throw std::runtime_error("drop"); }
    void PaintStrip(StripCanvas&) override { throw std::runtime_error("paint"); }
    RgbColor SwatchColor(int) override { throw std::runtime_error("swatch"); }
    void OnLocationDialogInit(DialogHandle, LocationDialogForm, std::uint32_t) override {
        throw std::runtime_error("dialog init");
    }
    void OnLocationDialogCommand(DialogHandle, int, int) override {
        throw std::runtime_error("dialog button");
    }
    void OnLocationDialogClose(DialogHandle) override { throw std::runtime_error("dialog close"); }
    void OnPreviewKey(PreviewHandle, PreviewKey, bool) override { throw std::runtime_error("preview key"); }
    void OnPreviewTimer(PreviewHandle) override { throw std::runtime_error("preview tick"); }
    void OnPreviewClose(PreviewHandle) override { throw std::runtime_error("preview close"); }
};

TEST(GuardedEvents, EveryEventThatThrowsIsReportedAndTheNextOneStillArrives) {
    reported.clear();
    FailingLogic logic;
    GuardedEvents guarded(logic, Record);
    EXPECT_EQ(guarded.OnCommand(1, 0), 0) << "a failed command counts as handled";
    EXPECT_EQ(guarded.OnCommand(2, 0), 7) << "the next one arrives";
    EXPECT_EQ(guarded.SwatchColor(1076), 0u);
    guarded.OnHScroll(1011);
    guarded.OnTimer();
    guarded.OnFilesDropped({"state.mc0"}, {100, 250});
    guarded.OnPreviewKey(1, PreviewKey::Space, true);
    guarded.OnPreviewTimer(1);
    guarded.OnPreviewClose(1);
    EXPECT_EQ(logic.commands, 2);
    EXPECT_EQ(reported, (std::vector<std::string>{std::bad_alloc().what(), "swatch", "unknown error", "tick",
                                                  "drop", "preview key", "preview tick", "preview close"}));
}

}  // namespace
}  // namespace tintwright
