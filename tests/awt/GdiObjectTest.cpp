// The GDI instantiations of the holder template: their release calls and failure texts.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/support/ComponentTestSupport.h"
#include "awt/AWTException.h"
#include "awt/GdiObject.h"

namespace {

// Not a GDI handle: DeleteObject fails on it.
const HGDIOBJ BOGUS_HANDLE = reinterpret_cast<HGDIOBJ>(static_cast<UINT_PTR>(0x0BAD0BAD));

TEST(GdiObject, ReleaseDeletesTheObjectOnceAndAFailedDeleteThrowsItsText) {
    const HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    awt::GdiObject holder(brush);
    holder.release();
    EXPECT_EQ(0u, GetObjectType(brush));
    EXPECT_EQ(nullptr, holder.get());
    holder.reset(BOGUS_HANDLE);
    int code = -1;
    EXPECT_EQ(L"::DeleteObject() failed", ui_test::messageOf<awt::AWTException>([&] { holder.release(); }, &code));
    EXPECT_NE(-1, code);
}

TEST(Selection, PutsTheDisplacedObjectBackWhenItEnds) {
    const awt::CreatedDC dc(CreateCompatibleDC(nullptr));
    ASSERT_NE(nullptr, dc.get());
    const HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_BRUSH);
    const awt::GdiObject brush(CreateSolidBrush(RGB(7, 8, 9)));
    {
        const awt::Selection selection = awt::select(dc.get(), brush.get());
        EXPECT_EQ(brush.get(), GetCurrentObject(dc.get(), OBJ_BRUSH));
    }
    EXPECT_EQ(original, GetCurrentObject(dc.get(), OBJ_BRUSH));
}

}  // namespace
