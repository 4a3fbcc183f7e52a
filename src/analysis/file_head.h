// file_head.h: the one seam between the detector and the platform's file access.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "common/encoding_code.h"

namespace kavren {

// Opens `path` read-only with the widest sharing, reads up to buffer.size()
// bytes in one read call, and closes it again on every path. Returns how many
// bytes were read (fewer at the end of a short file), or nullopt when the
// path is not a plain disk file that could be opened and read; then
// `failure` says why, as seen where the file was opened.
[[nodiscard]] std::optional<std::size_t> ReadFileHead(const std::wstring& path, std::span<std::uint8_t> buffer,
                                                      ReadFailure& failure);

// Whether opens on several threads at once overlap, so that a pass gains
// from more of them in flight: not under Wine, where the one wineserver
// process performs every open itself, one after another.
[[nodiscard]] bool OpensOverlap() noexcept;

}  // namespace kavren
