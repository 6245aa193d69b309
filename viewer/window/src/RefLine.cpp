#include "RefLine.h"

#include "CImageView.h"
#include "DICOMImage.h"
#include "DecimalList.h"
#include "ImageShow.h"
#include "ORoiRefLine.h"
#include "RefLineMedImage.h"
#include "Zephlin.h"

#include <vector>

namespace
{

// What the library needs of one image, and what the images are matched by.
struct PlaneOfImage
{
    Lettra study;
    Lettra frame;
    int columns = 0;
    int rows = 0;
    // Pixel Spacing's second value (between columns), then its first.
    double spacing2 = 0.0;
    double spacing1 = 0.0;
    std::vector<double> orientation;
    std::vector<double> position;
};

// Pixel Spacing, or Imager Pixel Spacing when either value of the first is
// not positive; false when neither gives two positive values.
bool ReadSpacing(const ImageShow& image, PlaneOfImage& plane)
{
    for (const unsigned short group : {0x0028, 0x0018})
    {
        const unsigned short element = group == 0x0028 ? 0x0030 : 0x1164;
        const std::vector<double> spacing = ReadDecimalList(image.GetDicomValue(group, element));
        plane.spacing2 = spacing.size() >= 2 ? spacing[1] : 0.0;
        plane.spacing1 = !spacing.empty() ? spacing[0] : 0.0;
        if (plane.spacing2 > 0.0 && plane.spacing1 > 0.0)
        {
            return true;
        }
    }
    return false;
}

// The identifiers and the placing of the image; false when the orientation
// or the position is missing.
bool ReadPlacing(const ImageShow& image, PlaneOfImage& plane)
{
    plane.study = image.GetDicomValue(0x0020, 0x000D);
    plane.frame = image.GetDicomValue(0x0020, 0x0052);
    plane.orientation = ReadDecimalList(image.GetDicomValue(0x0020, 0x0037));
    plane.position = ReadDecimalList(image.GetDicomValue(0x0020, 0x0032));
    // Binary values: read from the data set, not as text.
    const DICOMImage* set = image.GetDicomImage();
    plane.columns = set != nullptr ? set->GetUINT16(0x0028, 0x0011) : 0;
    plane.rows = set != nullptr ? set->GetUINT16(0x0028, 0x0010) : 0;
    return plane.orientation.size() >= 6 && plane.position.size() >= 3;
}

bool SameFrame(const PlaneOfImage& source, const PlaneOfImage& target)
{
    return source.study == target.study && source.frame == target.frame;
}

// The library's result bits; the line, when there is one, goes to buffer.
int CutTarget(const PlaneOfImage& s, const PlaneOfImage& t, int* buffer)
{
    int onSource[4] = {0, 0, 0, 0};
    return ReferenceLine(s.columns, s.rows, s.spacing2, s.spacing1, s.orientation[0],
                         s.orientation[1], s.orientation[2], s.orientation[3], s.orientation[4],
                         s.orientation[5], s.position[0], s.position[1], s.position[2], t.columns,
                         t.rows, t.spacing2, t.spacing1, t.orientation[0], t.orientation[1],
                         t.orientation[2], t.orientation[3], t.orientation[4], t.orientation[5],
                         t.position[0], t.position[1], t.position[2], onSource, buffer);
}

template <class Visit> void ForEachRefLinePane(CImageView* view, Visit visit)
{
    for (int index = 0; index < view->GetPaneCount(); ++index)
    {
        if (auto* pane = dynamic_cast<RefLineMedImage*>(view->GetPane(index)))
        {
            visit(pane);
        }
    }
}

} // namespace

void RefLine::ShowOnHotImage(CImageView* view, ImageShow* source)
{
    if (view == nullptr || source == nullptr || source->IsEmpty())
    {
        return;
    }
    ForEachRefLinePane(view,
                       [](RefLineMedImage* pane)
                       {
                           if (pane->GetShow() != nullptr)
                           {
                               pane->DeleteRefLines();
                               pane->ShowRefLines(false);
                           }
                       });
    ComputeLines(view, source, false);
}

void RefLine::ComputeLines(CImageView* view, ImageShow* source, bool drawAtOnce)
{
    PlaneOfImage from;
    if (view == nullptr || source == nullptr || !ReadPlacing(*source, from) ||
        from.frame.IsEmpty() || !ReadSpacing(*source, from))
    {
        return;
    }
    const Lettra label = source->GetDicomValue(0x0020, 0x0013);
    for (int index = 0; index < view->GetPaneCount(); ++index)
    {
        auto* pane = dynamic_cast<RefLineMedImage*>(view->GetPane(index));
        ImageShow* target = pane != nullptr ? pane->GetShow() : nullptr;
        PlaneOfImage onto;
        if (target == nullptr || target->GetDicomImage() == nullptr ||
            !ReadPlacing(*target, onto) || !SameFrame(from, onto))
        {
            continue;
        }
        if (!ReadSpacing(*target, onto))
        {
            // A target that describes no plane has no line; the others may.
            continue;
        }
        int line[4] = {0, 0, 0, 0};
        if ((CutTarget(from, onto, line) & ZephlinLineOnTarget) != 0)
        {
            auto* refLine = new ORoiRefLine(target, source, line[1], line[0], line[3], line[2]);
            refLine->SetLabelText(label);
            pane->AddRefLine(refLine, drawAtOnce);
        }
    }
    if (!drawAtOnce)
    {
        ForEachRefLinePane(view, [](RefLineMedImage* pane) { pane->ShowRefLines(true); });
    }
}
