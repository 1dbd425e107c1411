#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tarnwick {

struct FileListNode {
  std::string path;
  std::int32_t isCurrent = 0;  // 1 for the current file
  std::unique_ptr<FileListNode> next;
};

// The files of one Repair press, in the file table's order, with exactly one current file.
class FileList {
 public:
  FileList() = default;
  FileList(const FileList&) = delete;
  FileList& operator=(const FileList&) = delete;
  ~FileList();

  // Starts a new list; the first path becomes the current file.
  void Rebuild(const std::vector<std::string>& paths);
  // The current node, or null when none is marked.
  FileListNode* Current() const;
  // The 1-based position of the current node, or 0.
  int CurrentPosition() const;
  int NodeCount() const;

  std::unique_ptr<FileListNode> head;

 private:
  // Unlinks node by node: a long list must not unwind its destructors recursively.
  void Clear();
};

}  // namespace tarnwick
