// One web address split into the parts every map link reader looks at.
//
//   "https://www.Google.co.jp/maps/@35.6,139.7,17z?q=a%2Cb#x"
//     -> scheme "https", host "google.co.jp", path "/maps/@35.6,139.7,17z", query "q=a%2Cb",
//        fragment "x"
//
// Parts are kept as written (percent-encoded); QueryValue, PathSegments and FragmentOf decode.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvex {

struct UrlParts {
  std::string scheme;           // in small letters
  std::string host;             // in small letters, without "www.", a port or user information
  std::string host_as_written;  // letter case kept: "ge0://ApYSV0YTAl" has its code there
  std::string path;             // from its "/" (empty when none); "ge0://CODE" has CODE as its host
  std::string query;            // after "?", without it
  std::string fragment;         // after "#", without it
};

// The parts of "SCHEME://HOST[:PORT][/PATH][?QUERY][#FRAGMENT]"; nullopt for a text without
// "://" after a scheme of letters, digits, "+", "-" and ".".
std::optional<UrlParts> SplitUrl(std::string_view text);

// The value of the first NAME=VALUE item of `items` (separated by "&") whose name, once
// percent-decoded, is `name`; percent-decoded, "+" read as a blank. nullopt when none is.
std::optional<std::string> QueryValue(std::string_view items, std::string_view name);

// The path's segments between "/", each percent-decoded; empty segments dropped.
std::vector<std::string> PathSegments(std::string_view path);

// True when `host` is `domain` or one of its subdomains ("maps.apple.com" for "apple.com").
bool HostIs(std::string_view host, std::string_view domain);

// True when `host` is the service `name` under any top-level or country domain, subdomains
// included: "google.com", "maps.google.co.jp" and "google.de" for "google"; "yandex.com.tr".
bool HostIsBrand(std::string_view host, std::string_view name);

}  // namespace tolvex
