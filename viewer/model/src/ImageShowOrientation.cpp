// Orientation of ImageShow: the history of flips and quarter turns, its
// reduction, its replay as chain stages, and the side labels.
#include "ImageShow.h"

#include "DICOMImage.h"
#include "QuillonLog.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace
{

// The reduction of every three-letter word (the products of three of the
// eight symmetries of the square).
struct Reduction
{
    const char* word;
    const char* result;
};

constexpr Reduction ThreeLetters[] = {
    {"HHH", "H"},   {"HHV", "V"},   {"HHR", "R"},   {"HVH", "V"},   {"HVV", "H"},   {"HVR", "HVR"},
    {"HRH", "HVR"}, {"HRV", "R"},   {"HRR", "V"},   {"VHH", "V"},   {"VHV", "H"},   {"VHR", "HVR"},
    {"VVH", "H"},   {"VVV", "V"},   {"VVR", "R"},   {"VRH", "R"},   {"VRV", "HVR"}, {"VRR", "H"},
    {"RHH", "R"},   {"RHV", "HVR"}, {"RHR", "H"},   {"RVH", "HVR"}, {"RVV", "R"},   {"RVR", "V"},
    {"RRH", "V"},   {"RRV", "H"},   {"RRR", "HVR"},
};

Lettra ReduceThree(const Lettra& word)
{
    for (const Reduction& reduction : ThreeLetters)
    {
        if (word.Compare(reduction.word) == 0)
        {
            return Lettra(reduction.result);
        }
    }
    return word;
}

Lettra Reduce(Lettra word)
{
    for (;;)
    {
        if (word.GetLength() >= 5)
        {
            word = word.Left(4);
        }
        switch (word.GetLength())
        {
        case 2:
            if (word.Compare("HH") == 0 || word.Compare("VV") == 0)
            {
                return Lettra();
            }
            if (word.Compare("RR") == 0)
            {
                return Lettra("VH");
            }
            return word;
        case 3:
            return ReduceThree(word);
        case 4:
        {
            const Lettra head = Reduce(word.Left(3));
            if (head.Compare("HVR") == 0)
            {
                const char last = word[3];
                return last == 'H'   ? Lettra("HR")
                       : last == 'R' ? Lettra()
                       : last == 'V' ? Lettra("VR")
                                     : word;
            }
            word = head + word.Mid(3);
            continue;
        }
        default:
            return word;
        }
    }
}

void SwapLists(Array<Lettra>& a, Array<Lettra>& b)
{
    Array<Lettra> held;
    a.MoveAllTo(held);
    b.MoveAllTo(a);
    held.MoveAllTo(b);
}

} // namespace

void ImageShow::ResetOrientation()
{
    std::memset(m_HVR, 0, sizeof m_HVR);
    if (const DICOMImage* set = m_Holder.GetDicomFile())
    {
        BuildSideLabels(*set);
    }
}

void ImageShow::CompileHVR()
{
    const Lettra reduced = Reduce(Lettra(m_HVR));
    std::memset(m_HVR, 0, sizeof m_HVR);
    std::strncpy(m_HVR, reduced.constBuffer(), HVRSize - 1);
}

void ImageShow::AppendHVR(char letter)
{
    const std::size_t length = std::strlen(m_HVR);
    if (length == 0)
    {
        m_HVR[0] = letter;
        return;
    }
    if (length < HVRSize - 1)
    {
        m_HVR[length] = letter;
        m_HVR[length + 1] = 0;
        CompileHVR();
    }
}

void ImageShow::FlipVertical()
{
    AppendHVR('V');
    m_MetaImage->FlipVertical();
    m_BriefImage.reset();
    m_FOVImage.reset();
    FlipLabelsVertically();
    ForEachAnnotation(&ORoi::FlipVertical);
    SetModified(true);
}

void ImageShow::FlipHorizontal()
{
    AppendHVR('H');
    m_MetaImage->FlipHorizontal();
    m_BriefImage.reset();
    m_FOVImage.reset();
    FlipLabelsHorizontally();
    ForEachAnnotation(&ORoi::FlipHorizontal);
    SetModified(true);
}

