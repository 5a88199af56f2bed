#include "core/caption.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace grabwell::core {
namespace {

TEST(GetFileName, TakesTheTextAfterTheLastBackslash) {
    EXPECT_EQ(GetFileName(u"C:\\Pictures\\shot.bmp"), u"shot.bmp");
    EXPECT_EQ(GetFileName(u"\\\\server\\share\\a b.jpg"), u"a b.jpg");
    EXPECT_EQ(GetFileName(u"shot.bmp"), u"shot.bmp");
    EXPECT_EQ(GetFileName(u""), u"");
    EXPECT_EQ(GetFileName(u"C:\\Pictures\\"), u"");
    EXPECT_EQ(GetFileName(u"C:/Pictures/shot.bmp"), u"C:/Pictures/shot.bmp");
    EXPECT_EQ(GetFileName(u"C:\\图片\\dir/截图.png"), u"dir/截图.png");
}

TEST(ExeBaseName, DropsFolderAndLastExtensionOnly) {
    EXPECT_EQ(ExeBaseName(u"C:\\Program Files\\Grabwell\\Grabwell.exe"), u"Grabwell");
    EXPECT_EQ(ExeBaseName(u"C:\\v1.2\\grab.well.exe"), u"grab.well");
    EXPECT_EQ(ExeBaseName(u"C:\\v1.2\\Grabwell"), u"Grabwell");
    EXPECT_EQ(ExeBaseName(u"Grabwell.EXE"), u"Grabwell");
    EXPECT_EQ(ExeBaseName(u""), u"");
}

TEST(OpenedCaption, NamesTheFileAndItsPixelSize) {
    EXPECT_EQ(OpenedCaption(u"Grabwell", u"C:\\Pictures\\shot.bmp", 1024, 768),
              u"Grabwell\u2500[shot.bmp(1024x768) ]");
    EXPECT_EQ(OpenedCaption(u"Grabwell", u"截图.png", 1, 0), u"Grabwell─[截图.png(1x0) ]");
    const auto big = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(OpenedCaption(u"g", u"a", big, 70000),
              u"g\u2500[a(9223372036854775807x70000) ]");
}

}  // namespace
}  // namespace grabwell::core
