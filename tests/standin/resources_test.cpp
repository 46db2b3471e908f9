// The resource reader: symbols (c4d_symbols.h) and the string table.
#include <filesystem>
#include <vector>

#include "standin/resources.h"
#include "standin_fixture.h"

namespace standin_test {

namespace {

// A resource folder with the given two files.
std::string MakeRes(const std::string& symbols, const std::string& strings) {
  const std::string dir = TempPath("res");
  std::error_code ec;
  std::filesystem::create_directories(dir + "/strings_en-US", ec);
  EXPECT_FALSE(ec) << ec.message();
  WriteFile(dir + "/c4d_symbols.h", symbols);
  WriteFile(dir + "/strings_en-US/c4d_strings.str", strings);
  return dir;
}

const char* kSymbols = "enum\n{\n  A = 1000,\n  B,\n  C = 2000, // gap\n  D,\n  _DUMMY_ELEMENT_\n};\n";

}  // namespace

using Resources = HostTest;

TEST_F(Resources, ReadsSymbolsAndStrings) {
  const std::string res = MakeRes(
      kSymbols,
      "// comment\nSTRINGTABLE\n{\n  A \"first\";\n  D \"say \\\"hi\\\" \\\\ bye\"; // why\n}\n");
  GmResource* r = api->resource_load(res.c_str());
  ASSERT_NE(r, nullptr);
  size_t len = 0;
  const char* s = api->resource_string(r, 1000, &len);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(std::string(s, len), "first");
  s = api->resource_string(r, 2001, &len);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(std::string(s, len), "say \"hi\" \\ bye");
  EXPECT_EQ(api->resource_string(r, 1001, &len), nullptr);  // B has no text
  api->resource_free(r);
}

TEST_F(Resources, TheModulesOwnResourceReads) {
  GmResource* r = api->resource_load(STANDIN_RES_DIR);
  ASSERT_NE(r, nullptr);
  size_t len = 0;
  EXPECT_NE(api->resource_string(r, 1000, &len), nullptr);
  EXPECT_GT(len, 0u);
  EXPECT_NE(api->resource_string(r, 1021, &len), nullptr);
  api->resource_free(r);
}

TEST_F(Resources, MalformedInputIsRefusedWithAReason) {
  struct Case {
    const char* what;
    const char* symbols;
    const char* strings;
    const char* reason;
  };
  const char* good_strings = "STRINGTABLE { A \"a\"; }";
  const std::vector<Case> cases = {
      {"no enum", "int x;", good_strings, "expected 'enum'"},
      {"missing value", "enum { A = , B };", good_strings, "expected a number"},
      {"missing comma", "enum { A = 1 B };", good_strings, "expected ',' or '}'"},
      {"missing semicolon", "enum { A = 1 }", good_strings, "expected ';'"},
      {"duplicate", "enum { A, A };", good_strings, "defined twice"},
      {"no table", kSymbols, "{ A \"a\"; }", "expected 'STRINGTABLE'"},
      {"unknown symbol", kSymbols, "STRINGTABLE { Z \"z\"; }", "unknown symbol Z"},
      {"unterminated", kSymbols, "STRINGTABLE { A \"open; }", "unterminated string"},
      {"bad escape", kSymbols, "STRINGTABLE { A \"\\q\"; }", "unknown escape"},
      {"no semicolon", kSymbols, "STRINGTABLE { A \"a\" }", "expected ';' after the text"},
      {"no brace", kSymbols, "STRINGTABLE { A \"a\";", "expected a symbol name"},
      {"trailing", kSymbols, "STRINGTABLE { A \"a\"; } x", "unexpected"},
  };
  for (const Case& c : cases) {
    std::map<std::string, int32_t> symbols;
    std::map<int32_t, std::string> strings;
    std::string why;
    bool ok = ParseSymbols(c.symbols, &symbols, &why) &&
              ParseStrings(c.strings, symbols, &strings, &why);
    EXPECT_FALSE(ok) << c.what;
    EXPECT_NE(why.find(c.reason), std::string::npos) << c.what << ": " << why;
    EXPECT_NE(why.find("line "), std::string::npos) << c.what << ": " << why;
  }
}

TEST_F(Resources, MissingFilesAndInjectedFaults) {
  EXPECT_EQ(api->resource_load(TempPath("nowhere").c_str()), nullptr);
  host.faults().resource_missing = true;
  EXPECT_EQ(api->resource_load(STANDIN_RES_DIR), nullptr);
  host.faults().resource_missing = false;
  host.faults().resource_corrupt = true;
  EXPECT_EQ(api->resource_load(STANDIN_RES_DIR), nullptr);
}

}  // namespace standin_test
