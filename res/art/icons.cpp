#include "icons.h"

namespace tarnwick::art {
namespace {

constexpr double kStroke = 2.6;

// A slot between two overlapping parts of one icon, so that they stay apart in one colour.
constexpr double kGap = 1.4;

Shape Folder() {
  Shape back = Union(RoundedRect(2, 3, 9, 5, 1.5), RoundedRect(2, 5, 18, 15, 2));
  Shape front = Inflate(Convex({{5.5, 10.5}, {22.5, 10.5}, {19.5, 19.5}, {2.5, 19.5}}), 0.5);
  return Union(Subtract(std::move(back), Inflate(front, kGap)), front);
}

Shape Disk() {
  Shape body = RoundedRect(3, 3, 18, 18, 3);
  Shape shutter = Subtract(RoundedRect(7, 5, 10, 5.5, 1), RoundedRect(13.2, 6, 2, 3.5, 0.5));
  Shape label = RoundedRect(6.5, 13, 11, 6, 1.2);
  return Subtract(Subtract(std::move(body), std::move(shutter)), std::move(label));
}

Shape Disks() {
  Shape front = Place(Disk(), 0, 5, 0.78);
  Shape back = Place(Disk(), 5, 0, 0.78);
  return Union(Subtract(std::move(back), Inflate(front, kGap)), front);
}

Shape Question() {
  Shape mark = Union(Arc(12, 9.4, 3.4, kStroke, -50, 180), Line(14.2, 12, 12, 13.8, kStroke));
  mark = Union(std::move(mark), Line(12, 13.8, 12, 14.6, kStroke));
  mark = Union(std::move(mark), Circle(12, 18, 1.5));
  return Subtract(Circle(12, 12, 10.5), std::move(mark));
}

Shape Info() {
  Shape letter = Union(Circle(12, 7.2, 1.6), Line(12, 11, 12, 17.2, kStroke));
  return Subtract(Circle(12, 12, 10.5), std::move(letter));
}

Shape Power() {
  return Union(Arc(12, 13, 7.8, kStroke, 125, 415), Line(12, 2.8, 12, 11.5, kStroke));
}

Shape ArrowLeft() {
  Shape shaft = Line(5, 12, 19, 12, kStroke);
  Shape head = Union(Line(5, 12, 11, 6, kStroke), Line(5, 12, 11, 18, kStroke));
  return Union(std::move(shaft), std::move(head));
}

Shape ArrowRight() {
  Shape shaft = Line(5, 12, 19, 12, kStroke);
  Shape head = Union(Line(19, 12, 13, 6, kStroke), Line(19, 12, 13, 18, kStroke));
  return Union(std::move(shaft), std::move(head));
}

Shape Return() {
  Shape bend = Union(Arc(13.5, 12.5, 6, kStroke, -90, 90), Line(13.5, 6.5, 6, 6.5, kStroke));
  bend = Union(std::move(bend), Line(13.5, 18.5, 7, 18.5, kStroke));
  Shape head = Union(Line(6, 6.5, 9.5, 3, kStroke), Line(6, 6.5, 9.5, 10, kStroke));
  return Union(std::move(bend), std::move(head));
}

Shape Check() {
  return Union(Line(4.5, 12.5, 9.5, 17.5, 3), Line(9.5, 17.5, 19.5, 6.5, 3));
}

Shape Wrench() {
  // The jaw opens towards the top right, along the handle's direction.
  Shape head = Subtract(Circle(15.5, 8.5, 5.6),
                        Convex({{14.8, 6.6}, {19.9, 1.5}, {22.5, 4.1}, {17.4, 9.2}}));
  return Union(std::move(head), Line(5, 19, 13.5, 10.5, 3.8));
}

Shape Document() {
  Shape page = Inflate(Convex({{5, 2}, {14, 2}, {19, 7}, {19, 22}, {5, 22}}), 0.6);
  Shape fold = Convex({{14, 2}, {19, 7}, {14, 7}});
  return Union(Subtract(std::move(page), Inflate(fold, kGap)), Inflate(fold, 0.3));
}

}  // namespace

Shape IconShape(Icon icon) {
  switch (icon) {
    case Icon::kFolder: return Folder();
    case Icon::kDisk: return Disk();
    case Icon::kDisks: return Disks();
    case Icon::kQuestion: return Question();
    case Icon::kInfo: return Info();
    case Icon::kPower: return Power();
    case Icon::kPlay: return Inflate(Convex({{7.5, 5}, {19, 12}, {7.5, 19}}), 0.8);
    case Icon::kPause: return Union(RoundedRect(6, 5, 4.5, 14, 1.2), RoundedRect(13.5, 5, 4.5, 14, 1.2));
    case Icon::kStop: return RoundedRect(5.5, 5.5, 13, 13, 2.5);
    case Icon::kArrowLeft: return ArrowLeft();
    case Icon::kArrowRight: return ArrowRight();
    case Icon::kReturn: return Return();
    case Icon::kCheck: return Check();
    case Icon::kWrench: return Wrench();
    case Icon::kDocument: return Document();
  }
  return Circle(12, 12, 0);
}

}  // namespace tarnwick::art
