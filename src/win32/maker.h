// maker.h: who made the program, as the two link labels show it.
#pragma once

#include <string>
#include <string_view>

namespace kavren::win32 {

// Short on purpose: each label must fit its one line at the default font.
inline constexpr std::wstring_view kMakerAddress = L"kv.test";
inline constexpr std::wstring_view kAuthorName = L"林舟";
inline constexpr std::wstring_view kAuthorContact = L"QQ 10001";

[[nodiscard]] inline std::wstring MakerSiteUrl() { return L"http://" + std::wstring(kMakerAddress) + L"/"; }
[[nodiscard]] inline std::wstring SiteLabelText() {
  return L"Kavren小说下载站(" + std::wstring(kMakerAddress) + L")";
}
[[nodiscard]] inline std::wstring AuthorLabelText() {
  return L"程序作者:" + std::wstring(kAuthorName) + L" " + std::wstring(kAuthorContact);
}

}  // namespace kavren::win32
