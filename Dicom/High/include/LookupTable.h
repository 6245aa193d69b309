// LookupTable: the display window of an image over its calibrated value
// space (stored value x slope + intercept, taken whole), and the 8-bit
// tables that turn stored values into display values.
//
// The window is kept twice: as given (centre and width, which may reach
// outside the image's values) and as its two forks, the window's edges
// clamped into the calibrated space, which is what callers read and report.
// The tables follow the window as given, by the linear VOI function of
// DICOM: with c the centre and w the width, a calibrated value x maps to
// 0 when x <= c - 0.5 - (w - 1) / 2, to 255 when x > c - 0.5 + (w - 1) / 2,
// and to floor(((x - (c - 0.5)) / (w - 1) + 0.5) * 255) between; a width
// below 1 is taken as 1 (a threshold at c - 0.5). Inverted tables present
// the same window the other way round, for images whose lowest value shows
// white: 255 at or below the window, 0 above it, and
// floor(((c - 0.5 - x) / (w - 1) + 0.5) * 255) between.
#pragma once

#include "VeltaroExport.h"

#include <vector>

class RealImage;

class VELTARO_API LookupTable
{
public:
    // Entries of the signed table; the entry of value v is at v + this.
    static constexpr int SignedTableOffset = 65536;
    static constexpr int SignedTableSize = 2 * SignedTableOffset;

    LookupTable();
    // Copies everything but the fork lists, which start empty.
    LookupTable(const LookupTable& other);
    LookupTable(int minRaw, int maxRaw, float intercept, float slope, int width, int center);
    // Copies the fork lists too.
    LookupTable& operator=(const LookupTable& other);
    ~LookupTable();

    // The stored range and rescale of the image and its window. A slope of
    // 0 is taken as 1 with an intercept of 0, a reversed range is put in
    // order, and the inverted setting is cleared.
    void Init(int minRaw, int maxRaw, float intercept, float slope, int width, int center);
    // The window from its two edges, in calibrated units.
    void SetMinMaxFork(int min, int max);
    // The window from its centre and width, in calibrated units.
    void SetWindow(double width, double center);
    // Records another window offered by the data set; the current one stays.
    void AddMinMaxFork(int min, int max);

    int GetMinForkCalib() const { return m_nMinForkCalib; }
    int GetMaxForkCalib() const { return m_nMaxForkCalib; }
    double GetWindowCenter() const { return m_dWindowCenter; }
    double GetWindowWidth() const { return m_dWindowWidth; }
    // Edges of the windows recorded by AddMinMaxFork, clamped.
    const std::vector<int>& GetMinForks() const { return m_minForks; }
    const std::vector<int>& GetMaxForks() const { return m_maxForks; }

    int GetMinSpaceCalib() const { return m_nMinSpaceCalib; }
    int GetMaxSpaceCalib() const { return m_nMaxSpaceCalib; }
    int GetMinSpaceRaw() const { return m_nMinSpaceRaw; }
    int GetMaxSpaceRaw() const { return m_nMaxSpaceRaw; }
    int GetImageRangeRaw() const { return m_nImageRangeRaw; }
    float GetIntercept() const { return m_fIntercept; }
    float GetSlope() const { return m_fSlope; }

    // Non-zero: the tables are inverted (see above); Init clears it.
    int GetInverted() const { return m_nInverted; }
    void SetInverted(int inverted) { m_nInverted = inverted; }
    // The image the window belongs to; not owned.
    RealImage* GetOwner() const { return m_pOwner; }
    void SetOwner(RealImage* owner) { m_pOwner = owner; }

    int FromRawToCalibrated(int raw) const;
    int FromCalibratedToRaw(int value) const;
    // The calibrated value at a screen level 0..255 over the stored range.
    int ComputeCalibratedValue(int screen) const;
    // The screen level of a calibrated value over the stored range.
    int ComputeScreenValue(int value) const;

    // A table indexed by unsigned stored value: 256 entries for bits below
    // 9, else 65536, at least max space raw + 1 (up to 65536). The caller
    // frees it with delete[].
    unsigned char* CreateLookupTable(int bits) const;
    // A table of SignedTableSize entries for stored values -65536..65535;
    // callers index it from the table plus SignedTableOffset. The caller
    // frees the table (not the offset pointer) with delete[].
    unsigned char* CreateLookupTableEx(int bits) const;

private:
    void ClampForks();
    int ClampToSpace(int value) const;
    unsigned char ComputeDisplayValue(int stored) const;
    // The display values of count stored values from firstStored on.
    void FillDisplayValues(unsigned char* table, int firstStored, int count) const;

    std::vector<int> m_minForks;
    std::vector<int> m_maxForks;
    int m_nMinForkCalib = 0;
    int m_nMaxForkCalib = 0;
    int m_nInverted = 0;
    RealImage* m_pOwner = nullptr;
    int m_nMinSpaceRaw = 0;
    int m_nMaxSpaceRaw = 0;
    int m_nMinSpaceCalib = 0;
    int m_nMaxSpaceCalib = 0;
    int m_nImageRangeRaw = 1;
    float m_fIntercept = 0.0f;
    float m_fSlope = 1.0f;
    double m_dWindowCenter = 0.0;
    double m_dWindowWidth = 1.0;
};
