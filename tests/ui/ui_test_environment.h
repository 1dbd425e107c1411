#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <string>

#include "bmp_file.h"

class QAction;
class QMenu;
class QWidget;

namespace tarnwick::test {

// Before the QApplication exists: Qt's offscreen platform unless a display was chosen, and a
// private configuration and temporary folder, so that no test reads or writes the user's.
void PrepareUiTestEnvironment();

// The colours the skin and focus tests draw with, and the key colour a bitmap leaves out.
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kGreen{0, 200, 0};
inline constexpr Rgb kKey{189, 230, 231};

// A picture of one colour with a frame of another, `border` pixels wide.
BmpImage FramedImage(int width, int height, Rgb inside, Rgb frame, int border);
// Writes the image as a 24-bit bitmap file; fails hard when it cannot.
void WriteBitmap(const std::string& path, const BmpImage& image);

// The control of `window` named by its id.
QWidget* Control(QWidget* window, int id);
// The colour of the window's client area at `point`, as drawn with all its controls.
QColor ClientPixel(QWidget* clientArea, QPoint point);
// Shows the window and makes it the active one, as the user's keys need.
bool ShowActive(QWidget* window);
// The menu whose title is shown as `title`, its access key's ampersand left out.
QMenu* MenuTitled(QWidget* window, const QString& title);
// The item of the window's menu bar with this id.
QAction* MenuItem(QWidget* window, int id);
QColor ColourOf(Rgb rgb);


}  // namespace tarnwick::test
