// The location book and the file commands in the real window around the real
// logic: the list's clicks, the location dialogs and their questions, Save,
// Save and Run with a stand-in emulator, Reload Source and Show File Settings.

#include <unistd.h>

#include <QCursor>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QWindow>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/SnesColor.h"
#include "frontends/qt/QtClientArea.h"
#include "frontends/qt/QtConversions.h"
#include "frontends/qt/QtLocationDialog.h"
#include "frontends/qt/QtMainWindow.h"
#include "frontends/qt/QtWidgetText.h"
#include "tests/qt/QtEditorFixture.h"
#include "window/ControlIds.h"

namespace tintwright::qt::testing {
namespace {

using ::tintwright::testing::ReadBytes;

constexpr const char* kBook = "[Patch]\r\nbeta=0002C000\r\nAlpha=$8000\r\nGamma=0001A000\r\n";

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::string> FileLines(const std::string& path) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

// The state letter of a process ('Z' once it has ended unreaped) and its parent.
std::pair<char, pid_t> ProcessStateAndParent(const std::filesystem::path& procEntry) {
    std::string stat;
    std::getline(std::ifstream(procEntry / "stat"), stat);
    // The command name before them is in parentheses and may hold blanks.
    const std::size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos) return {'\0', 0};
    std::istringstream rest(stat.substr(nameEnd + 1));
    char state = '\0';
    pid_t parent = 0;
    rest >> state >> parent;
    return {state, parent};
}

// Children of the test process that ended and were never waited for.
std::vector<std::string> ZombieChildren() {
    std::vector<std::string> zombies;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const auto [state, parent] = ProcessStateAndParent(entry.path());
        if (state == 'Z' && parent == getpid()) zombies.push_back(name);
    }
    return zombies;
}

bool ProcessEnded(const std::string& pid) {
    const std::filesystem::path entry = "/proc/" + pid;
    return !std::filesystem::exists(entry) || ProcessStateAndParent(entry).first == 'Z';
}

QLineEdit* Field(QtLocationDialog* dialog, int id) {
    return qobject_cast<QLineEdit*>(dialog->Item(id));
}

class QtLocationBookTest : public QtEditorFixture {
protected:
    QListWidget* List() const { return ControlAs<QListWidget>(ids::kLocationList); }
    // The middle of a row, in main-window client pixels.
    QPoint RowPoint(int row) const {
        QListWidget* list = List();
        return list->viewport()->mapTo(windowSystem->MainWindowWidget()->ClientArea(),
                                       list->visualItemRect(list->item(row)).center());
    }
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (int row = 0; row < List()->count(); ++row)
            rows.push_back(List()->item(row)->text().toStdString());
        return rows;
    }
    std::string OffsetBox() const { return WidgetText(Control(ids::kOffsetBox)).toStdString(); }
    // While a location dialog's box is open, only that dialog waits for it:
    // the main window still takes a click on ">", and other dialogs stay enabled.
    void ExpectOnlyBlocks(QtLocationDialog* owner, QMessageBox* box, QtLocationDialog* other) {
        EXPECT_EQ(box->windowHandle()->transientParent(), owner->windowHandle());
        EXPECT_FALSE(owner->isEnabled());
        EXPECT_TRUE(other->isEnabled());
        const std::string before = StatusLine();
        Click(Qt::LeftButton, Control(ids::kForwardOneButton)->geometry().center());
        EXPECT_NE(StatusLine(), before) << "the main window stays usable";
    }
};

using QtFileCommandsTest = QtEditorFixture;

struct ListClickRow {
    const char* action;
    int row;
    bool doubleClick;
    const char* offsetBox;
    const char* status;
};

