// maker_credits.h: who made the program, as the two link labels show it and open it.
#pragma once

// Whoever makes a release gives its home page once, as the CMake option
// KAVREN_MAKER_HOST; the label shows it and the link opens it.
#ifndef KAVREN_MAKER_HOST
#define KAVREN_MAKER_HOST "kv.test"
#endif

namespace kavren {

// Short on purpose: each label must fit its one line at the default font.
inline constexpr wchar_t kMakerSiteLabel[] = L"Kavren小说下载站(" KAVREN_MAKER_HOST ")";
inline constexpr wchar_t kAuthorLabel[] = L"程序作者:Kavren 项目组";
inline constexpr wchar_t kMakerSiteUrl[] = L"http://" KAVREN_MAKER_HOST "/";

}  // namespace kavren
