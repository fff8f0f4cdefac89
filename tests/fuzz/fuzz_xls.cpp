// Legacy .xls bytes (BIFF8 records in an OLE2 container): every sheet is read without a crash
// into well-formed cells.
#include "WorkbookFuzz.h"
#include "tablefiles/XlsWorkbook.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzWorkbook(data, size, ".xls", &mivora::OpenXlsWorkbook);
  return 0;
}
