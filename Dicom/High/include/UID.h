// DICOM unique identifiers: the value type UID, the constants the library
// knows (transfer syntaxes, SOP classes, the library's own roots), their
// registry of descriptions, the generator of new UIDs and the two tests the
// viewers apply to transfer syntaxes.
#pragma once

#include "Lettra.h"
#include "VeltaroExport.h"

#include <cstdint>
#include <string>

// A NUL-terminated text of at most 64 characters and its length. The bytes
// after the text are always zero, so that two equal values are equal bytes.
class VELTARO_API UID
{
public:
    static constexpr unsigned MaxLength = 64;

    constexpr UID() = default;
    constexpr UID(const char* text) { Set(text); }
    UID(const unsigned char* text);
    UID(const Lettra& text);
    UID(const UID& other) = default;

    UID& operator=(const UID& other) = default;
    UID& operator=(const char* text);
    UID& operator=(const Lettra& text);

    // Empties the value, then copies the text; a null text leaves it empty
    // and a text longer than 64 characters keeps its first 64.
    constexpr void Set(const char* text)
    {
        Reset();
        if (text == nullptr)
        {
            return;
        }
        while (m_length < MaxLength && text[m_length] != '\0')
        {
            m_text[m_length] = text[m_length];
            ++m_length;
        }
    }
    void Set(const unsigned char* text);
    void Set(const Lettra& text);
    void Set(const UID& other);
    void Get(UID& out) const;

    // The text for writing in place; SetLength then fixes the length.
    char* GetBuffer(unsigned size);
    void SetLength(unsigned length);

    unsigned GetLength() const { return m_length; }
    operator const char*() const { return m_text; }
    bool IsEmpty() const { return m_length == 0; }
    bool IsValid() const { return m_text[0] != '\0'; }
    constexpr void Reset()
    {
        for (char& c : m_text)
        {
            c = '\0';
        }
        m_length = 0;
    }

    // -1, 0 or 1 by the texts as unsigned bytes; a null text reads as empty.
    int Compare(const UID& other) const;
    int Compare(const char* text) const;

    // Copies the registered description into the buffer (always terminated
    // within size bytes) and returns 1, or returns 0 with the buffer empty.
    int Lookup(char* buffer, int size) const;
    Lettra Lookup() const;

    // A new UID under the library's own root; that root always leaves room,
    // so out is never left empty.
    static void GetUID(UID& out);

private:
    char m_text[MaxLength + 1] = {};
    std::uint32_t m_length = 0;
};

VELTARO_API bool operator==(const UID& a, const UID& b);
VELTARO_API bool operator!=(const UID& a, const UID& b);
VELTARO_API bool operator<(const UID& a, const UID& b);
VELTARO_API bool operator>(const UID& a, const UID& b);
VELTARO_API bool operator<=(const UID& a, const UID& b);
VELTARO_API bool operator>=(const UID& a, const UID& b);
VELTARO_API bool operator==(const UID& a, const char* b);
VELTARO_API bool operator!=(const UID& a, const char* b);
VELTARO_API bool operator<(const UID& a, const char* b);
VELTARO_API bool operator>(const UID& a, const char* b);
VELTARO_API bool operator<=(const UID& a, const char* b);
VELTARO_API bool operator>=(const UID& a, const char* b);
VELTARO_API bool operator==(const char* a, const UID& b);
VELTARO_API bool operator!=(const char* a, const UID& b);
VELTARO_API bool operator<(const char* a, const UID& b);
VELTARO_API bool operator>(const char* a, const UID& b);
VELTARO_API bool operator<=(const char* a, const UID& b);
VELTARO_API bool operator>=(const char* a, const UID& b);

