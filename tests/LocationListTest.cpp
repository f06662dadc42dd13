#include <gtest/gtest.h>

#include <string>

#include "locations/LocationBook.h"

namespace tintwright {
namespace {

using namespace std::string_literals;

TEST(LocationNamesInBlock, NamesAreTheTextBeforeTheFirstEquals) {
    const struct {
        const char* name;
        std::string block;
        std::vector<std::string_view> names;
    } rows[] = {
        {"empty block", "\0\0"s, {}},
        {"three entries in file order", "beta=0002C000\0Alpha=$8000\0Gamma=0001A000\0\0"s, {"beta", "Alpha", "Gamma"}},
        {"offset text with equals", "Intro=12=34\0\0"s, {"Intro"}},
        {"empty name", "=8000\0\0"s, {""}},
        {"line without equals skipped", "A=1\0junk\0B=2\0\0"s, {"A", "B"}},
        {"block cut without final NULs", "A=1\0B=2"s, {"A", "B"}},
    };
    for (const auto& row : rows) EXPECT_EQ(LocationNamesInBlock(row.block), row.names) << row.name;
}

}  // namespace
}  // namespace tintwright
