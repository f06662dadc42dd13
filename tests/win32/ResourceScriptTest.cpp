// The generated resource script read back and compared with the layout tables
// and with the styles the window's behaviour depends on.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "buildtools/ResourceScript.h"
#include "window/ControlIds.h"
#include "window/Layout.h"

namespace tintwright {
namespace {

using Names = std::set<std::string>;

std::string Trim(std::string text) {
    const auto notBlank = [](unsigned char c) { return !std::isspace(c); };
    text.erase(text.begin(), std::find_if(text.begin(), text.end(), notBlank));
    text.erase(std::find_if(text.rbegin(), text.rend(), notBlank).base(), text.end());
    return text;
}

// Splits a statement's arguments at commas outside quotes; quoted fields come
// back unquoted and untrimmed.
std::vector<std::string> Fields(const std::string& text) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    bool wasQuoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"' && quoted && i + 1 < text.size() && text[i + 1] == '"') {
            field += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
            wasQuoted = true;
        } else if (c == ',' && !quoted) {
            fields.push_back(wasQuoted ? field : Trim(field));
            field.clear();
            wasQuoted = false;
        } else if (quoted || !std::isspace(static_cast<unsigned char>(c)) || !field.empty()) {
            field += c;
        }
    }
    fields.push_back(wasQuoted ? field : Trim(field));
    return fields;
}

Names StyleNames(const std::string& expression) {
    Names names;
    std::istringstream in(expression);
    std::string part;
    while (std::getline(in, part, '|')) names.insert(Trim(part));
    names.erase("0");
    return names;
}

struct ScriptControl {
    std::string caption;
    int id = 0;
    std::string windowClass;
    Names styles;
    DialogUnitRect units;
    Names extendedStyles;
};

struct ScriptDialog {
    std::vector<std::string> header;  // the lines between DIALOGEX and BEGIN
    std::vector<ScriptControl> controls;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) lines.push_back(Trim(line));
    return lines;
}

ScriptControl ParseControl(const std::string& line) {
    const auto fields = Fields(line.substr(std::string("CONTROL ").size()));
    EXPECT_EQ(fields.size(), 9u) << line;
    if (fields.size() != 9) return {};
    return {fields[0],
            std::stoi(fields[1]),
            fields[2],
            StyleNames(fields[3]),
            {std::stoi(fields[4]), std::stoi(fields[5]), std::stoi(fields[6]), std::stoi(fields[7])},
            StyleNames(fields[8])};
}

std::optional<ScriptDialog> FindDialog(const std::string& script, const std::string& opening) {
    const auto lines = Lines(script);
    auto line = std::find(lines.begin(), lines.end(), opening);
    if (line == lines.end()) return std::nullopt;
    ScriptDialog dialog;
    for (++line; line != lines.end() && *line != "BEGIN"; ++line) dialog.header.push_back(*line);
    for (++line; line != lines.end() && *line != "END"; ++line) {
        dialog.controls.push_back(ParseControl(*line));
    }
    return dialog;
}

const ScriptControl* FindControl(const ScriptDialog& dialog, int id) {
    for (const ScriptControl& control : dialog.controls) {
        if (control.id == id) return &control;
    }
    return nullptr;
}

class ResourceScriptTest : public ::testing::Test {
protected:
    const std::string script = MakeResourceScript();
};

void ExpectControlsMatch(const ScriptDialog& dialog, std::span<const ControlEntry> table) {
    ASSERT_EQ(dialog.controls.size(), table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(table[i].id));
        const ScriptControl& written = dialog.controls[i];
        EXPECT_EQ(written.id, table[i].id);
        EXPECT_EQ(written.caption, table[i].caption);
        EXPECT_EQ(written.units.x, table[i].units.x);
        EXPECT_EQ(written.units.y, table[i].units.y);
        EXPECT_EQ(written.units.width, table[i].units.width);
        EXPECT_EQ(written.units.height, table[i].units.height);
        EXPECT_TRUE(written.styles.contains("WS_CHILD"));
        EXPECT_TRUE(written.styles.contains("WS_VISIBLE"));
    }
}

