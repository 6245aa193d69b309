// Feeds arbitrary bytes to the viewer's road from a file to the screen: the
// bytes are written to a file and opened as the viewer opens one (a handle
// on its attributes, the frame read from the file when first shown), the
// image joins a series that splits its frames, and its first and last
// frames are shown in an image pane at the pane's fit and at 1:1, turned,
// flipped and inverted, with the corner labels of a label configuration,
// the overlay plane and the stored measurements drawn over them. The same
// bytes read whole are shown from memory too, and from the data set with
// its pixel bytes handed over. A bad file may be refused,
// never crash, hang or take memory it does not hold.
#include "AfxWin.h"
#include "Corvane.h"
#include "DICOMImage.h"
#include "FuzzInputFile.h"
#include "ImageShow.h"
#include "ImageTag.h"
#include "MedImage.h"
#include "SeriesShow.h"
#include "UserRawInput.h"
#include "VR.h"
#include "VeltaroLibrary.h"
#include "WinMessageQueue.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace
{

// More frames than this are not split into images, so that one input stays
// quick; the viewer itself splits them all.
constexpr int MaxFrames = 64;

// Every corner item kind: plain elements, one the files rarely hold, an
// age, items sharing a line and items below empty lines.
constexpr const char* LabelConfig = R"(<ImageShowConfig>
  <Modality name="Other">
    <TopLeft>
      <tag group="0010" element="0010" line="1"/>
      <tag group="0010" element="0020" line="1" prefix="ID:"/>
      <tag type="AGE" line="2"/>
    </TopLeft>
    <TopRight>
      <tag group="0020" element="0013" line="1" prefix="Im:" postfix="."/>
      <tag group="0008" element="103E" line="3"/>
    </TopRight>
    <BottomLeft>
      <tag group="0028" element="1050" line="1" prefix="WL:"/>
    </BottomLeft>
    <BottomRight>
      <tag group="0008" element="0020" line="-4"/>
      <tag group="0018" element="0050" line="9" postfix="mm"/>
    </BottomRight>
  </Modality>
</ImageShowConfig>)";

// One host window with one image pane, made once for the whole run.
class PaneHost
{
public:
    PaneHost()
    {
        m_pHost = new CFrameWnd;
        m_pHost->Create(nullptr, "Host", WS_POPUP | WS_VISIBLE, CRect(0, 0, 320, 280));
        m_pPane = new MedImage;
        m_pPane->Create(nullptr, "Pane", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 260), m_pHost, 1);
        m_Tags.LoadConfigXML(LabelConfig, "/ImageShowConfig", "tag");
        m_pPane->SetImageTag(&m_Tags);
    }

    // The image at the pane's fit, then 1:1, turned and inverted, each
    // painted; the pane lets go of the image after.
    void Show(ImageShow* show)
    {
        if (!m_pPane->AttachShow(show))
        {
            return;
        }
        Paint();
        m_pPane->ZoomPixelByPixel();
        Paint();
        m_pPane->FlipHorizontal();
        m_pPane->Rotate(1);
        m_pPane->FlipVertical();
        m_pPane->Invert();
        m_pPane->ZoomFitInWindow();
        Paint();
        m_pPane->DetachShow();
    }

private:
    void Paint()
    {
        m_pPane->Invalidate(FALSE);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            DispatchMessageA(&msg);
        }
        WindowPicture picture;
        UserGetWindowPicture(m_pPane->m_hWnd, true, picture);
    }

    CFrameWnd* m_pHost = nullptr;
    MedImage* m_pPane = nullptr;
    ImageTag m_Tags;
};

PaneHost& GetHost()
{
    static PaneHost host;
    return host;
}

// The renderings of the model alone: the full view at 1:1 and a thumbnail.
void Render(ImageShow& show)
{
    show.BuildFullViewDIB();
    show.BuildChainForIcon(64, 48);
    show.InvokeChain();
}

// The file opened as the viewer opens it: attributes first, pixels from
// the file when first shown; its frames split in a series.
void ShowFromFile(const char* path)
{
    Corvane holder;
    holder.LoadDicomFile(path);
    SeriesShow series;
    auto* show = new ImageShow;
    show->AttachCorvane(holder, 0);
    series.AddImage(show);
    show->EnsureLoaded();
    if (show->GetNbOfFrames() <= MaxFrames)
    {
        series.LoadMultiFrameImage(show);
    }
    series.UpdateInfo();
    series.SortBy(SeriesShow::enBySliceLocation);
    Render(*series.GetFirstImage());
    GetHost().Show(series.GetFirstImage());
    if (series.GetNbOfImage() > 1)
    {
        GetHost().Show(series.GetLastImage());
    }
}

// The data set with the bytes of its native pixel data handed over as a
// host pushes them.
void ShowPushedPixels(DICOMImage& image)
{
    const VR* pixels = image.GetVR(0x7FE0, 0x0010);
    if (pixels == nullptr || pixels->GetSQArray() != nullptr || pixels->GetLength() == 0)
    {
        return;
    }
    auto* bytes = new std::uint8_t[pixels->GetLength()];
    std::memcpy(bytes, pixels->GetData(), pixels->GetLength());
    ImageShow show;
    if (show.LoadDicomFile(image, bytes, pixels->GetLength()))
    {
        Render(show);
    }
}

// The same bytes read whole: the frame is taken from memory.
void ShowFromMemory(const char* path)
{
    auto* image = new DICOMImage;
    if (image->ReadFile(path) == 0)
    {
        delete image;
        return;
    }
    ImageShow show;
    show.AttachCorvane(Corvane(image), 0);
    Render(show);
    ShowPushedPixels(*image);
}

} // namespace

// Fontconfig keeps caches of its own for the life of the process.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\n";
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("PELIVO_DISPLAY", "headless", 1);
    VeltaroInitialize();
    GetHost();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FuzzInputFile input("fuzz-viewer-image", ".dcm", data, size);
    if (input.IsWritten())
    {
        ShowFromFile(input.GetPath());
        ShowFromMemory(input.GetPath());
    }
    return 0;
}
