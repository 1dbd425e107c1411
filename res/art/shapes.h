#pragma once

#include <functional>
#include <utility>
#include <vector>

// Shapes as signed distance functions in pixel units: negative inside, positive outside. Painting
// turns the distance at each pixel centre into coverage, which gives anti-aliased edges for free.
namespace tarnwick::art {

struct Box {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
};

struct Shape {
  std::function<double(double x, double y)> distance;
  Box bounds;  // no pixel outside this box is inside the shape
};

Shape RoundedRect(double x, double y, double width, double height, double radius);
Shape Circle(double centreX, double centreY, double radius);
Shape Ring(double centreX, double centreY, double radius, double thickness);
// A ring from `fromDegrees` to `toDegrees`, counter-clockwise with 0 pointing right and y downwards
// on screen (so 90 is up), with round ends.
Shape Arc(double centreX, double centreY, double radius, double thickness, double fromDegrees,
          double toDegrees);
// A straight stroke with round caps.
Shape Line(double x1, double y1, double x2, double y2, double thickness);
// A convex polygon; the corners are given clockwise on screen.
Shape Convex(std::vector<std::pair<double, double>> corners);

Shape Union(Shape a, Shape b);
Shape Subtract(Shape from, Shape cut);
Shape Intersect(Shape a, Shape b);
// Moves a shape by (dx, dy).
Shape Offset(Shape shape, double dx, double dy);
// Scales a shape about the origin by `scale`, then moves its origin to (x, y).
Shape Place(Shape shape, double x, double y, double scale);
// Widens a shape by `by` pixels on every side (narrows it when negative).
Shape Inflate(Shape shape, double by);

}  // namespace tarnwick::art