TEST_F(QtLocationBookTest, ClickingARowShowsItsOffsetAndADoubleClickGoesThereAfterwards) {
    StartEditor(0x40000, kBook);
    ASSERT_EQ(Rows(), (std::vector<std::string>{"Alpha", "beta", "Gamma"}));
    const ListClickRow rows[] = {
        {"click on beta", 1, false, "0002C000", "Editing Offset : 00000120 - In Snes Rgb 0,0,0"},
        {"double click on Alpha", 0, true, "$8000", "Editing Offset : 00008020 - In Snes Rgb 0,0,0"},
        {"double click on Gamma", 2, true, "0001A000", "Editing Offset : 0001A020 - In Snes Rgb 0,0,0"},
    };
    for (const ListClickRow& row : rows) {
        SCOPED_TRACE(row.action);
        events->log.clear();
        if (row.doubleClick) {
            DoubleClick(RowPoint(row.row));
        } else {
            Click(Qt::LeftButton, RowPoint(row.row));
        }
        EXPECT_EQ(windowSystem->ListSelection(ids::kLocationList), row.row);
        EXPECT_EQ(OffsetBox(), row.offsetBox);
        EXPECT_EQ(StatusLine(), row.status);
        const std::string gotoCommand = RecordingEvents::Entry("OnCommand", {ids::kGotoButton, 0});
        if (row.doubleClick) {
            // "Goto" reaches the logic as a delivered command of its own, after the double click.
            EXPECT_TRUE(events->ContainsInOrder(
                {RecordingEvents::Entry("OnCommand", {ids::kLocationList, ids::kListDoubleClicked}),
                 gotoCommand}));
        } else {
            EXPECT_EQ(events->Count("OnCommand", {ids::kGotoButton, 0}), 0);
        }
    }
}

TEST_F(QtLocationBookTest, RightClickSelectsTheRowAndRemoveAddressFromItsMenuTakesTheEntryOut) {
    StartEditor(0x40000, kBook);
    const QPoint alpha = RowPoint(0);
    const QPoint pointer = windowSystem->MainWindowWidget()->ClientArea()->mapToGlobal(alpha);
    QCursor::setPos(pointer);
    answerer.Expect([&](QWidget* shown) {
        auto* menu = qobject_cast<QMenu*>(shown);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->title(), "Locations");
        EXPECT_EQ(menu->pos(), pointer);
        EXPECT_EQ(OffsetBox(), "$8000") << "the row under the pointer is selected first";
        ClickMenuItem(shown, "Remove Address");
    });
    answerer.Expect(AnswerBox("Are you sure you want to delete this entry!", "Yes", [&](QMessageBox* box) {
        EXPECT_EQ(box->text(), "Name :Alpha\nOffset :$8000");
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_FALSE(windowSystem->MainWindowWidget()->isEnabled());
    }));
    Click(Qt::RightButton, alpha);
    ASSERT_TRUE(answerer.AllAnswered());
    EXPECT_EQ(Rows(), (std::vector<std::string>{"beta", "Gamma"}));
    EXPECT_EQ(windowSystem->ListSelection(ids::kLocationList), -1) << "no other row takes its place";
    EXPECT_EQ(FileText(state.settingsPath), "[Patch]\r\nbeta=0002C000\r\nGamma=0001A000\r\n");
    EXPECT_EQ(OffsetBox(), "$8000");
}

struct AddRow {
    const char* typed;
    const char* answer;
    const char* warning;  // the box that follows the answer, or nullptr
    bool closes;
};

