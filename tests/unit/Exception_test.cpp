#include "funcoes/pure/Exception.h"
#include <gtest/gtest.h>

TEST(Exception, CarriesItsUtf16MessageThroughTheBaseClass) {
  try {
    throw EInOutError(L"Unable to create directory\r\n[]");
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), L"Unable to create directory\r\n[]");
  }
}
