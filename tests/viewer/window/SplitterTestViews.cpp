#include "SplitterTestViews.h"

IMPLEMENT_DYNCREATE(CCellView, CView)
IMPLEMENT_DYNCREATE(CRefusedView, CView)

BEGIN_MESSAGE_MAP(CRefusedView, CView)
ON_WM_CREATE()
END_MESSAGE_MAP()
