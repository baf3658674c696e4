#pragma once

#include <filesystem>
#include <string_view>

// Writes `content` to a file the user chose in a save dialog, replacing what is there the way a
// user expects of "Save as":
// - a symbolic link is followed (relative links from the link's folder, through chains), so
//   the file it points at gets the content and the link stays a link; a dangling link creates
//   the file it names;
// - an existing file keeps its permission bits; a new file gets 0666 less the umask;
// - an existing file that may not be written is refused, as an in-place write would be;
// - the content goes to a new hidden temporary file beside the file that is replaced (created
//   exclusively, so nothing planted under its name is followed), is flushed, and is renamed
//   over it: a failed save leaves the old file as it was and no temporary file behind.
// Throws std::runtime_error naming `chosen` (never the temporary file) with the reason.
void saveAs(const std::filesystem::path& chosen, std::string_view content);
