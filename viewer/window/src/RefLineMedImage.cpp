#include "RefLineMedImage.h"

#include "ORoiRefLine.h"

namespace
{

const char* const RefLineHandlerName = "RefLineMedImage::AfterDraw_RefLine";

} // namespace

IMPLEMENT_DYNCREATE(RefLineMedImage, MedImage)

BEGIN_MESSAGE_MAP(RefLineMedImage, MedImage)
ON_COMMAND(RefLineMedImage::CmdCopyRefLines, OnCopyRefLines)
END_MESSAGE_MAP()

RefLineMedImage::RefLineMedImage() = default;

RefLineMedImage::~RefLineMedImage()
{
    GetPaintEvent().Remove(MakeRefLineHandler());
    DeleteRefLines();
}

DelegateHandler* RefLineMedImage::MakeRefLineHandler()
{
    return MakeHandler(this, &RefLineMedImage::AfterDraw_RefLine, RefLineHandlerName);
}

// A pane the view detached keeps its lines until it gets an image again,
// and their image may be gone by then: they are left alone meanwhile.
template <class Operation> void RefLineMedImage::ForEachRefLine(Operation operation)
{
    if (m_pShow == nullptr)
    {
        return;
    }
    for (auto* node = m_RefLines.GetHead(); node != nullptr; node = node->next)
    {
        operation(node->item);
    }
}

void RefLineMedImage::AddRefLine(ORoiRefLine* line, bool drawAtOnce)
{
    if (line == nullptr)
    {
        return;
    }
    if (m_pShow == nullptr)
    {
        delete line;
        return;
    }
    m_pShow->HVRForOverlay(line);
    m_RefLines.AddTail(line);
    if (drawAtOnce && m_hWnd != nullptr)
    {
        CClientDC dc(this);
        CFont* old = dc.SelectObject(GetLabelFont());
        line->Draw(&dc);
        dc.SelectObject(old);
    }
}

void RefLineMedImage::ShowRefLines(bool show)
{
    m_bShowRefLines = show;
    if (m_hWnd != nullptr)
    {
        Invalidate(TRUE);
    }
}

void RefLineMedImage::DeleteRefLines()
{
    m_RefLines.DeleteAll();
}

int RefLineMedImage::FirstDistantLine(int height) const
{
    const auto* first = m_RefLines.GetHead();
    const POINT anchor = ImageToScreen(first->item->GetP1().x, first->item->GetP1().y);
    const long long limit = static_cast<long long>(height) * height;
    int position = 1;
    for (auto* node = first->next; node != nullptr; node = node->next, ++position)
    {
        const POINT end = ImageToScreen(node->item->GetP1().x, node->item->GetP1().y);
        const long long dx = end.x - anchor.x;
        const long long dy = end.y - anchor.y;
        if (dx * dx + dy * dy > limit)
        {
            return position;
        }
    }
    return 0;
}

void RefLineMedImage::DrawRefLines(CDC* pDC)
{
    if (!m_bShowRefLines || m_pShow == nullptr || m_RefLines.IsEmpty() || pDC == nullptr)
    {
        return;
    }
    const int step = m_RefLines.GetCount() > 1 ? FirstDistantLine(GetTextSize(pDC, " ").cy) : 0;
    if (step <= 1)
    {
        ForEachRefLine(
            [pDC](ORoiRefLine* line)
            {
                if (line->IsShown())
                {
                    line->ShowLabel(true);
                    line->Draw(pDC);
                }
            });
        return;
    }
    ForEachRefLine(
        [pDC](ORoiRefLine* line)
        {
            if (line->IsShown())
            {
                line->ShowLabel(false);
                line->Draw(pDC);
            }
        });
    int position = 0;
    ForEachRefLine(
        [pDC, step, &position](ORoiRefLine* line)
        {
            if (line->IsShown() && position % step == 0)
            {
                line->ShowLabel(true);
                line->DrawLabel(pDC);
            }
            ++position;
        });
}

void RefLineMedImage::AfterDraw_RefLine(const void*, DelegateArgs* args)
{
    auto* paint = dynamic_cast<PointerDelegateArgs*>(args);
    DrawRefLines(paint != nullptr ? static_cast<CDC*>(paint->m_pPointer) : nullptr);
}

void RefLineMedImage::FlipHorizontal()
{
    MedImage::FlipHorizontal();
    ForEachRefLine([](ORoiRefLine* line) { line->FlipHorizontal(); });
}

void RefLineMedImage::FlipVertical()
{
    MedImage::FlipVertical();
    ForEachRefLine([](ORoiRefLine* line) { line->FlipVertical(); });
}

void RefLineMedImage::Rotate(int quarterTurns)
{
    MedImage::Rotate(quarterTurns);
    ForEachRefLine([quarterTurns](ORoiRefLine* line) { line->Rotate(quarterTurns); });
}

bool RefLineMedImage::AttachShow(ImageShow* show)
{
    GetPaintEvent().Add(MakeRefLineHandler());
    DeleteRefLines();
    return MedImage::AttachShow(show);
}

void RefLineMedImage::ReleaseImageData()
{
    GetPaintEvent().Remove(MakeRefLineHandler());
    DeleteRefLines();
    MedImage::ReleaseImageData();
}

void RefLineMedImage::OnCopyRefLines()
{
    ForEachRefLine(
        [this](ORoiRefLine* line)
        {
            ORoi* copy = line->Clone(m_pShow);
            copy->SetRefLine(false);
            AddAnnotation(copy, true);
        });
}
