#include "UID.h"

#include "VeltaroLog.h"
#include "WinError.h"
#include "WinInterlocked.h"
#include "WinNetwork.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

// Transfer syntaxes.
constinit const UID UidTransferLittleEndian("1.2.840.10008.1.2");
constinit const UID UidTransferLittleEndianExplicit("1.2.840.10008.1.2.1");
constinit const UID UidTransferBigEndianExplicit("1.2.840.10008.1.2.2");
constinit const UID UidTransferJpegBaselineProcess1("1.2.840.10008.1.2.4.50");
constinit const UID UidTransferJpegExtendedProc2And4("1.2.840.10008.1.2.4.51");
constinit const UID UidTransferJpegExtendedProc3And5("1.2.840.10008.1.2.4.52");
constinit const UID UidTransferJpegSpectralProc6And8("1.2.840.10008.1.2.4.53");
constinit const UID UidTransferJpegSpectralProc7And9("1.2.840.10008.1.2.4.54");
constinit const UID UidTransferJpegFullProgressProc10And12("1.2.840.10008.1.2.4.55");
constinit const UID UidTransferJpegFullProgressProc11And13("1.2.840.10008.1.2.4.56");
constinit const UID UidTransferJpegLosslessProc14("1.2.840.10008.1.2.4.57");
constinit const UID UidTransferJpegLosslessProc15("1.2.840.10008.1.2.4.58");
constinit const UID UidTransferJpegExtendedProc16And18("1.2.840.10008.1.2.4.59");
constinit const UID UidTransferJpegExtendedProc17And19("1.2.840.10008.1.2.4.60");
constinit const UID UidTransferJpegSpectralProc20And22("1.2.840.10008.1.2.4.61");
constinit const UID UidTransferJpegSpectralProc21And23("1.2.840.10008.1.2.4.62");
constinit const UID UidTransferJpegFullProgressProc24And26("1.2.840.10008.1.2.4.63");
constinit const UID UidTransferJpegFullProgressProc25And27("1.2.840.10008.1.2.4.64");
constinit const UID UidTransferJpegLosslessProc28("1.2.840.10008.1.2.4.65");
constinit const UID UidTransferJpegLosslessProc29("1.2.840.10008.1.2.4.66");
constinit const UID UidTransferJpegLosslessProcFirstOrderPredict("1.2.840.10008.1.2.4.70");
constinit const UID UidTransferJpegLsLossless("1.2.840.10008.1.2.4.80");
constinit const UID UidTransferJpegLsNearLossless("1.2.840.10008.1.2.4.81");
constinit const UID UidTransferJpeg2000Lossless("1.2.840.10008.1.2.4.90");
constinit const UID UidTransferJpeg2000("1.2.840.10008.1.2.4.91");
constinit const UID UidTransferJpeg2000Part2Lossless("1.2.840.10008.1.2.4.92");
constinit const UID UidTransferJpeg2000Part2("1.2.840.10008.1.2.4.93");
constinit const UID UidTransferJpipReferenced("1.2.840.10008.1.2.4.94");
constinit const UID UidTransferJpipReferencedDeflate("1.2.840.10008.1.2.4.95");
constinit const UID UidTransferDeflatedLittleEndianExplicit("1.2.840.10008.1.2.1.99");
constinit const UID UidTransferMpeg2MainProfile("1.2.840.10008.1.2.4.100");
constinit const UID UidTransferRleLossless("1.2.840.10008.1.2.5");
constinit const UID UidTransferMimeEncapsulation("1.2.840.10008.1.2.6.1");
constinit const UID UidTransferXmlEncoding("1.2.840.10008.1.2.6.2");
constinit const UID UidTransferJpegFullProgress13Bit("1.2.84658685.219.55.13");
constinit const UID UidTransferJpegFullProgress14Bit("1.2.84658685.219.55.14");
constinit const UID UidTransferJpegFullProgress15Bit("1.2.84658685.219.55.15");
constinit const UID UidTransferJpegFullProgress16Bit("1.2.84658685.219.55.16");
constinit const UID UidTransferJpegFullProgressAdaptive("1.2.84658685.219.55.99");

