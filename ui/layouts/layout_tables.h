#pragma once

#include <span>

#include "dialog_layouts.h"

namespace tarnwick::layouts {

// A rectangle of a dialog template, in dialog units.
struct DialogRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const DialogRect&) const = default;
};

enum class ControlKind { kButton, kLabel, kProgress, kFrame, kTable, kPane };

struct ControlLayout {
  ControlKind kind;
  int id;
  const char* text;
  DialogRect rect;
};

struct DialogLayout {
  int resourceId;
  int width;
  int height;
  const char* caption;
  bool hasMenu;
  std::span<const ControlLayout> controls;  // in the order of the Tab key
};

enum class MenuEntryKind { kMenu, kItem, kEndMenu };

struct MenuEntry {
  MenuEntryKind kind;
  int id;  // items only
  const char* text;
};

#define TW_TABLE_CONTROL(kind, id, text, x, y, width, height) \
  ControlLayout{ControlKind::kind, id, text, {x, y, width, height}},
#define TW_TABLE_BUTTON(...) TW_TABLE_CONTROL(kButton, __VA_ARGS__)
#define TW_TABLE_LABEL(...) TW_TABLE_CONTROL(kLabel, __VA_ARGS__)
#define TW_TABLE_PROGRESS(...) TW_TABLE_CONTROL(kProgress, __VA_ARGS__)
#define TW_TABLE_FRAME(...) TW_TABLE_CONTROL(kFrame, __VA_ARGS__)
#define TW_TABLE_TABLE(...) TW_TABLE_CONTROL(kTable, __VA_ARGS__)
#define TW_TABLE_PANE(...) TW_TABLE_CONTROL(kPane, __VA_ARGS__)
#define TW_TABLE_CONTROLS(list)                                                          \
  {list(TW_TABLE_BUTTON, TW_TABLE_LABEL, TW_TABLE_PROGRESS, TW_TABLE_FRAME, TW_TABLE_TABLE, \
        TW_TABLE_PANE)}
#define TW_TABLE_HAS_MENU_WITH_MENU true
#define TW_TABLE_HAS_MENU_PLAIN false
#define TW_TABLE_DIALOG(name, width, height, caption, frame) \
  TW_DIALOG_ID_##name, width, height, caption, TW_TABLE_HAS_MENU_##frame

inline constexpr ControlLayout kMainWindowControls[] = TW_TABLE_CONTROLS(TW_MAIN_WINDOW_CONTROLS);
inline constexpr ControlLayout kAnalysisControls[] = TW_TABLE_CONTROLS(TW_ANALYSIS_CONTROLS);
inline constexpr ControlLayout kCompletionControls[] = TW_TABLE_CONTROLS(TW_COMPLETION_CONTROLS);
inline constexpr ControlLayout kSavingControls[] = TW_TABLE_CONTROLS(TW_SAVING_CONTROLS);
inline constexpr ControlLayout kPreviewControls[] = TW_TABLE_CONTROLS(TW_PREVIEW_CONTROLS);

inline constexpr DialogLayout kMainWindow{TW_MAIN_WINDOW_DIALOG(TW_TABLE_DIALOG),
                                          kMainWindowControls};
inline constexpr DialogLayout kAnalysis{TW_ANALYSIS_DIALOG(TW_TABLE_DIALOG), kAnalysisControls};
inline constexpr DialogLayout kCompletion{TW_COMPLETION_DIALOG(TW_TABLE_DIALOG),
                                          kCompletionControls};
inline constexpr DialogLayout kSaving{TW_SAVING_DIALOG(TW_TABLE_DIALOG), kSavingControls};
inline constexpr DialogLayout kPreview{TW_PREVIEW_DIALOG(TW_TABLE_DIALOG), kPreviewControls};

#define TW_TABLE_MENU(text) MenuEntry{MenuEntryKind::kMenu, 0, text},
#define TW_TABLE_ITEM(id, text) MenuEntry{MenuEntryKind::kItem, id, text},
#define TW_TABLE_END_MENU MenuEntry{MenuEntryKind::kEndMenu, 0, ""},
inline constexpr MenuEntry kProgramMenu[] = {
    TW_PROGRAM_MENU(TW_TABLE_MENU, TW_TABLE_ITEM, TW_TABLE_END_MENU)};

}  // namespace tarnwick::layouts