void ImageShow::Rotate(int quarterTurns)
{
    const int turns = ((quarterTurns % 4) + 4) % 4;
    switch (turns)
    {
    case 0:
        return;
    case 2:
        FlipHorizontal();
        FlipVertical();
        return;
    case 3:
        FlipHorizontal();
        FlipVertical();
        Rotate(1);
        return;
    default:
        AppendHVR('R');
        m_MetaImage->Rotate(1);
        m_BriefImage.reset();
        m_FOVImage.reset();
        RotateLabels(1);
        RotateAnnotations(1);
        SetModified(true);
    }
}

void ImageShow::ForEachAnnotation(void (ORoi::*operation)())
{
    for (auto* node = m_Rois.GetHead(); node != nullptr; node = node->next)
    {
        (node->item.get()->*operation)();
    }
    if (m_pMask != nullptr)
    {
        (m_pMask->*operation)();
    }
}

void ImageShow::RotateAnnotations(int quarterTurns)
{
    for (auto* node = m_Rois.GetHead(); node != nullptr; node = node->next)
    {
        node->item->Rotate(quarterTurns);
    }
    if (m_pMask != nullptr)
    {
        m_pMask->Rotate(quarterTurns);
    }
}

void ImageShow::FlipLabelsVertically()
{
    SwapLists(m_SideLabels[enTop], m_SideLabels[enBottom]);
}

void ImageShow::FlipLabelsHorizontally()
{
    SwapLists(m_SideLabels[enLeft], m_SideLabels[enRight]);
}

// A quarter turn counter-clockwise brings the right side to the top.
void ImageShow::RotateLabels(int quarterTurns)
{
    Array<Lettra>* const lists = m_SideLabels;
    switch (quarterTurns)
    {
    case 1:
        SwapLists(lists[enTop], lists[enRight]);    // top: old right
        SwapLists(lists[enRight], lists[enBottom]); // right: old bottom
        SwapLists(lists[enBottom], lists[enLeft]);  // bottom: old left, left: old top
        break;
    case 2:
        SwapLists(lists[enLeft], lists[enRight]);
        SwapLists(lists[enTop], lists[enBottom]);
        break;
    case 3:
        SwapLists(lists[enTop], lists[enLeft]);     // top: old left
        SwapLists(lists[enLeft], lists[enBottom]);  // left: old bottom
        SwapLists(lists[enBottom], lists[enRight]); // bottom: old right, right: old top
        break;
    default:
        break;
    }
}

bool ImageShow::ReduceFullHVR(const char* caller)
{
    if (std::strlen(m_HVR) == 4)
    {
        CompileHVR();
        if (std::strlen(m_HVR) == 4)
        {
            quillon::_fatal("Leave ImageShow::%s, get an invalid HVR <%s>", caller, m_HVR);
            std::memset(m_HVR, 0, sizeof m_HVR);
            return false;
        }
    }
    return true;
}

void ImageShow::AddHVRStages(bool labelsAndOverlays)
{
    if (!ReduceFullHVR("BuildHVRMatrix"))
    {
        return;
    }
    for (const char* letter = m_HVR; *letter != 0; ++letter)
    {
        switch (*letter)
        {
        case 'V':
            AddStage(&ImageShow::chFlipVerticalMatrix, "ImageShow::chFlipVerticalMatrix");
            if (labelsAndOverlays)
            {
                AddStage(&ImageShow::chFlipVerticalLabelOverlay,
                         "ImageShow::chFlipVerticalLabelOverlay");
            }
            break;
        case 'H':
            AddStage(&ImageShow::chFlipHorizontalMatrix, "ImageShow::chFlipHorizontalMatrix");
            if (labelsAndOverlays)
            {
                AddStage(&ImageShow::chFlipHorizontalLabelOverlay,
                         "ImageShow::chFlipHorizontalLabelOverlay");
            }
            break;
        case 'R':
            AddStage(&ImageShow::chRotateMatrix, "ImageShow::chRotateMatrix");
            if (labelsAndOverlays)
            {
                AddStage(&ImageShow::chRotateLabelOverlay, "ImageShow::chRotateLabelOverlay");
            }
            break;
        default:
            quillon::_fatal("Enter ImageShow::BuildHVRMatrix, get an invalid HVR : <%s, ch:%d>",
                            m_HVR, *letter);
            break;
        }
    }
}