TEST_F(QtLocationBookTest, AddAddressOpensAToolWindowWhoseQuestionsBlockOnlyThatDialog) {
    StartEditor(0x8000, "[Patch]\r\nAlpha=$4000\r\n");
    ChooseMenuItem(ids::kLocationsPopupIndex, "Add Address");
    QtLocationDialog* other = NewestLocationDialog();
    TypeInto(ids::kOffsetBox, "0001A000");
    ChooseMenuItem(ids::kLocationsPopupIndex, "Add Address");
    QtLocationDialog* dialog = NewestLocationDialog();
    ASSERT_TRUE(other != nullptr && dialog != nullptr && other != dialog);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    EXPECT_EQ(dialog->windowType(), Qt::Tool);
    EXPECT_EQ(dialog->windowHandle()->transientParent(), Window()) << "kept in front of the main window";
    EXPECT_EQ(Field(dialog, ids::kDialogOffsetField)->text(), "0001A000");
    EXPECT_EQ(Field(dialog, ids::kDialogNameField)->text(), "");
    EXPECT_EQ(Field(other, ids::kDialogOffsetField)->text(), "") << "the box was empty for the first";

    QLineEdit* name = Field(dialog, ids::kDialogNameField);
    TypeInto(name, QString(300, QLatin1Char('x')));
    EXPECT_EQ(name->text().size(), 255);
    TypeInto(name, "");
    for (int key = 0; key < 200; ++key)  // é, two bytes as the logic reads it
        QTest::sendKeyEvent(QTest::Click, name, Qt::Key_Eacute, QStringLiteral("\u00E9"), Qt::NoModifier);
    EXPECT_EQ(name->text().toUtf8().size(), 254) << "the field holds what the logic takes of it";

    const AddRow rows[] = {
        {"  Boss ", "No", nullptr, false},
        {"a=b", "Yes", "Location Book Error", false},
        {"  Boss ", "Yes", nullptr, true},
    };
    for (const AddRow& row : rows) {
        SCOPED_TRACE(std::string(row.typed) + " answered " + row.answer);
        TypeInto(name, row.typed);
        const QString caption = QString(row.typed).trimmed();
        answerer.Expect(AnswerBox(caption, row.answer, [&](QMessageBox* box) {
            EXPECT_EQ(box->text(), "0001A000");
            ExpectOnlyBlocks(dialog, box, other);
        }));
        if (row.warning != nullptr) {
            answerer.Expect(AnswerBox(row.warning, "OK", [&](QMessageBox* box) {
                EXPECT_EQ(box->icon(), QMessageBox::Warning);
                ExpectOnlyBlocks(dialog, box, other);
            }));
        }
        QTest::mouseClick(dialog->Item(ids::kDialogConfirmButton), Qt::LeftButton);
        ASSERT_TRUE(answerer.AllAnswered());
        QCoreApplication::processEvents();  // the posted list change
        if (row.closes) break;
        EXPECT_TRUE(dialog->isVisible() && dialog->isEnabled());
        EXPECT_EQ(name->text(), row.typed);
        EXPECT_EQ(Field(dialog, ids::kDialogOffsetField)->text(), "0001A000");
        EXPECT_EQ(FileText(state.settingsPath), "[Patch]\r\nAlpha=$4000\r\n");
    }
    EXPECT_EQ(NewestLocationDialog(), nullptr) << "the dialog has ended";
    EXPECT_EQ(FileText(state.settingsPath), "[Patch]\r\nAlpha=$4000\r\nBoss=0001A000\r\n");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Alpha", "Boss"}));
    EXPECT_TRUE(other->isVisible());
}

TEST_F(QtLocationBookTest, EditAddressChangesOnlyTheOffsetTextInPlace) {
    StartEditor(0x8000, "[Patch]\r\nAlpha=$4000\r\nBoss=0001A000\r\nZed=1\r\n");
    Click(Qt::LeftButton, RowPoint(1));
    ChooseMenuItem(ids::kLocationsPopupIndex, "Edit Address");
    QtLocationDialog* dialog = NewestLocationDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    EXPECT_EQ(dialog->windowTitle(), "Edit Patch Location");
    EXPECT_EQ(Field(dialog, ids::kDialogNameField)->text(), "Boss");
    EXPECT_FALSE(Field(dialog, ids::kDialogNameField)->isEnabled());
    EXPECT_TRUE(dialog->Item(ids::kDialogCleanButton)->isHidden());
    EXPECT_EQ(WidgetText(dialog->Item(ids::kDialogConfirmButton)), "Update");
    EXPECT_EQ(Field(dialog, ids::kDialogOffsetField)->text(), "0001A000");

    TypeInto(Field(dialog, ids::kDialogOffsetField), "0001A100");
    answerer.Expect(AnswerBox("Boss", "Yes", [](QMessageBox* box) {
        EXPECT_EQ(box->text(), "Are you sure you want to update this entry!");
    }));
    QTest::mouseClick(dialog->Item(ids::kDialogConfirmButton), Qt::LeftButton);
    ASSERT_TRUE(answerer.AllAnswered());
    QCoreApplication::processEvents();
    EXPECT_EQ(NewestLocationDialog(), nullptr);
    EXPECT_EQ(FileText(state.settingsPath), "[Patch]\r\nAlpha=$4000\r\nBoss=0001A100\r\nZed=1\r\n");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Alpha", "Boss", "Zed"}));
}

