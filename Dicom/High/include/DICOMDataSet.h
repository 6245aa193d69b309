// The two concrete element sets: a data set and a command set. They differ
// only in type; assignment moves the elements like the base class does.
#pragma once

#include "DICOMVRSet.h"
#include "VeltaroExport.h"

class VELTARO_API DICOMDataSet : public DICOMVRSet
{
public:
    DICOMDataSet() = default;
    // Deep copies.
    explicit DICOMDataSet(const DICOMVRSet& other) : DICOMVRSet(other) {}
    DICOMDataSet(const DICOMDataSet& other) : DICOMVRSet(other) {}
    ~DICOMDataSet() override;

    DICOMDataSet& operator=(DICOMDataSet& other);
};

class VELTARO_API DICOMCommandSet : public DICOMVRSet
{
public:
    DICOMCommandSet() = default;
    explicit DICOMCommandSet(const DICOMVRSet& other) : DICOMVRSet(other) {}
    DICOMCommandSet(const DICOMCommandSet& other) : DICOMVRSet(other) {}
    ~DICOMCommandSet() override;

    DICOMCommandSet& operator=(DICOMCommandSet& other);
};
