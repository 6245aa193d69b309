#include "RoiFactory.h"

#include "DICOMVRSet.h"
#include "ImageShow.h"
#include "ORoiAngle.h"
#include "ORoiArrow.h"
#include "ORoiCOBBAngle.h"
#include "ORoiCalliper.h"
#include "QuillonLog.h"
#include "RoiXMLUnknown.h"
#include "VR.h"

using namespace RoiFactory;

ORoi* CreateRoiByClassTag(ImageShow* owner, const DICOMVRSet& item)
{
    const Lettra tag = item.GetLettra(Group, ROIType).Trim();
    const Lettra document = item.GetLettra(Group, PostItText);
    ORoi* roi = nullptr;
    if (tag.CompareNoCase("ORoiCalliper") == 0)
    {
        roi = new ORoiCalliper(owner);
    }
    else if (tag.CompareNoCase("ORoiAngle") == 0)
    {
        roi = new ORoiAngle(owner);
    }
    else if (tag.CompareNoCase("ORoiCOBBAngle") == 0)
    {
        roi = new ORoiCOBBAngle(owner);
    }
    else if (tag.CompareNoCase("ORoiArrow") == 0)
    {
        roi = new ORoiArrow(owner);
    }
    else
    {
        roi = new RoiXMLUnknown(owner, tag, document);
        roi->SetHitEnabled(true);
    }
    if (!roi->XmlDeserialize(document))
    {
        delete roi;
        return nullptr;
    }
    roi->PlaceLabel();
    return roi;
}

int TryLoadOverlays(ImageShow* owner, const VR& sequence)
{
    int added = 0;
    const ArrayOfPtr<DICOMVRSet*>* items = sequence.GetSQArray();
    try
    {
        for (auto* node = items != nullptr ? items->GetHead() : nullptr; node != nullptr;
             node = node->next)
        {
            if (node->item == nullptr)
            {
                continue;
            }
            const Lettra type = node->item->GetLettra(Group, OverlayType).Trim();
            if (type.Compare("XML") != 0)
            {
                quillon::_error("TryLoadOverlays, skip old Overlay type of %s", type.constBuffer());
                continue;
            }
            if (ORoi* roi = CreateRoiByClassTag(owner, *node->item); roi != nullptr)
            {
                owner->AddAnnotation(roi);
                roi->Update();
                ++added;
            }
        }
    }
    catch (...)
    {
        quillon::_debug("Exception catched at LoadOVerlays");
    }
    return added;
}

bool LoadStoredMeasurements(ImageShow* owner, const DICOMVRSet* set)
{
    if (owner == nullptr || set == nullptr)
    {
        return false;
    }
    const VR* sequence = set->GetVR(Group, OverlaySequence);
    if (sequence == nullptr || sequence->GetSQArray() == nullptr)
    {
        return true;
    }
    const bool modified = owner->IsModified();
    TryLoadOverlays(owner, *sequence);
    owner->SetModified(modified);
    return true;
}
