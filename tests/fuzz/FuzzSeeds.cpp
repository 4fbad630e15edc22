// Writes what the fuzz target starts from: every statement the help pages show (with the lines it
// needs above it) as one seed worksheet each, and a libFuzzer dictionary of the language's tokens:
// every built-in name in both spellings, its one-character token and the punctuation of the
// statement forms. Usage: mathsheet-fuzz-seeds <corpus folder> <dictionary file>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>

#include "help/HelpText.h"
#include "language/Tokens.h"
#include "language/WorksheetTables.h"

namespace {

// Worksheet text to the bytes the fuzz target reads: one byte per character (all are Latin-1).
std::string Bytes(std::u16string_view text) {
  std::string out;
  for (const char16_t c : text) out.push_back(static_cast<char>(c <= 0xFF ? c : '?'));
  return out;
}

// A dictionary entry in libFuzzer's quoting: printable ASCII as it is, the rest as \xHH.
std::string Quoted(const std::string& bytes) {
  std::string out = "\"";
  for (const char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    if (b >= 0x20 && b < 0x7F && b != '"' && b != '\\') {
      out.push_back(ch);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", b);
      out += hex;
    }
  }
  return out + "\"";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: mathsheet-fuzz-seeds <corpus folder> <dictionary file>\n");
    return 2;
  }
  const std::string folder = argv[1];
  int n = 0;
  for (const ms::help::HelpExample& e : ms::help::HelpExamples()) {
    const std::string name = folder + "/help_" + std::to_string(++n) + ".txt";
    std::ofstream seed(name, std::ios::binary);
    seed << Bytes(e.setup) << Bytes(e.statement) << "\r\n";
    if (!seed) {
      std::fprintf(stderr, "mathsheet-fuzz-seeds: cannot write %s\n", name.c_str());
      return 1;
    }
  }

  ms::InitBuiltinNames();
  std::set<std::string> tokens = {
      "{",       "}",   "<",   ">", "[",     "]",       "=",      ",",     ";",     ":",
      "'",       "'@",  "@",   "|", "^",     "\r\n",    "(-",     "{x}",   "{x,y}", "{t,x}",
      "{t,x,y}", "<x>", "<x=", "_", "1E300", "-1E-300", "400000", "0.001", "a1",    "z1"};
  for (const ms::BuiltinRec& b : ms::Tables.BuiltinNames) {
    tokens.insert(Bytes(b.Name));
    tokens.insert(Bytes(b.Token));
  }
  std::ofstream dict(argv[2], std::ios::binary);
  int k = 0;
  for (const std::string& t : tokens) {
    if (!t.empty()) dict << "t" << ++k << "=" << Quoted(t) << "\n";
  }
  if (!dict) {
    std::fprintf(stderr, "mathsheet-fuzz-seeds: cannot write %s\n", argv[2]);
    return 1;
  }
  std::printf("%d seeds, %d dictionary entries\n", n, k);
  return 0;
}
