// A test window registered for drops that takes texts of one format as
// copies and keeps them.
#pragma once

#include "AfxOle.h"
#include "AfxWin.h"
#include "WinGlobalMemory.h"

#include <string>
#include <vector>

class TextDropTarget : public CWnd
{
public:
    UINT format = 0;
    std::vector<std::string> texts;

    BOOL Register() { return m_Target.Register(this); }

private:
    class TextTarget : public COleDropTarget
    {
    public:
        explicit TextTarget(TextDropTarget* owner) : m_pOwner(owner) {}
        DROPEFFECT OnDragEnter(CWnd*, COleDataObject* data, DWORD, CPoint) override
        {
            return Answer(data);
        }
        DROPEFFECT OnDragOver(CWnd*, COleDataObject* data, DWORD, CPoint) override
        {
            return Answer(data);
        }
        BOOL OnDrop(CWnd*, COleDataObject* data, DROPEFFECT, CPoint) override
        {
            HGLOBAL block = data->GetGlobalData(static_cast<CLIPFORMAT>(m_pOwner->format));
            if (block == nullptr)
            {
                return FALSE;
            }
            m_pOwner->texts.emplace_back(static_cast<const char*>(GlobalLock(block)));
            GlobalUnlock(block);
            GlobalFree(block);
            return TRUE;
        }

    private:
        DROPEFFECT Answer(COleDataObject* data) const
        {
            return data->IsDataAvailable(static_cast<CLIPFORMAT>(m_pOwner->format))
                       ? DROPEFFECT_COPY
                       : DROPEFFECT_NONE;
        }
        TextDropTarget* m_pOwner;
    };
    TextTarget m_Target{this};
};
