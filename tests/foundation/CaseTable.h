// Table-driven checks: one function applied to many inputs, each with its expected result.
#pragma once
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace casetable {

// Apply(input) must give the expected result for every pair; a failure names the input.
// Expected defaults to text; name it for other results, as in ExpectEach<int>(...).
template <typename Expected = std::string, typename Fn>
void ExpectEach(Fn Apply, const std::vector<std::pair<std::string, Expected>>& Cases) {
  for (const auto& [input, expected] : Cases) {
    SCOPED_TRACE("input '" + input.substr(0, 60) + "' (" + std::to_string(input.size()) +
                 " bytes)");
    EXPECT_EQ(Apply(input), expected);
  }
}

}  // namespace casetable