// A new UID: the root as given, the machine part ("1" and the six bytes of
// the first network adapter's address in decimal), "." and a process-wide
// counter, "." and the time in seconds. The result never exceeds 64
// characters and no component it adds starts with a zero.
// A root that leaves no room for the machine part and the two numbers (more
// than about 40 characters) gives the empty text, never a shortened or
// over-long UID, and logs an error. An empty text is no UID: a caller that
// would write it into a data set or file refuses to instead.
VELTARO_API Lettra GenUniqueUID(const char* root);
// The machine part of generated UIDs: "1" and the six address bytes of the
// first network adapter in decimal, read once.
VELTARO_API const std::string& GetUidMachinePart();
// The adapter address in generated UIDs is read once; this makes the next
// GenUniqueUID read it again (after the machine's adapters were replaced).
VELTARO_API void ResetUidMachinePart();

// 1 when the transfer syntax is not one of the native ones.
VELTARO_API int IsCompressed(const char* transferSyntax);
// 1 when the transfer syntax keeps the pixel values exactly; logs a warning.
VELTARO_API int IsLossless(const char* transferSyntax);
// The same test without the warning, for the library's own callers.
VELTARO_API int IsLosslessSyntax(const char* transferSyntax);

// Transfer syntaxes.
extern VELTARO_API const UID UidTransferLittleEndian;
extern VELTARO_API const UID UidTransferLittleEndianExplicit;
extern VELTARO_API const UID UidTransferBigEndianExplicit;
extern VELTARO_API const UID UidTransferJpegBaselineProcess1;
extern VELTARO_API const UID UidTransferJpegExtendedProc2And4;
extern VELTARO_API const UID UidTransferJpegExtendedProc3And5;
extern VELTARO_API const UID UidTransferJpegSpectralProc6And8;
extern VELTARO_API const UID UidTransferJpegSpectralProc7And9;
extern VELTARO_API const UID UidTransferJpegFullProgressProc10And12;
extern VELTARO_API const UID UidTransferJpegFullProgressProc11And13;
extern VELTARO_API const UID UidTransferJpegLosslessProc14;
extern VELTARO_API const UID UidTransferJpegLosslessProc15;
extern VELTARO_API const UID UidTransferJpegExtendedProc16And18;
extern VELTARO_API const UID UidTransferJpegExtendedProc17And19;
extern VELTARO_API const UID UidTransferJpegSpectralProc20And22;
extern VELTARO_API const UID UidTransferJpegSpectralProc21And23;
extern VELTARO_API const UID UidTransferJpegFullProgressProc24And26;
extern VELTARO_API const UID UidTransferJpegFullProgressProc25And27;
extern VELTARO_API const UID UidTransferJpegLosslessProc28;
extern VELTARO_API const UID UidTransferJpegLosslessProc29;
extern VELTARO_API const UID UidTransferJpegLosslessProcFirstOrderPredict;
extern VELTARO_API const UID UidTransferJpegLsLossless;
extern VELTARO_API const UID UidTransferJpegLsNearLossless;
extern VELTARO_API const UID UidTransferJpeg2000Lossless;
extern VELTARO_API const UID UidTransferJpeg2000;
extern VELTARO_API const UID UidTransferJpeg2000Part2Lossless;
extern VELTARO_API const UID UidTransferJpeg2000Part2;
extern VELTARO_API const UID UidTransferJpipReferenced;
extern VELTARO_API const UID UidTransferJpipReferencedDeflate;
extern VELTARO_API const UID UidTransferDeflatedLittleEndianExplicit;
extern VELTARO_API const UID UidTransferMpeg2MainProfile;
extern VELTARO_API const UID UidTransferRleLossless;
extern VELTARO_API const UID UidTransferMimeEncapsulation;
extern VELTARO_API const UID UidTransferXmlEncoding;
// The library's private JPEG full progression syntaxes.
extern VELTARO_API const UID UidTransferJpegFullProgress13Bit;
extern VELTARO_API const UID UidTransferJpegFullProgress14Bit;
extern VELTARO_API const UID UidTransferJpegFullProgress15Bit;
extern VELTARO_API const UID UidTransferJpegFullProgress16Bit;
extern VELTARO_API const UID UidTransferJpegFullProgressAdaptive;

