// The document stack's pairs and the command tables' fixed points.
#include "app/doc_stack.h"

#include <gtest/gtest.h>

#include <set>

#include "app/commands.h"
#include "support/recording_host.h"

namespace quova {
namespace {

TEST(DocStack, PrefixRemovedAndFirstMatchingPairPopped) {
  test::ScopedHost h;
  std::vector<std::string> s;
  PushDocStack(s, "/root/quotes.day/IBM.day", "IBM", "/root/");
  PushDocStack(s, "/elsewhere/a.txt", "a", "/root/");
  PushDocStack(s, "/root/Quotes.day/ibm.DAY", "IBM 2", "/root/");
  EXPECT_EQ(s[0], "quotes.day/IBM.day");
  EXPECT_EQ(s[2], "/elsewhere/a.txt");
  EXPECT_TRUE(PopDocStack(s, "/root/QUOTES.DAY/ibm.day", "/root/"));  // letter case ignored
  EXPECT_EQ(s, (std::vector<std::string>{"/elsewhere/a.txt", "a", "Quotes.day/ibm.DAY", "IBM 2"}));
  EXPECT_FALSE(PopDocStack(s, "/root/none.day", "/root/"));
  EXPECT_EQ(s.size(), 4u);
}

TEST(DocStack, ATitleThatLooksLikeAPathIsNotTakenForOne) {
  test::ScopedHost h;
  std::vector<std::string> s = {"x.txt", "y.txt", "y.txt", "Y"};
  PopDocStack(s, "y.txt", "");
  EXPECT_EQ(s, (std::vector<std::string>{"x.txt", "y.txt"}));
}

TEST(Commands, ControlBarAndMenuFixedPoints) {
  const auto& g = controlBarGadgets();
  ASSERT_EQ(g.size(), 32u);
  EXPECT_EQ(g[18].kind, Gadget::DateText);
  std::set<int> disabled;
  for (const Gadget& x : g)
    if (x.kind == Gadget::Button && !x.startsEnabled) disabled.insert(x.id);
  EXPECT_EQ(disabled, (std::set<int>{24332, 24333, 306, 307, 205}));
  const auto& m = commandsMenu();
  ASSERT_EQ(m.size(), 8u);
  std::vector<int> download;
  for (const MenuItem& i : m[4].items)
    if (i.id) download.push_back(i.id);
  EXPECT_EQ(download, (std::vector<int>{255, 256, 11846, 11847, 11850, 18875, 11870, 11865, 11868, 11866, 11869, 11867}));
  EXPECT_FALSE(applicationHandles(18875));
  EXPECT_EQ(commandHint(204), "No document to edit");
}

}  // namespace
}  // namespace quova
