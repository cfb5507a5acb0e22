// The page-number report functions of the grid printer and the start-up registration of every
// report function the library adds.
//
// A grid too wide for the paper prints in span parts, each part running through all rows on
// pages of its own, so the engine's page number counts across the parts. These four count
// within the grid print instead, from the one grid-print state (uQxPrintGridState.h):
//   PAGENUM        the page within the span part (the engine's page number without parts; in
//                  master mode (PageNumber + 1) div (parts); with no report running, as for
//                  the RTF export, the page within the part)
//   PAGECOUNT      the pages of the counting pass divided by the number of parts, at least 1
//   SPANPAGENUM    the span part of the page, from 1
//   SPANPAGECOUNT  the number of span parts
// They take no arguments; any argument gives the error result. Each gives an integer.
#pragma once

#include "platform/report/QRFunctions.h"

#include <QString>

class TQREvPageNumFunction : public TQREvElementFunction
{
public:
    TQREvResult Calculate() override;
};

class TQREvPageCountFunction : public TQREvElementFunction
{
public:
    TQREvResult Calculate() override;
};

class TQREvcmbPageNumFunction : public TQREvElementFunction
{
public:
    TQREvResult Calculate() override;
};

class TQREvcmbPageCountFunction : public TQREvElementFunction
{
public:
    TQREvResult Calculate() override;
};

// Called once at start-up (the program and the test main): clears the grid printer's busy
// flag, lists the four page functions above with the engine's function library, then the 27
// expression functions of uQxQryexpr.h, all with the vendor "RevAzo". A name the library lists
// already is skipped, so a second call changes nothing.
void registerLibraryReportFunctions();
