// Quote file names: how a quote request's file name field becomes the path of its
// historical quote file under quotes.day. The writer and the list side use one rule, so
// both name the same file, and a name that would leave quotes.day is refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quova {

// The symbol with its first "." deleted: what a file name field of "*" means.
std::string symbolFileName(std::string_view symbol);

// The file name rule without "*": D\N becomes D\D_N (skipped for option series, whose
// AltFileName already has that form), "aux" (any case) becomes "_aux", blanks and ":"
// become "_", and the first "." is deleted. Nothing when the result would leave
// quotes.day (absolute, a "." or ".." component, an empty component, or empty).
std::optional<std::string> quoteFileName(std::string_view fileName, bool subdirRule = true);

// The list side (ParseFilePaths): "*" means the symbol (first "." deleted), then the rule.
std::optional<std::string> requestFileName(std::string_view symbol, std::string_view fileName);

// root + "QUOTES.DAY\\" + name + ext (the list side), or "quotes.day\\" (the writer).
std::string listQuotePath(const std::string& name, std::string_view ext = ".DAY");
std::string writerQuotePath(const std::string& name);

// True when the file (mapped with nativePath) really lies under the root: a link that is the
// file, or a linked folder on its way, may not lead out of it. Writers of quote files check
// this, so a root's links never make the program write elsewhere.
bool resolvesInsideRoot(const std::string& path);

}  // namespace quova
