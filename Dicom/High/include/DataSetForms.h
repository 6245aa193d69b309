// The text and XML forms of element sets: the indented dump written to logs
// and dump windows, and the XML document (of one set, or of an array of sets)
// in which the viewer shows and exchanges element lists.
//
// One set's document: an XML declaration naming UTF-8, two comment lines
// (a stylesheet reference and the date), a version comment, and the root
// element DataSet holding one Veltaro element per element of the set (group
// length elements left out), each with the children Group, Element, Length,
// VR, Description, Value and one Sequence per item set, which holds the
// item's own Veltaro elements. The array form wraps the inner text of each
// set's document in an Array element under one DataSet root.
#pragma once

#include "Array.h"
#include "Lettra.h"
#include "VeltaroExport.h"

class DicomCharacterSet;
class DICOMDataSet;
class DICOMVRSet;
class DMarkup;

class VELTARO_API DataSetForms
{
public:
    // The set's XML document, in the process's code page (built in UTF-8,
    // converted back as a whole; the declaration still names UTF-8).
    // Elements without a VR code get the dictionary's code as they are
    // written.
    static Lettra XmlSerialize(const DICOMVRSet& set);
    // Adds the set's Veltaro elements at the markup's current level; 1.
    static int XmlSerialize(const DICOMVRSet& set, DMarkup* markup);

    // Reads a document (process code page) into the set, adding elements and
    // replacing equal tags; 0 when it holds no Veltaro element.
    static int XmlDeserialize(DICOMVRSet& set, const char* text);
    static int XmlDeserialize(DICOMVRSet& set, const Lettra& text);
    // Reads the first Veltaro element at the markup's current level and
    // every sibling after it; 0 when there is none.
    static int XmlDeserialize(DICOMVRSet& set, DMarkup* markup);

    // Append the array form of the sets to out; 1.
    static int VRSetArrayToXML(const Array<const DICOMVRSet*>* sets, Lettra* out);
    static int ADDSToXML(const Array<const DICOMDataSet*>* sets, Lettra* out);
    static int ADDSToXML(const Array<DICOMDataSet*>* sets, Lettra* out);
    // Read the array form, appending one new set (owned by the caller) per
    // Array element that holds elements; 1.
    static int XMLToVRSetArray(const Lettra* xml, Array<DICOMVRSet*>* sets);
    static int XMLToADDS(const Lettra* xml, Array<DICOMDataSet*>* sets);

    // The memory image of the set through the explicit VR little-endian
    // coders (see DICOMVRSet::Serialize and Deserialize).
    static int Serialize(DICOMVRSet& set, unsigned char* buffer, int size);
    static int Deserialize(DICOMVRSet& set, const unsigned char* data, int size);

    // The dump: one line per element (VR::ToString) indented by one tab per
    // nesting level, items between "SQ <<< k of n Items" and "SQ >>>" lines;
    // elements whose value is shorter than minLength are left out unless
    // they have items. Depth 0 or below starts with a line break; the
    // indentation stops growing at 40 tabs.
    static Lettra ToStringOfTabStop(const DICOMVRSet& set, int depth, int minLength);

private:
    // The forms of a set whose texts are in the repertoire of the set
    // holding it, unless it declares its own.
    static int XmlSerialize(const DICOMVRSet& set, DMarkup* markup,
                            const DicomCharacterSet& inherited);
    static int XmlDeserialize(DICOMVRSet& set, DMarkup* markup, const DicomCharacterSet& inherited);
    static int XmlDeserializeElement(DICOMVRSet& set, DMarkup* markup,
                                     const DicomCharacterSet& charset);
    template <typename SetArray>
    static int SetsToXml(const SetArray* sets, Lettra* out, bool bAlwaysLog);
    template <typename Set> static int XmlToSets(const Lettra* xml, Array<Set*>* sets);
};
