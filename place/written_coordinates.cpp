#include "place/written_coordinates.h"

#include <vector>

#include "gateway/number_text.h"

namespace tolvex {
namespace {

enum class Token { kNumber, kDegrees, kMinutes, kSeconds, kLetter, kSeparator };

struct Item {
  Token token;
  std::string_view text;  // the number's text, or the letter
};

// The marks, in UTF-8. Seconds come before minutes so that "''" is read as one mark.
struct Mark {
  std::string_view text;
  Token token;
};
constexpr Mark kMarks[] = {
    {"\u00B0", Token::kDegrees}, {"\u00BA", Token::kDegrees},  // degree sign, ordinal º
    {"''", Token::kSeconds},     {"\"", Token::kSeconds},     {"\u2033", Token::kSeconds},
    {"\u201D", Token::kSeconds}, {"'", Token::kMinutes},      {"\u2032", Token::kMinutes},
    {"\u2019", Token::kMinutes},
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<std::vector<Item>> Tokens(std::string_view text) {
  std::vector<Item> items;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == ' ' || c == '\t') {
      ++i;
      continue;
    }
    if (IsDigit(c) || ((c == '-' || c == '+') && i + 1 < text.size() && IsDigit(text[i + 1]))) {
      std::size_t end = i + 1;
      while (end < text.size() && (IsDigit(text[end]) || text[end] == '.')) ++end;
      items.push_back({Token::kNumber, text.substr(i, end - i)});
      i = end;
      continue;
    }
    if (c == ',' || c == ';') {
      items.push_back({Token::kSeparator, text.substr(i, 1)});
      ++i;
      continue;
    }
    if (std::string_view("NSEWnsew").find(c) != std::string_view::npos) {
      items.push_back({Token::kLetter, text.substr(i, 1)});
      ++i;
      continue;
    }
    bool marked = false;
    for (const Mark& mark : kMarks) {
      if (text.substr(i).starts_with(mark.text)) {
        items.push_back({mark.token, mark.text});
        i += mark.text.size();
        marked = true;
        break;
      }
    }
    if (!marked) return std::nullopt;
  }
  return items;
}

struct Axis {
  double degrees = 0.0;  // unsigned unless written with a sign and no letter
  char letter = '\0';    // 'N', 'S', 'E', 'W' or none
  bool marked = false;   // written with a degree, minute or second mark
};

class AxisReader {
 public:
  explicit AxisReader(const std::vector<Item>& items) : items_(items) {}

  bool AtEnd() const { return at_ == items_.size(); }
  bool Take(Token token) {
    if (AtEnd() || items_[at_].token != token) return false;
    ++at_;
    return true;
  }

  std::optional<Axis> Read() {
    Axis axis;
    if (Peek(Token::kLetter)) axis.letter = Letter(items_[at_++].text);
    const auto degrees = Number(true);
    if (!degrees) return std::nullopt;
    axis.degrees = degrees->value;
    const bool negative = degrees->text.starts_with('-');
    if (Take(Token::kDegrees)) {
      axis.marked = true;
      // Minutes, then seconds; only the last part written may have a fraction.
      if (Peek(Token::kNumber)) {
        if (!IsWhole(degrees->text)) return std::nullopt;
        const auto minutes = Number(false);
        if (!minutes || minutes->value >= 60.0 || !Take(Token::kMinutes)) return std::nullopt;
        double part = minutes->value / 60.0;
        if (Peek(Token::kNumber)) {
          if (!IsWhole(minutes->text)) return std::nullopt;
          const auto seconds = Number(false);
          if (!seconds || seconds->value >= 60.0 || !Take(Token::kSeconds)) return std::nullopt;
          part += seconds->value / 3600.0;
        }
        axis.degrees += negative ? -part : part;
      }
    }
    if (axis.letter == '\0' && Peek(Token::kLetter)) axis.letter = Letter(items_[at_++].text);
    if (axis.letter != '\0' && (negative || degrees->text.starts_with('+'))) return std::nullopt;
    return axis;
  }

 private:
  struct Number_ {
    double value;
    std::string_view text;
  };

  bool Peek(Token token) const { return !AtEnd() && items_[at_].token == token; }
  static char Letter(std::string_view text) {
    const char c = text[0];
    return c >= 'a' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  static bool IsWhole(std::string_view text) { return text.find('.') == std::string_view::npos; }

  std::optional<Number_> Number(bool signed_allowed) {
    if (!Peek(Token::kNumber)) return std::nullopt;
    const std::string_view text = items_[at_++].text;
    if (!signed_allowed && !IsDigit(text[0])) return std::nullopt;
    const auto value = ParseNumber(text, ".");
    if (!value) return std::nullopt;
    return Number_{*value, text};
  }

  const std::vector<Item>& items_;
  std::size_t at_ = 0;
};

bool IsLatitudeLetter(char letter) { return letter == 'N' || letter == 'S'; }

double Signed(const Axis& axis) {
  return axis.letter == 'S' || axis.letter == 'W' ? -axis.degrees : axis.degrees;
}

}  // namespace

std::optional<LatLon> ReadWrittenCoordinates(std::string_view text) {
  const auto items = Tokens(text);
  if (!items) return std::nullopt;
  AxisReader reader(*items);
  const auto first = reader.Read();
  if (!first) return std::nullopt;
  reader.Take(Token::kSeparator);
  const auto second = reader.Read();
  if (!second || !reader.AtEnd()) return std::nullopt;

  LatLon position;
  if (first->letter == '\0' && second->letter == '\0') {
    // Without letters only the marks say these are coordinates at all.
    if (!first->marked || !second->marked) return std::nullopt;
    position = {first->degrees, second->degrees};
  } else if (first->letter == '\0' || second->letter == '\0' ||
             IsLatitudeLetter(first->letter) == IsLatitudeLetter(second->letter)) {
    return std::nullopt;
  } else if (IsLatitudeLetter(first->letter)) {
    position = {Signed(*first), Signed(*second)};
  } else {
    position = {Signed(*second), Signed(*first)};
  }
  if (!IsLatitude(position.latitude) || !IsLongitude(position.longitude)) return std::nullopt;
  return position;
}

}  // namespace tolvex
