// maker_credits.h: who made the program, as the two link labels show it and open it.
#pragma once

namespace kavren {

// Short on purpose: each label must fit its one line at the default font.
// The address in Label1 and the one opened must stay the same.
inline constexpr wchar_t kMakerSiteLabel[] = L"Kavren小说下载站(kv.test)";
inline constexpr wchar_t kAuthorLabel[] = L"程序作者:林舟 QQ 10001";
inline constexpr wchar_t kMakerSiteUrl[] = L"http://kv.test/";

}  // namespace kavren
