#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "oracle_tools.h"
#include "sample_documents.h"

namespace tarnwick::oracle {

// The sample documents of this test process, made once in a temporary folder.
inline SampleDocuments& Samples() {
  static test::TempFolder folder;
  static SampleDocuments documents(folder.Path());
  return documents;
}

// Fails every test early, with the names of the missing programs, when an oracle is not
// installed: a missing oracle must never look like a pass.
template <typename Param>
class OracleTest : public ::testing::TestWithParam<Param> {
 protected:
  void SetUp() override {
    const std::string missing =
        MissingTools({"qpdf", "pdfinfo", "pdftotext", "pdftocairo", "pdftoppm", "ps2pdf"});
    ASSERT_TRUE(missing.empty()) << missing;
  }
};

// A producer's sample document, its bytes, and its pages as qpdf lists them.
class OracleDocumentTest : public OracleTest<std::string> {
 protected:
  void SetUp() override {
    OracleTest::SetUp();
    if (HasFatalFailure()) return;
    original_ = Samples().Document(GetParam());
    bytes_ = test::ReadFile(original_);
    pages_ = QpdfPages(original_);
  }

  std::filesystem::path original_;
  std::string bytes_;
  std::vector<PageObjects> pages_;
};

}  // namespace tarnwick::oracle
