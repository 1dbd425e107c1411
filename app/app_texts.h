#pragma once

namespace tarnwick::ui {

// The program's own texts. Their spacing and spelling are kept exactly as users have seen them.
inline constexpr char kWindowTitle[] = " Tarnwick for Adobe PDF";
inline constexpr char kMessageCaption[] = "Tarnwick for Adobe PDF";
inline constexpr char kSettingsKeyName[] = "TWPDF";
inline constexpr char kAlreadyRunning[] = "Tarnwick For Adobe PDF is already running";
inline constexpr char kAlreadyRunningCaption[] = "Tarnwick For Adobe PDF";

// Main window.
inline constexpr char kOpenTitle[] = " Open Pdf files";
inline constexpr char kPdfFilterName[] = "Adobe Pdf Document";
inline constexpr char kColumnFileNumber[] = " File No.";
inline constexpr char kColumnFileName[] = " File Name";
inline constexpr char kSelectFileToRemove[] = "Please select any file to remove.";
inline constexpr char kClearSelectedQuestion[] = "Do you want to clear the selected file?";
inline constexpr char kClearAllQuestion[] = "Do you want to clear all files ?";
inline constexpr char kNoFileSelected[] = "No file selected, Kindly select a file.";
inline constexpr char kExitQuestion[] = "Do you want to exit?";
inline constexpr char kQuickExitQuestion[] = "Do you want to exit ? ";
inline constexpr char kHelpWindowTitle[] = "Help - Tarnwick for Adobe PDF";
inline constexpr char kHelpDocument[] = "Tarnwick for Adobe PDF.html";
// Asked when a file added to the list may not be a PDF, after its path (and the reason it could
// not be read).
inline constexpr char kUnreadableFileQuestion[] =
    "This file cannot be read. Add it to the list anyway?";
inline constexpr char kNotAPdfQuestion[] =
    "This file does not start like a PDF file. A damaged PDF may have lost its beginning: add it "
    "to the list anyway?";

// Analysis dialog.
inline constexpr char kStopAnalysisQuestion[] = "Do you want to stop the analysis process?";
inline constexpr char kPause[] = "Pause";
inline constexpr char kResume[] = "Resume";
inline constexpr char kStop[] = "Stop";

// Activity log and completion dialog.
inline constexpr char kLogFileName[] = "Activity Log.txt";
inline constexpr char kCompletedBanner[] =
    "******************* Repairing Completed successfully***********************************";
inline constexpr char kAbortedBanner[] =
    "******************* Repairing aborted***********************************";
inline constexpr char kSavingEscapeQuestion[] =
    " Saving Process is in running, Do you want to exit ? ";

// Preview window.
inline constexpr char kPreviousStepQuestion[] = "Do you want to go to previous step ?";
inline constexpr char kChooseDestinationTitle[] = "Select the Destination Path";
inline constexpr char kSavingPathMissing[] =
    "Saving path doesn't exist, select another path for saving ";
inline constexpr char kNoPageRecovered[] = "No page could be recovered from this file.";
// After "12 of 14", when pages of the file's own page tree were lost.
inline constexpr char kPagesRecovered[] = " pages could be recovered from this file.";
inline constexpr char kCopyCannotReplaceOriginal[] =
    "A repaired copy cannot replace its original. Choose another folder.";
inline constexpr char kNoToolbar[] = "#toolbar=0";
inline constexpr char kBlankPage[] = "about:blank";

// Saving dialog.
inline constexpr char kSavingStopQuestion[] = "Saving is in Progress. Do you want to abort?";
inline constexpr char kSavingCloseQuestion[] = "Saving is in Process,Do you want to exit?";
inline constexpr char kSavingEscapeExitQuestion[] = "Saving is in process, Do you want to exit ? ";
inline constexpr char kSavingAborted[] = "Process is aborted by user.";
// Ends a Save All that failed for reasons other than the user's answers; each failure was told
// with its reason as it happened. Followed by "<saved> of <count> files were saved."
inline constexpr char kSavingFailed[] = "Saving failed: ";
// Before the completion of a Save All that saved incomplete copies, then a line per file.
inline constexpr char kIncompleteCopies[] = "Some files could not be recovered whole:";
inline constexpr char kSingleFileCount[] = " 1 ";

}  // namespace tarnwick::ui
