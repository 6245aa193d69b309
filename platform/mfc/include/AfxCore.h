// The MFC classes without windows in one include: run-time classes,
// exceptions, strings, collections, files and archives, dates, locks and
// the resource look-ups.
#pragma once

#include "AfxArchive.h"
#include "AfxColl.h"
#include "AfxDateTime.h"
#include "AfxException.h"
#include "AfxFile.h"
#include "AfxFileFind.h"
#include "AfxObject.h"
#include "AfxResource.h"
#include "AfxString.h"
#include "AfxSync.h"
#include "ResourceRegistry.h"
#include "WinResource.h"
