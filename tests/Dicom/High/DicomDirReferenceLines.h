// The records of the corpus DICOMDIRs as dcmdump lists them, one line per
// record in directory order (made by tools/make_dicomdir_references.py), and
// the folder they are read from.
#pragma once

#include <filesystem>

struct RecordLine
{
    const char* file;
    int depth;
    const char* type;
    const char* key;
};

inline const RecordLine ReferenceLines[] = {
#include "DicomDirReferences.inc"
};

inline const std::filesystem::path DirTestFolder =
    std::filesystem::path(SUITE_CORPUS_DIR) / "pydicom/test_files/dicomdirtests";
