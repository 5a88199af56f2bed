#pragma once
// Reads a language file from disk into its line texts, UTF-8 or the system
// ANSI code page as core::DecodeLanguageFile decides.
#include <array>
#include <string>

#include "core/language_file.h"

namespace grabwell::document {

using LanguageTexts = std::array<std::wstring, core::kLanguageLineCount>;

// A missing or unreadable file gives all-empty texts.
LanguageTexts ReadLanguageFile(const std::wstring& path);

}  // namespace grabwell::document
