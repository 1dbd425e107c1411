#pragma once

#include <string>

namespace tarnwick::test {

// A PDF of `pages` pages, each saying "`label` page n", whose cross-reference table, trailer and
// end marker were lost: readers must rebuild it before they can show it.
std::string DamagedPdf(const std::string& label, int pages);

}  // namespace tarnwick::test