// Service and storage SOP classes.
constinit const UID UidVerification("1.2.840.10008.1.1");
constinit const UID UidBasicStudyContentNotification("1.2.840.10008.1.9");
constinit const UID UidStorageCommitmentPushModel("1.2.840.10008.1.20.1");
constinit const UID UidStorageCommitmentPushModelInstance("1.2.840.10008.1.20.1.1");
constinit const UID UidStorageCommitmentPullModel("1.2.840.10008.1.20.2");
constinit const UID UidStorageCommitmentPullModelInstance("1.2.840.10008.1.20.2.1");
constinit const UID UidMediaStorageDirectoryStorage("1.2.840.10008.1.3.10");
constinit const UID UidApplicationContextName("1.2.840.10008.3.1.1.1");
constinit const UID UidDetachedPatientManagement("1.2.840.10008.3.1.2.1.1");
constinit const UID UidDetachedPatientManagementMeta("1.2.840.10008.3.1.2.1.4");
constinit const UID UidDetachedVisitManagement("1.2.840.10008.3.1.2.2.1");
constinit const UID UidDetachedStudyManagement("1.2.840.10008.3.1.2.3.1");
constinit const UID UidStudyComponentManagement("1.2.840.10008.3.1.2.3.2");
constinit const UID UidModalityPerformedProcedureStep("1.2.840.10008.3.1.2.3.3");
constinit const UID UidModalityPerformedProcedureStepRetrieve("1.2.840.10008.3.1.2.3.4");
constinit const UID UidModalityPerformedProcedureStepNotification("1.2.840.10008.3.1.2.3.5");
constinit const UID UidDetachedResultsManagement("1.2.840.10008.3.1.2.5.1");
constinit const UID UidDetachedResultsManagementMeta("1.2.840.10008.3.1.2.5.4");
constinit const UID UidDetachedStudyManagementMeta("1.2.840.10008.3.1.2.5.5");
constinit const UID UidDetachedInterpretationManagement("1.2.840.10008.3.1.2.6.1");
constinit const UID UidBasicFilmSession("1.2.840.10008.5.1.1.1");
constinit const UID UidBasicFilmBox("1.2.840.10008.5.1.1.2");
constinit const UID UidBasicGrayscaleImageBox("1.2.840.10008.5.1.1.4");
constinit const UID UidBasicColorImageBox("1.2.840.10008.5.1.1.4.1");
constinit const UID UidReferencedImageBox("1.2.840.10008.5.1.1.4.2");
constinit const UID UidBasicGrayscalePrintManagementMeta("1.2.840.10008.5.1.1.9");
constinit const UID UidReferencedGrayscalePrintManagementMeta("1.2.840.10008.5.1.1.9.1");
constinit const UID UidPrintJob("1.2.840.10008.5.1.1.14");
constinit const UID UidBasicAnnotationBox("1.2.840.10008.5.1.1.15");
constinit const UID UidPrinter("1.2.840.10008.5.1.1.16");
constinit const UID UidPrinterInstance("1.2.840.10008.5.1.1.17");
constinit const UID UidBasicColorPrintManagementMeta("1.2.840.10008.5.1.1.18");
constinit const UID UidReferencedColorPrintManagementMeta("1.2.840.10008.5.1.1.18.1");
constinit const UID UidVoiLutBox("1.2.840.10008.5.1.1.22");
constinit const UID UidImageOverlayBox("1.2.840.10008.5.1.1.24");
constinit const UID UidComputedRadiographyImageStorage("1.2.840.10008.5.1.4.1.1.1");
constinit const UID UidCtImageStorage("1.2.840.10008.5.1.4.1.1.2");
constinit const UID UidUltrasoundMultiFrameImageStorageRetired("1.2.840.10008.5.1.4.1.1.3");
constinit const UID UidUltrasoundMultiFrameImageStorage("1.2.840.10008.5.1.4.1.1.3.1");
constinit const UID UidMrImageStorage("1.2.840.10008.5.1.4.1.1.4");
constinit const UID UidEnhancedMrImageStorage("1.2.840.10008.5.1.4.1.1.4.1");
constinit const UID UidMrSpectroscopyStorage("1.2.840.10008.5.1.4.1.1.4.2");
constinit const UID UidNuclearMedicineImageStorage("1.2.840.10008.5.1.4.1.1.20");
constinit const UID UidNuclearMedicineImageStorageRetired("1.2.840.10008.5.1.4.1.1.5");
constinit const UID UidUltrasoundImageStorageRetired("1.2.840.10008.5.1.4.1.1.6");
constinit const UID UidUltrasoundImageStorage("1.2.840.10008.5.1.4.1.1.6.1");
constinit const UID UidSecondaryCaptureImageStorage("1.2.840.10008.5.1.4.1.1.7");
constinit const UID UidStandaloneOverlayStorage("1.2.840.10008.5.1.4.1.1.8");
constinit const UID UidStandaloneCurveStorage("1.2.840.10008.5.1.4.1.1.9");
constinit const UID UidStandaloneModalityLutStorage("1.2.840.10008.5.1.4.1.1.10");
constinit const UID UidStandaloneVoiLutStorage("1.2.840.10008.5.1.4.1.1.11");
constinit const UID UidXRayAngiographicImageStorage("1.2.840.10008.5.1.4.1.1.12.1");
constinit const UID UidXRayRadiofluoroscopicImageStorage("1.2.840.10008.5.1.4.1.1.12.2");
constinit const UID UidXRayAngiographicBiPlaneImageStorage("1.2.840.10008.5.1.4.1.1.12.3");
constinit const UID UidPetImageStorage("1.2.840.10008.5.1.4.1.1.128");
constinit const UID UidStandalonePetCurveStorage("1.2.840.10008.5.1.4.1.1.129");
constinit const UID UidMultiFrameSingleBitScImageStorage("1.2.840.10008.5.1.4.1.1.7.1");
constinit const UID UidMultiFrameGrayscaleByteScImageStorage("1.2.840.10008.5.1.4.1.1.7.2");
constinit const UID UidMultiFrameGrayscaleWordScImageStorage("1.2.840.10008.5.1.4.1.1.7.3");
constinit const UID UidMultiFrameTrueColorScImageStorage("1.2.840.10008.5.1.4.1.1.7.4");
constinit const UID UidRtImageStorage("1.2.840.10008.5.1.4.1.1.481.1");
constinit const UID UidRtDoseStorage("1.2.840.10008.5.1.4.1.1.481.2");
constinit const UID UidRtStructureSetStorage("1.2.840.10008.5.1.4.1.1.481.3");
constinit const UID UidRtBeamsTreatmentRecordStorage("1.2.840.10008.5.1.4.1.1.481.4");
constinit const UID UidRtPlanStorage("1.2.840.10008.5.1.4.1.1.481.5");
constinit const UID UidRtBrachyTreatmentRecordStorage("1.2.840.10008.5.1.4.1.1.481.6");
constinit const UID UidRtTreatmentSummaryRecordStorage("1.2.840.10008.5.1.4.1.1.481.7");
constinit const UID UidVlImageStorageRetired("1.2.840.10008.5.1.4.1.1.77.1");
constinit const UID UidVlMultiFrameImageStorageRetired("1.2.840.10008.5.1.4.1.1.77.2");
constinit const UID UidVlEndoscopicImageStorage("1.2.840.10008.5.1.4.1.1.77.1.1");
constinit const UID UidVlMicroscopicImageStorage("1.2.840.10008.5.1.4.1.1.77.1.2");
constinit const UID UidVlSlideCoordinatesMicroscopicImageStorage("1.2.840.10008.5.1.4.1.1.77.1.3");
constinit const UID UidVlPhotographicImageStorage("1.2.840.10008.5.1.4.1.1.77.1.4");
constinit const UID UidPatientRootQueryFind("1.2.840.10008.5.1.4.1.2.1.1");
constinit const UID UidPatientRootQueryMove("1.2.840.10008.5.1.4.1.2.1.2");
constinit const UID UidPatientRootQueryGet("1.2.840.10008.5.1.4.1.2.1.3");
constinit const UID UidStudyRootQueryFind("1.2.840.10008.5.1.4.1.2.2.1");
constinit const UID UidStudyRootQueryMove("1.2.840.10008.5.1.4.1.2.2.2");
constinit const UID UidStudyRootQueryGet("1.2.840.10008.5.1.4.1.2.2.3");
constinit const UID UidPatientStudyOnlyQueryFind("1.2.840.10008.5.1.4.1.2.3.1");
constinit const UID UidPatientStudyOnlyQueryMove("1.2.840.10008.5.1.4.1.2.3.2");
constinit const UID UidPatientStudyOnlyQueryGet("1.2.840.10008.5.1.4.1.2.3.3");
constinit const UID UidModalityWorklistFind("1.2.840.10008.5.1.4.31");
constinit const UID UidDigitalXRayImageStorageForPresentation("1.2.840.10008.5.1.4.1.1.1.1");
constinit const UID UidDigitalXRayImageStorageForProcessing("1.2.840.10008.5.1.4.1.1.1.1.1");
constinit const UID UidDigitalMammographyImageStorageForPresentation("1.2.840.10008.5.1.4.1.1.1.2");
constinit const UID UidDigitalMammographyImageStorageForProcessing("1.2.840.10008.5.1.4.1.1.1.2.1");
constinit const UID UidDigitalIntraOralImageStorageForPresentation("1.2.840.10008.5.1.4.1.1.1.3");
constinit const UID UidDigitalIntraOralImageStorageForProcessing("1.2.840.10008.5.1.4.1.1.1.3.1");
constinit const UID UidGrayscaleSoftcopyPresentationStateStorage("1.2.840.10008.5.1.4.1.1.11.1");
constinit const UID UidBasicTextSrStorage("1.2.840.10008.5.1.4.1.1.88.11");
constinit const UID UidEnhancedSrStorage("1.2.840.10008.5.1.4.1.1.88.22");
constinit const UID UidComprehensiveSrStorage("1.2.840.10008.5.1.4.1.1.88.33");
constinit const UID UidMammographyCadSrStorage("1.2.840.10008.5.1.4.1.1.88.50");
constinit const UID UidGeneralEcgWaveformStorage("1.2.840.10008.5.1.4.1.1.9.1.2");
constinit const UID UidGeneralPurposeWorklistFind("1.2.840.10008.5.1.4.32.1");
constinit const UID UidGeneralPurposeScheduledProcedureStep("1.2.840.10008.5.1.4.32.2");
constinit const UID UidGeneralPurposePerformedProcedureStep("1.2.840.10008.5.1.4.32.3");
constinit const UID UidGeneralPurposeWorklistManagementMeta("1.2.840.10008.5.1.4.32");
constinit const UID UidInstanceAvailabilityNotification("1.2.840.10008.5.1.4.33");
constinit const UID UidKeyObjectSelectionDocumentStorage("1.2.840.10008.5.1.4.1.1.88.59");
constinit const UID UidTavuQelmAnyAbstractSyntax("1.2.84658685.1.2.3.4.5.6.7.8");

