#include "file_list.h"

namespace tarnwick {

FileList::~FileList() { Clear(); }

void FileList::Clear() {
  while (head) head = std::move(head->next);
}

void FileList::Rebuild(const std::vector<std::string>& paths) {
  Clear();
  std::unique_ptr<FileListNode>* tail = &head;
  for (const std::string& path : paths) {
    *tail = std::make_unique<FileListNode>();
    (*tail)->path = path;
    (*tail)->isCurrent = tail == &head ? 1 : 0;
    tail = &(*tail)->next;
  }
}

FileListNode* FileList::Current() const {
  for (FileListNode* node = head.get(); node; node = node->next.get()) {
    if (node->isCurrent == 1) return node;
  }
  return nullptr;
}

int FileList::CurrentPosition() const {
  int position = 1;
  for (FileListNode* node = head.get(); node; node = node->next.get(), ++position) {
    if (node->isCurrent == 1) return position;
  }
  return 0;
}

int FileList::NodeCount() const {
  int count = 0;
  for (FileListNode* node = head.get(); node; node = node->next.get()) ++count;
  return count;
}

}  // namespace tarnwick
