/* The windows' layouts, the one source of both front ends: the resource script expands these
   lists into dialog templates and the menu, and the Qt views place their controls from them.
   Both the resource compiler and C++ read this file, so it holds only preprocessor lists.

   A window:   DIALOG(name, width, height, caption, frame)
               frame: WITH_MENU (title bar, system menu, minimize box and the program's menu)
               or PLAIN (title bar and system menu).
   A control:  KIND(id, text, x, y, width, height), in the order of the Tab key, with the kinds
               BUTTON (a bitmap button), LABEL (a static text), PROGRESS (a bar from 0 to 100),
               FRAME (a group box beneath other controls), TABLE (the file table) and
               PANE (where a preview pane goes: hidden until the window places it).
   Sizes and positions are dialog units of the templates' 8-point "MS Shell Dlg" font. Texts keep
   the spacing users know, odd as some of it is. */
#ifndef TARNWICK_DIALOG_LAYOUTS_H
#define TARNWICK_DIALOG_LAYOUTS_H

#include "control_id_numbers.h"

/* Resource numbers of the templates, the menu, its keys and the program's icon; a window's name picks its
   template. */
#define TW_DIALOG_ID_MAIN_WINDOW 102
#define TW_DIALOG_ID_ANALYSIS 130
#define TW_DIALOG_ID_PREVIEW 131
#define TW_DIALOG_ID_SAVING 132
#define TW_DIALOG_ID_COMPLETION 133
#define TW_DIALOG_ID_ABOUT 134
#define TW_MENU_ID_PROGRAM 135
#define TW_ICON_ID_PROGRAM 5
#define TW_ACCELERATORS_ID_PROGRAM 136

/* The About box's texts. Each front end lays the box out in its own manner. */
#define TW_ABOUT_CAPTION "About Tarnwick for Adobe PDF"
#define TW_ABOUT_PROGRAM_NAME "Tarnwick for Adobe PDF"
#define TW_ABOUT_DESCRIPTION "Rebuilds damaged PDF files into readable copies and saves them."

#define TW_MAIN_WINDOW_DIALOG(DIALOG) \
  DIALOG(MAIN_WINDOW, 484, 290, " Tarnwick for Adobe PDF", WITH_MENU)
#define TW_MAIN_WINDOW_CONTROLS(BUTTON, LABEL, PROGRESS, FRAME, TABLE, PANE) \
  BUTTON(TW_ID_TOOLBAR_OPEN, "", 1, 1, 34, 28)                               \
  BUTTON(TW_ID_TOOLBAR_SAVE_CURRENT, "", 34, 1, 34, 28)                      \
  BUTTON(TW_ID_TOOLBAR_SAVE_ALL, "", 66, 1, 34, 28)                          \
  BUTTON(TW_ID_TOOLBAR_HELP, "", 98, 1, 34, 28)                              \
  BUTTON(TW_ID_TOOLBAR_ABOUT, "", 130, 1, 34, 28)                            \
  BUTTON(TW_ID_TOOLBAR_EXIT, "", 162, 1, 34, 28)                             \
  LABEL(TW_ID_STATIC, "Select File(s)    :", 150, 55, 60, 18)                \
  TABLE(TW_ID_FILE_TABLE, "", 149, 76, 267, 108)                             \
  BUTTON(TW_ID_BROWSE, "Browse", 425, 76, 57, 14)                            \
  BUTTON(TW_ID_CLEAR_SELECTED, "Clear selected", 421, 148, 61, 14)           \
  BUTTON(TW_ID_CLEAR_ALL, "Clear All", 421, 170, 61, 14)                     \
  BUTTON(TW_ID_REPAIR, "Repair", 425, 269, 57, 14)

#define TW_ANALYSIS_DIALOG(DIALOG) DIALOG(ANALYSIS, 214, 97, "Analysis", PLAIN)
#define TW_ANALYSIS_CONTROLS(BUTTON, LABEL, PROGRESS, FRAME, TABLE, PANE)         \
  BUTTON(TW_ID_ANALYSIS_STOP, "Stop", 50, 73, 55, 14)                             \
  BUTTON(TW_ID_ANALYSIS_PAUSE, "Pause", 109, 74, 55, 14)                          \
  LABEL(TW_ID_STATIC, "Analysis is in Progress, Please  wait .....", 57, 24, 128, 8) \
  LABEL(TW_ID_ANALYSIS_STEP_LABEL, "Static", 20, 24, 36, 8)                       \
  PROGRESS(TW_ID_ANALYSIS_PROGRESS, "", 20, 36, 171, 12)                          \
  FRAME(TW_ID_STATIC, "", 13, 8, 186, 60)

#define TW_COMPLETION_DIALOG(DIALOG) DIALOG(COMPLETION, 186, 73, "", PLAIN)
#define TW_COMPLETION_CONTROLS(BUTTON, LABEL, PROGRESS, FRAME, TABLE, PANE) \
  LABEL(TW_ID_STATIC, "Process completed successfully.", 38, 25, 109, 10)   \
  FRAME(TW_ID_STATIC, "", 9, 0, 164, 50)                                    \
  BUTTON(TW_ID_COMPLETION_OK, "OK", 72, 55, 40, 14)

