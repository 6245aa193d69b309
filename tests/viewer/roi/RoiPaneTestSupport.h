// Panes for the annotation tests: a MetaView that draws its image's
// annotations over the picture, and one that also hands the left button to
// the measurement gestures the way the interactive pane's creation and
// edit tasks do, so that scripted mouse input draws and edits annotations.
#pragma once

#include "../panes/PaneTestSupport.h"
#include "RoiTestSupport.h"

#include "MetaView.h"
#include "RoiCreation.h"
#include "RoiDrag.h"

#include <memory>

// A pane that draws its image's annotations over the picture, as the
// interactive pane does.
class AnnotatedView : public MetaView
{
protected:
    void DrawOverlayLayerAbove(CDC* pDC) override
    {
        MetaView::DrawOverlayLayerAbove(pDC);
        if (GetShow() == nullptr)
        {
            return;
        }
        for (ORoi* roi : Annotations(*GetShow()))
        {
            roi->Draw(pDC);
        }
    }
};

// Whether the colour is painted within a pixel of the window point: lines
// are rasterised, and the mapping rounds.
inline bool IsPaintedNear(const WindowPicture& picture, POINT point, COLORREF color)
{
    const std::uint32_t wanted = (std::uint32_t(GetRValue(color)) << 16) |
                                 (std::uint32_t(GetGValue(color)) << 8) | GetBValue(color);
    for (int y = point.y - 1; y <= point.y + 1; ++y)
    {
        for (int x = point.x - 1; x <= point.x + 1; ++x)
        {
            if (x >= 0 && y >= 0 && x < picture.nWidth && y < picture.nHeight &&
                picture.GetPixel(x, y) == wanted)
            {
                return true;
            }
        }
    }
    return false;
}

// A press on an annotation drags what it hits; a press elsewhere starts
// the chosen kind, whose click sequence the next presses go on with; Esc
// cancels.
class GesturePane : public AnnotatedView
{
public:
    RoiCreation::enKind m_enKind = RoiCreation::enCalliper;
    // The last annotation made.
    ORoi* m_pMade = nullptr;
    // Off: the presses are left to the pane, as a pane without gestures.
    bool m_bGestures = true;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (!m_bGestures)
        {
            return AnnotatedView::WindowProc(message, wParam, lParam);
        }
        const int x = static_cast<short>(LOWORD(lParam));
        const int y = static_cast<short>(HIWORD(lParam));
        switch (message)
        {
        case WM_LBUTTONDOWN:
            OnPress(x, y);
            return 0;
        case WM_MOUSEMOVE:
            if (m_pCreation != nullptr)
            {
                m_pCreation->OnMove(x, y);
            }
            if (m_pDrag != nullptr)
            {
                m_pDrag->OnMove(x, y);
            }
            return 0;
        case WM_LBUTTONUP:
            OnRelease(x, y);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE)
            {
                Cancel();
            }
            return 0;
        default:
            return AnnotatedView::WindowProc(message, wParam, lParam);
        }
    }

private:
    void OnPress(int x, int y)
    {
        SetFocus();
        if (m_pCreation != nullptr)
        {
            Finish(m_pCreation->OnClick(x, y));
            return;
        }
        const std::vector<ORoi*> rois = Annotations(*GetShow());
        for (auto it = rois.rbegin(); it != rois.rend(); ++it)
        {
            if (const int code = (*it)->HitTestDefault(x, y, 0); code != enHitNone)
            {
                m_pDrag = std::make_unique<RoiDrag>(*it, code, x, y);
                return;
            }
        }
        m_pCreation = std::make_unique<RoiCreation>(GetShow(), m_enKind);
        m_pCreation->OnBegin(x, y);
    }
    void OnRelease(int x, int y)
    {
        if (m_pDrag != nullptr)
        {
            m_pDrag->OnEnd(x, y);
            m_pDrag.reset();
        }
        const bool drag = m_enKind == RoiCreation::enCalliper || m_enKind == RoiCreation::enArrow;
        if (m_pCreation != nullptr && drag)
        {
            m_pCreation->OnEnd(x, y);
            Finish(true);
        }
    }
    void Finish(bool done)
    {
        if (done)
        {
            m_pMade = m_pCreation->GetResult();
            m_pCreation.reset();
        }
    }
    void Cancel()
    {
        if (m_pDrag != nullptr)
        {
            m_pDrag->OnCancel();
            m_pDrag.reset();
        }
        if (m_pCreation != nullptr)
        {
            m_pCreation->OnCancel();
            m_pCreation.reset();
        }
    }

    std::unique_ptr<RoiCreation> m_pCreation;
    std::unique_ptr<RoiDrag> m_pDrag;
};
