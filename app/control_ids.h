#pragma once

#include "control_id_numbers.h"

namespace tarnwick::ids {

// Controls and menu items, numbered as in the windows' layouts.
inline constexpr int kStatic = TW_ID_STATIC;  // texts and frames nobody addresses
inline constexpr int kFileTable = TW_ID_FILE_TABLE;
inline constexpr int kBrowse = TW_ID_BROWSE;
inline constexpr int kClearAll = TW_ID_CLEAR_ALL;
inline constexpr int kRepair = TW_ID_REPAIR;
inline constexpr int kFirstPane = TW_ID_FIRST_PANE;
inline constexpr int kFileNumber = TW_ID_FILE_NUMBER;  // preview: current number; saving: count
inline constexpr int kBackFile = TW_ID_BACK_FILE;
inline constexpr int kNextFile = TW_ID_NEXT_FILE;
inline constexpr int kBack = TW_ID_BACK;
inline constexpr int kSaveAllButton = TW_ID_SAVE_ALL_BUTTON;
inline constexpr int kSaveCurrentButton = TW_ID_SAVE_CURRENT_BUTTON;
inline constexpr int kSavingFileName = TW_ID_SAVING_FILE_NAME;
inline constexpr int kSavingFileIndex = TW_ID_SAVING_FILE_INDEX;
inline constexpr int kSavingFolder = TW_ID_SAVING_FOLDER;
inline constexpr int kCurrentProgress = TW_ID_CURRENT_PROGRESS;
inline constexpr int kSavingStop = TW_ID_SAVING_STOP;
inline constexpr int kSavingPause = TW_ID_SAVING_PAUSE;
inline constexpr int kAnalysisProgress = TW_ID_ANALYSIS_PROGRESS;
// One number serves Clear selected, the analysis Stop and the completion OK.
inline constexpr int kClearSelected = TW_ID_CLEAR_SELECTED;
inline constexpr int kAnalysisStop = TW_ID_ANALYSIS_STOP;
inline constexpr int kCompletionOk = TW_ID_COMPLETION_OK;
inline constexpr int kAnalysisPause = TW_ID_ANALYSIS_PAUSE;
inline constexpr int kOverallProgress = TW_ID_OVERALL_PROGRESS;
inline constexpr int kFileCount = TW_ID_FILE_COUNT;
inline constexpr int kPreviewSlash = TW_ID_PREVIEW_SLASH;
inline constexpr int kSourcePath = TW_ID_SOURCE_PATH;
inline constexpr int kToolbarOpen = TW_ID_TOOLBAR_OPEN;
inline constexpr int kToolbarSaveCurrent = TW_ID_TOOLBAR_SAVE_CURRENT;  // no action in the main window
inline constexpr int kToolbarSaveAll = TW_ID_TOOLBAR_SAVE_ALL;
inline constexpr int kToolbarHelp = TW_ID_TOOLBAR_HELP;
inline constexpr int kToolbarAbout = TW_ID_TOOLBAR_ABOUT;
inline constexpr int kToolbarExit = TW_ID_TOOLBAR_EXIT;
inline constexpr int kPreviewSaveCurrent = TW_ID_PREVIEW_SAVE_CURRENT;
inline constexpr int kAnalysisStepLabel = TW_ID_ANALYSIS_STEP_LABEL;
inline constexpr int kSavingStepLabel = TW_ID_SAVING_STEP_LABEL;
inline constexpr int kSecondPane = TW_ID_SECOND_PANE;
inline constexpr int kAboutVersion = TW_ID_ABOUT_VERSION;

inline constexpr int kMenuSelectSource = TW_ID_MENU_SELECT_SOURCE;
inline constexpr int kMenuSaveCurrent = TW_ID_MENU_SAVE_CURRENT;
inline constexpr int kMenuSaveAll = TW_ID_MENU_SAVE_ALL;
inline constexpr int kMenuExit = TW_ID_MENU_EXIT;
inline constexpr int kMenuAbout = TW_ID_MENU_ABOUT;
inline constexpr int kMenuContents = TW_ID_MENU_CONTENTS;

}  // namespace tarnwick::ids
