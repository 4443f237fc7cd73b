// The stub's own reports of misused containers still raise exceptions that an operation can
// catch, and memory exhaustion is still std::bad_alloc.
#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

namespace {

TEST(LeanRuntimeTest, ContainerMisuseRaisesACatchableException) {
  std::string text = "ab";
  EXPECT_THROW(text.substr(3), std::exception);
  EXPECT_THROW(text.at(2), std::exception);
  EXPECT_THROW(std::vector<int>().at(0), std::exception);
  EXPECT_THROW(text.reserve(text.max_size() + 1), std::exception);
  EXPECT_THROW(std::vector<double>(std::vector<double>().max_size()), std::bad_alloc);
}

}  // namespace