TEST_F(ResourceScriptTest, MainDialogHeaderNamesClassCaptionStylesAndFont) {
    const auto dialog = FindDialog(script, "1000 DIALOGEX 6, 6, 505, 204");
    ASSERT_TRUE(dialog);
    const std::vector<std::string> expected = {
        "STYLE WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | DS_CENTER | "
        "DS_SETFONT",
        "CAPTION \"Tintwright v1.6 - Snes Rom Pallette Editor\"",
        "CLASS \"DLGCLASS\"",
        "FONT 8, \"MS Sans Serif\", 400, 0, 1",
    };
    EXPECT_EQ(dialog->header, expected);
}

TEST_F(ResourceScriptTest, MainDialogControlsFollowTheLayoutTableInOrder) {
    const auto dialog = FindDialog(script, "1000 DIALOGEX 6, 6, 505, 204");
    ASSERT_TRUE(dialog);
    ExpectControlsMatch(*dialog, MainWindowControls());
}

// The styles the window's behaviour depends on, named independently of the generator.
struct StyleExpectation {
    int id;
    const char* windowClass;
    Names required;
    Names forbidden;
    Names extended;
};

TEST_F(ResourceScriptTest, MainDialogControlsCarryTheirBehaviouralStyles) {
    const Names kTextEntry = {"ES_AUTOHSCROLL", "ES_NUMBER"};
    const Names kClientEdge = {"WS_EX_CLIENTEDGE"};
    const std::vector<StyleExpectation> table = {
        {1099,
         "ListBox",
         {"LBS_SORT", "LBS_NOTIFY", "LBS_HASSTRINGS", "LBS_NOINTEGRALHEIGHT", "WS_VSCROLL"},
         {},
         kClientEdge},
        {1069, "Static", {"SS_BITMAP"}, {"SS_NOTIFY"}, {}},
        {1009, "Static", {}, {"SS_NOTIFY"}, {}},
        {1070, "Edit", {}, kTextEntry, kClientEdge},
        {1071, "Edit", {}, kTextEntry, kClientEdge},
        {1072, "Edit", {}, kTextEntry, kClientEdge},
        {1008, "Edit", {}, kTextEntry, kClientEdge},
        {1073, "Static", {"SS_CENTER", "SS_CENTERIMAGE"}, {}, {}},
        {1076, "Static", {"SS_SUNKEN", "SS_CENTERIMAGE"}, {}, {}},
        {1078, "Static", {"SS_SUNKEN"}, {}, {}},
        {1006, "Static", {"WS_DISABLED", "SS_CENTER", "SS_CENTERIMAGE"}, {}, {}},
        {1021, "Static", {"WS_DISABLED", "SS_CENTERIMAGE"}, {"SS_CENTER", "SS_NOTIFY"}, {}},
        {1017, "Static", {"WS_DISABLED", "SS_CENTERIMAGE"}, {"SS_CENTER", "SS_NOTIFY"}, {}},
        {1011, "msctls_trackbar32", {}, {"TBS_VERT", "TBS_AUTOTICKS"}, {}},
        {1016, "Button", {"BS_AUTOCHECKBOX"}, {}, {}},
        {1014, "Button", {"BS_PUSHBUTTON", "BS_FLAT"}, {}, {}},
        {1007, "Button", {"BS_PUSHBUTTON"}, {"BS_DEFPUSHBUTTON"}, {}},
    };
    const auto dialog = FindDialog(script, "1000 DIALOGEX 6, 6, 505, 204");
    ASSERT_TRUE(dialog);
    for (const StyleExpectation& row : table) {
        SCOPED_TRACE("control " + std::to_string(row.id));
        const ScriptControl* control = FindControl(*dialog, row.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->windowClass, row.windowClass);
        for (const std::string& name : row.required) EXPECT_TRUE(control->styles.contains(name)) << name;
        for (const std::string& name : row.forbidden) EXPECT_FALSE(control->styles.contains(name)) << name;
        EXPECT_EQ(control->extendedStyles, row.extended);
    }
}

