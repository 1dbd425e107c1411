#pragma once

#include <string>

#include "split_mix.h"

namespace tarnwick::bench {

// The pieces of one generated page. Lengths vary from page to page the way real documents do:
// a short drawing stream, a long text stream, a tiny stream that places the page's picture, and
// the picture's samples, which are random bytes like compressed data.
struct PageContent {
  std::string drawing;
  std::string text;
  std::string placement;
  int imageWidth = 0;
  int imageHeight = 0;
  std::string imageSamples;
  std::string linkRectangle;  // the four numbers of the page's link annotation
};

PageContent MakePageContent(SplitMix& random, int pageNumber);

}  // namespace tarnwick::bench
