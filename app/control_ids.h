#pragma once

namespace tarnwick::ids {

// Controls and menu items, numbered as in the windows' layouts.
inline constexpr int kFileTable = 1000;
inline constexpr int kBrowse = 1001;
inline constexpr int kClearAll = 1002;
inline constexpr int kRepair = 1005;
inline constexpr int kFirstPane = 1006;
inline constexpr int kFileNumber = 1012;  // preview: current number; saving: file count
inline constexpr int kBackFile = 1013;
inline constexpr int kNextFile = 1014;
inline constexpr int kBack = 1015;
inline constexpr int kSaveAllButton = 1016;
inline constexpr int kSaveCurrentButton = 1017;
inline constexpr int kSavingFileName = 1018;
inline constexpr int kSavingFileIndex = 1019;
inline constexpr int kSavingFolder = 1020;
inline constexpr int kCurrentProgress = 1021;
inline constexpr int kSavingStop = 1022;
inline constexpr int kSavingPause = 1023;
inline constexpr int kAnalysisProgress = 1024;
inline constexpr int kClearSelected = 1026;  // also the analysis Stop and the completion OK
inline constexpr int kAnalysisStop = 1026;
inline constexpr int kCompletionOk = 1026;
inline constexpr int kAnalysisPause = 1027;
inline constexpr int kOverallProgress = 1032;
inline constexpr int kFileCount = 1033;
inline constexpr int kSourcePath = 1037;
inline constexpr int kToolbarOpen = 1040;
inline constexpr int kToolbarSaveCurrent = 1041;  // main window (no action there)
inline constexpr int kToolbarSaveAll = 1042;
inline constexpr int kToolbarHelp = 1043;
inline constexpr int kToolbarAbout = 1044;
inline constexpr int kToolbarExit = 1045;
inline constexpr int kPreviewSaveCurrent = 1047;
inline constexpr int kAnalysisStepLabel = 1050;
inline constexpr int kSavingStepLabel = 1051;
inline constexpr int kSecondPane = 1052;

inline constexpr int kMenuSelectSource = 32771;
inline constexpr int kMenuSaveCurrent = 32775;
inline constexpr int kMenuSaveAll = 32776;
inline constexpr int kMenuExit = 32777;
inline constexpr int kMenuAbout = 32785;
inline constexpr int kMenuContents = 32786;

}  // namespace tarnwick::ids
