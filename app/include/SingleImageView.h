// CSingleImageView: a viewer window of one image pane. It keeps the images
// handed to it in the order they came and shows one of them, the hot
// image, in its pane; paging moves between them. The program hosts it
// until the viewer library's grid window stands in its place.
#pragma once

#include "AfxFrame.h"
#include "ViewerWindow.h"

#include <memory>
#include <vector>

class ImageShow;
class MedImage;

class CSingleImageView : public CView, public IViewerWindow
{
    DECLARE_DYNCREATE(CSingleImageView)

public:
    CSingleImageView();
    ~CSingleImageView() override;

    MedImage* GetPane() const { return m_pPane; }
    const CString& GetPromptText() const { return m_strPrompt; }
    bool AreLabelsShown() const { return m_bLabels; }
    bool IsRulerShown() const;
    bool AreOverlaysShown() const;

    // IViewerWindow.
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
    int GetScope() override { return m_nScope; }
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
    int GetLeftButton() override { return m_nLeftTool; }
    int GetRightButton() override { return m_nRightTool; }
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

protected:
    void OnDraw(CDC* pDC) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnOpenCorvane(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetPromptText(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    ImageShow* GetHotShow() const;
    // Shows the image at the index in the pane; false when there is none.
    bool ShowImageAt(int nIndex);
    void ApplyLayers();

    MedImage* m_pPane = nullptr;
    std::vector<std::unique_ptr<ImageShow>> m_shows;
    int m_nHot = -1;
    int m_nRows = 1;
    int m_nColumns = 1;
    int m_nFirst = 1;
    int m_nSecond = 1;
    int m_nScope = 0;
    int m_nLeftTool = 4;
    int m_nRightTool = 1;
    bool m_bLabels = true;
    bool m_bOverlays = true;
    bool m_bRuler = false;
    CString m_strPrompt;
};