constinit const UID UidDicomDirRoot("1.2.840.84658685.1.2.3.4.66778899");
constinit const UID UidGeneratedRoot("1.2.84658685.100.");

namespace
{

struct RegistryRecord
{
    const UID* uid;
    const char* description;
};

// Every constant that has a description, in the order the look-up walks.
constexpr RegistryRecord Registry[] = {
    {&UidTransferLittleEndian, "Transfer Little Endian"},
    {&UidTransferLittleEndianExplicit, "Transfer Little Endian Explicit"},
    {&UidTransferBigEndianExplicit, "Transfer Big Endian Explicit"},
    {&UidTransferJpegBaselineProcess1, "Transfer JpegBaselineProcess1"},
    {&UidTransferJpegExtendedProc2And4, "Transfer JpegExtendedProc2And4"},
    {&UidTransferJpegExtendedProc3And5, "Transfer JpegExtendedProc3And5"},
    {&UidTransferJpegSpectralProc6And8, "Transfer JpegSpectralProc6And8"},
    {&UidTransferJpegSpectralProc7And9, "Transfer JpegSpectralProc7And9"},
    {&UidTransferJpegFullProgressProc10And12, "Transfer JpegFullProgressProc10And12"},
    {&UidTransferJpegFullProgressProc11And13, "Transfer JpegFullProgressProc11And13"},
    {&UidTransferJpegLosslessProc14, "Transfer JpegLosslessProc14"},
    {&UidTransferJpegLosslessProc15, "Transfer JpegLosslessProc15"},
    {&UidTransferJpegExtendedProc16And18, "Transfer JpegExtendedProc16And18"},
    {&UidTransferJpegExtendedProc17And19, "Transfer JpegExtendedProc17And19"},
    {&UidTransferJpegSpectralProc20And22, "Transfer JpegSpectralProc20And22"},
    {&UidTransferJpegSpectralProc21And23, "Transfer JpegSpectralProc21And23"},
    {&UidTransferJpegFullProgressProc24And26, "Transfer JpegFullProgressProc24And26"},
    {&UidTransferJpegFullProgressProc25And27, "Transfer JpegFullProgressProc25And27"},
    {&UidTransferJpegLosslessProc28, "Transfer JpegLosslessProc28"},
    {&UidTransferJpegLosslessProc29, "Transfer JpegLosslessProc29"},
    {&UidTransferJpegLosslessProcFirstOrderPredict, "Transfer JpegLosslessProcFirstOrderRedict"},
    {&UidTransferJpegLsLossless, "Transfer Jpeg LS Lossless Image Compression"},
    {&UidTransferJpegLsNearLossless, "Transfer Jpeg LS Lossy Near-Lossless"},
    {&UidTransferJpeg2000Lossless, "Transfer Jpeg 2000 Image Compression Lossless Only"},
    {&UidTransferJpeg2000, "Transfer Jpeg 2000 Image Compression"},
    {&UidTransferDeflatedLittleEndianExplicit, "Deflated Explicit VR Little Endian"},
    {&UidTransferRleLossless, "Transfer RLE Lossless"},
    {&UidTransferMpeg2MainProfile, "MPEG2 MP@ML Image Compression"},
    {&UidVerification, "Verification"},
    {&UidBasicStudyContentNotification, "Basic Study Content Notification"},
    {&UidStorageCommitmentPushModel, "Storage Commitment Push Model"},
    {&UidStorageCommitmentPushModelInstance, "Well Known Storage Commitment Push Model"},
    {&UidStorageCommitmentPullModel, "Storage Commitment Pull Model"},
    {&UidStorageCommitmentPullModelInstance, "Well known Storage Commitment Pull Model"},
    {&UidMediaStorageDirectoryStorage, "Media Storage Directory Storage"},
    {&UidDetachedPatientManagement, "Detached Patient Mgmt"},
    {&UidDetachedPatientManagementMeta, "Detached Patient MgmtMeta"},
    {&UidDetachedVisitManagement, "Detached Visit Mgmt"},
    {&UidDetachedStudyManagement, "Detached Study Mgmt"},
    {&UidStudyComponentManagement, "Study Component Mgmt"},
    {&UidModalityPerformedProcedureStep, "Modality Performed Procedure Step"},
    {&UidModalityPerformedProcedureStepRetrieve, "Modality Performed Procedure Step Retrieve"},
    {&UidModalityPerformedProcedureStepNotification,
     "Modality Performed Procedure Step Notification"},
    {&UidDetachedResultsManagement, "Detached Results Mgmt"},
    {&UidDetachedResultsManagementMeta, "Detached Results Mgmt Meta"},
    {&UidDetachedStudyManagementMeta, "Detached Study Mgmt Meta"},
    {&UidDetachedInterpretationManagement, "Detached Interpret Mgmt"},
    {&UidBasicFilmSession, "Basic Film Session"},
    {&UidBasicFilmBox, "Basic Film Box"},
    {&UidBasicGrayscaleImageBox, "Basic Grayscale ImageBox"},
    {&UidBasicColorImageBox, "BasiC color ImageBox"},
    {&UidReferencedImageBox, "Referenced ImageBox"},
    {&UidBasicGrayscalePrintManagementMeta, "Grayscale Print Mgmt Meta"},
    {&UidReferencedGrayscalePrintManagementMeta, "Ref Grayscale Print Mgmt Meta"},
    {&UidPrintJob, "Print Job"},
    {&UidBasicAnnotationBox, "Basic Annotation Box"},
    {&UidPrinter, "Printer"},
    {&UidPrinterInstance, "Sop Printer Instance"},
    {&UidBasicColorPrintManagementMeta, "Color Print Mgmt Meta"},
    {&UidReferencedColorPrintManagementMeta, "Ref Color Print Mgmt Meta"},
    {&UidVoiLutBox, "VOI LUT"},
    {&UidImageOverlayBox, "Image Overlay Box"},
    {&UidComputedRadiographyImageStorage, "Computed Radiography"},
    {&UidCtImageStorage, "CT"},
    {&UidUltrasoundMultiFrameImageStorageRetired, "US Multi Frame Image (Retired)"},
    {&UidUltrasoundMultiFrameImageStorage, "US Multi Frame Image"},
    {&UidMrImageStorage, "MR"},
    {&UidEnhancedMrImageStorage, "Enhanced MR"},
    {&UidMrSpectroscopyStorage, "MR Spectroscopy"},
    {&UidNuclearMedicineImageStorage, "NM"},
    {&UidNuclearMedicineImageStorageRetired, "NM (Retired)"},
    {&UidUltrasoundImageStorageRetired, "US (Retired)"},
    {&UidUltrasoundImageStorage, "US"},
    {&UidSecondaryCaptureImageStorage, "Secondary Capture"},
    {&UidStandaloneOverlayStorage, "StandAlone Overlay"},
    {&UidStandaloneCurveStorage, "StandAlone Curve"},
    {&UidStandaloneModalityLutStorage, "StandAlone Modalitylut"},
    {&UidStandaloneVoiLutStorage, "StandAlone Voilut"},
    {&UidXRayAngiographicImageStorage, "Xray Angio"},
    {&UidXRayRadiofluoroscopicImageStorage, "Xray Fluoro"},
    {&UidXRayAngiographicBiPlaneImageStorage, "XA Bi-PlaneImage"},
    {&UidPetImageStorage, "Pet"},
    {&UidStandalonePetCurveStorage, "StandAlone Pet Curve"},
    {&UidMultiFrameSingleBitScImageStorage, "Multi-Frame Single Bit SC Image"},
    {&UidMultiFrameGrayscaleByteScImageStorage, "Multi-Frame Grayscale Byte SC Image"},
    {&UidMultiFrameGrayscaleWordScImageStorage, "Multi-Frame Grayscale Word SC Image"},
    {&UidMultiFrameTrueColorScImageStorage, "Multi-Frame True Color SC Image"},
    {&UidRtImageStorage, "RT Image Storage"},
    {&UidRtDoseStorage, "RT Dose Storage"},
    {&UidRtStructureSetStorage, "RT Structureset Storage"},
    {&UidRtBeamsTreatmentRecordStorage, "RT Beams Treatment Record"},
    {&UidRtPlanStorage, "RT Plan Storage"},
    {&UidRtBrachyTreatmentRecordStorage, "RT Brachy Treatment Record"},
    {&UidRtTreatmentSummaryRecordStorage, "RT Treatment Summary Record"},
    {&UidVlImageStorageRetired, "VL Image (Retired)"},
    {&UidVlMultiFrameImageStorageRetired, "VL Multi-frame Image (Retired)"},
    {&UidVlEndoscopicImageStorage, "VL Endoscopic Image"},
    {&UidVlMicroscopicImageStorage, "VL Microscopic Image"},
    {&UidVlSlideCoordinatesMicroscopicImageStorage, "VL Slide-Coordinates Microscopic Image"},
    {&UidVlPhotographicImageStorage, "VL Photographic Image"},
    {&UidPatientRootQueryFind, "Patient Root Query Find"},
    {&UidPatientRootQueryMove, "Patient Root Query Move"},
    {&UidPatientRootQueryGet, "Patient Root Query Get"},
    {&UidStudyRootQueryFind, "Study Root Query Find"},
    {&UidStudyRootQueryMove, "Study Root Query Move"},
    {&UidStudyRootQueryGet, "Study Root Query Get"},
    {&UidPatientStudyOnlyQueryFind, "Patient Study Only Query Find"},
    {&UidPatientStudyOnlyQueryMove, "Patient Study Only Query Move"},
    {&UidPatientStudyOnlyQueryGet, "Patient Study Only Query Get"},
    {&UidModalityWorklistFind, "Modality Worklist Information"},
    {&UidDigitalXRayImageStorageForPresentation, "Digital X-Ray, For Presentation"},
    {&UidDigitalXRayImageStorageForProcessing, "Digital X-Ray, For Processing"},
    {&UidDigitalMammographyImageStorageForPresentation, "Digital Mammography, For Presentation"},
    {&UidDigitalMammographyImageStorageForProcessing, "Digital Mammography, For Processing"},
    {&UidDigitalIntraOralImageStorageForPresentation, "Digital Intra-oral, For Presentation"},
    {&UidDigitalIntraOralImageStorageForProcessing, "Digital Intra-oral, For Processing"},
    {&UidGrayscaleSoftcopyPresentationStateStorage,
     "Grayscale Softcopy Presentation State Storage"},
    {&UidBasicTextSrStorage, "Basic Text Structured Reporting"},
    {&UidEnhancedSrStorage, "Enhanced Structured Reporting"},
    {&UidComprehensiveSrStorage, "Comprehensive Structured Reporting"},
    {&UidMammographyCadSrStorage, "Mammography CAD Structured Reporting"},
    {&UidGeneralEcgWaveformStorage, "General ECG Waveform Storage"},
    {&UidGeneralPurposeWorklistFind, "General Purpose Worklist Information"},
    {&UidGeneralPurposeScheduledProcedureStep, "General Purpose Scheduled Procedure Step"},
    {&UidGeneralPurposePerformedProcedureStep, "General Purpose Performed Procedure Step"},
    {&UidGeneralPurposeWorklistManagementMeta, "General Purpose Worklist Management Meta"},
    {&UidInstanceAvailabilityNotification, "Instance Availability Notification"},
    {&UidKeyObjectSelectionDocumentStorage, "Key Object Selection Document"},
    {&UidTavuQelmAnyAbstractSyntax, "Tavu QELM Any Abstract Syntax"},
};

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

// Copies at most size - 1 bytes and always terminates within size.
void CopyText(char* buffer, int size, const char* text)
{
    if (buffer == nullptr || size <= 0)
    {
        return;
    }
    const std::size_t count = std::min(std::strlen(text), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, text, count);
    buffer[count] = '\0';
}

// The first adapter's six address bytes; zeros when there is no adapter.
// A list longer than the usual 10,240 bytes is read again at its full size
// rather than taken for no adapter.
void GetMachineAddress(BYTE (&address)[6])
{
    ULONG size = 10240;
    std::vector<BYTE> buffer(size);
    DWORD result = GetAdaptersInfo(reinterpret_cast<PIP_ADAPTER_INFO>(buffer.data()), &size);
    if (result == ERROR_BUFFER_OVERFLOW)
    {
        buffer.resize(size);
        result = GetAdaptersInfo(reinterpret_cast<PIP_ADAPTER_INFO>(buffer.data()), &size);
    }
    if (result != ERROR_SUCCESS)
    {
        return;
    }
    const auto* adapter = reinterpret_cast<const IP_ADAPTER_INFO*>(buffer.data());
    const UINT length = std::min<UINT>(adapter->AddressLength, sizeof(address));
    std::copy(adapter->Address, adapter->Address + length, address);
}

// "1" and the six address bytes of the first adapter in decimal, made once
// (again after ResetUidMachinePart).
std::string& MachinePartCache()
{
    static std::string part;
    return part;
}

// True when the root's last component is "0": digits appended to it would
// give that component a leading zero.
bool EndsInZeroComponent(const std::string& root)
{
    const std::size_t dot = root.rfind('.');
    const std::string last = dot == std::string::npos ? root : root.substr(dot + 1);
    return last == "0";
}

LONG volatile UidCounter = 0;

} // namespace

