// The editor's game preview in the real Qt windows, drawn by the real
// bsnes-mercury core through the real host: `tintwright ROM --state STATE` on
// the stripe ROM that uploads its palette from work RAM every frame opens the
// preview, and Apply and Undo Selected in the main window each show in the
// colour's own stripe. Runs on a virtual X server beside the emulator tests,
// whose state it takes.

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <cstdint>

#include "frontends/qt/QtPreviewPicture.h"
#include "frontends/qt/QtPreviewWindow.h"
#include "tests/emulators/StripeLayout.h"
#include "tests/emulators/TestRomLayout.h"
#include "tests/qt/QtEditorFixture.h"
#include "window/ControlIds.h"

namespace tintwright::qt::testing {
namespace {

using namespace ::tintwright::test::stripes;

class QtGamePreviewTest : public QtEditorFixture {
protected:
    static QtPreviewWindow* OpenPreview() {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* preview = qobject_cast<QtPreviewWindow*>(widget);
                preview != nullptr && preview->isVisible())
                return preview;
        return nullptr;
    }

    // What the preview shows of CGRAM colour index, the core's frame doubled.
    static QRgb Shown(QtPreviewWindow* preview, int index) {
        const QImage picture = preview->Picture()->grab().toImage();
        const Pixel pixel = PixelOf(index).value();
        if (picture.width() < 2 * kFrameWidth || picture.height() < 2 * kFrameHeight) return 0;
        return picture.pixel(2 * pixel.x, 2 * pixel.y) & 0xFFFFFFu;
    }

    // Waits until the preview shows word in index's stripe.
    static bool Shows(QtPreviewWindow* preview, int index, std::uint16_t word) {
        return QTest::qWaitFor([&] { return Shown(preview, index) == DrawnColor(word); }, 5000);
    }

    // `tintwright ROM --state STATE` on the stripe ROM called rom, with the
    // state the bsnes-mercury core saved of it; the search's box answered No.
    QtPreviewWindow* StartWithState(const ::tintwright::test::TestRomLayout& layout, const std::string& rom) {
        state.stateToSearch = TINTWRIGHT_STATE_DIR "/bsnes-mercury." + rom + ".state";
        answerer.Expect(AnswerBox("Palette Search", "No"));  // no places into the book
        StartEditor(layout.Rom());
        QtPreviewWindow* preview = nullptr;
        EXPECT_TRUE(QTest::qWaitFor([&] { return (preview = OpenPreview()) != nullptr; }, 10000))
            << "no preview opened; the main window says: " << StatusLine();
        return preview;
    }
};

TEST_F(QtGamePreviewTest, TheStateOpensThePreviewAndApplyAndUndoShowInTheirStripe) {
    const ::tintwright::test::TestRomLayout layout("stripes-wram", {kStripeRowsLabel});
    ASSERT_TRUE(layout.Error().empty()) << layout.Error();
    const std::uint32_t rowsAt = layout.Place(kStripeRowsLabel).offset;
    const std::vector<std::uint16_t> rows = layout.WordsAt(rowsAt, kShownIndices);
    QtPreviewWindow* preview = StartWithState(layout, "stripes-wram");
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->windowTitle().toStdString(), "bsnes-mercury.stripes-wram.state - Game Preview");
    ASSERT_TRUE(Shows(preview, 17, rows[17])) << preview->StatusLine()->text().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return answerer.AllAnswered(); }, 5000));
    EXPECT_TRUE(preview->StatusLine()->text().startsWith("rows 0–7 follow the ROM ($1A000;"))
        << preview->StatusLine()->text().toStdString();

    // Colour 1 of row 1 is the view's cell 17 from the rows' first word.
    TypeInto(ids::kOffsetBox, QString::number(rowsAt, 16).rightJustified(8, '0').toUpper());
    ClickCell(17);
    TypeRgb("248", "0", "0");
    ClickControl(ids::kApplyButton);
    ASSERT_EQ(WorkingWord(rowsAt + 2 * 17), 0x001F);
    EXPECT_TRUE(Shows(preview, 17, 0x001F)) << std::hex << Shown(preview, 17);
    EXPECT_EQ(Shown(preview, 18), DrawnColor(rows[18])) << "only the edited stripe";

    ChooseMenuItem(ids::kToolsPopupIndex, "Undo Selected");
    EXPECT_TRUE(Shows(preview, 17, rows[17])) << std::hex << Shown(preview, 17);
    // The status line, wider than the picture, wraps onto a second line.
    const QLabel* status = preview->StatusLine();
    ASSERT_GT(status->fontMetrics().horizontalAdvance(status->text()), preview->width());
    EXPECT_GE(status->height(), 2 * status->fontMetrics().lineSpacing());

    windowSystem->DestroyMainWindow();  // the user closes the editor
    EXPECT_EQ(OpenPreview(), nullptr) << "the preview goes with the editor";
}

// The stripe ROM that loads row 1 from its second copy while Start is held:
// played with Enter held a moment, paused, L tells the copy and offers it
// for the location book.
TEST_F(QtGamePreviewTest, LAfterPlayNamesTheCopyTheGameLoadedAndPutsItInTheBook) {
    const ::tintwright::test::TestRomLayout layout("stripes-live",
                                                   {kStripeRowsLabel, "LiveCopyA", "LiveCopyB", "LiveDecoy"});
    ASSERT_TRUE(layout.Error().empty()) << layout.Error();
    QtPreviewWindow* preview = StartWithState(layout, "stripes-live");
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return answerer.AllAnswered(); }, 5000));
    const QString copyB = QString::number(layout.Place("LiveCopyB").offset, 16).toUpper();

    QTest::keyClick(preview, Qt::Key_Space);
    QTest::qWait(300);
    QTest::keyPress(preview, Qt::Key_Return);
    QTest::qWait(200);
    QTest::keyRelease(preview, Qt::Key_Return);
    QTest::qWait(200);
    QTest::keyClick(preview, Qt::Key_Space);
    answerer.Expect(AnswerBox("Game Preview", "Yes"));
    QTest::keyClick(preview, Qt::Key_L);
    const QString live = "row 1 is loaded from $" + copyB + " (live)";
    EXPECT_TRUE(QTest::qWaitFor([&] { return preview->StatusLine()->text().startsWith(live); }, 20000))
        << preview->StatusLine()->text().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return answerer.AllAnswered(); }, 5000));
    const std::vector<std::uint8_t> settings = ::tintwright::testing::ReadBytes(state.settingsPath);
    EXPECT_NE(std::string(settings.begin(), settings.end())
                  .find("Live row 1 @" + copyB.toStdString() + "=000" + copyB.toStdString()),
              std::string::npos);
    EXPECT_EQ(::tintwright::testing::ReadBytes(state.rom.SourcePath()), layout.Rom());
}

}  // namespace
}  // namespace tintwright::qt::testing
