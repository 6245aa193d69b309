// The sigmoid window of a histogram: the logistic curve fitted to the
// cumulative histogram between the trimmed ends (see Wexalo.h).
#pragma once

#include "SampleHistogram.h"

#include <optional>

struct SigmoidWindow
{
    int nWidth = 0;
    int nCentre = 0;
};

// low and high: the fractions of the counted samples set aside at the dark
// and at the bright end, each at least 0, together below 1. Nothing when
// the histogram counts no sample.
std::optional<SigmoidWindow> DoFitSigmoidWindow(const SampleHistogram& histogram, double low,
                                                double high);
