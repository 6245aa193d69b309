// CPelivoWebView: the viewer library's window as the program's view. It
// offers the frame the viewer window's operations, and a cine controller
// attached to its hot view.
#pragma once

#include "CWebWindow.h"
#include "ViewerWindow.h"

class CPelivoWebView : public CWebWindow, public IViewerWindow
{
    DECLARE_DYNCREATE(CPelivoWebView)

public:
    bool CreateView(int nRows, int nColumns) override;
    bool SetViewLayout(int nRows, int nColumns) override;
    bool GetViewLayout(int& nRows, int& nColumns) override;
    bool SetSeriesLayout(int nFirst, int nSecond) override;
    bool GetImageLayout(int& nFirst, int& nSecond) override;
    void ClearScreen() override;
    void CloseHotImage() override;
    bool IsHotImageEmpty() override;
    int GetNbOfImage() override;
    int IndexOfHotImage() override;
    CString GetHotImageDicomValue(unsigned short nGroup, unsigned short nElement) override;
    void ShowLabels(bool bShow) override;
    void ShowOverlays(bool bShow) override;
    void ShowRuler(bool bShow) override;
    void ClearAllImageAnnotation() override;
    bool PageDown() override;
    bool PageUp() override;
    bool FirstPage() override;
    bool LastPage() override;
    bool LineDown() override;
    bool LineUp() override;
    bool ImageDown() override;
    bool ImageUp() override;
    void SetScope(int nScope) override;
    int GetScope() override;
    void Rotate(int nQuarterTurns) override;
    void FlipHorizontal() override;
    void FlipVertical() override;
    void Invert() override;
    void ZoomFitInWindow() override;
    void ZoomPixelByPixel() override;
    void ZoomIn() override;
    void ZoomOut() override;
    void RestoreHotImage() override;
    void RestoreHotView() override;
    void SetLeftButton(int nTool) override;
    void SetRightButton(int nTool) override;
    int GetLeftButton() override;
    int GetRightButton() override;
    bool SetWindowLevel(int nWidth, int nLevel) override;
    bool AutoWindowLevel() override;
    CString GetOriginalLUTDescription() override;
    bool SelectLUT(int nIndex) override;
    bool SaveHotImageAsDicomFile(const char* pszPath) override;
    bool SaveHotImageAsBitmap(const char* pszPath) override;
    bool SaveHotImageAsJPEG(const char* pszPath) override;
    void CopyHotImageToClipboard() override;
    void CopyHotImage() override;
    std::unique_ptr<ICinePlayer> MakeCinePlayer() override;
};
