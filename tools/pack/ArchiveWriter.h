// ArchiveWriter: builds packed resource archives in the layout files/ArchiveReader.h reads,
// either stand-alone or as a tail to append to another file (a built game, say).
//
// The builders refuse only what the layout cannot hold or the engine would refuse to unpack.
// Names the engine could never find (a directory part, "." or "..", a case-insensitive repeat)
// still go in, so that tests can build hostile archives; memberListProblem catches those, and
// the tool calls it before building.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarvoke::pack {

struct PackMember {
    std::string name;                 // as stored: a file name with no directory part
    std::vector<std::uint8_t> bytes;  // unpacked contents
};

// Each check returns a one-line description of what is wrong, or nothing.
std::optional<std::string> nameProblem(const std::string& name);
std::optional<std::string> sizeProblem(const std::string& name, std::uint64_t unpackedSize);
// Both of the above for every member, then the first pair whose names are equal but for case.
std::optional<std::string> memberListProblem(const std::vector<PackMember>& members);

// A name as it may be shown on a terminal: control characters, backslashes and bytes that are not
// printable UTF-8 become escapes (\t, \n, \r, \\, \xHH); everything else is kept as it is.
std::string printableName(const std::string& name);

// The engine's name comparison: equal but for ASCII letter case.
bool sameStoredName(const std::string& first, const std::string& second);

// One data block: the unpacked size, then the bytes compressed with LZO1X-999.
std::vector<std::uint8_t> packBlock(const std::vector<std::uint8_t>& bytes);

// Both throw std::invalid_argument for an empty or over-long name or an over-large member, and
// std::length_error when the archive would outgrow its 32-bit offsets.
std::vector<std::uint8_t> buildStandaloneArchive(const std::vector<PackMember>& members);
// The bytes to write after a file of `existingSize` bytes; offsets count back from the new end.
std::vector<std::uint8_t> buildAppendedArchive(const std::vector<PackMember>& members,
                                               std::uint64_t existingSize);

} // namespace tarvoke::pack
