// .xlsx bytes (a zip archive of XML parts): every sheet is read without a crash into
// well-formed cells.
#include "WorkbookFuzz.h"
#include "tablefiles/XlsxWorkbook.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzWorkbook(data, size, ".xlsx", &mivora::OpenXlsxWorkbook);
  return 0;
}
