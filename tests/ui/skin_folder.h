#pragma once

#include <QImage>
#include <QString>
#include <string>

namespace tarnwick::test {

// Writes every bitmap the windows load into `folder`, each 24 × 16 pixels in a colour of its own,
// so that a test can tell from a drawn button which file it shows.
void WriteSkinFolder(const std::string& folder);
// The name of the skin bitmap whose colour the image shows; empty when none.
QString SkinNameOf(const QImage& image);

}  // namespace tarnwick::test
