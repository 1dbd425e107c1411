#include "held_files.h"

namespace tarnwick {

HeldFiles& HeldFiles::Instance() {
  static HeldFiles registry;
  return registry;
}

}  // namespace tarnwick
