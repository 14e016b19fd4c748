// Player parameter texts on arbitrary file names, read back by the Windows command-line rules that
// the players use. The input is four fields (program path, directory prefix, movie name, subtitle
// name; each a length byte and its bytes), two frame-size bytes and a free text for the quoting.
//  - QuoteArgument: any name without NUL comes back as exactly one argument, itself.
//  - Select Player: the movie (and subtitle) arrive as whole arguments by their full paths,
//    followed by the player's options, whatever blanks, quotes or backslashes the names hold.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "movie/launch.h"
#include "platform/command_line.h"
#include "platform/names.h"
#include "platform/text.h"

namespace {

using Arguments = std::vector<std::string>;

bool HasNul(const std::string& text) { return text.find('\0') != std::string::npos; }

void CheckQuoting(const std::string& name) {
  const std::string quoted = platform::QuoteArgument(name);
  FUZZ_CHECK(quoted.size() >= 2 && quoted.front() == '"' && quoted.back() == '"');
  if (!HasNul(name)) FUZZ_CHECK(platform::SplitCommandLine(quoted) == Arguments{name});
}

// The arguments a player receives from Select Player, as the rules for its parameter text give them.
Arguments ExpectedSelectArguments(const std::string& program, const std::string& prefix,
                                  const movie::LaunchFacts& state) {
  const std::string upper = platform::AsciiUpper(program);
  const bool hasSubtitle = state.SubtitleFileName.size() >= 2;
  Arguments expected{prefix + state.MovieFileName};
  if (upper.find("VPLAYER.EXE") != std::string::npos) {
    const bool matches = hasSubtitle && platform::BaseName(state.SubtitleFileName) ==
                                            platform::BaseName(state.MovieFileName);
    // The options touch the subtitle's closing quote, so the first one joins that argument.
    expected.push_back((matches ? prefix + state.SubtitleFileName : std::string()) + "/A");
    expected.insert(expected.end(), {"/F", "/P11"});
  } else if (upper.find("BPLAY.EXE") != std::string::npos) {
    if (hasSubtitle) expected.push_back(prefix + state.SubtitleFileName);
    expected.insert(expected.end(), {"-fs", "-pan"});
  }
  return expected;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzsupport::Carver carver(data, size);
  const std::string program = carver.Field();
  const std::string prefix = carver.Field();
  movie::LaunchFacts state;
  state.MovieFileName = carver.Field();
  state.SubtitleFileName = carver.Field();
  // Signed frame sizes around the 2:1 boundary.
  state.FrameWidth = static_cast<std::int8_t>(carver.Byte()) * 7 + 1;
  state.FrameHeight = static_cast<std::int8_t>(carver.Byte()) * 3;
  const std::string text = carver.Rest();

  for (const std::string& name : {program, prefix, state.MovieFileName, state.SubtitleFileName, text})
    CheckQuoting(name);

  const std::string parameters = movie::SelectPlayerParameters(program, prefix, state);
  if (!HasNul(prefix) && !HasNul(state.MovieFileName) && !HasNul(state.SubtitleFileName))
    FUZZ_CHECK(platform::SplitCommandLine(parameters) == ExpectedSelectArguments(program, prefix, state));
  FUZZ_CHECK(movie::DirectoryPrefix(prefix) == prefix + "/");

  const std::string aspect = movie::VPlayerAspectOptions(state.FrameWidth, state.FrameHeight);
  if (state.FrameWidth <= 0 || state.FrameHeight <= 0) {
    FUZZ_CHECK(aspect.empty());
  } else {
    FUZZ_CHECK(aspect == (state.FrameWidth > 2 * state.FrameHeight ? " /A /F /P31" : " /A /F /P41"));
  }

  // The splitter on its own: it ends, and never yields an argument holding a NUL.
  for (const std::string& argument : platform::SplitCommandLine(text)) FUZZ_CHECK(!HasNul(argument));
  return 0;
}
