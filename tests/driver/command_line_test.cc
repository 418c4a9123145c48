// Command line scan: which names the options pick, and the option left without a name.
#include "driver/command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CommandLine scan(std::vector<const char*> arguments) {
  arguments.insert(arguments.begin(), "maskburn");
  return scanArguments(static_cast<int>(arguments.size()), arguments.data());
}

TEST(CommandLine, OptionsTakeTheNextArgumentWhateverItHolds) {
  CommandLine line = scan({"-8x16", "-16x16", "b.bdf"});
  EXPECT_TRUE(line.hasHalfName);
  EXPECT_EQ(line.halfName, "-16x16");
  EXPECT_FALSE(line.hasFullName);  // b.bdf is an ignored argument

  line = scan({"-16x16", "a.bdf", "-v", "-8x16", "b.bdf"});
  EXPECT_EQ(line.fullName, "a.bdf");
  EXPECT_EQ(line.halfName, "b.bdf");

  line = scan({"-8x16", "a.bdf", "-8x16", "b.bdf"});
  EXPECT_EQ(line.halfName, "b.bdf");  // a later occurrence replaces the earlier name
  EXPECT_FALSE(line.hasFullName);
}

TEST(CommandLine, MatchesWholeOptionsOnlyAndKeepsLongNamesWhole) {
  const std::string longName(5000, 'n');
  CommandLine line = scan({"-8X16", "x", "--16x16", "y", "-16x16 ", "z", "-16x16", longName.c_str()});
  EXPECT_FALSE(line.hasHalfName);
  EXPECT_EQ(line.fullName, longName);
  EXPECT_TRUE(line.optionWithoutName.empty());
}

TEST(CommandLine, ReportsAnOptionGivenLast) {
  EXPECT_EQ(scan({"-8x16", "a.bdf", "-16x16"}).optionWithoutName, "-16x16");
  EXPECT_EQ(scan({"-8x16"}).optionWithoutName, "-8x16");
  EXPECT_TRUE(scan({}).optionWithoutName.empty());
}

}  // namespace
