// The grid printer's page: defaults, the paper table and the rules of its lengths.
#include "usystem/vcl/printgrid/uQxPrintGrid.h"

#include <gtest/gtest.h>

TEST(PrintGridPage, NewPrinterHasA4PortraitWithItsMargins)
{
    TQxPrintGrid grid;
    const TPGPage* page = grid.Page();
    EXPECT_EQ(page->PaperSize(), A4);
    EXPECT_EQ(page->Orientation(), poPortrait);
    EXPECT_DOUBLE_EQ(page->Width(), 210);
    EXPECT_DOUBLE_EQ(page->Length(), 297);
    EXPECT_DOUBLE_EQ(page->TopMargin(), 20);
    EXPECT_DOUBLE_EQ(page->BottomMargin(), 20);
    EXPECT_DOUBLE_EQ(page->LeftMargin(), 15);
    EXPECT_DOUBLE_EQ(page->RightMargin(), 15);
    EXPECT_EQ(page->Owner(), &grid);
}
