#include "buildtools/ResourceScript.h"

#include <sstream>
#include <string_view>
#include <vector>

#include "window/ControlIds.h"
#include "window/Layout.h"
#include "window/Version.h"

namespace tintwright {
namespace {

// Resource-script strings double their quotes; a backslash starts an escape.
std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') {
            quoted += "\"\"";
        } else if (c == '\\') {
            quoted += "\\\\";
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string Joined(const std::vector<std::string_view>& names) {
    std::string joined;
    for (const std::string_view name : names) {
        if (!joined.empty()) joined += " | ";
        joined += name;
    }
    return joined;
}

std::string_view WindowClassOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::ListBox:
            return "ListBox";
        case ControlKind::PushButton:
        case ControlKind::CheckBox:
            return "Button";
        case ControlKind::Static:
        case ControlKind::BitmapStatic:
            return "Static";
        case ControlKind::Edit:
            return "Edit";
        case ControlKind::Slider:
            return "msctls_trackbar32";
    }
    return "Static";
}

// What every control of a kind carries. Edits get neither ES_AUTOHSCROLL nor
// ES_NUMBER: typing stops at the field's edge and any character is accepted.
std::vector<std::string_view> KindStyles(ControlKind kind) {
    switch (kind) {
        case ControlKind::ListBox:
            return {"LBS_HASSTRINGS", "WS_TABSTOP"};
        case ControlKind::PushButton:
            return {"BS_PUSHBUTTON", "WS_TABSTOP"};
        case ControlKind::CheckBox:
            return {"BS_AUTOCHECKBOX", "WS_TABSTOP"};
        case ControlKind::Static:
            return {"SS_LEFT"};
        case ControlKind::BitmapStatic:
            return {"SS_BITMAP"};
        case ControlKind::Edit:
            return {"ES_LEFT", "WS_TABSTOP"};
        case ControlKind::Slider:
            return {"TBS_HORZ", "WS_TABSTOP"};
    }
    return {};
}

struct StyleFlagName {
    std::uint32_t flag;
    std::string_view name;
};

constexpr StyleFlagName kWindowStyleNames[] = {
    {style::kSorted, "LBS_SORT"},
    {style::kNotify, "LBS_NOTIFY"},
    {style::kNoIntegralHeight, "LBS_NOINTEGRALHEIGHT"},
    {style::kVerticalScroll, "WS_VSCROLL"},
    {style::kCentered, "SS_CENTER"},
    {style::kCenterImage, "SS_CENTERIMAGE"},
    {style::kSunken, "SS_SUNKEN"},
    {style::kFlat, "BS_FLAT"},
    {style::kDisabled, "WS_DISABLED"},
};

constexpr StyleFlagName kExtendedStyleNames[] = {
    {style::kClientEdge, "WS_EX_CLIENTEDGE"},
    {style::kStaticEdge, "WS_EX_STATICEDGE"},
};

std::string ControlStyles(const ControlEntry& control) {
    std::vector<std::string_view> names = {"WS_CHILD"};
    for (const std::string_view name : KindStyles(control.kind)) names.push_back(name);
    for (const StyleFlagName& entry : kWindowStyleNames) {
        if (control.styles & entry.flag) names.push_back(entry.name);
    }
    // CONTROL statements are visible unless told otherwise.
    names.push_back((control.styles & style::kHidden) ? "NOT WS_VISIBLE" : "WS_VISIBLE");
    return Joined(names);
}

std::string ExtendedStyles(const ControlEntry& control) {
    std::vector<std::string_view> names;
    for (const StyleFlagName& entry : kExtendedStyleNames) {
        if (control.styles & entry.flag) names.push_back(entry.name);
    }
    return names.empty() ? "0" : Joined(names);
}

void WriteControl(std::ostream& out, const ControlEntry& control) {
    const DialogUnitRect& r = control.units;
    out << "    CONTROL " << Quoted(control.caption) << ", " << control.id << ", "
        << Quoted(WindowClassOf(control.kind)) << ", " << ControlStyles(control) << ", " << r.x << ", " << r.y
        << ", " << r.width << ", " << r.height << ", " << ExtendedStyles(control) << "\n";
}