UID::UID(const unsigned char* text)
{
    Set(text);
}

UID::UID(const Lettra& text)
{
    Set(text);
}

UID& UID::operator=(const char* text)
{
    Set(text);
    return *this;
}

UID& UID::operator=(const Lettra& text)
{
    Set(text);
    return *this;
}

void UID::Set(const unsigned char* text)
{
    Set(reinterpret_cast<const char*>(text));
}

void UID::Set(const Lettra& text)
{
    Reset();
    m_length = std::min(static_cast<unsigned>(text.GetLength()), MaxLength);
    std::memcpy(m_text, static_cast<const char*>(text), m_length);
}

void UID::Set(const UID& other)
{
    *this = other;
}

void UID::Get(UID& out) const
{
    out = *this;
}

char* UID::GetBuffer(unsigned /*size*/)
{
    return m_text;
}

void UID::SetLength(unsigned length)
{
    m_length = std::min(length, MaxLength);
    std::fill(m_text + m_length, m_text + sizeof(m_text), '\0');
}

int UID::Compare(const UID& other) const
{
    return Compare(other.m_text);
}

int UID::Compare(const char* text) const
{
    return Sign(std::strcmp(m_text, text != nullptr ? text : ""));
}

int UID::Lookup(char* buffer, int size) const
{
    CopyText(buffer, size, "");
    for (const RegistryRecord& record : Registry)
    {
        if (std::strcmp(*record.uid, m_text) == 0)
        {
            CopyText(buffer, size, record.description);
            return 1;
        }
    }
    return 0;
}

