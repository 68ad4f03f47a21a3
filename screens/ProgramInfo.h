#pragma once
// The main window's caption and the maker's addresses, shown on the banner, in the About box and its
// links.

inline constexpr const char16_t* kMainCaption = u"타자연습프로그램 -  Vornix v 3.0";
inline constexpr const char* kMakerWebAddress = "https://vornix.example.org/";
inline constexpr const char* kMakerMailAddress = "vornix@example.org";