TEST_F(ResourceScriptTest, LocationDialogIsAVisibleSizableToolWindowWithItsFourControls) {
    const auto dialog = FindDialog(script, "8000 DIALOGEX 6, 6, 319, 64");
    ASSERT_TRUE(dialog);
    ASSERT_EQ(dialog->header.size(), 4u);
    const Names styles = StyleNames(dialog->header[0].substr(std::string("STYLE ").size()));
    for (const char* name :
         {"WS_POPUP", "WS_VISIBLE", "WS_CAPTION", "WS_SYSMENU", "WS_THICKFRAME", "DS_SETFONT"}) {
        EXPECT_TRUE(styles.contains(name)) << name;
    }
    EXPECT_EQ(dialog->header[1], "EXSTYLE WS_EX_TOOLWINDOW");
    EXPECT_EQ(dialog->header[2], "CAPTION \"Add new location\"");
    EXPECT_EQ(dialog->header[3], "FONT 8, \"MS Sans Serif\", 400, 0, 1");
    ExpectControlsMatch(*dialog, LocationDialogControls());
    for (const int field : {ids::kDialogNameField, ids::kDialogOffsetField}) {
        const ScriptControl* control = FindControl(*dialog, field);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->windowClass, "Edit");
        EXPECT_FALSE(control->styles.contains("ES_AUTOHSCROLL"));
        EXPECT_EQ(control->extendedStyles, Names{"WS_EX_STATICEDGE"});
    }
    for (const int button : {ids::kDialogConfirmButton, ids::kDialogCleanButton}) {
        const ScriptControl* control = FindControl(*dialog, button);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->windowClass, "Button");
        EXPECT_FALSE(control->styles.contains("BS_DEFPUSHBUTTON"));
    }
}

TEST_F(ResourceScriptTest, MenuListsEveryPopupItemAndSeparatorInOrder) {
    std::vector<std::string> expected = {"10000 MENUEX", "BEGIN"};
    for (const MenuPopupEntry& popup : MenuBar()) {
        expected.push_back("POPUP \"" + std::string(popup.caption) + "\", " + std::to_string(popup.id));
        expected.push_back("BEGIN");
        for (const MenuItemEntry& item : popup.items) {
            expected.push_back(item.IsSeparator() ? "MENUITEM \"\", 0, MFT_SEPARATOR"
                                                  : "MENUITEM \"" + std::string(item.caption) + "\", " +
                                                        std::to_string(item.id));
        }
        expected.push_back("END");
    }
    expected.push_back("END");
    const auto lines = Lines(script);
    const auto start = std::find(lines.begin(), lines.end(), "10000 MENUEX");
    ASSERT_NE(start, lines.end());
    ASSERT_GE(lines.end() - start, static_cast<std::ptrdiff_t>(expected.size()));
    EXPECT_EQ(std::vector<std::string>(start, start + static_cast<std::ptrdiff_t>(expected.size())),
              expected);
    // The popups the right clicks open are found by position and carry their ids.
    EXPECT_EQ(MenuBar()[ids::kToolsPopupIndex].id, 10005);
    EXPECT_EQ(MenuBar()[ids::kLocationsPopupIndex].id, 10012);
}

TEST_F(ResourceScriptTest, EmbedsPickerIconAndCommonControlsManifest) {
    const auto lines = Lines(script);
    for (const char* line :
         {"500 BITMAP \"picker.bmp\"", "501 ICON \"tintwright.ico\"", "1 24 \"tintwright.manifest\""}) {
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
    }
    const std::string manifest = MakeManifest();
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
}

// Windows reads the setting only inside the application element of its own
// namespace, last in the assembly; whether it is granted shows under Wine.
TEST_F(ResourceScriptTest, ManifestAsksForUtf8AsTheCodePageUnlessBuiltForTheSystemsOwn) {
    const std::vector<std::string> utf8Setting = {
        "<application xmlns=\"urn:schemas-microsoft-com:asm.v3\">",
        "<windowsSettings>",
        "<activeCodePage "
        "xmlns=\"http://schemas.microsoft.com/SMI/2019/WindowsSettings\">UTF-8</activeCodePage>",
        "</windowsSettings>",
        "</application>",
        "</assembly>",
    };
    const auto utf8 = Lines(MakeManifest(ManifestCodePage::Utf8));
    ASSERT_GE(utf8.size(), utf8Setting.size());
    EXPECT_EQ(
        std::vector<std::string>(utf8.end() - static_cast<std::ptrdiff_t>(utf8Setting.size()), utf8.end()),
        utf8Setting);

    const std::string system = MakeManifest(ManifestCodePage::System);
    EXPECT_EQ(system.find("activeCodePage"), std::string::npos);
    EXPECT_NE(system.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_EQ(Lines(system).back(), "</assembly>");
}

}  // namespace
}  // namespace tintwright
