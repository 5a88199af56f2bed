#pragma once
// What the composed world's stand-in dwmapi.dll and the pattern helper agree on.

// The class of the window that stands in for one a GPU draws.
inline constexpr wchar_t kGpuWindowClass[] = L"GrabwellGpuWindow";
// The invisible resize borders Windows 10 and 11 keep left, right and below a
// window: inside its rectangle, outside its extended frame bounds.
inline constexpr int kInvisibleBorder = 7;
