#include "PlaneIntersection.h"

#include "DICOMFile.h"

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace
{

Point3 Add(const Point3& a, const Point3& b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

Point3 Scale(double s, const Point3& a)
{
    return {s * a.x, s * a.y, s * a.z};
}

Point3 Subtract(const Point3& a, const Point3& b)
{
    return Add(a, Scale(-1.0, b));
}

double Dot(const Point3& a, const Point3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Point3 Normal(const DicomGeometry& g)
{
    const Point3& u = g.rowDirection;
    const Point3& v = g.columnDirection;
    const Point3 n = {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
    return Scale(1.0 / std::sqrt(Dot(n, n)), n);
}

Point3 PatientPoint(const DicomGeometry& g, double column, double row)
{
    return Add(g.position, Add(Scale(column * g.columnSpacing, g.rowDirection),
                               Scale(row * g.rowSpacing, g.columnDirection)));
}

// Where the rectangle of pixel centres of image crosses the plane of other:
// the crossing points of its four edges, as pixels of image.
std::vector<PixelPoint> CutRectangle(const DicomGeometry& image, const DicomGeometry& other)
{
    const double right = image.columns - 1.0;
    const double bottom = image.rows - 1.0;
    const PixelPoint corners[] = {{0, 0}, {right, 0}, {right, bottom}, {0, bottom}};
    const Point3 normal = Normal(other);
    std::vector<PixelPoint> cut;
    for (int edge = 0; edge < 4; ++edge)
    {
        const PixelPoint a = corners[edge];
        const PixelPoint b = corners[(edge + 1) % 4];
        const double da = Dot(normal, Subtract(PatientPoint(image, a.x, a.y), other.position));
        const double db = Dot(normal, Subtract(PatientPoint(image, b.x, b.y), other.position));
        if (da * db > 0.0 || da == db)
        {
            continue;
        }
        const double t = da / (da - db);
        const PixelPoint point = {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
        bool known = false;
        for (const PixelPoint& seen : cut)
        {
            known = known || std::hypot(seen.x - point.x, seen.y - point.y) < 1e-9;
        }
        if (!known)
        {
            cut.push_back(point);
        }
    }
    return cut;
}

// A point of the target's plane as a pixel of the target; the orientation
// is taken as orthonormal, as DICOM defines it.
PixelPoint ToTargetPixel(const DicomGeometry& target, const Point3& point)
{
    const Point3 offset = Subtract(point, target.position);
    return {Dot(offset, target.rowDirection) / target.columnSpacing,
            Dot(offset, target.columnDirection) / target.rowSpacing};
}

} // namespace

double NormalCosine(const DicomGeometry& a, const DicomGeometry& b)
{
    return Dot(Normal(a), Normal(b));
}

std::optional<ExpectedLine> IntersectPlanes(const DicomGeometry& source,
                                            const DicomGeometry& target)
{
    if (std::fabs(NormalCosine(source, target)) > 1.0 - 1e-12)
    {
        return std::nullopt;
    }
    const std::vector<PixelPoint> onSource = CutRectangle(source, target);
    const std::vector<PixelPoint> acrossTarget = CutRectangle(target, source);
    if (onSource.size() != 2 || acrossTarget.size() != 2)
    {
        return std::nullopt;
    }
    // Both stretches lie on one line of the target: measure them along the
    // stretch across the target and keep what they share.
    const PixelPoint start = acrossTarget[0];
    const double dx = acrossTarget[1].x - start.x;
    const double dy = acrossTarget[1].y - start.y;
    const double length = std::hypot(dx, dy);
    double from = 0.0;
    double to = length;
    double sourceEnds[2];
    for (int end = 0; end < 2; ++end)
    {
        const PixelPoint p =
            ToTargetPixel(target, PatientPoint(source, onSource[end].x, onSource[end].y));
        sourceEnds[end] = ((p.x - start.x) * dx + (p.y - start.y) * dy) / length;
    }
    from = std::fmax(from, std::fmin(sourceEnds[0], sourceEnds[1]));
    to = std::fmin(to, std::fmax(sourceEnds[0], sourceEnds[1]));
    if (to - from < 1e-9)
    {
        return std::nullopt;
    }
    return ExpectedLine{{start.x + dx * from / length, start.y + dy * from / length},
                        {start.x + dx * to / length, start.y + dy * to / length}};
}

namespace
{

std::vector<double> SplitNumbers(const std::string& text)
{
    std::vector<double> numbers;
    std::stringstream stream(text);
    std::string item;
    while (std::getline(stream, item, '\\'))
    {
        numbers.push_back(std::strtod(item.c_str(), nullptr));
    }
    return numbers;
}

} // namespace

bool ReadDicomGeometry(const DICOMFile& file, DicomGeometry& geometry)
{
    const std::vector<double> orientation =
        SplitNumbers(std::string(file.GetLettra(0x0020, 0x0037)));
    const std::vector<double> position = SplitNumbers(std::string(file.GetLettra(0x0020, 0x0032)));
    const std::vector<double> spacing = SplitNumbers(std::string(file.GetLettra(0x0028, 0x0030)));
    if (orientation.size() != 6 || position.size() != 3 || spacing.size() != 2)
    {
        return false;
    }
    geometry = {file.GetUINT16(0x0028, 0x0011),
                file.GetUINT16(0x0028, 0x0010),
                spacing[0],
                spacing[1],
                {orientation[0], orientation[1], orientation[2]},
                {orientation[3], orientation[4], orientation[5]},
                {position[0], position[1], position[2]}};
    return true;
}