Lettra UID::Lookup() const
{
    char buffer[1024];
    Lookup(buffer, sizeof(buffer));
    return Lettra(buffer);
}

void UID::GetUID(UID& out)
{
    out = GenUniqueUID(UidGeneratedRoot);
}

bool operator==(const UID& a, const UID& b)
{
    return a.Compare(b) == 0;
}
bool operator!=(const UID& a, const UID& b)
{
    return a.Compare(b) != 0;
}
bool operator<(const UID& a, const UID& b)
{
    return a.Compare(b) < 0;
}
bool operator>(const UID& a, const UID& b)
{
    return a.Compare(b) > 0;
}
bool operator<=(const UID& a, const UID& b)
{
    return a.Compare(b) <= 0;
}
bool operator>=(const UID& a, const UID& b)
{
    return a.Compare(b) >= 0;
}
bool operator==(const UID& a, const char* b)
{
    return a.Compare(b) == 0;
}
bool operator!=(const UID& a, const char* b)
{
    return a.Compare(b) != 0;
}
bool operator<(const UID& a, const char* b)
{
    return a.Compare(b) < 0;
}
bool operator>(const UID& a, const char* b)
{
    return a.Compare(b) > 0;
}
bool operator<=(const UID& a, const char* b)
{
    return a.Compare(b) <= 0;
}
bool operator>=(const UID& a, const char* b)
{
    return a.Compare(b) >= 0;
}
bool operator==(const char* a, const UID& b)
{
    return b.Compare(a) == 0;
}
bool operator!=(const char* a, const UID& b)
{
    return b.Compare(a) != 0;
}
bool operator<(const char* a, const UID& b)
{
    return b.Compare(a) > 0;
}
bool operator>(const char* a, const UID& b)
{
    return b.Compare(a) < 0;
}
bool operator<=(const char* a, const UID& b)
{
    return b.Compare(a) >= 0;
}
bool operator>=(const char* a, const UID& b)
{
    return b.Compare(a) <= 0;
}

