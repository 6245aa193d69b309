// DicomDir: a DICOMDIR file as a tree of directory records (PATIENT, STUDY,
// SERIES, IMAGE). Reading follows the record offsets of the file one record
// at a time; building walks a folder, sorts the header of every file found
// into the tree and writes the tree with the offsets of its records.
//
// In memory, the children of a record (and the top-level records of the
// directory itself) are the items of the working element (7FF1,1010),
// which is never written.
#pragma once

#include "DICOMFile.h"
#include "Lettra.h"
#include "VeltaroExport.h"

#include <cstdint>
#include <set>

class InBuffer;
class StringList;

class VELTARO_API DicomDir : public DICOMFile
{
public:
    static constexpr std::uint16_t ChildGroup = 0x7FF1;
    static constexpr std::uint16_t ChildElement = 0x1010;
    // Records nest no deeper than this when read.
    static constexpr int MaxDepth = 16;

    // A cursor over one level of records.
    class VELTARO_API Iterator
    {
    public:
        // The top-level records.
        explicit Iterator(DicomDir& dir);
        // The children of the parent's current record.
        explicit Iterator(Iterator& parent);
        Iterator(const Iterator& other);
        Iterator& operator=(const Iterator& other);
        ~Iterator();

        explicit operator bool() const { return m_current != nullptr; }
        DICOMVRSet& Current() const { return *m_current; }
        DICOMVRSet& operator()() const { return *m_current; }
        void Next();
        Iterator& operator++();
        Iterator operator++(int);

    private:
        void Start(DICOMVRSet* record);

        Array<DICOMVRSet*>::Iterator* m_cursor = nullptr;
        DICOMVRSet* m_current = nullptr;
    };

    DicomDir();
    DicomDir(const DicomDir& other);
    DicomDir& operator=(DicomDir& other);
    ~DicomDir() override;

    // The folder the Referenced File IDs start from; a "\\" is appended
    // when missing.
    void SetPath(const char* folder);
    const Lettra& GetPath() const { return m_path; }
    // Non-zero (the default): every IMAGE record added gets the icon of its
    // file's image as its Icon Image Sequence.
    void SetIcons(int icons) { m_icons = icons; }
    int GetIcons() const { return m_icons; }

    // Reads the header and the record tree; 1 on success. The folder path
    // becomes the DICOMDIR's folder.
    int ReadDicomDir(const char* path);
    // Builds the tree from every file below the folder and writes it as
    // "DICOMDIR" there. 1 only when every file found is in the DICOMDIR; a
    // file that cannot be read or referenced, or that repeats an instance,
    // is left out with a log line and the others are written, but the result
    // is then 0, as it is when no file was found.
    int CreateDicomDir(const char* folder, const char* fileSetID, const char* descriptorFileID);
    // Adds the file to the tree below the folder path; 1 when an IMAGE
    // record now refers to it, 0 (with a log line, and no record left
    // behind for it) otherwise.
    int AddDicomFile(const char* path);
    // Writes the tree, which is consumed: afterwards the object holds the
    // flat form as written.
    int WriteDicomDir(const char* path, const char* fileSetID, const char* descriptorFileID);
    // The meta group of a Media Storage Directory, under a new instance UID
    // unless one is held already.
    int BuildMetaHead() override;

    // The path of the file a record refers to: the folder path and the
    // Referenced File ID; empty when the record has none.
    Lettra GetReferencedFilePath(const DICOMVRSet& record) const;
    // The Referenced File ID of a path below the folder: the path after the
    // folder, its names as they stand, joined by "\\"; empty when the path is
    // not below the folder.
    static Lettra MakeFileID(const char* folder, const char* path);
    // Whether a Referenced File ID keeps to the strict form: at most eight
    // components of one to eight upper-case letters, digits or underscores.
    // Other IDs are written all the same, with a warning.
    static bool IsConformingFileID(const char* fileID);

    // The records of a record's level below it, or null.
    static Array<DICOMVRSet*>* GetChildren(const DICOMVRSet& record);

protected:
    int AddPatient(DICOMVRSet* parent, DICOMFile* file);
    int AddStudy(DICOMVRSet* parent, DICOMFile* file);
    int AddSeries(DICOMVRSet* parent, DICOMFile* file);
    int AddImage(DICOMVRSet* parent, DICOMFile* file);
    int LoadOneSequence(unsigned int offset, DICOMDataSet* record);
    int LoadSQ(DICOMDataSet* record, DICOMDataSet* parent);

private:
    void LoadChain(DICOMDataSet* record, DICOMDataSet* parent, int depth);
    void LoadLowerLevel(DICOMDataSet* record, unsigned int offset, int depth);
    DICOMDataSet* LoadLinkedRecord(unsigned int offset, DICOMDataSet* parent);
    int LoadItem(unsigned int offset, DICOMDataSet* record);
    static int DecodeRecord(InBuffer& source, int endian, DICOMDataSet* record);
    int IsEmptyRecordSequence(unsigned int offset);
    static DICOMVRSet* FindChild(DICOMVRSet* parent, std::uint16_t group, std::uint16_t element,
                                 const Lettra& key);
    DICOMVRSet* AddRecord(DICOMVRSet* parent, DICOMFile* file, int level, bool& made);
    int AddBelow(DICOMVRSet* parent, DICOMFile* file, int level);
    void AddIcon(DICOMVRSet* record, DICOMFile* file);
    void AddDefaults(DICOMVRSet* parent, int level);
    std::uint32_t CalcFirstOffset();
    void CalcOffsets(Array<DICOMVRSet*>* records, std::uint32_t& offset);
    void Flatten(Array<DICOMVRSet*>* records, DICOMDataSet& flat);
    void WalkFolder(const char* folder, StringList& paths);

    int m_icons = 1;
    Lettra m_path;
    std::set<std::uint32_t> m_loaded;
};
