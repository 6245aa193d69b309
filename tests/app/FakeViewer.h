// A viewer window for the frame's tests: it records every call the frame
// makes, in order, and answers from state the test sets; its cine player
// records its calls too.
#pragma once

#include "AfxFrame.h"
#include "Corvane.h"
#include "ViewerWindow.h"

#include <string>
#include <vector>

class CFakeCinePlayer : public ICinePlayer
{
public:
    explicit CFakeCinePlayer(std::vector<std::string>& calls) : m_calls(calls) {}
    bool Prepare() override { return Record("Prepare"); }
    bool Next() override
    {
        ++m_nIndex;
        return Record("Next");
    }
    void PlayUp() override { Record("PlayUp"); }
    void PlayDown() override { Record("PlayDown"); }
    void PlayBounce() override { Record("PlayBounce"); }
    bool Quit(bool bNotify) override { return Record(bNotify ? "Quit(1)" : "Quit(0)"); }
    int GetIndex() const override { return m_nIndex; }

private:
    bool Record(const char* pszCall)
    {
        m_calls.emplace_back(std::string("cine.") + pszCall);
        return true;
    }
    std::vector<std::string>& m_calls;
    int m_nIndex = 0;
};

class CFakeViewer : public CView, public IViewerWindow
{
    DECLARE_DYNCREATE(CFakeViewer)

public:
    std::vector<std::string> calls;
    // The transaction number of each handle opened.
    std::vector<int> transactions;
    int nImages = 0;
    int nHot = -1;
    bool bHotEmpty = true;
    CString strModality = "CT";
    CString strPatient;
    CString strLuts;
    int nFirst = 1;
    int nSecond = 1;
    int nRows = 1;
    int nColumns = 1;
    int nScope = 0;
    int nLeft = 4;
    int nRight = 1;
    CString strPrompt;
    // False: the window gives no cine controller.
    bool bCanPlay = true;

    // Every call with its arguments, as "Name(a,b)".
    void Record(const std::string& call) { calls.push_back(call); }
    static std::string Args(int a, int b)
    {
        return "(" + std::to_string(a) + "," + std::to_string(b) + ")";
    }

    bool CreateView(int r, int c) override
    {
        Record("CreateView" + Args(r, c));
        return true;
    }
    bool SetViewLayout(int r, int c) override
    {
        Record("SetViewLayout" + Args(r, c));
        nRows = r;
        nColumns = c;
        return true;
    }
    bool GetViewLayout(int& r, int& c) override
    {
        r = nRows;
        c = nColumns;
        return true;
    }
    bool SetSeriesLayout(int a, int b) override
    {
        Record("SetSeriesLayout" + Args(a, b));
        nFirst = a;
        nSecond = b;
        return true;
    }
    bool GetImageLayout(int& a, int& b) override
    {
        a = nFirst;
        b = nSecond;
        return true;
    }
    void ClearScreen() override { Record("ClearScreen"); }
    void CloseHotImage() override { Record("CloseHotImage"); }
    bool IsHotImageEmpty() override { return bHotEmpty; }
    int GetNbOfImage() override { return nImages; }
    int IndexOfHotImage() override { return nHot; }
    CString GetHotImageDicomValue(unsigned short g, unsigned short e) override
    {
        if (g == 0x0008 && e == 0x0060)
            return strModality;
        return g == 0x0010 && e == 0x0010 ? strPatient : CString();
    }
    void ShowLabels(bool b) override { Record(b ? "ShowLabels(1)" : "ShowLabels(0)"); }
    void ShowOverlays(bool b) override { Record(b ? "ShowOverlays(1)" : "ShowOverlays(0)"); }
    void ShowRuler(bool b) override { Record(b ? "ShowRuler(1)" : "ShowRuler(0)"); }
    void ClearAllImageAnnotation() override { Record("ClearAllImageAnnotation"); }
    bool PageDown() override { return Recorded("PageDown"); }
    bool PageUp() override { return Recorded("PageUp"); }
    bool FirstPage() override { return Recorded("FirstPage"); }
    bool LastPage() override { return Recorded("LastPage"); }
    bool LineDown() override { return Recorded("LineDown"); }
    bool LineUp() override { return Recorded("LineUp"); }
    bool ImageDown() override { return Recorded("ImageDown"); }
    bool ImageUp() override { return Recorded("ImageUp"); }
    void SetScope(int n) override
    {
        Record("SetScope(" + std::to_string(n) + ")");
        nScope = n;
    }
    int GetScope() override { return nScope; }
    void Rotate(int n) override { Record("Rotate(" + std::to_string(n) + ")"); }
    void FlipHorizontal() override { Record("FlipHorizontal"); }
    void FlipVertical() override { Record("FlipVertical"); }
    void Invert() override { Record("Invert"); }
    void ZoomFitInWindow() override { Record("ZoomFitInWindow"); }
    void ZoomPixelByPixel() override { Record("ZoomPixelByPixel"); }
    void ZoomIn() override { Record("ZoomIn"); }
    void ZoomOut() override { Record("ZoomOut"); }
    void RestoreHotImage() override { Record("RestoreHotImage"); }
    void RestoreHotView() override { Record("RestoreHotView"); }
    void SetLeftButton(int n) override
    {
        Record("SetLeftButton(" + std::to_string(n) + ")");
        nLeft = n;
    }
    void SetRightButton(int n) override
    {
        Record("SetRightButton(" + std::to_string(n) + ")");
        nRight = n;
    }
    int GetLeftButton() override { return nLeft; }
    int GetRightButton() override { return nRight; }
    bool SetWindowLevel(int w, int l) override { return Recorded("SetWindowLevel" + Args(w, l)); }
    bool AutoWindowLevel() override { return Recorded("AutoWindowLevel"); }
    CString GetOriginalLUTDescription() override { return strLuts; }
    bool SelectLUT(int n) override { return Recorded("SelectLUT(" + std::to_string(n) + ")"); }
    bool SaveHotImageAsDicomFile(const char* p) override
    {
        return Recorded(std::string("SaveDicom ") + p);
    }
    bool SaveHotImageAsBitmap(const char* p) override
    {
        return Recorded(std::string("SaveBitmap ") + p);
    }
    bool SaveHotImageAsJPEG(const char* p) override
    {
        return Recorded(std::string("SaveJPEG ") + p);
    }
    void CopyHotImageToClipboard() override { Record("CopyHotImageToClipboard"); }
    void CopyHotImage() override { Record("CopyHotImage"); }
    std::unique_ptr<ICinePlayer> MakeCinePlayer() override
    {
        Record("MakeCinePlayer");
        return bCanPlay ? std::make_unique<CFakeCinePlayer>(calls) : nullptr;
    }

    // Shows an image as the frame sees one: nImages images, the hot one.
    void Show(int nCount, int nHotIndex)
    {
        nImages = nCount;
        nHot = nHotIndex;
        bHotEmpty = nCount == 0;
    }

protected:
    void OnDraw(CDC*) override {}
    afx_msg LRESULT OnSetPrompt(WPARAM, LPARAM lParam)
    {
        strPrompt = reinterpret_cast<const char*>(lParam);
        return 1;
    }
    afx_msg LRESULT OnOpen(WPARAM wParam, LPARAM lParam)
    {
        Record("Open(" + std::to_string(wParam) + ")");
        transactions.push_back(reinterpret_cast<Corvane*>(lParam)->GetTransactionID());
        return 0;
    }

    DECLARE_MESSAGE_MAP()

private:
    bool Recorded(const std::string& call)
    {
        Record(call);
        return true;
    }
};
