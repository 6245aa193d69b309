#include "ReferenceLineGeometry.h"

#include "Zephlin.h"

#include <cmath>
#include <utility>

namespace
{

// Below this, direction vectors count as parallel (the sine of the angle
// between unit vectors) and a clipped stretch as empty (in pixels).
constexpr double Parallel = 1e-6;
constexpr double Empty = 1e-9;

Vector3 operator+(const Vector3& a, const Vector3& b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

Vector3 operator-(const Vector3& a, const Vector3& b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vector3 operator*(double s, const Vector3& v)
{
    return {s * v.x, s * v.y, s * v.z};
}

double Dot(const Vector3& a, const Vector3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vector3 Cross(const Vector3& a, const Vector3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double Length(const Vector3& v)
{
    return std::sqrt(Dot(v, v));
}

bool IsFinite(const Vector3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

Vector3 GetNormal(const ImagePlane& plane)
{
    const Vector3 normal = Cross(plane.rowDirection, plane.columnDirection);
    return (1.0 / Length(normal)) * normal;
}

Vector3 PixelToPatient(const ImagePlane& plane, double x, double y)
{
    return plane.position + (x * plane.dColumnSpacing) * plane.rowDirection +
           (y * plane.dRowSpacing) * plane.columnDirection;
}

// The pixel of the plane at a point on it; the directions need not be
// orthogonal or of unit length.
void PatientToPixel(const ImagePlane& plane, const Vector3& point, double& x, double& y)
{
    const Vector3 offset = point - plane.position;
    const Vector3& u = plane.rowDirection;
    const Vector3& v = plane.columnDirection;
    const double uu = Dot(u, u);
    const double uv = Dot(u, v);
    const double vv = Dot(v, v);
    const double ou = Dot(offset, u);
    const double ov = Dot(offset, v);
    const double determinant = uu * vv - uv * uv;
    x = (ou * vv - ov * uv) / determinant / plane.dColumnSpacing;
    y = (ov * uu - ou * uv) / determinant / plane.dRowSpacing;
}

// Narrows [t0, t1] to where p + t d lies in [0, extent - 1] along one axis;
// false when nothing is left.
bool ClipAxis(double p, double d, int extent, double& t0, double& t1)
{
    const double high = extent - 1.0;
    if (std::fabs(d) < Empty)
    {
        return p >= 0.0 && p <= high;
    }
    double enter = (0.0 - p) / d;
    double leave = (high - p) / d;
    if (enter > leave)
    {
        std::swap(enter, leave);
    }
    t0 = std::fmax(t0, enter);
    t1 = std::fmin(t1, leave);
    return t0 <= t1;
}

// Narrows [t0, t1] to where the line lies inside the image's pixel centres.
bool ClipToImage(const PixelLine& line, const ImagePlane& plane, double& t0, double& t1)
{
    return ClipAxis(line.x1, line.x2 - line.x1, plane.nColumns, t0, t1) &&
           ClipAxis(line.y1, line.y2 - line.y1, plane.nRows, t0, t1);
}

PixelLine Stretch(const PixelLine& line, double t0, double t1)
{
    const double dx = line.x2 - line.x1;
    const double dy = line.y2 - line.y1;
    return {line.x1 + t0 * dx, line.y1 + t0 * dy, line.x1 + t1 * dx, line.y1 + t1 * dy};
}

} // namespace

bool IsValidPlane(const ImagePlane& plane)
{
    if (plane.nColumns <= 0 || plane.nRows <= 0 || !(plane.dColumnSpacing > 0.0) ||
        !(plane.dRowSpacing > 0.0) || !std::isfinite(plane.dColumnSpacing) ||
        !std::isfinite(plane.dRowSpacing) || !IsFinite(plane.rowDirection) ||
        !IsFinite(plane.columnDirection) || !IsFinite(plane.position))
    {
        return false;
    }
    const double rowLength = Length(plane.rowDirection);
    const double columnLength = Length(plane.columnDirection);
    return rowLength > 0.0 && columnLength > 0.0 &&
           Length(Cross(plane.rowDirection, plane.columnDirection)) >
               Parallel * rowLength * columnLength;
}

int CutTarget(const ImagePlane& source, const ImagePlane& target, PixelLine& onSource,
              PixelLine& onTarget)
{
    const Vector3 targetNormal = GetNormal(target);
    if (Length(Cross(GetNormal(source), targetNormal)) < Parallel)
    {
        return 0;
    }
    // In source pixels the target plane is a + b x + c y = 0: the signed
    // distance of a source pixel from the target plane.
    const double a = Dot(targetNormal, source.position - target.position);
    const double b = source.dColumnSpacing * Dot(targetNormal, source.rowDirection);
    const double c = source.dRowSpacing * Dot(targetNormal, source.columnDirection);
    const double squared = b * b + c * c;
    const double px = -a * b / squared;
    const double py = -a * c / squared;
    // Along the line by one pixel's length per unit of t.
    const double scale = 1.0 / std::sqrt(squared);
    const PixelLine line = {px, py, px - c * scale, py + b * scale};
    double t0 = -HUGE_VAL;
    double t1 = HUGE_VAL;
    if (!ClipToImage(line, source, t0, t1))
    {
        return ZephlinPlanesCross;
    }
    const PixelLine sourceStretch = Stretch(line, t0, t1);

    PixelLine projected{};
    PatientToPixel(target, PixelToPatient(source, sourceStretch.x1, sourceStretch.y1), projected.x1,
                   projected.y1);
    PatientToPixel(target, PixelToPatient(source, sourceStretch.x2, sourceStretch.y2), projected.x2,
                   projected.y2);
    // Source and target pixels follow each other linearly along the line,
    // so one stretch of t clips both.
    double s0 = 0.0;
    double s1 = 1.0;
    if (!ClipToImage(projected, target, s0, s1) ||
        (s1 - s0) * std::hypot(projected.x2 - projected.x1, projected.y2 - projected.y1) < Empty)
    {
        return ZephlinPlanesCross;
    }
    onSource = Stretch(sourceStretch, s0, s1);
    onTarget = Stretch(projected, s0, s1);
    return ZephlinPlanesCross | ZephlinLineOnTarget;
}
