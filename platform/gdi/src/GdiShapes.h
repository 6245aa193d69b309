// Pixel coverage of lines and shapes in device coordinates. Every shape is
// computed as a set of pixels first and painted once, so that a pixel is
// never combined twice by one call (which keeps XOR drawing reversible).
#pragma once

#include "Region.h"

#include <vector>

// Where stepped pixels go.
class PixelSink
{
public:
    virtual ~PixelSink() = default;
    virtual void AddPixel(int x, int y) = 0;
};

// Accumulates pixels and spans row by row.
class CoverageBuilder : public PixelSink
{
public:
    void AddPixel(int x, int y) override;
    void AddSpan(int y, int x0, int x1);
    Region Build();

private:
    int m_y0 = 0;
    std::vector<std::vector<Span>> m_rows;
};

// A one-pixel line from a to b without the end pixel. styleOffset is the
// position along the dash pattern at a, advanced by the line's length;
// pattern lengths alternate on and off (empty: solid). Pixels outside
// bounds are not stepped through. Each pixel of the line comes once.
void AddThinLine(POINT a, POINT b, const RECT& bounds, const std::vector<int>& pattern,
                 int& styleOffset, PixelSink& on, PixelSink& off);

// A line of the given width with round caps (the union of discs along it).
void AddWideLine(double ax, double ay, double bx, double by, double width, const RECT& bounds,
                 CoverageBuilder& out);

Region EllipseCoverage(const RECT& rect);
// The band of a shape within width pixels across and height pixels down of
// its edge: the shape minus the shape shrunk by both.
Region InnerFrame(const Region& shape, int width, int height);
Region RoundRectCoverage(const RECT& rect, int cornerWidth, int cornerHeight);
Region PolygonCoverage(const std::vector<POINT>& pts, int fillMode);

// Points along the ellipse in the rectangle from angle a0 sweeping by sweep
// radians (counter-clockwise on screen for a positive sweep), one pixel or
// less apart.
std::vector<POINT> EllipsePoints(const RECT& rect, double a0, double sweep);
// Angle of a point seen from the ellipse's centre, counter-clockwise on
// screen, in radians.
double ScreenAngle(const RECT& rect, double x, double y);
// The angle brought into [0, 2 pi).
double NormaliseAngle(double a);