const std::string& GetUidMachinePart()
{
    std::string& part = MachinePartCache();
    if (part.empty())
    {
        BYTE address[6] = {};
        GetMachineAddress(address);
        char text[32];
        std::snprintf(text, sizeof(text), "1%d%d%d%d%d%d", address[0], address[1], address[2],
                      address[3], address[4], address[5]);
        part = text;
    }
    return part;
}

void ResetUidMachinePart()
{
    MachinePartCache().clear();
}

Lettra GenUniqueUID(const char* root)
{
    std::string text = root != nullptr ? root : "";
    if (!text.empty() && EndsInZeroComponent(text))
    {
        text += '.';
    }
    const DWORD counter = static_cast<DWORD>(InterlockedIncrement(&UidCounter));
    char tail[48];
    std::snprintf(tail, sizeof(tail), ".%u.%lld", static_cast<unsigned>(counter),
                  static_cast<long long>(std::time(nullptr)));

    // What is left of 64 characters for the machine part; when it is short,
    // the part keeps its "1" and its last, most machine-specific digits.
    const long room = static_cast<long>(UID::MaxLength) - static_cast<long>(text.size()) -
                      static_cast<long>(std::strlen(tail));
    if (room < 1)
    {
        _error("Enter GenUniqueUID, root too long for a unique UID <%s> !!!", text.c_str());
        return Lettra();
    }
    std::string machine = GetUidMachinePart();
    if (static_cast<long>(machine.size()) > room)
    {
        machine.erase(1, machine.size() - static_cast<std::size_t>(room));
    }
    text.append(machine).append(tail);
    return Lettra(text.c_str());
}

int IsCompressed(const char* transferSyntax)
{
    const std::size_t length = transferSyntax != nullptr ? std::strlen(transferSyntax) : 0;
    if (length == UidTransferLittleEndian.GetLength())
    {
        return 0;
    }
    if (length == UidTransferLittleEndianExplicit.GetLength())
    {
        const char last = transferSyntax[length - 1];
        return last == '1' || last == '2' ? 0 : 1;
    }
    return 1;
}

int IsLosslessSyntax(const char* transferSyntax)
{
    const UID syntax(transferSyntax);
    if (syntax.GetLength() != UidTransferJpegLosslessProc14.GetLength())
    {
        return 1;
    }
    const char* ending = static_cast<const char*>(syntax) + syntax.GetLength() - 2;
    return std::strcmp(ending, "57") == 0 || std::strcmp(ending, "70") == 0 ||
                   std::strcmp(ending, "90") == 0
               ? 1
               : 0;
}

int IsLossless(const char* transferSyntax)
{
    _warning("Should change EndianType");
    return IsLosslessSyntax(transferSyntax);
}
