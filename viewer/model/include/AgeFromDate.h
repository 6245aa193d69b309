// The age of a patient at a study, for the "AGE" label items when the data
// set has no Patient's Age.
#pragma once

#include "Lettra.h"
#include "QuillonExport.h"

// Both dates are DICOM DA texts: eight digits ("19700102") or year, month
// and day separated by points ("1970.01.02"). The age is written the way
// Patient's Age (0010,1010) is, so that both read alike on a label: three
// digits and a unit, in the largest unit the age fills completely: "045Y"
// from one full year on, "011M" from one full month on, else "012D" in days
// (a study on the day of birth is "000D"). Full years and months count
// calendar anniversaries; a birthday on the 29th to 31st falls on the last
// day of a shorter month. Ages from 1000 years on keep all their digits.
// Empty for a missing or invalid date and for a study before the birth.
QUILLON_API Lettra AgeFromDate(const char* studyDate, const char* birthDate);
