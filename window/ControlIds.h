#pragma once

// Numeric ids of the main window's controls (template 1000), its menu commands
// (menu 10000) and the location dialog's controls (template 8000).

namespace tintwright::ids {

// Controls of the main window.
inline constexpr int kLocationList = 1099;
inline constexpr int kColorPickButton = 1068;
inline constexpr int kPickerImage = 1069;
inline constexpr int kRedEdit = 1070;
inline constexpr int kGreenEdit = 1071;
inline constexpr int kBlueEdit = 1072;
inline constexpr int kRedLabel = 1073;
inline constexpr int kGreenLabel = 1074;
inline constexpr int kBlueLabel = 1075;
inline constexpr int kCurrentSwatch = 1076;
inline constexpr int kStoreColorButton = 1077;
inline constexpr int kStoredSwatch = 1078;
inline constexpr int kRecallColorButton = 1079;
inline constexpr int kForwardEightButton = 1001;
inline constexpr int kBackEightButton = 1002;
inline constexpr int kForwardOneButton = 1005;
inline constexpr int kStatusLine = 1006;
inline constexpr int kStrip = 1009;
inline constexpr int kBackOneButton = 1004;
inline constexpr int kApplyButton = 1007;
inline constexpr int kOffsetBox = 1008;
inline constexpr int kGotoButton = 1010;
inline constexpr int kRedSlider = 1011;
inline constexpr int kGreenSlider = 1012;
inline constexpr int kBlueSlider = 1013;
inline constexpr int kMinusButton = 1003;
inline constexpr int kPlusButton = 1015;
inline constexpr int kTrackCheckBox = 1016;
inline constexpr int kFindNextButton = 1898;
inline constexpr int kFindFirstButton = 1897;
inline constexpr int kCurrentButton = 1014;
inline constexpr int kResultBelowLabel = 1021;
inline constexpr int kResultAboveLabel = 1017;  // shares its id with File > Open; never sends

// Menu commands.
inline constexpr int kOpen = 1017;
inline constexpr int kSave = 2567;
inline constexpr int kSaveAs = 1018;
inline constexpr int kSaveAndRun = 2101;
inline constexpr int kReloadSource = 10003;
inline constexpr int kExit = 10001;
inline constexpr int kToolsPopup = 10005;
inline constexpr int kGradientFill = 10009;
inline constexpr int kUndoSelected = 10006;
inline constexpr int kUndoViewArea = 10007;
inline constexpr int kUndoAll = 10008;
inline constexpr int kUpdateUndoBuffer = 10010;
inline constexpr int kLocationsPopup = 10012;
inline constexpr int kAddAddress = 10004;
inline constexpr int kEditAddress = 10013;
inline constexpr int kRemoveAddress = 10011;
inline constexpr int kAbout = 10101;
inline constexpr int kShowFileSettings = 10002;

// Notification codes the main window routes before the command id.
inline constexpr int kListSelectionChanged = 1;
inline constexpr int kListDoubleClicked = 2;

// Timer and resources.
inline constexpr int kTrackingTimer = 5000;
inline constexpr int kTrackingPeriodMs = 50;
inline constexpr int kMainTemplate = 1000;
inline constexpr int kLocationTemplate = 8000;
inline constexpr int kMenuBar = 10000;
inline constexpr int kPickerBitmap = 500;
inline constexpr int kIcon = 501;

// Controls of the location dialog.
inline constexpr int kDialogNameField = 1002;
inline constexpr int kDialogOffsetField = 1001;
inline constexpr int kDialogConfirmButton = 1021;
inline constexpr int kDialogCleanButton = 1020;

// Menu-bar popups by position.
inline constexpr int kFilePopupIndex = 0;
inline constexpr int kToolsPopupIndex = 1;
inline constexpr int kLocationsPopupIndex = 2;
inline constexpr int kHelpPopupIndex = 3;

}  // namespace tintwright::ids
