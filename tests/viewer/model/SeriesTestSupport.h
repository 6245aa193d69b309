// Helpers of the series tests: images made of headers only (patient,
// study, series, instance and the sort keys), shows on them with the
// handle fields a host sets, opened into a layout the way a view opens by
// series, and a listener that records the layout's announcements.
#pragma once

#include "Corvane.h"
#include "DICOMImage.h"
#include "ImageLayout.h"
#include "ImageShow.h"
#include "UID.h"
#include "VR.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct ImageSpec
{
    ImageSpec(std::string studyUID, std::string seriesUID, std::string sopUID, int number,
              std::string kind = "CT", int frameCount = 1, std::string patientName = "Doe^Jane",
              std::string number2 = "1", std::string text = "")
        : study(std::move(studyUID)), series(std::move(seriesUID)), sop(std::move(sopUID)),
          instance(number), modality(std::move(kind)), frames(frameCount),
          patient(std::move(patientName)), seriesNumber(std::move(number2)),
          description(std::move(text))
    {
    }

    std::string study;
    std::string series;
    std::string sop;
    int instance;
    std::string modality;
    int frames;
    std::string patient;
    std::string seriesNumber;
    std::string description;
    std::string acquisition;
    std::string sliceLocation;
};

inline DICOMImage* MakeHeaderImage(const ImageSpec& spec)
{
    auto* image = new DICOMImage;
    image->SetTransferSyntax(UidTransferLittleEndianExplicit);
    image->Add(0x0008, 0x0016, UID("1.2.840.10008.5.1.4.1.1.7"));
    image->Add(0x0008, 0x0018, UID(spec.sop.c_str()));
    image->Add(0x0008, 0x0060, spec.modality.c_str());
    image->Add(0x0008, 0x103E, spec.description.c_str());
    image->Add(0x0010, 0x0010, spec.patient.c_str());
    image->Add(0x0020, 0x000D, UID(spec.study.c_str()));
    image->Add(0x0020, 0x000E, UID(spec.series.c_str()));
    image->Add(0x0020, 0x0011, spec.seriesNumber.c_str());
    image->Add(0x0020, 0x0013, std::to_string(spec.instance).c_str());
    if (!spec.acquisition.empty())
    {
        image->Add(0x0020, 0x0012, spec.acquisition.c_str());
    }
    if (!spec.sliceLocation.empty())
    {
        image->Add(0x0020, 0x1041, spec.sliceLocation.c_str());
    }
    if (spec.frames > 1)
    {
        // Frames of one pixel each: a series splits only the frames an
        // image holds.
        image->Add(0x0028, 0x0008, std::to_string(spec.frames).c_str());
        image->Add(0x0028, 0x0002, static_cast<unsigned short>(1));
        image->Add(0x0028, 0x0004, "MONOCHROME2");
        for (unsigned short tag : {0x0010, 0x0011})
        {
            image->Add(0x0028, tag, static_cast<unsigned short>(1));
        }
        image->Add(0x0028, 0x0100, static_cast<unsigned short>(8));
        image->Add(0x0028, 0x0101, static_cast<unsigned short>(8));
        image->Add(0x0028, 0x0102, static_cast<unsigned short>(7));
        image->Add(0x7FE0, 0x0010);
        auto* pixels = new std::uint8_t[spec.frames]();
        image->GetVR(0x7FE0, 0x0010)->Attach(pixels, static_cast<unsigned>(spec.frames));
    }
    return image;
}

// How a host hands an image over: the transaction, whether it is to be
// shown, sorted, and its scope.
struct HandOver
{
    HandOver(int id = 1, bool shown = true, bool sorted = true,
             Corvane::enScope scopeOf = Corvane::enScopeImage)
        : transaction(id), show(shown), toBeSorted(sorted), scope(scopeOf)
    {
    }

    int transaction;
    bool show;
    bool toBeSorted;
    Corvane::enScope scope;
};

inline ImageShow* MakeLayoutShow(DICOMImage* image, const HandOver& how = {})
{
    Corvane holder(image);
    holder.SetTransactionID(how.transaction);
    holder.ShowImage(how.show);
    holder.SetToBeSorted(how.toBeSorted);
    holder.SetScope(how.scope);
    auto* show = new ImageShow;
    show->AttachCorvane(holder, 0);
    return show;
}

// The series of the image's Series Instance UID, a new one when none has
// it: the view's way of opening by series.
inline bool OpenBySeries(ImageLayout& layout, ImageShow* show)
{
    const int found = layout.FindSeriesBySeriesUID(show->GetDicomValue(0x0020, 0x000E));
    return layout.OpenShowAtLayout(show, found >= 0 ? found : layout.GetNbOfSeries());
}

// The announcements a layout made since the listener was hung on it.
class LayoutEvents
{
public:
    explicit LayoutEvents(ImageLayout& layout)
    {
        layout.DisableEventTrace();
        layout.OnSelChanged += MakeHandler(this, &LayoutEvents::OnSelChanged, "Test::Sel");
        layout.OnImageUpdated += MakeHandler(this, &LayoutEvents::OnImageUpdated, "Test::Image");
        layout.OnPageUpdated += MakeHandler(this, &LayoutEvents::OnPageUpdated, "Test::Page");
    }

    void Clear()
    {
        selected.clear();
        updated.clear();
        pages = 0;
    }

    std::vector<ImageShow*> selected;
    std::vector<ImageShow*> updated;
    int pages = 0;

private:
    static ImageShow* ImageOf(DelegateArgs* args)
    {
        auto* pointer = dynamic_cast<PointerDelegateArgs*>(args);
        return pointer != nullptr ? static_cast<ImageShow*>(pointer->m_pPointer) : nullptr;
    }
    void OnSelChanged(const void*, DelegateArgs* args) { selected.push_back(ImageOf(args)); }
    void OnImageUpdated(const void*, DelegateArgs* args) { updated.push_back(ImageOf(args)); }
    void OnPageUpdated(const void*, DelegateArgs*) { ++pages; }
};

// The positions in the current series of the images on the page.
inline std::vector<int> ShownPositions(const ImageLayout& layout)
{
    std::vector<int> positions;
    for (auto* node = layout.GetShownImages().GetHead(); node != nullptr; node = node->next)
    {
        positions.push_back(layout.IndexOfImage(node->item));
    }
    return positions;
}

// The Instance Numbers of a series in its order.
inline std::vector<int> InstanceNumbers(const SeriesShow& series)
{
    std::vector<int> numbers;
    for (auto* node = series.GetImages().GetHead(); node != nullptr; node = node->next)
    {
        numbers.push_back(node->item->GetDicomValue(0x0020, 0x0013).Int());
    }
    return numbers;
}
