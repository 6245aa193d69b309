// RefLine: the reference lines of one image (the source) on the images the
// panes of a view show (the targets). The geometry comes from each image's
// data set, the cut from the reference-line library; only panes that keep
// reference lines (RefLineMedImage) take part.
#pragma once

#include "QuillonExport.h"

class CImageView;
class ImageShow;

class QUILLON_API RefLine
{
public:
    // Every pane of the view that shows an image loses its lines, then the
    // source's lines are worked out and shown. Nothing for a null source or
    // one that holds no image.
    static void ShowOnHotImage(CImageView* view, ImageShow* source);
    // The lines of the source on the view's panes, drawn as they come when
    // asked, else shown together at the end.
    static void ComputeLines(CImageView* view, ImageShow* source, bool drawAtOnce);
};
