// Draws every skin bitmap of the desktop program into the folder named on the command line.

#include <filesystem>
#include <iostream>

#include "skin_bitmaps.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_skin_bitmaps OUTPUT_FOLDER\n";
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::cerr << "make_skin_bitmaps: cannot create " << folder << ": " << error.message() << '\n';
    return 1;
  }
  for (const auto& bitmap : tarnwick::art::AllSkinBitmaps()) {
    const std::filesystem::path path = folder / bitmap.fileName;
    if (!tarnwick::WriteBmp24(path.string(), bitmap.draw())) {
      std::cerr << "make_skin_bitmaps: cannot write " << path << '\n';
      return 1;
    }
  }
  return 0;
}
