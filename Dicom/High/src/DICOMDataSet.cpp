#include "DICOMDataSet.h"

DICOMDataSet::~DICOMDataSet() = default;

DICOMDataSet& DICOMDataSet::operator=(DICOMDataSet& other)
{
    DICOMVRSet::operator=(other);
    return *this;
}

DICOMCommandSet::~DICOMCommandSet() = default;

DICOMCommandSet& DICOMCommandSet::operator=(DICOMCommandSet& other)
{
    DICOMVRSet::operator=(other);
    return *this;
}
