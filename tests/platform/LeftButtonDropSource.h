// The drop source of the drag tests: drops when the left button goes up,
// gives up at Escape, and keeps the effects it was told of.
#pragma once

#include "WinOle.h"

#include <vector>

class CLeftButtonDropSource final : public IDropSource
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** ppv) override
    {
        *ppv = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState) override
    {
        if (fEscapePressed)
            return DRAGDROP_S_CANCEL;
        return (grfKeyState & MK_LBUTTON) == 0 ? DRAGDROP_S_DROP : S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD dwEffect) override
    {
        feedback.push_back(dwEffect);
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }

    std::vector<DWORD> feedback;
};
