// Replays inputs through the fuzzer's entry without libFuzzer, so that seeds, regressions and
// crash files run under the sanitizers in CTest and scripts.
//
//   repair_replay PATH...         repairs each file (folders: each file in them, sorted) into a
//                                 scratch folder and removes the copy, as the fuzzer does
//   repair_replay -o DIR PATH...  repairs each file into DIR, keeps the copy and prints its path
//
// Exit status: 0 when every input was repaired, 1 when some were not, 2 on a usage error. A crash,
// a sanitizer report or a hang shows as a signal or a timeout of the process.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "repair_entry.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> ExpandFolders(const std::vector<std::string>& arguments) {
  std::vector<fs::path> files;
  for (const std::string& argument : arguments) {
    if (!fs::is_directory(argument)) {
      files.emplace_back(argument);
      continue;
    }
    std::vector<fs::path> inFolder;
    for (const fs::directory_entry& entry : fs::directory_iterator(argument)) {
      if (entry.is_regular_file()) inFolder.push_back(entry.path());
    }
    std::sort(inFolder.begin(), inFolder.end());
    files.insert(files.end(), inFolder.begin(), inFolder.end());
  }
  return files;
}

bool ReadWhole(const fs::path& path, std::vector<std::uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  std::string destination;
  if (arguments.size() >= 2 && arguments[0] == "-o") {
    destination = arguments[1];
    if (destination.back() != '/') destination += '/';
    arguments.erase(arguments.begin(), arguments.begin() + 2);
  }
  if (arguments.empty()) {
    std::cerr << "usage: repair_replay [-o DIR] FILE|FOLDER...\n";
    return 2;
  }

  const std::vector<fs::path> files = ExpandFolders(arguments);
  std::size_t repaired = 0;
  if (destination.empty()) {
    tarnwick::fuzz::ScratchRepair scratch;
    std::vector<std::uint8_t> bytes;
    for (const fs::path& file : files) {
      if (!ReadWhole(file, bytes)) {
        std::cerr << file.string() << ": cannot be read\n";
        continue;
      }
      if (scratch.Repair(bytes.data(), bytes.size())) ++repaired;
      else std::cerr << file.string() << ": not repaired\n";
    }
  } else {
    for (const fs::path& file : files) {
      if (tarnwick::fuzz::RepairInto(file.string(), destination)) {
        std::cout << destination << file.filename().string() << '\n';
        ++repaired;
      } else {
        std::cerr << file.string() << ": not repaired\n";
      }
    }
  }
  std::cerr << "replayed " << files.size() << " inputs, " << repaired << " repaired\n";
  return repaired == files.size() ? 0 : 1;
}
