// What the main frame asks of the viewer window it hosts as its view, and
// of the cine controller attached to it. The names and results are the
// viewer window's own: a missing target (no hot view, no hot image) gives
// false, -1, 0 or empty text, as the window reports it. The frame reaches
// these through its active view, so any view class that offers them can
// stand in the document template.
#pragma once

#include "AfxString.h"

#include <memory>

// Cine playback of the hot view's series.
class ICinePlayer
{
public:
    virtual ~ICinePlayer() = default;
    virtual bool Prepare() = 0;
    virtual bool Next() = 0;
    virtual void PlayUp() = 0;
    virtual void PlayDown() = 0;
    virtual void PlayBounce() = 0;
    virtual bool Quit(bool bNotify) = 0;
    // The image last shown, counted from 0.
    virtual int GetIndex() const = 0;
};

class IViewerWindow
{
public:
    virtual ~IViewerWindow() = default;

    // Grid of views and the image layout of the hot view.
    virtual bool CreateView(int nRows, int nColumns) = 0;
    virtual bool SetViewLayout(int nRows, int nColumns) = 0;
    virtual bool GetViewLayout(int& nRows, int& nColumns) = 0;
    virtual bool SetSeriesLayout(int nFirst, int nSecond) = 0;
    virtual bool GetImageLayout(int& nFirst, int& nSecond) = 0;

    // What is shown.
    virtual void ClearScreen() = 0;
    virtual void CloseHotImage() = 0;
    virtual bool IsHotImageEmpty() = 0;
    virtual int GetNbOfImage() = 0;
    virtual int IndexOfHotImage() = 0;
    virtual CString GetHotImageDicomValue(unsigned short nGroup, unsigned short nElement) = 0;

    // Layers shown over the images.
    virtual void ShowLabels(bool bShow) = 0;
    virtual void ShowOverlays(bool bShow) = 0;
    virtual void ShowRuler(bool bShow) = 0;
    virtual void ClearAllImageAnnotation() = 0;

    // Paging.
    virtual bool PageDown() = 0;
    virtual bool PageUp() = 0;
    virtual bool FirstPage() = 0;
    virtual bool LastPage() = 0;
    virtual bool LineDown() = 0;
    virtual bool LineUp() = 0;
    virtual bool ImageDown() = 0;
    virtual bool ImageUp() = 0;

    // Scope, orientation and zoom.
    virtual void SetScope(int nScope) = 0;
    virtual int GetScope() = 0;
    virtual void Rotate(int nQuarterTurns) = 0;
    virtual void FlipHorizontal() = 0;
    virtual void FlipVertical() = 0;
    virtual void Invert() = 0;
    virtual void ZoomFitInWindow() = 0;
    virtual void ZoomPixelByPixel() = 0;
    virtual void ZoomIn() = 0;
    virtual void ZoomOut() = 0;
    virtual void RestoreHotImage() = 0;
    virtual void RestoreHotView() = 0;

    // Mouse tools by tool code.
    virtual void SetLeftButton(int nTool) = 0;
    virtual void SetRightButton(int nTool) = 0;
    virtual int GetLeftButton() = 0;
    virtual int GetRightButton() = 0;

    // Window and level, lookup tables.
    virtual bool SetWindowLevel(int nWidth, int nLevel) = 0;
    virtual bool AutoWindowLevel() = 0;
    // The tables of the hot image, their names joined by "|".
    virtual CString GetOriginalLUTDescription() = 0;
    virtual bool SelectLUT(int nIndex) = 0;

    // Saving and copying the hot image.
    virtual bool SaveHotImageAsDicomFile(const char* pszPath) = 0;
    virtual bool SaveHotImageAsBitmap(const char* pszPath) = 0;
    virtual bool SaveHotImageAsJPEG(const char* pszPath) = 0;
    virtual void CopyHotImageToClipboard() = 0;
    virtual void CopyHotImage() = 0;

    // A cine controller attached to the hot view; null when the window
    // cannot play.
    virtual std::unique_ptr<ICinePlayer> MakeCinePlayer() = 0;
};