void ImageShow::BuildHVRMatrix()
{
    AddHVRStages(false);
}

void ImageShow::BuildHVRMatrixLabelOverlay()
{
    AddHVRStages(true);
}

void ImageShow::HVRForOverlay(ORoi* roi)
{
    if (roi == nullptr || m_HVR[0] == 0 || !ReduceFullHVR("HVRForOverlay"))
    {
        return;
    }
    for (const char* letter = m_HVR; *letter != 0; ++letter)
    {
        switch (*letter)
        {
        case 'H':
            roi->FlipHorizontal();
            break;
        case 'V':
            roi->FlipVertical();
            break;
        case 'R':
            roi->Rotate(1);
            break;
        default:
            quillon::_fatal("Enter ImageShow::HVRForOverlay, get an invalid HVR : <%s, ch:%d>",
                            m_HVR, *letter);
            break;
        }
    }
}

void ImageShow::chFlipVerticalMatrix(const void*, DelegateArgs*)
{
    RemoveStage(&ImageShow::chFlipVerticalMatrix);
    m_MetaImage->FlipVertical();
}

void ImageShow::chFlipHorizontalMatrix(const void*, DelegateArgs*)
{
    RemoveStage(&ImageShow::chFlipHorizontalMatrix);
    m_MetaImage->FlipHorizontal();
}

void ImageShow::chRotateMatrix(const void*, DelegateArgs*)
{
    RemoveStage(&ImageShow::chRotateMatrix);
    m_MetaImage->Rotate(1);
}

void ImageShow::chFlipVerticalLabelOverlay(const void*, DelegateArgs*)
{
    RemoveStage(&ImageShow::chFlipVerticalLabelOverlay);
    FlipLabelsVertically();
    ForEachAnnotation(&ORoi::FlipVertical);
}

void ImageShow::chFlipHorizontalLabelOverlay(const void*, DelegateArgs*)
{
    RemoveStage(&ImageShow::chFlipHorizontalLabelOverlay);
    FlipLabelsHorizontally();
    ForEachAnnotation(&ORoi::FlipHorizontal);
}

void ImageShow::chRotateLabelOverlay(const void*, DelegateArgs*)
{
    RemoveStage(&ImageShow::chRotateLabelOverlay);
    RotateLabels(1);
    RotateAnnotations(1);
}

Lettra ImageShow::GetOrientationWord(double x, double y, double z)
{
    double magnitudes[3] = {std::fabs(x), std::fabs(y), std::fabs(z)};
    const char positive[3] = {'L', 'P', 'H'};
    const char negative[3] = {'R', 'A', 'F'};
    const double signs[3] = {x, y, z};
    Lettra word;
    for (int pass = 0; pass < 3; ++pass)
    {
        int axis = -1;
        for (int candidate = 0; candidate < 3 && axis < 0; ++candidate)
        {
            const double m = magnitudes[candidate];
            if (m > 0.0001 && m > magnitudes[(candidate + 1) % 3] &&
                m > magnitudes[(candidate + 2) % 3])
            {
                axis = candidate;
            }
        }
        if (axis < 0)
        {
            break;
        }
        word += signs[axis] >= 0.0 ? positive[axis] : negative[axis];
        magnitudes[axis] = 0.0;
    }
    return word;
}

Lettra ImageShow::GetOppositeWord(const Lettra& word)
{
    static const char from[] = "APFHLR";
    static const char to[] = "PAHFRL";
    Lettra opposite(word);
    for (int index = 0; index < opposite.GetLength(); ++index)
    {
        const char* found = std::strchr(from, opposite[index]);
        opposite.SetAt(index, found != nullptr && *found != 0 ? to[found - from] : '\0');
    }
    return opposite;
}

Lettra ImageShow::GetPatientOrientation() const
{
    const Lettra row = m_SideLabels[enRight].GetAt(0);
    const Lettra column = m_SideLabels[enBottom].GetAt(0);
    if (row.IsEmpty() || column.IsEmpty())
    {
        return Lettra();
    }
    return row + "\\" + column;
}
