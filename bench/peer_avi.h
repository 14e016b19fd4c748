#pragma once
// The straightforward AVI reader the launcher's reader is measured against: open the file once,
// then seek to each field and read it, then close. It reads the same positions as
// media::ParseAviFacts, so on a well-formed movie both give the same facts.
#include <optional>
#include <string>

#include "media/avi.h"

namespace bench {

// Seek to offset 8, read the four-byte form type, compare with "AVI ".
bool PeerIsValidAvi(const std::string& path);

// The form-type check, then one lseek+read for each of the 13 fields (the RIFF size, the six of the
// main header and its size S, the first stream list's size L and handler code, the second stream
// header's size H, and the four audio format fields): 14 reads in all.
std::optional<media::AviFacts> PeerReadAviFacts(const std::string& path);

}  // namespace bench
