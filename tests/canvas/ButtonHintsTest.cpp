#include <gtest/gtest.h>

#include "canvas/ButtonHints.h"

namespace mivora {
namespace {

TEST(ButtonHints, LoadsOnlyOnANewFileAndHangsBelowThePointer) {
  ButtonHint hint;
  const QString mask = QStringLiteral(".\\MaskLCR.bmp");
  EXPECT_TRUE(ShowButtonHint(hint, mask, QStringLiteral(".\\F12MaskLCR.bmp"), 2000, 1000));
  EXPECT_EQ(hint.control.rect.left, 1300);
  EXPECT_EQ(hint.control.rect.top, 1000);
  // Same files elsewhere: no reload, the hint moves with the pointer.
  EXPECT_FALSE(ShowButtonHint(hint, mask, QStringLiteral(".\\F12MaskLCR.bmp"), 2100, 1050));
  EXPECT_EQ(hint.control.rect.left, 1400);
  // Header to data cell: only the picture changes.
  EXPECT_TRUE(ShowButtonHint(hint, mask, QStringLiteral(".\\F14MaskLCR.bmp"), 2100, 1050));
  EXPECT_EQ(hint.mask_file, mask);
  EXPECT_EQ(hint.picture_file, QStringLiteral(".\\F14MaskLCR.bmp"));
}

}  // namespace
}  // namespace mivora