/* Labels whose position alone is known get a size that holds their text. */
#define TW_SAVING_DIALOG(DIALOG) DIALOG(SAVING, 348, 193, "File Saving", PLAIN)
#define TW_SAVING_CONTROLS(BUTTON, LABEL, PROGRESS, FRAME, TABLE, PANE) \
  FRAME(TW_ID_STATIC, "", 3, 0, 342, 157)                               \
  LABEL(TW_ID_STATIC, "File Name  :", 25, 13, 40, 10)                   \
  LABEL(TW_ID_SAVING_FILE_NAME, "", 66, 14, 268, 16)                    \
  LABEL(TW_ID_STATIC, "File Count :", 25, 35, 40, 10)                   \
  LABEL(TW_ID_SAVING_FILE_INDEX, "", 66, 35, 10, 10)                    \
  LABEL(TW_ID_STATIC, "/", 76, 35, 8, 10)                               \
  LABEL(TW_ID_FILE_NUMBER, "", 85, 35, 30, 10)                          \
  LABEL(TW_ID_STATIC, "File Path   :", 25, 53, 40, 10)                  \
  LABEL(TW_ID_SAVING_FOLDER, "", 66, 53, 256, 18)                       \
  FRAME(TW_ID_STATIC, "", 25, 77, 280, 31)                              \
  LABEL(TW_ID_STATIC, "Current Progress", 28, 82, 58, 10)               \
  LABEL(TW_ID_SAVING_STEP_LABEL, "", 89, 83, 60, 8)                     \
  PROGRESS(TW_ID_CURRENT_PROGRESS, "", 64, 95, 221, 10)                 \
  FRAME(TW_ID_STATIC, "", 24, 113, 281, 31)                             \
  LABEL(TW_ID_STATIC, "Overall Progress", 28, 118, 58, 10)              \
  PROGRESS(TW_ID_OVERALL_PROGRESS, "", 64, 131, 221, 10)                \
  BUTTON(TW_ID_SAVING_STOP, "Stop", 119, 165, 50, 14)                   \
  BUTTON(TW_ID_SAVING_PAUSE, "Pause", 189, 165, 50, 14)

/* Labels whose position alone is known get a size that holds their text. */
#define TW_PREVIEW_DIALOG(DIALOG) DIALOG(PREVIEW, 484, 290, "Preview", WITH_MENU)
#define TW_PREVIEW_CONTROLS(BUTTON, LABEL, PROGRESS, FRAME, TABLE, PANE)           \
  BUTTON(TW_ID_TOOLBAR_OPEN, "", 1, 3, 34, 28)                                     \
  BUTTON(TW_ID_PREVIEW_SAVE_CURRENT, "", 31, 3, 34, 28)                            \
  BUTTON(TW_ID_TOOLBAR_SAVE_ALL, "", 62, 3, 34, 28)                                \
  BUTTON(TW_ID_TOOLBAR_HELP, "", 93, 3, 34, 28)                                    \
  BUTTON(TW_ID_TOOLBAR_ABOUT, "", 124, 3, 34, 28)                                  \
  BUTTON(TW_ID_TOOLBAR_EXIT, "", 155, 3, 34, 28)                                   \
  LABEL(TW_ID_STATIC, "Source File  :", 145, 48, 46, 10)                           \
  LABEL(TW_ID_SOURCE_PATH, "", 192, 48, 279, 18)                                   \
  PANE(TW_ID_FIRST_PANE, "", 0, 0, 0, 0)                                           \
  PANE(TW_ID_SECOND_PANE, "", 0, 0, 0, 0)                                          \
  LABEL(TW_ID_STATIC, " File Number :", 144, 247, 45, 10)                          \
  LABEL(TW_ID_FILE_NUMBER, "", 189, 247, 8, 10)                                    \
  LABEL(TW_ID_PREVIEW_SLASH, "/", 197, 247, 6, 10)                                 \
  LABEL(TW_ID_FILE_COUNT, "", 203, 247, 40, 10)                                    \
  BUTTON(TW_ID_BACK_FILE, "Back File", 250, 247, 61, 14)                           \
  BUTTON(TW_ID_NEXT_FILE, "Next File", 314, 247, 61, 14)                           \
  BUTTON(TW_ID_BACK, "Back", 144, 268, 57, 14)                                     \
  BUTTON(TW_ID_SAVE_CURRENT_BUTTON, "Save Current File", 335, 268, 73, 14)         \
  BUTTON(TW_ID_SAVE_ALL_BUTTON, "Save All", 409, 268, 73, 14)

/* The menu of the main and preview windows: MENU(text) opens a menu of the bar, ITEM(id, text)
   adds an item to it, END_MENU closes it. The ampersands make Alt+F and Alt+H. */
#define TW_PROGRAM_MENU(MENU, ITEM, END_MENU)         \
  MENU("&File")                                       \
  ITEM(TW_ID_MENU_SELECT_SOURCE, "Select Source File") \
  ITEM(TW_ID_MENU_SAVE_CURRENT, "Save Current File")  \
  ITEM(TW_ID_MENU_SAVE_ALL, "Save All  File")         \
  ITEM(TW_ID_MENU_EXIT, "Exit")                       \
  END_MENU                                            \
  MENU("&Help")                                       \
  ITEM(TW_ID_MENU_ABOUT, "About Us")                  \
  ITEM(TW_ID_MENU_CONTENTS, "Contents")               \
  END_MENU

#endif
