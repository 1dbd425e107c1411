#pragma once

// A PDF with one classic cross-reference table and no object streams, taken apart into its
// objects as they stand in the file, so that a test can reorder them or change their headers and
// put the file together again with a matching table.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace tarnwick::oracle {

struct StoredObject {
  int number = 0;
  int generation = 0;
  std::string separator = " ";  // between the number, the generation and "obj"
  std::string body;             // after "obj", up to the next object or the table
};

struct StoredFile {
  std::string header;  // the bytes in front of the first object
  std::vector<StoredObject> objects;
  std::string trailer;  // the trailer dictionary

  // Throws when qpdf cannot list the objects or finds one in an object stream.
  static StoredFile Read(const std::filesystem::path& pdf);
  // The objects in their present order, with a new table and the trailer.
  std::string Bytes() const;
  // Gives the objects named in `generations` those generation numbers, in their headers and in
  // every reference to them.
  void SetGenerations(const std::map<int, int>& generations);
};

}  // namespace tarnwick::oracle