void WriteFont(std::ostream& out) {
    // Normal weight, not italic, DEFAULT_CHARSET.
    out << "FONT " << kDialogFontPoints << ", " << Quoted(kDialogFontName) << ", 400, 0, 1\n";
}

void WriteMainDialog(std::ostream& out) {
    out << ids::kMainTemplate << " DIALOGEX 6, 6, " << kClientWidthUnits << ", " << kClientHeightUnits << "\n"
        << "STYLE WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | DS_CENTER | "
           "DS_SETFONT\n"
        << "CAPTION " << Quoted(kMainWindowCaption) << "\n"
        << "CLASS " << Quoted(kMainWindowClass) << "\n";
    WriteFont(out);
    out << "BEGIN\n";
    for (const ControlEntry& control : MainWindowControls()) WriteControl(out, control);
    out << "END\n\n";
}

// A small tool window with a sizing frame, visible from its creation.
void WriteLocationDialog(std::ostream& out) {
    const DialogUnitRect& r = kLocationDialogUnits;
    out << ids::kLocationTemplate << " DIALOGEX " << r.x << ", " << r.y << ", " << r.width << ", " << r.height
        << "\n"
        << "STYLE WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_SETFONT\n"
        << "EXSTYLE WS_EX_TOOLWINDOW\n"
        << "CAPTION " << Quoted(kLocationDialogCaption) << "\n";
    WriteFont(out);
    out << "BEGIN\n";
    for (const ControlEntry& control : LocationDialogControls()) WriteControl(out, control);
    out << "END\n\n";
}

void WriteMenu(std::ostream& out) {
    out << ids::kMenuBar << " MENUEX\nBEGIN\n";
    for (const MenuPopupEntry& popup : MenuBar()) {
        out << "    POPUP " << Quoted(popup.caption) << ", " << popup.id << "\n    BEGIN\n";
        for (const MenuItemEntry& item : popup.items) {
            if (item.IsSeparator()) {
                out << "        MENUITEM \"\", 0, MFT_SEPARATOR\n";
            } else {
                out << "        MENUITEM " << Quoted(item.caption) << ", " << item.id << "\n";
            }
        }
        out << "    END\n";
    }
    out << "END\n\n";
}

}  // namespace

std::string MakeResourceScript() {
    std::ostringstream out;
    out << "// Generated by tintwright_make_rc from window/Layout.cpp; do not edit.\n"
        << "#include <windows.h>\n#include <commctrl.h>\n\n";
    WriteMainDialog(out);
    WriteLocationDialog(out);
    WriteMenu(out);
    out << ids::kPickerBitmap << " BITMAP " << Quoted(kPickerBitmapFile) << "\n"
        << ids::kIcon << " ICON " << Quoted(kIconFile) << "\n"
        << "// Resource type 24 is RT_MANIFEST.\n"
        << "1 24 " << Quoted(kManifestFile) << "\n";
    return out.str();
}

// No DPI awareness is declared on purpose: at higher scales Windows stretches
// the window as a 96-dpi picture, so the fixed pixel hit-tests stay right.
// The UTF-8 code page makes every "A" call of the program, file dialogs and
// file calls alike, take UTF-8 on Windows 10 1903 and later, so any name the
// system can hold opens and saves; older systems ignore the setting and keep
// their 8-bit code page, which the program uses just as consistently.
std::string MakeManifest(ManifestCodePage codePage) {
    const std::string_view application = codePage == ManifestCodePage::System ? "" : R"(
  <application xmlns="urn:schemas-microsoft-com:asm.v3">
    <windowsSettings>
      <activeCodePage xmlns="http://schemas.microsoft.com/SMI/2019/WindowsSettings">UTF-8</activeCodePage>
    </windowsSettings>
  </application>)";
    return R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">
  <assemblyIdentity type="win32" name="Tintwright.Editor" version=")" TINTWRIGHT_VERSION
           R"(.0.0" processorArchitecture="*"/>
  <description>Tintwright - Snes Rom Pallette Editor</description>
  <dependency>
    <dependentAssembly>
      <assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0"
                        processorArchitecture="*" publicKeyToken="6595b64144ccf1df" language="*"/>
    </dependentAssembly>
  </dependency>)" +
           std::string(application) + "\n</assembly>\n";
}

}  // namespace tintwright
