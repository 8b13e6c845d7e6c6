#include "place/url_parts.h"

#include <algorithm>

#include "gateway/request.h"
#include "platform/text.h"

namespace tolvex {
namespace {

bool IsSchemeCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' ||
         c == '-' || c == '.';
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = AsciiLower(c);
  return lower;
}

// A top-level or country domain as services use them: "com", "ru", "co.jp", "com.tr".
bool IsPublicSuffix(std::string_view suffix) {
  int labels = 0;
  for (std::size_t start = 0; start <= suffix.size(); ++labels) {
    const std::size_t dot = suffix.find('.', start);
    const std::size_t end = dot == std::string_view::npos ? suffix.size() : dot;
    const std::size_t length = end - start;
    if (length < 2 || length > 3) return false;
    for (std::size_t i = start; i < end; ++i) {
      if (suffix[i] < 'a' || suffix[i] > 'z') return false;
    }
    start = end + 1;
  }
  return labels >= 1 && labels <= 2;
}

}  // namespace

std::optional<UrlParts> SplitUrl(std::string_view text) {
  const std::size_t colon = text.find("://");
  if (colon == std::string_view::npos || colon == 0) return std::nullopt;
  for (std::size_t i = 0; i < colon; ++i) {
    if (!IsSchemeCharacter(text[i])) return std::nullopt;
  }
  UrlParts parts;
  parts.scheme = Lower(text.substr(0, colon));
  std::string_view rest = text.substr(colon + 3);
  if (const std::size_t hash = rest.find('#'); hash != std::string_view::npos) {
    parts.fragment = rest.substr(hash + 1);
    rest = rest.substr(0, hash);
  }
  if (const std::size_t question = rest.find('?'); question != std::string_view::npos) {
    parts.query = rest.substr(question + 1);
    rest = rest.substr(0, question);
  }
  const std::size_t slash = rest.find('/');
  std::string_view authority = rest.substr(0, slash);
  if (slash != std::string_view::npos) parts.path = rest.substr(slash);
  if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
    authority.remove_prefix(at + 1);
  }
  authority = authority.substr(0, authority.find(':'));
  parts.host_as_written = authority;
  parts.host = Lower(authority);
  if (parts.host.starts_with("www.")) parts.host.erase(0, 4);
  if (parts.host.ends_with('.')) parts.host.pop_back();
  return parts;
}

std::optional<std::string> QueryValue(std::string_view items, std::string_view name) {
  std::size_t start = 0;
  while (start <= items.size()) {
    const std::size_t end = std::min(items.find('&', start), items.size());
    const std::string_view item = items.substr(start, end - start);
    const std::size_t equals = item.find('=');
    if (equals != std::string_view::npos && PercentDecode(item.substr(0, equals)) == name) {
      std::string value(item.substr(equals + 1));
      for (char& c : value) c = c == '+' ? ' ' : c;
      return PercentDecode(value);
    }
    start = end + 1;
  }
  return std::nullopt;
}

std::vector<std::string> PathSegments(std::string_view path) {
  std::vector<std::string> segments;
  std::size_t start = 0;
  while (start < path.size()) {
    const std::size_t end = std::min(path.find('/', start), path.size());
    if (end > start) segments.push_back(PercentDecode(path.substr(start, end - start)));
    start = end + 1;
  }
  return segments;
}

bool HostIs(std::string_view host, std::string_view domain) {
  return host == domain || (host.size() > domain.size() && host.ends_with(domain) &&
                            host[host.size() - domain.size() - 1] == '.');
}

bool HostIsBrand(std::string_view host, std::string_view name) {
  for (std::size_t at = host.find(name); at != std::string_view::npos;
       at = host.find(name, at + 1)) {
    const std::size_t end = at + name.size();
    if ((at == 0 || host[at - 1] == '.') && end < host.size() && host[end] == '.' &&
        IsPublicSuffix(host.substr(end + 1))) {
      return true;
    }
  }
  return false;
}

}  // namespace tolvex