TEST_F(QtFileCommandsTest, SaveWritesTheEditAndReloadSourceTakesItBackOffTheStrip) {
    StartEditor(0x400);
    ClickCell(4);
    TypeRgb("248", "0", "0");
    ClickControl(ids::kApplyButton);  // the word at 0x108 becomes 0x001F
    EXPECT_EQ(StripCellColor(4), QColor(248, 0, 0));

    ChooseMenuItem(ids::kFilePopupIndex, "Save", {AnswerBox("Saved", "OK", [&](QMessageBox* box) {
                       EXPECT_EQ(box->text().toStdString(), state.rom.SavePath());
                       EXPECT_EQ(box->icon(), QMessageBox::Information);
                   })});
    const auto working = state.rom.WorkingBytes();
    EXPECT_EQ(ReadBytes(state.rom.SavePath()),
              std::vector<std::uint8_t>(working.begin(), working.begin() + state.rom.Size()));
    EXPECT_EQ(ReadBytes(state.rom.SavePath())[0x108], 0x1F);

    ChooseMenuItem(ids::kFilePopupIndex, "Reload Source",
                   {AnswerBox("Information", "OK",
                              [](QMessageBox* box) { EXPECT_EQ(box->text(), "Revert Successful"); })});
    EXPECT_EQ(WorkingWord(0x108), 0x0084);
    EXPECT_EQ(StripCellColor(4), ToQColor(ToRgbColor(0x0084))) << "the strip shows the file again";
}

TEST_F(QtFileCommandsTest, ShowFileSettingsNamesTheThreeFiles) {
    StartEditor();
    state.emulatorPath = "/opt/emu/snes emulator";
    ChooseMenuItem(
        ids::kHelpPopupIndex, "Show File Settings", {AnswerBox("Filename Info", "OK", [&](QMessageBox* box) {
            EXPECT_EQ(box->text().toStdString(), "Source Rom Filename: " + state.rom.SourcePath() +
                                                     "\nSave Rom Filename: " + state.rom.SavePath() +
                                                     "\n\nSnes Emulator: /opt/emu/snes emulator");
            EXPECT_EQ(box->icon(), QMessageBox::Information);
        })});
}

TEST_F(QtFileCommandsTest, SaveAndRunStartsTheEmulatorDetachedInTheSaveFolderWithThePathWhole) {
    StartEditor(0x400);
    std::filesystem::create_directories(dir.Path() / "my roms");
    std::filesystem::create_directories(dir.Path() / "my emulator");
    state.rom.SavePath() = dir.File("my roms/hack 1.smc");
    state.emulatorPath = dir.File("my emulator/run.sh");
    // Its process id, its folder and its arguments, one a line, written whole at once.
    std::ofstream(state.emulatorPath)
        << "#!/bin/sh\n"
           "{ echo $$; pwd -P; for a in \"$@\"; do echo \"$a\"; done; } > \"$0.part\"\n"
           "mv \"$0.part\" \"$0.out\"\n";
    std::filesystem::permissions(state.emulatorPath, std::filesystem::perms::owner_all);
    const std::string recorded = state.emulatorPath + ".out";
    const QString folderBefore = QDir::currentPath();

    ChooseMenuItem(ids::kFilePopupIndex, "Save and Run");
    QDir::setCurrent(folderBefore);  // the editor moved into the save folder
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(recorded); }, 5000));
    const std::vector<std::string> lines = FileLines(recorded);
    ASSERT_EQ(lines.size(), 3u) << "exactly one argument";
    const std::string saveFolder = std::filesystem::canonical(dir.Path() / "my roms").string();
    EXPECT_EQ(lines[1], saveFolder);
    EXPECT_EQ(lines[2], state.rom.SavePath());
    EXPECT_EQ(ReadBytes(state.rom.SavePath()).size(), state.rom.Size()) << "saved before the start";

    ASSERT_TRUE(QTest::qWaitFor([&] { return ProcessEnded(lines[0]); }, 5000));
    EXPECT_EQ(ZombieChildren(), std::vector<std::string>{}) << "nothing is left to reap";
}

}  // namespace
}  // namespace tintwright::qt::testing
