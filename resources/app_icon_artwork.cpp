#include "resources/app_icon_artwork.h"

#include <algorithm>
#include <cmath>

namespace {

struct Point {
    double x;
    double y;
};

struct Colour {
    double r;
    double g;
    double b;
};

constexpr Colour kBoardEdge{0.118, 0.353, 0.659};
constexpr Colour kBoardFace{0.180, 0.459, 0.788};
constexpr Colour kChip{0.149, 0.196, 0.220};
constexpr Colour kChipPin{0.780, 0.820, 0.850};
constexpr Colour kStatusLight{0.486, 0.878, 0.541};
constexpr Colour kAntenna{0.271, 0.353, 0.392};
constexpr Colour kSignal{0.949, 0.549, 0.157};

// Signed distances in icon units (the icon spans 0..1); negative inside.
double RoundedRect(Point p, Point centre, Point half, double radius) {
    double qx = std::abs(p.x - centre.x) - half.x + radius;
    double qy = std::abs(p.y - centre.y) - half.y + radius;
    double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

double Circle(Point p, Point centre, double radius) {
    return std::hypot(p.x - centre.x, p.y - centre.y) - radius;
}

double VerticalBar(Point p, double x, double top, double bottom, double halfWidth) {
    double y = std::clamp(p.y, top, bottom);
    return std::hypot(p.x - x, p.y - y) - halfWidth;
}

// A ring segment opening to the left and to the right of `centre`, up to 45 degrees from
// the horizontal on either side.
bool InSignalArc(Point p, Point centre, double radius, double halfThickness) {
    double dx = p.x - centre.x;
    double dy = p.y - centre.y;
    if (std::abs(std::hypot(dx, dy) - radius) > halfThickness) {
        return false;
    }
    return std::abs(dy) <= std::abs(dx);
}

constexpr Point kAntennaTip{0.70, 0.22};

// The colour of the glyph at one point, or nothing where the icon is transparent. Later
// layers lie above earlier ones.
bool Shade(Point p, Colour& colour) {
    bool covered = false;
    auto paint = [&](bool inside, Colour layer) {
        if (inside) {
            colour = layer;
            covered = true;
        }
    };
    for (double radius : {0.15, 0.25}) {
        paint(InSignalArc(p, kAntennaTip, radius, 0.032), kSignal);
    }
    paint(VerticalBar(p, kAntennaTip.x, kAntennaTip.y, 0.50, 0.035) <= 0, kAntenna);
    paint(Circle(p, kAntennaTip, 0.06) <= 0, kSignal);
    paint(RoundedRect(p, {0.5, 0.68}, {0.42, 0.24}, 0.09) <= 0, kBoardEdge);
    paint(RoundedRect(p, {0.5, 0.68}, {0.38, 0.20}, 0.06) <= 0, kBoardFace);
    for (double y : {0.60, 0.68, 0.76}) {
        paint(RoundedRect(p, {0.37, y}, {0.17, 0.018}, 0.01) <= 0, kChipPin);
    }
    paint(RoundedRect(p, {0.37, 0.68}, {0.12, 0.12}, 0.025) <= 0, kChip);
    paint(Circle(p, {0.70, 0.74}, 0.055) <= 0, kStatusLight);
    return covered;
}

std::uint8_t ToByte(double value) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255.0));
}

}  // namespace

IconImage RenderAppIcon(int size) {
    constexpr int kSamplesPerAxis = 4;
    IconImage image{size, std::vector<std::uint8_t>(static_cast<std::size_t>(size) * size * 4)};
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size; ++column) {
            Colour sum{0, 0, 0};
            int hits = 0;
            for (int sy = 0; sy < kSamplesPerAxis; ++sy) {
                for (int sx = 0; sx < kSamplesPerAxis; ++sx) {
                    Point p{(column + (sx + 0.5) / kSamplesPerAxis) / size,
                            (row + (sy + 0.5) / kSamplesPerAxis) / size};
                    Colour c{};
                    if (Shade(p, c)) {
                        sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
                        ++hits;
                    }
                }
            }
            std::size_t at = (static_cast<std::size_t>(row) * size + column) * 4;
            if (hits > 0) {
                image.rgba[at] = ToByte(sum.r / hits);
                image.rgba[at + 1] = ToByte(sum.g / hits);
                image.rgba[at + 2] = ToByte(sum.b / hits);
            }
            image.rgba[at + 3] =
                ToByte(static_cast<double>(hits) / (kSamplesPerAxis * kSamplesPerAxis));
        }
    }
    return image;
}
