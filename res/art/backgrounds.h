#pragma once

#include "bmp_file.h"

// Window backgrounds, each in its window's size. Labels are drawn over them without a background,
// so the places where labels sit stay plain.
namespace tarnwick::art {

// Which step of the job a large window belongs to; its sidebar highlights it.
enum class JobStep { kSelect = 0, kRepair = 1, kPreview = 2 };

BmpImage MainWindowBackground();     // header, sidebar, the file table's place
BmpImage PreviewWindowBackground();  // header, sidebar, the document pane's place
BmpImage AnalysisBackground();
BmpImage SavingBackground();
BmpImage CompletionBackground();

}  // namespace tarnwick::art