// Service and storage SOP classes, and the library's private abstract syntax.
extern VELTARO_API const UID UidVerification;
extern VELTARO_API const UID UidBasicStudyContentNotification;
extern VELTARO_API const UID UidStorageCommitmentPushModel;
extern VELTARO_API const UID UidStorageCommitmentPushModelInstance;
extern VELTARO_API const UID UidStorageCommitmentPullModel;
extern VELTARO_API const UID UidStorageCommitmentPullModelInstance;
extern VELTARO_API const UID UidMediaStorageDirectoryStorage;
extern VELTARO_API const UID UidApplicationContextName;
extern VELTARO_API const UID UidDetachedPatientManagement;
extern VELTARO_API const UID UidDetachedPatientManagementMeta;
extern VELTARO_API const UID UidDetachedVisitManagement;
extern VELTARO_API const UID UidDetachedStudyManagement;
extern VELTARO_API const UID UidStudyComponentManagement;
extern VELTARO_API const UID UidModalityPerformedProcedureStep;
extern VELTARO_API const UID UidModalityPerformedProcedureStepRetrieve;
extern VELTARO_API const UID UidModalityPerformedProcedureStepNotification;
extern VELTARO_API const UID UidDetachedResultsManagement;
extern VELTARO_API const UID UidDetachedResultsManagementMeta;
extern VELTARO_API const UID UidDetachedStudyManagementMeta;
extern VELTARO_API const UID UidDetachedInterpretationManagement;
extern VELTARO_API const UID UidBasicFilmSession;
extern VELTARO_API const UID UidBasicFilmBox;
extern VELTARO_API const UID UidBasicGrayscaleImageBox;
extern VELTARO_API const UID UidBasicColorImageBox;
extern VELTARO_API const UID UidReferencedImageBox;
extern VELTARO_API const UID UidBasicGrayscalePrintManagementMeta;
extern VELTARO_API const UID UidReferencedGrayscalePrintManagementMeta;
extern VELTARO_API const UID UidPrintJob;
extern VELTARO_API const UID UidBasicAnnotationBox;
extern VELTARO_API const UID UidPrinter;
extern VELTARO_API const UID UidPrinterInstance;
extern VELTARO_API const UID UidBasicColorPrintManagementMeta;
extern VELTARO_API const UID UidReferencedColorPrintManagementMeta;
extern VELTARO_API const UID UidVoiLutBox;
extern VELTARO_API const UID UidImageOverlayBox;
extern VELTARO_API const UID UidComputedRadiographyImageStorage;
extern VELTARO_API const UID UidCtImageStorage;
extern VELTARO_API const UID UidUltrasoundMultiFrameImageStorageRetired;
extern VELTARO_API const UID UidUltrasoundMultiFrameImageStorage;
extern VELTARO_API const UID UidMrImageStorage;
extern VELTARO_API const UID UidEnhancedMrImageStorage;
extern VELTARO_API const UID UidMrSpectroscopyStorage;
extern VELTARO_API const UID UidNuclearMedicineImageStorage;
extern VELTARO_API const UID UidNuclearMedicineImageStorageRetired;
extern VELTARO_API const UID UidUltrasoundImageStorageRetired;
extern VELTARO_API const UID UidUltrasoundImageStorage;
extern VELTARO_API const UID UidSecondaryCaptureImageStorage;
extern VELTARO_API const UID UidStandaloneOverlayStorage;
extern VELTARO_API const UID UidStandaloneCurveStorage;
extern VELTARO_API const UID UidStandaloneModalityLutStorage;
extern VELTARO_API const UID UidStandaloneVoiLutStorage;
extern VELTARO_API const UID UidXRayAngiographicImageStorage;
extern VELTARO_API const UID UidXRayRadiofluoroscopicImageStorage;
extern VELTARO_API const UID UidXRayAngiographicBiPlaneImageStorage;
extern VELTARO_API const UID UidPetImageStorage;
extern VELTARO_API const UID UidStandalonePetCurveStorage;
extern VELTARO_API const UID UidMultiFrameSingleBitScImageStorage;
extern VELTARO_API const UID UidMultiFrameGrayscaleByteScImageStorage;
extern VELTARO_API const UID UidMultiFrameGrayscaleWordScImageStorage;
extern VELTARO_API const UID UidMultiFrameTrueColorScImageStorage;
extern VELTARO_API const UID UidRtImageStorage;
extern VELTARO_API const UID UidRtDoseStorage;
extern VELTARO_API const UID UidRtStructureSetStorage;
extern VELTARO_API const UID UidRtBeamsTreatmentRecordStorage;
extern VELTARO_API const UID UidRtPlanStorage;
extern VELTARO_API const UID UidRtBrachyTreatmentRecordStorage;
extern VELTARO_API const UID UidRtTreatmentSummaryRecordStorage;
extern VELTARO_API const UID UidVlImageStorageRetired;
extern VELTARO_API const UID UidVlMultiFrameImageStorageRetired;
extern VELTARO_API const UID UidVlEndoscopicImageStorage;
extern VELTARO_API const UID UidVlMicroscopicImageStorage;
extern VELTARO_API const UID UidVlSlideCoordinatesMicroscopicImageStorage;
extern VELTARO_API const UID UidVlPhotographicImageStorage;
extern VELTARO_API const UID UidPatientRootQueryFind;
extern VELTARO_API const UID UidPatientRootQueryMove;
extern VELTARO_API const UID UidPatientRootQueryGet;
extern VELTARO_API const UID UidStudyRootQueryFind;
extern VELTARO_API const UID UidStudyRootQueryMove;
extern VELTARO_API const UID UidStudyRootQueryGet;
extern VELTARO_API const UID UidPatientStudyOnlyQueryFind;
extern VELTARO_API const UID UidPatientStudyOnlyQueryMove;
extern VELTARO_API const UID UidPatientStudyOnlyQueryGet;
extern VELTARO_API const UID UidModalityWorklistFind;
extern VELTARO_API const UID UidDigitalXRayImageStorageForPresentation;
extern VELTARO_API const UID UidDigitalXRayImageStorageForProcessing;
extern VELTARO_API const UID UidDigitalMammographyImageStorageForPresentation;
extern VELTARO_API const UID UidDigitalMammographyImageStorageForProcessing;
extern VELTARO_API const UID UidDigitalIntraOralImageStorageForPresentation;
extern VELTARO_API const UID UidDigitalIntraOralImageStorageForProcessing;
extern VELTARO_API const UID UidGrayscaleSoftcopyPresentationStateStorage;
extern VELTARO_API const UID UidBasicTextSrStorage;
extern VELTARO_API const UID UidEnhancedSrStorage;
extern VELTARO_API const UID UidComprehensiveSrStorage;
extern VELTARO_API const UID UidMammographyCadSrStorage;
extern VELTARO_API const UID UidGeneralEcgWaveformStorage;
extern VELTARO_API const UID UidGeneralPurposeWorklistFind;
extern VELTARO_API const UID UidGeneralPurposeScheduledProcedureStep;
extern VELTARO_API const UID UidGeneralPurposePerformedProcedureStep;
extern VELTARO_API const UID UidGeneralPurposeWorklistManagementMeta;
extern VELTARO_API const UID UidInstanceAvailabilityNotification;
extern VELTARO_API const UID UidKeyObjectSelectionDocumentStorage;
extern VELTARO_API const UID UidTavuQelmAnyAbstractSyntax;

// The root of the UIDs the DICOMDIR writer generates, and that of UID::GetUID.
extern VELTARO_API const UID UidDicomDirRoot;
extern VELTARO_API const UID UidGeneratedRoot;
