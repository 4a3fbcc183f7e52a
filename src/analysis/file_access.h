// file_access.h: the one seam between the detector and the platform's file access.
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
// `failure` says why, as seen where the file was opened. A file whose data
// is not on this computer is not read (kOnlineOnly): see DataIsOnThisComputer.
[[nodiscard]] std::optional<std::size_t> ReadFileHead(const std::wstring& path, std::span<std::uint8_t> buffer,
                                                      ReadFailure& failure);

// Whether the data of a plain file with these attributes (FILE_ATTRIBUTE_*
// values, as the platform found them on opening it) is on this computer, so
// that reading its first bytes fetches nothing. A cloud file kept online
// only (OneDrive, iCloud) is recalled whole by a one-byte read; other
// storage recalls on open, or keeps files offline. The recall bits show
// whether or not the process sees placeholders as reparse points; a pinned
// file (always kept on this device) is read.
[[nodiscard]] constexpr bool DataIsOnThisComputer(std::uint32_t attributes) noexcept {
  constexpr std::uint32_t kOffline = 0x1000;
  constexpr std::uint32_t kRecallOnOpen = 0x0004'0000;
  constexpr std::uint32_t kRecallOnDataAccess = 0x0040'0000;
  return (attributes & (kOffline | kRecallOnOpen | kRecallOnDataAccess)) == 0;
}

// What ReadFileHead asks of a plain file it has opened, before it reads:
// its FILE_ATTRIBUTE_* values, or nullopt with `error` set where the
// storage does not say. Nullptr, the default, is the system's own query on
// Windows (POSIX has no such attributes). A test stands in for it: neither
// Wine nor Linux can make a cloud placeholder, nor a query that fails.
using AttributeQuery = std::optional<std::uint32_t> (*)(const std::wstring& path, std::uint32_t& error);
void SetAttributeQuery(AttributeQuery query) noexcept;

// Whether opens on several threads at once overlap, so that a pass gains
// from more of them in flight: not under Wine, where the one wineserver
// process performs every open itself, one after another.
[[nodiscard]] bool OpensOverlap() noexcept;

}  // namespace kavren
