#pragma once
// String helpers with the semantics of the classic string functions the settings files and
// log lines were designed around (ASCII case folding, blanks-only trimming).

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

std::string LCase(std::string_view text);
std::string UCase(std::string_view text);
// Removes leading / trailing space characters (not tabs), like LTrim$/RTrim$/Trim$.
std::string LTrim(std::string_view text);
std::string RTrim(std::string_view text);
std::string Trim(std::string_view text);
// Removes every occurrence of `what`.
std::string Strip(std::string_view text, std::string_view what);
std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with);
// Splits at every separator; n separators give n + 1 pieces (empty ones included).
std::vector<std::string> Split(std::string_view text, std::string_view separator);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EndsWithNoCase(std::string_view text, std::string_view suffix);
bool ContainsNoCase(std::string_view text, std::string_view part);
bool EqualsNoCase(std::string_view a, std::string_view b);
// The text without a trailing "\" (one), and with one added.
std::string WithoutTrailingBackslash(std::string_view path);
std::string WithTrailingBackslash(std::string_view path);

// The text form of a value in log lines: booleans as "True"/"False", numbers in decimal.
inline std::string ToText(std::string_view text) { return std::string(text); }
inline std::string ToText(const char* text) { return text == nullptr ? std::string() : text; }
inline std::string ToText(const std::string& text) { return text; }
inline std::string ToText(bool value) { return value ? "True" : "False"; }
inline std::string ToText(char value) { return std::string(1, value); }
template <std::integral T>
requires(!std::same_as<T, bool> && !std::same_as<T, char>) std::string ToText(T value) {
    return std::to_string(value);
}

}  // namespace vx
