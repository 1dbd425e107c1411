#include "shapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tarnwick::art {
namespace {

Box Grow(Box box, double by) {
  return {box.left - by, box.top - by, box.right + by, box.bottom + by};
}

Box Hull(Box a, Box b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

Box Overlap(Box a, Box b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

double SegmentDistance(double px, double py, double x1, double y1, double x2, double y2) {
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  const double lengthSquared = dx * dx + dy * dy;
  const double t =
      lengthSquared == 0 ? 0 : std::clamp(((px - x1) * dx + (py - y1) * dy) / lengthSquared, 0.0, 1.0);
  return std::hypot(px - (x1 + t * dx), py - (y1 + t * dy));
}

}  // namespace

Shape RoundedRect(double x, double y, double width, double height, double radius) {
  const double halfW = width / 2;
  const double halfH = height / 2;
  const double cx = x + halfW;
  const double cy = y + halfH;
  radius = std::min({radius, halfW, halfH});
  return {[=](double px, double py) {
            const double qx = std::abs(px - cx) - halfW + radius;
            const double qy = std::abs(py - cy) - halfH + radius;
            return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) -
                   radius;
          },
          Grow({x, y, x + width, y + height}, 1)};
}

Shape Circle(double centreX, double centreY, double radius) {
  return {[=](double px, double py) { return std::hypot(px - centreX, py - centreY) - radius; },
          Grow({centreX - radius, centreY - radius, centreX + radius, centreY + radius}, 1)};
}

Shape Ring(double centreX, double centreY, double radius, double thickness) {
  return {[=](double px, double py) {
            return std::abs(std::hypot(px - centreX, py - centreY) - radius) - thickness / 2;
          },
          Grow({centreX - radius, centreY - radius, centreX + radius, centreY + radius},
               thickness / 2 + 1)};
}

Shape Arc(double centreX, double centreY, double radius, double thickness, double fromDegrees,
          double toDegrees) {
  const double from = fromDegrees * std::numbers::pi / 180;
  const double span = (toDegrees - fromDegrees) * std::numbers::pi / 180;
  const double endX1 = centreX + radius * std::cos(from);
  const double endY1 = centreY - radius * std::sin(from);
  const double endX2 = centreX + radius * std::cos(from + span);
  const double endY2 = centreY - radius * std::sin(from + span);
  return {[=](double px, double py) {
            double angle = std::atan2(centreY - py, px - centreX) - from;
            angle = std::fmod(angle + 4 * std::numbers::pi, 2 * std::numbers::pi);
            if (angle <= span) return std::abs(std::hypot(px - centreX, py - centreY) - radius) - thickness / 2;
            return std::min(std::hypot(px - endX1, py - endY1), std::hypot(px - endX2, py - endY2)) -
                   thickness / 2;
          },
          Grow({centreX - radius, centreY - radius, centreX + radius, centreY + radius},
               thickness / 2 + 1)};
}

Shape Line(double x1, double y1, double x2, double y2, double thickness) {
  return {[=](double px, double py) { return SegmentDistance(px, py, x1, y1, x2, y2) - thickness / 2; },
          Grow({std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)},
               thickness / 2 + 1)};
}

Shape Convex(std::vector<std::pair<double, double>> corners) {
  Box bounds{corners[0].first, corners[0].second, corners[0].first, corners[0].second};
  for (const auto& [x, y] : corners) bounds = Hull(bounds, {x, y, x, y});
  return {[corners = std::move(corners)](double px, double py) {
            // Inside: the largest signed distance to an edge's line. Outside: the distance to the
            // nearest edge, which stays exact near the corners.
            double inside = -1e9;
            double nearest = 1e9;
            bool outside = false;
            for (std::size_t i = 0; i < corners.size(); ++i) {
              const auto [x1, y1] = corners[i];
              const auto [x2, y2] = corners[(i + 1) % corners.size()];
              const double length = std::hypot(x2 - x1, y2 - y1);
              const double side = ((px - x1) * (y2 - y1) - (py - y1) * (x2 - x1)) / length;
              // Clockwise on screen (y down) puts the inside where `side` is negative.
              if (side > 0) outside = true;
              inside = std::max(inside, side);
              nearest = std::min(nearest, SegmentDistance(px, py, x1, y1, x2, y2));
            }
            return outside ? nearest : inside;
          },
          Grow(bounds, 1)};
}

Shape Union(Shape a, Shape b) {
  const Box bounds = Hull(a.bounds, b.bounds);
  return {[a = std::move(a.distance), b = std::move(b.distance)](double x, double y) {
            return std::min(a(x, y), b(x, y));
          },
          bounds};
}

Shape Subtract(Shape from, Shape cut) {
  const Box bounds = from.bounds;
  return {[a = std::move(from.distance), b = std::move(cut.distance)](double x, double y) {
            return std::max(a(x, y), -b(x, y));
          },
          bounds};
}

Shape Intersect(Shape a, Shape b) {
  const Box bounds = Overlap(a.bounds, b.bounds);
  return {[a = std::move(a.distance), b = std::move(b.distance)](double x, double y) {
            return std::max(a(x, y), b(x, y));
          },
          bounds};
}

Shape Offset(Shape shape, double dx, double dy) {
  const Box b = shape.bounds;
  return {[d = std::move(shape.distance), dx, dy](double x, double y) { return d(x - dx, y - dy); },
          {b.left + dx, b.top + dy, b.right + dx, b.bottom + dy}};
}

Shape Place(Shape shape, double x, double y, double scale) {
  const Box b = shape.bounds;
  return {[d = std::move(shape.distance), x, y, scale](double px, double py) {
            return d((px - x) / scale, (py - y) / scale) * scale;
          },
          Grow({x + b.left * scale, y + b.top * scale, x + b.right * scale, y + b.bottom * scale}, 1)};
}

Shape Inflate(Shape shape, double by) {
  const Box bounds = Grow(shape.bounds, std::max(by, 0.0));
  return {[d = std::move(shape.distance), by](double x, double y) { return d(x, y) - by; }, bounds};
}

}  // namespace tarnwick::art
